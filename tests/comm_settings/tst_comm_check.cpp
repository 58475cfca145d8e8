#include "comm_settings/comm_check.h"
#include "knx_access/lang_fixture.h"

#include <QTest>

using namespace lw;

namespace {

using Octet = QString ParGen_Values::*;

struct Octet_Field {
    const char* name;
    Octet field;
    int message;
};

const Octet_Field Octets[] = {
    {"IP1", &ParGen_Values::PROFINET_IP1, 957},    {"IP2", &ParGen_Values::PROFINET_IP2, 958},
    {"IP3", &ParGen_Values::PROFINET_IP3, 959},    {"IP4", &ParGen_Values::PROFINET_IP4, 960},
    {"SM1", &ParGen_Values::PROFINET_SM1, 961},    {"SM2", &ParGen_Values::PROFINET_SM2, 962},
    {"SM3", &ParGen_Values::PROFINET_SM3, 963},    {"SM4", &ParGen_Values::PROFINET_SM4, 964},
    {"GAT1", &ParGen_Values::PROFINET_GAT1, 965},  {"GAT2", &ParGen_Values::PROFINET_GAT2, 966},
    {"GAT3", &ParGen_Values::PROFINET_GAT3, 967},  {"GAT4", &ParGen_Values::PROFINET_GAT4, 968},
};

} // namespace

Q_DECLARE_METATYPE(lw::ParGen_Values)

class TestCommCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void check_data()
    {
        QTest::addColumn<ParGen_Values>("values");
        QTest::addColumn<int>("index");   // 0: passes

        QTest::newRow("defaults") << ParGen_Values() << 0;

        const struct {
            const char* id;
            int index;
        } ids[] = {
            {"1.1.200", 0},     {"15.15.255", 0},    {"0.0.1", 0},      {" 1.1.200 ", 0}, {"\t1.1.200\r\n", 0},
            {"1 . 1 . 200", 0}, {"15.255", 0},       {"0.1", 0},        {"1", 0},         {"65535", 0},
            {"0.0.0", 123},     {"16.1.1", 123},     {"1.16.1", 123},   {"1.1.256", 123}, {"0.0", 123},
            {"16.0", 123},      {"1.256", 123},      {"0", 123},        {"65536", 123},   {"", 123},
            {"  ", 123},        {"1/1", 123},        {"1.1.1.1", 123},  {"a.b.c", 123},
        };
        for (const auto& c : ids) {
            ParGen_Values v;
            v.KNX_ID_DEV = QString::fromLatin1(c.id);
            QTest::addRow("id '%s'", c.id) << v << c.index;
        }

        // Every octet at both ends of its range and past them; the gateway ticked.
        const struct {
            const char* text;
            bool valid;
        } octetTexts[] = {
            {"0", true},    {"255", true},   {" 7", true},  {"$FF", true},  {"+1", true},
            {"256", false}, {"-1", false},   {"abc", false}, {"", false},   {"7 ", false}, {"$100", false},
        };
        for (const Octet_Field& f : Octets) {
            for (const auto& t : octetTexts) {
                ParGen_Values v;
                v.PROFINET_EN_GAT = true;
                v.*f.field = QString::fromLatin1(t.text);
                QTest::addRow("%s '%s'", f.name, t.text) << v << (t.valid ? 0 : f.message);
            }
        }

        // The gateway octets only count when the gateway is in use.
        for (const Octet_Field& f : Octets) {
            if (f.message < 965)
                continue;
            ParGen_Values v;
            v.*f.field = QStringLiteral("999");
            QTest::addRow("%s 999, gateway unused", f.name) << v << 0;
        }

        // Only the first failure counts.
        ParGen_Values v;
        v.KNX_ID_DEV = QStringLiteral("16.1.1");
        v.PROFINET_SM3 = QStringLiteral("300");
        QTest::newRow("id before mask") << v << 123;
        v = ParGen_Values();
        v.PROFINET_IP2 = QStringLiteral("x");
        v.PROFINET_SM1 = QStringLiteral("x");
        QTest::newRow("ip before mask") << v << 958;
        v = ParGen_Values();
        v.PROFINET_SM4 = QStringLiteral("x");
        v.PROFINET_GAT1 = QStringLiteral("x");
        v.PROFINET_EN_GAT = true;
        QTest::newRow("mask before gateway") << v << 964;
        v = ParGen_Values();
        v.PROFINET_GAT4 = QStringLiteral("x");
        v.PROFINET_GAT2 = QStringLiteral("x");
        v.PROFINET_EN_GAT = true;
        QTest::newRow("gateway 2 before 4") << v << 966;

        // Neither the type nor the name of station is tested.
        v = ParGen_Values();
        v.KNX_TYPE = 7;
        v.PROFINET_NAME_STA = QStringLiteral("anything at all, longer than fifteen");
        QTest::newRow("type and name untested") << v << 0;
    }

    void check()
    {
        QFETCH(ParGen_Values, values);
        QFETCH(int, index);
        const Check_Result result = Controllo_Dati(values);
        QCOMPARE(result.ok, index == 0);
        QCOMPARE(result.langIndex, index);
        QCOMPARE(result.row, 0);
        QVERIFY(result.limit.isEmpty());
    }

    void message_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("ip1");
        QTest::addColumn<QString>("text");
        QTest::newRow("id") << "0.0.0" << "1" << "Error KNX!! ID Device must be a valid KNX Address (Ex. 1.1.20)";
        QTest::newRow("ip1") << "1.1.1" << "256" << "Error SNMP!! IP Address 1 must be between 0 and 255";
    }

    void message()
    {
        QFETCH(QString, id);
        QFETCH(QString, ip1);
        QFETCH(QString, text);
        ParGen_Values v;
        v.KNX_ID_DEV = id;
        v.PROFINET_IP1 = ip1;
        QCOMPARE(Check_Message(Controllo_Dati(v), test::State_With_Messages()), text);
    }
};

QTEST_APPLESS_MAIN(TestCommCheck)
#include "tst_comm_check.moc"
