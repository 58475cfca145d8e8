#include "knx_access/knx_access_file.h"
#include "knx_access/knx_check.h"
#include "knx_access/lang_fixture.h"

#include <QMap>
#include <QTest>

using namespace lw;
using Edits = QMap<int, QString>;

Q_DECLARE_METATYPE(lw::Check_Result)

namespace {

const KNX_Command_Row Valid_Row = {
    "Y", "1.1.1", "1/1/1", "Write", "Low", "None", "N", "N", "N", "N", "N", "", "0", "No", "1", "",
};

// A fresh table with rows 1 to filled holding a valid command.
Text_Table Valid_Table(int filled)
{
    Text_Table table = Fresh_KNX_Table();
    for (int r = 1; r <= filled; ++r)
        Set_Row(table, r, Valid_Row);
    return table;
}

} // namespace

class TestKnxCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void check_data()
    {
        QTest::addColumn<int>("filled");   // valid rows 1 to filled
        QTest::addColumn<int>("row");      // row the edits go to
        QTest::addColumn<Edits>("edits");
        QTest::addColumn<int>("index");    // 0: the check passes
        QTest::addColumn<int>("failRow");
        QTest::addColumn<QString>("limit");

        const auto pass = [](const char* name, Edits e) { QTest::newRow(name) << 1 << 1 << e << 0 << 0 << ""; };
        const auto fail = [](const char* name, Edits e, int index, const char* limit = "") {
            QTest::newRow(name) << 1 << 1 << e << index << 1 << limit;
        };

        pass("valid row", {});
        QTest::newRow("fresh table") << 0 << 1 << Edits{} << 0 << 0 << "";

        // Source Add: individual, all-zero allowed, stripped.
        pass("source all zero", {{Col_Source_Address, "0.0.0"}});
        pass("source highest", {{Col_Source_Address, "15.15.255"}});
        pass("source blanks and controls around", {{Col_Source_Address, " \t1.1.1\r\n"}});
        pass("source two parts", {{Col_Source_Address, "15.255"}});
        pass("source plain number", {{Col_Source_Address, "65535"}});
        fail("source area 16", {{Col_Source_Address, "16.1.1"}}, 218);
        fail("source device 256", {{Col_Source_Address, "1.1.256"}}, 218);
        fail("source two parts area 16", {{Col_Source_Address, "16.0"}}, 218);
        fail("source plain 0", {{Col_Source_Address, "0"}}, 218);
        fail("source group form", {{Col_Source_Address, "1/1"}}, 218);
        fail("source letters", {{Col_Source_Address, "x.y.z"}}, 218);

        // Dest/Group: the kind by the point.
        pass("dest individual highest", {{Col_Destination_Address, "15.15.255"}});
        pass("dest individual all zero", {{Col_Destination_Address, "0.0.0"}});
        fail("dest individual device 256", {{Col_Destination_Address, "15.15.256"}}, 219);
        fail("dest individual with slash", {{Col_Destination_Address, "1.1/1"}}, 219);
        pass("dest group three levels", {{Col_Destination_Address, "31/7/255"}});
        pass("dest group two levels", {{Col_Destination_Address, "31/2047"}});
        pass("dest group blanks around", {{Col_Destination_Address, "  1/1  "}});
        fail("dest group middle 8", {{Col_Destination_Address, "31/8/255"}}, 229);
        fail("dest group sub 2048", {{Col_Destination_Address, "31/2048"}}, 229);
        fail("dest group all zero", {{Col_Destination_Address, "0/0/0"}}, 229);
        pass("dest plain 1", {{Col_Destination_Address, "1"}});
        pass("dest plain 65535", {{Col_Destination_Address, "65535"}});
        fail("dest plain 65536", {{Col_Destination_Address, "65536"}}, 229);
        fail("dest plain 0", {{Col_Destination_Address, "0"}}, 229);
        fail("dest empty", {{Col_Destination_Address, ""}}, 229);

        // APCI: keyword in any case, else 0 to 1023; not stripped.
        pass("apci read", {{Col_APCI, "read"}});
        pass("apci Write", {{Col_APCI, "Write"}});
        pass("apci READ", {{Col_APCI, "READ"}});
        pass("apci 0", {{Col_APCI, "0"}});
        pass("apci 1023", {{Col_APCI, "1023"}});
        pass("apci hex", {{Col_APCI, "$3FF"}});
        pass("apci leading blank number", {{Col_APCI, " 5"}});
        fail("apci 1024", {{Col_APCI, "1024"}}, 220);
        fail("apci -1", {{Col_APCI, "-1"}}, 220);
        fail("apci empty", {{Col_APCI, ""}}, 220);
        fail("apci keyword with blank", {{Col_APCI, "Write "}}, 220);
        fail("apci keyword leading blank", {{Col_APCI, " Read"}}, 220);
        fail("apci trailing blank number", {{Col_APCI, "5 "}}, 220);
        fail("apci non-ascii letter", {{Col_APCI, QString::fromUtf8("wr\xC4\xB1te")}}, 220);

        // Priority: exact.
        pass("priority System", {{Col_Priority, "System"}});
        pass("priority Urgent", {{Col_Priority, "Urgent"}});
        pass("priority Normal", {{Col_Priority, "Normal"}});
        fail("priority lower case", {{Col_Priority, "normal"}}, 221);
        fail("priority leading blank", {{Col_Priority, " Low"}}, 221);
        fail("priority empty", {{Col_Priority, ""}}, 221);

        // Format: stripped, not empty.
        pass("format any text", {{Col_Format, "whatever"}});
        fail("format empty", {{Col_Format, ""}}, 350);
        fail("format blanks", {{Col_Format, " \t "}}, 350);

        // Poll Time only with OnTimer "Y" (upper-cased, not stripped).
        pass("timer off, empty poll", {{Col_On_Timer, "N"}, {Col_Poll_Time, ""}});
        pass("timer empty, bad poll", {{Col_On_Timer, ""}, {Col_Poll_Time, "0"}});
        pass("timer with blank is off", {{Col_On_Timer, " Y"}, {Col_Poll_Time, ""}});
        pass("timer on, poll 1", {{Col_On_Timer, "Y"}, {Col_Poll_Time, "1"}});
        pass("timer on, poll max", {{Col_On_Timer, "Y"}, {Col_Poll_Time, "100000000"}});
        pass("timer lower y, poll max", {{Col_On_Timer, "y"}, {Col_Poll_Time, "100000000"}});
        fail("timer on, poll 0", {{Col_On_Timer, "Y"}, {Col_Poll_Time, "0"}}, 222);
        fail("timer lower y, poll 0", {{Col_On_Timer, "y"}, {Col_Poll_Time, "0"}}, 222);
        fail("timer on, poll above max", {{Col_On_Timer, "Y"}, {Col_Poll_Time, "100000001"}}, 222);
        fail("timer on, poll empty", {{Col_On_Timer, "Y"}, {Col_Poll_Time, ""}}, 222);

        // Position 0 to 1438.
        pass("position 1438, one byte", {{Col_Position, "1438"}});
        fail("position 1439", {{Col_Position, "1439"}}, 223, "1438");
        fail("position -1", {{Col_Position, "-1"}}, 223, "1438");
        fail("position empty", {{Col_Position, ""}}, 223, "1438");
        fail("position text", {{Col_Position, "abc"}}, 223, "1438");

        // Bit Mode: "No" in any case, else a start bit 0 to 7.
        pass("bit mode no", {{Col_Bit_Mode, "no"}});
        pass("bit mode NO", {{Col_Bit_Mode, "NO"}});
        pass("bit mode 0", {{Col_Bit_Mode, "0"}});
        pass("bit mode 7", {{Col_Bit_Mode, "7"}});
        fail("bit mode 8", {{Col_Bit_Mode, "8"}}, 224);
        fail("bit mode -1", {{Col_Bit_Mode, "-1"}}, 224);
        fail("bit mode empty", {{Col_Bit_Mode, ""}}, 224);
        fail("bit mode No with blank", {{Col_Bit_Mode, " No"}}, 224);

        // Length limits of the four mode combinations.
        pass("byte, length 14", {{Col_Length, "14"}});
        fail("byte, length 15", {{Col_Length, "15"}}, 225, "14");
        fail("byte, length 0", {{Col_Length, "0"}}, 225, "14");
        fail("byte, length empty", {{Col_Length, ""}}, 225, "14");
        pass("byte extended, length 255", {{Col_Extended, "Y"}, {Col_Length, "255"}});
        pass("byte extended lower y, length 255", {{Col_Extended, "y"}, {Col_Length, "255"}});
        fail("byte extended, length 256", {{Col_Extended, "Y"}, {Col_Length, "256"}}, 225, "255");
        fail("byte extended with blank is off", {{Col_Extended, "Y "}, {Col_Length, "15"}}, 225, "14");
        pass("bit, length 112", {{Col_Bit_Mode, "0"}, {Col_Length, "112"}});
        fail("bit, length 113", {{Col_Bit_Mode, "0"}, {Col_Length, "113"}}, 225, "112");
        fail("bit, length 0", {{Col_Bit_Mode, "0"}, {Col_Length, "0"}}, 225, "112");
        pass("bit extended, length 2040", {{Col_Bit_Mode, "0"}, {Col_Extended, "Y"}, {Col_Length, "2040"}});
        fail("bit extended, length 2041", {{Col_Bit_Mode, "0"}, {Col_Extended, "Y"}, {Col_Length, "2041"}}, 225,
             "2040");

        // Position plus the bytes the value spans, at most 1439.
        pass("byte span to the end", {{Col_Position, "1425"}, {Col_Length, "14"}});
        fail("byte span past the end", {{Col_Position, "1426"}, {Col_Length, "14"}}, 226, "1439");
        pass("byte extended span to the end", {{Col_Extended, "Y"}, {Col_Position, "1184"}, {Col_Length, "255"}});
        fail("byte extended span past the end", {{Col_Extended, "Y"}, {Col_Position, "1185"}, {Col_Length, "255"}},
             226, "1439");
        pass("bit 3, 112 bits at 1424", {{Col_Bit_Mode, "3"}, {Col_Length, "112"}, {Col_Position, "1424"}});
        fail("bit 3, 112 bits at 1425", {{Col_Bit_Mode, "3"}, {Col_Length, "112"}, {Col_Position, "1425"}}, 226,
             "1439");
        pass("bit 7, one bit at 1438", {{Col_Bit_Mode, "7"}, {Col_Length, "1"}, {Col_Position, "1438"}});
        pass("bit 7, two bits at 1437", {{Col_Bit_Mode, "7"}, {Col_Length, "2"}, {Col_Position, "1437"}});
        fail("bit 7, two bits at 1438", {{Col_Bit_Mode, "7"}, {Col_Length, "2"}, {Col_Position, "1438"}}, 226,
             "1439");
        pass("bit 7 extended, 2040 bits at 1183",
             {{Col_Bit_Mode, "7"}, {Col_Extended, "Y"}, {Col_Length, "2040"}, {Col_Position, "1183"}});
        fail("bit 7 extended, 2040 bits at 1184",
             {{Col_Bit_Mode, "7"}, {Col_Extended, "Y"}, {Col_Length, "2040"}, {Col_Position, "1184"}}, 226, "1439");

        // Enable: stripped, exactly "Y" is tested.
        const Edits invalid = {{Col_Destination_Address, "99/99/99"}, {Col_APCI, "x"}, {Col_Priority, "x"},
                               {Col_Format, ""}, {Col_Position, "5000"}, {Col_Length, "0"}};
        Edits disabled = invalid;
        disabled[Col_Enable] = "N";
        pass("disabled row with invalid cells", disabled);
        disabled[Col_Enable] = "";
        pass("empty Enable with invalid cells", disabled);
        disabled[Col_Enable] = "y";
        pass("lower y Enable is not tested", disabled);
        disabled[Col_Enable] = " Y\t";
        fail("Enable Y between blanks is tested", disabled, 229);

        // Order: the first failing test of the row wins.
        fail("dest before apci", {{Col_Destination_Address, ""}, {Col_APCI, ""}}, 229);
        fail("priority before length", {{Col_Priority, "x"}, {Col_Length, "0"}}, 221);
        fail("bit mode before length", {{Col_Bit_Mode, "9"}, {Col_Length, "0"}}, 224);
        fail("position before span", {{Col_Position, "1439"}, {Col_Length, "14"}}, 223, "1438");

        // Rows: the number of the failing row, the end of the table.
        QTest::newRow("error in row 3") << 5 << 3 << Edits{{Col_Length, "15"}} << 225 << 3 << "14";
        QTest::newRow("row 512") << 512 << 512 << Edits{{Col_Position, "-1"}} << 223 << 512 << "1438";
        QTest::newRow("row 512 valid") << 512 << 512 << Edits{} << 0 << 0 << "";
        QTest::newRow("empty source ends the table") << 5 << 3 << Edits{{Col_Source_Address, ""}} << 0 << 0 << "";
        QTest::newRow("blank source ends the table") << 5 << 3 << Edits{{Col_Source_Address, " \t "}} << 0 << 0 << "";
    }

    void check()
    {
        QFETCH(int, filled);
        QFETCH(int, row);
        QFETCH(Edits, edits);
        QFETCH(int, index);
        QFETCH(int, failRow);
        QFETCH(QString, limit);

        Text_Table table = Valid_Table(filled);
        for (auto it = edits.cbegin(); it != edits.cend(); ++it)
            table.Set_Cell(row, it.key(), it.value());
        const Check_Result result = Controllo_dati(table);
        QCOMPARE(result.ok, index == 0);
        if (index == 0)
            return;
        QCOMPARE(result.langIndex, index);
        QCOMPARE(result.row, failRow);
        QCOMPARE(result.limit, limit);
    }

    void rowsAfterTheEndAreNotTested()
    {
        Text_Table table = Valid_Table(4);
        table.Set_Cell(3, Col_Source_Address, QString());
        table.Set_Cell(4, Col_Length, QStringLiteral("999"));
        table.Set_Cell(100, Col_Source_Address, QStringLiteral("bad"));
        QVERIFY(Controllo_dati(table).ok);
    }

    void firstFailingRowWins()
    {
        Text_Table table = Valid_Table(6);
        table.Set_Cell(5, Col_Priority, QStringLiteral("x"));
        table.Set_Cell(2, Col_Length, QStringLiteral("0"));
        const Check_Result result = Controllo_dati(table);
        QCOMPARE(result.row, 2);
        QCOMPARE(result.langIndex, 225);
    }

    void message_data()
    {
        QTest::addColumn<Check_Result>("result");
        QTest::addColumn<QString>("text");
        QTest::newRow("length") << Check_Result::Fail(225, 3, "14")
                                << "Error row 3!! [KNX in Write] Length must be between 1 and 14";
        QTest::newRow("position") << Check_Result::Fail(223, 512, "1438")
                                  << "Error row 512!! [KNX in Write] Position must be between 0 and 1438";
        QTest::newRow("span") << Check_Result::Fail(226, 7, "1439")
                              << "Error row 7!! [KNX in Write] Position plus Length must be minor or equal to 1439";
        QTest::newRow("bit mode") << Check_Result::Fail(224, 12)
                                  << "Error row 12!! [KNX in Write] Bit Mode must be \"No\" or between 0 and 7";
        QTest::newRow("group")
            << Check_Result::Fail(229, 1)
            << "Error row 1!! [KNX in Write] Destination Address must be a valid KNX Group Address (Ex. 31/2047 or "
               "31/7/255)";
        QTest::newRow("without row") << Check_Result::Fail(957)
                                     << "Error SNMP!! IP Address 1 must be between 0 and 255";
        QTest::newRow("pass") << Check_Result::Pass() << "";
    }

    void message()
    {
        QFETCH(Check_Result, result);
        QFETCH(QString, text);
        QCOMPARE(Check_Message(result, test::State_With_Messages()), text);
    }

    void messageUsesTheCurrentTable()
    {
        ProgramState state = test::State_With_Messages();
        state.Lang_Strings[207] = QStringLiteral("Fehler Zeile ");
        state.Lang_Strings[225] = QStringLiteral(": Länge 1 bis ");
        QCOMPARE(Check_Message(Check_Result::Fail(225, 9, "112"), state), QStringLiteral("Fehler Zeile 9: Länge 1 bis 112"));
    }
};

QTEST_APPLESS_MAIN(TestKnxCheck)
#include "tst_knx_check.moc"
