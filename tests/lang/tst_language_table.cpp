#include "lang/language_file.h"
#include "lang/language_table.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using lw::ProgramState;

class TestLanguageTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shape()
    {
        ProgramState state;
        state.Lang_Strings = QStringList{QStringLiteral("left over")};
        lw::Set_Default_Texts(state);
        QCOMPARE(state.Lang_Strings.size(), 1200);
        QCOMPARE(state.Lang_Count, 1200);
        QCOMPARE(state.Lang_Strings.first(), QStringLiteral("Begin"));
        QCOMPARE(state.Lang_Strings.last(), QStringLiteral(" "));
        QCOMPARE(state.Lang_Strings[23], QStringLiteral(" "));
    }

    // The texts the dialogs show, exact to the character.
    void shownText_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << QStringLiteral("Begin");
        QTest::newRow("1") << 1 << QStringLiteral("Step 1");
        QTest::newRow("2") << 2 << QStringLiteral("Step 2");
        QTest::newRow("3") << 3 << QStringLiteral("Step 3");
        QTest::newRow("4") << 4 << QStringLiteral("Step 4");
        QTest::newRow("5") << 5 << QStringLiteral("Step 5");
        QTest::newRow("6") << 6 << QStringLiteral("Step 6");
        QTest::newRow("7") << 7 << QStringLiteral("Step 7");
        QTest::newRow("8") << 8 << QStringLiteral("Step 8");
        QTest::newRow("9") << 9 << QStringLiteral("None Configuration Opened ");
        QTest::newRow("10") << 10 << QStringLiteral("Use Step1 to open or create new configuration");
        QTest::newRow("11") << 11 << QStringLiteral("Opened Configuration of the Converter : ");
        QTest::newRow("12") << 12 << QStringLiteral("Information");
        QTest::newRow("13") << 13 << QStringLiteral("Options");
        QTest::newRow("14") << 14 << QStringLiteral("Close Configurator");
        QTest::newRow("15") << 15 << QStringLiteral("New Configuration");
        QTest::newRow("16") << 16 << QStringLiteral("Open Configuration");
        QTest::newRow("17") << 17 << QStringLiteral("Update Device");
        QTest::newRow("18") << 18 << QStringLiteral("Error! Project not Valid");
        QTest::newRow("19") << 19 << QStringLiteral("New Version Available. Click Here for more Details");
        QTest::newRow("20") << 20 << QStringLiteral("Set Communication");
        QTest::newRow("21") << 21 << QStringLiteral("KNX Access");
        QTest::newRow("25") << 25 << QStringLiteral("Create New Configuration");
        QTest::newRow("26") << 26 << QStringLiteral("Create New Configuration");
        QTest::newRow("27") << 27 << QStringLiteral("Name of the new Configuration");
        QTest::newRow("28") << 28 << QStringLiteral("OK");
        QTest::newRow("29") << 29 << QStringLiteral("Cancel");
        QTest::newRow("30") << 30 << QStringLiteral("Error! Name project is not valid");
        QTest::newRow("31") << 31 << QStringLiteral("Error! Name project is not valid because directory already exists");
        QTest::newRow("32") << 32 << QStringLiteral("Error! Name Project is not valid");
        QTest::newRow("33") << 33 << QStringLiteral("Open Configuration");
        QTest::newRow("34") << 34 << QStringLiteral("Open an Existing Configuration");
        QTest::newRow("35") << 35 << QStringLiteral("List of Avaliable Configurations");
        QTest::newRow("36") << 36 << QStringLiteral("OK");
        QTest::newRow("37") << 37 << QStringLiteral("Cancel");
        QTest::newRow("38") << 38 << QStringLiteral("Software Options");
        QTest::newRow("39") << 39 << QStringLiteral("Software Options");
        QTest::newRow("40") << 40 << QStringLiteral("Language");
        QTest::newRow("41") << 41 << QStringLiteral("Connection Options");
        QTest::newRow("42") << 42 << QStringLiteral("Selected Language : ");
        QTest::newRow("43") << 43 << QStringLiteral("Page ");
        QTest::newRow("44") << 44 << QStringLiteral(" / ");
        QTest::newRow("45") << 45 << QStringLiteral("Previous");
        QTest::newRow("46") << 46 << QStringLiteral("Next");
        QTest::newRow("47") << 47 << QStringLiteral("Enable Internet Connection");
        QTest::newRow("48") << 48 << QStringLiteral("Check Software Update at Start of Program");
        QTest::newRow("49") << 49 << QStringLiteral("Check Available Update");
        QTest::newRow("50") << 50 << QStringLiteral("OK");
        QTest::newRow("51") << 51 << QStringLiteral("Cancel");
        QTest::newRow("52") << 52 << QStringLiteral("New Version Available. Click Here for more Details");
        QTest::newRow("53") << 53 << QStringLiteral("No Update Available");
        QTest::newRow("54") << 54 << QStringLiteral("Do you want to change the Language from ");
        QTest::newRow("55") << 55 << QStringLiteral(" to ");
        QTest::newRow("56") << 56 << QStringLiteral("?");
        QTest::newRow("57") << 57 << QStringLiteral("Update Firmware from Etherner (UDP)");
        QTest::newRow("58") << 58 << QStringLiteral("Insert the IP Address of ");
        QTest::newRow("59") << 59 << QStringLiteral("Check the Connection the device");
        QTest::newRow("60") << 60 << QStringLiteral("Ping");
        QTest::newRow("61") << 61 << QStringLiteral("Cancel");
        QTest::newRow("62") << 62 << QStringLiteral("Next");
        QTest::newRow("63") << 63 << QStringLiteral("Update Device Options");
        QTest::newRow("64") << 64 << QStringLiteral("Firmware");
        QTest::newRow("65") << 65 << QStringLiteral("Read Firmware when finish");
        QTest::newRow("66") << 66 << QStringLiteral("Configuration");
        QTest::newRow("67") << 67 << QStringLiteral("Read Configuration when finish");
        QTest::newRow("68") << 68 << QStringLiteral("Execute update firmware");
        QTest::newRow("69") << 69 << QStringLiteral("Device Found!");
        QTest::newRow("70") << 70 << QStringLiteral("Device Not Found!");
        QTest::newRow("71") << 71 << QStringLiteral("Error!!! Check the Ip Address");
        QTest::newRow("72") << 72 << QStringLiteral("Device not found in network");
        QTest::newRow("90") << 90 << QStringLiteral("Set Communication");
        QTest::newRow("91") << 91 << QStringLiteral("Set Communication Setting");
        QTest::newRow("92") << 92 << QStringLiteral("OK");
        QTest::newRow("93") << 93 << QStringLiteral("Cancel");
        QTest::newRow("94") << 94 << QStringLiteral(" KNX ");
        QTest::newRow("95") << 95 << QStringLiteral("Type");
        QTest::newRow("96") << 96 << QStringLiteral("ID Device");
        QTest::newRow("121") << 121 << QStringLiteral("Collapse");
        QTest::newRow("122") << 122 << QStringLiteral("Expand");
        QTest::newRow("123") << 123 << QStringLiteral("Error KNX!! ID Device must be a valid KNX Address (Ex. 1.1.20)");
        QTest::newRow("167") << 167 << QStringLiteral("Do you want to exit without saving changes?");
        QTest::newRow("168") << 168 << QStringLiteral("KNX Set Access");
        QTest::newRow("169") << 169 << QStringLiteral("KNX Set Access");
        QTest::newRow("170") << 170 << QStringLiteral("OK");
        QTest::newRow("171") << 171 << QStringLiteral("Cancel");
        QTest::newRow("172") << 172 << QStringLiteral("Delete Row");
        QTest::newRow("173") << 173 << QStringLiteral("Insert Row");
        QTest::newRow("176") << 176 << QStringLiteral("N");
        QTest::newRow("177") << 177 << QStringLiteral("Source Add");
        QTest::newRow("178") << 178 << QStringLiteral("Dest/Group");
        QTest::newRow("181") << 181 << QStringLiteral("Format");
        QTest::newRow("186") << 186 << QStringLiteral("TimeOut");
        QTest::newRow("187") << 187 << QStringLiteral("Position");
        QTest::newRow("188") << 188 << QStringLiteral("Bit Mode");
        QTest::newRow("189") << 189 << QStringLiteral("Length");
        QTest::newRow("190") << 190 << QStringLiteral("Mnemonic");
        QTest::newRow("191") << 191 << QStringLiteral("N");
        QTest::newRow("192") << 192 << QStringLiteral("Source Add");
        QTest::newRow("193") << 193 << QStringLiteral("Dest/Group");
        QTest::newRow("194") << 194 << QStringLiteral("APCI");
        QTest::newRow("195") << 195 << QStringLiteral("Priority");
        QTest::newRow("196") << 196 << QStringLiteral("Format");
        QTest::newRow("197") << 197 << QStringLiteral("Extended");
        QTest::newRow("199") << 199 << QStringLiteral("ReTest");
        QTest::newRow("200") << 200 << QStringLiteral("OnChange");
        QTest::newRow("201") << 201 << QStringLiteral("OnTimer");
        QTest::newRow("202") << 202 << QStringLiteral("Poll Time");
        QTest::newRow("203") << 203 << QStringLiteral("Position");
        QTest::newRow("204") << 204 << QStringLiteral("Bit Mode");
        QTest::newRow("205") << 205 << QStringLiteral("Length");
        QTest::newRow("206") << 206 << QStringLiteral("Mnemonic");
        QTest::newRow("207") << 207 << QStringLiteral("Error row ");
        QTest::newRow("218") << 218 << QStringLiteral("!! [KNX in Write] Source Address must be a valid KNX Individual Address (Ex. 15.15.255)");
        QTest::newRow("219") << 219 << QStringLiteral("!! [KNX in Write] Destination Address must be a valid KNX Individual Address (Ex. 15.15.255)");
        QTest::newRow("220") << 220 << QStringLiteral("!! [KNX in Write] APCI must be between 0 and 1023 or use the value Read or Write");
        QTest::newRow("221") << 221 << QStringLiteral("!! [KNX in Write] Priority must be System or Urgent or Normal or Low");
        QTest::newRow("222") << 222 << QStringLiteral("!! [KNX in Write] Poll Time must be between 1 and 100000000");
        QTest::newRow("223") << 223 << QStringLiteral("!! [KNX in Write] Position must be between 0 and ");
        QTest::newRow("224") << 224 << QStringLiteral("!! [KNX in Write] Bit Mode must be \"No\" or between 0 and 7");
        QTest::newRow("225") << 225 << QStringLiteral("!! [KNX in Write] Length must be between 1 and ");
        QTest::newRow("226") << 226 << QStringLiteral("!! [KNX in Write] Position plus Length must be minor or equal to ");
        QTest::newRow("227") << 227 << QStringLiteral("Are you sure to delete the Row number ");
        QTest::newRow("229") << 229 << QStringLiteral("!! [KNX in Write] Destination Address must be a valid KNX Group Address (Ex. 31/2047 or 31/7/255)");
        QTest::newRow("338") << 338 << QStringLiteral("Enable");
        QTest::newRow("339") << 339 << QStringLiteral("Enable");
        QTest::newRow("346") << 346 << QStringLiteral("Row Already used. Do you want to overwrite the values?");
        QTest::newRow("347") << 347 << QStringLiteral("Error in the Copy values!!! Copy a valid row before Paste it");
        QTest::newRow("348") << 348 << QStringLiteral("Error!!! Copy a valid row before Paste it");
        QTest::newRow("350") << 350 << QStringLiteral("!! [KNX in Write] Format is not correct");
        QTest::newRow("719") << 719 << QStringLiteral("OnCMD");
        QTest::newRow("877") << 877 << QStringLiteral("Copy Row");
        QTest::newRow("878") << 878 << QStringLiteral("Paste Row");
        QTest::newRow("890") << 890 << QStringLiteral("IP ADDRESS");
        QTest::newRow("891") << 891 << QStringLiteral("SUBNET Mask");
        QTest::newRow("892") << 892 << QStringLiteral("GATEWAY");
        QTest::newRow("955") << 955 << QStringLiteral(" SNMP ");
        QTest::newRow("956") << 956 << QStringLiteral("SNMP Name of Station");
        QTest::newRow("957") << 957 << QStringLiteral("Error SNMP!! IP Address 1 must be between 0 and 255");
        QTest::newRow("958") << 958 << QStringLiteral("Error SNMP!! IP Address 2 must be between 0 and 255");
        QTest::newRow("959") << 959 << QStringLiteral("Error SNMP!! IP Address 3 must be between 0 and 255");
        QTest::newRow("960") << 960 << QStringLiteral("Error SNMP!! IP Address 4 must be between 0 and 255");
        QTest::newRow("961") << 961 << QStringLiteral("Error SNMP!! SUBNET Mask 1 must be between 0 and 255");
        QTest::newRow("962") << 962 << QStringLiteral("Error SNMP!! SUBNET Mask 2 must be between 0 and 255");
        QTest::newRow("963") << 963 << QStringLiteral("Error SNMP!! SUBNET Mask 3 must be between 0 and 255");
        QTest::newRow("964") << 964 << QStringLiteral("Error SNMP!! SUBNET Mask 4 must be between 0 and 255");
        QTest::newRow("965") << 965 << QStringLiteral("Error SNMP!! GATEWAY IP 1 must be between 0 and 255");
        QTest::newRow("966") << 966 << QStringLiteral("Error SNMP!! GATEWAY IP 2 must be between 0 and 255");
        QTest::newRow("967") << 967 << QStringLiteral("Error SNMP!! GATEWAY IP 3 must be between 0 and 255");
        QTest::newRow("968") << 968 << QStringLiteral("Error SNMP!! GATEWAY IP 4 must be between 0 and 255");
    }

    void shownText()
    {
        QFETCH(int, index);
        QFETCH(QString, text);
        QCOMPARE(lw::Default_Texts().at(index), text);
    }

    void filler_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("23-24") << 23 << 24;
        QTest::newRow("739-742") << 739 << 742;
        QTest::newRow("971-999") << 971 << 999;
        QTest::newRow("1059-1099") << 1059 << 1099;
        QTest::newRow("1164-1199") << 1164 << 1199;
    }

    void filler()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        for (int i = first; i <= last; ++i)
            QCOMPARE(lw::Default_Texts().at(i), QStringLiteral(" "));
        if (first > 0)
            QVERIFY(lw::Default_Texts().at(first - 1).trimmed().size() > 0);
        if (last < 1199)
            QVERIFY(lw::Default_Texts().at(last + 1).trimmed().size() > 0);
    }

    // Every other entry, shown or not, carries a real text.
    void noEmptyEntries()
    {
        const QSet<int> fillers = [] {
            QSet<int> s{23, 24};
            for (const auto& [a, b] : {std::pair{739, 742}, {971, 999}, {1059, 1099}, {1164, 1199}})
                for (int i = a; i <= b; ++i)
                    s.insert(i);
            return s;
        }();
        for (int i = 0; i < 1200; ++i) {
            const QString text = lw::Default_Texts().at(i);
            if (fillers.contains(i))
                continue;
            QVERIFY2(!text.trimmed().isEmpty(), qPrintable(QString::number(i)));
            QVERIFY2(text.size() >= 1 && text.size() < 120, qPrintable(QString::number(i)));
        }
    }

    // Each load starts from the defaults: an entry replaced by one file is back
    // to its default after loading a file that does not mention it.
    void loadStartsFromDefaults()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile german(dir.filePath(QStringLiteral("German.lng")));
        QVERIFY(german.open(QIODevice::WriteOnly));
        german.write("STR 0 = Anfang\n");
        german.close();
        QFile french(dir.filePath(QStringLiteral("French.lng")));
        QVERIFY(french.open(QIODevice::WriteOnly));
        french.write("STR 1 = Etape 1\n");
        french.close();

        ProgramState state;
        state.Dir_Language = dir.path();
        state.Language_Name = QStringLiteral("German");
        lw::Load_Language(state);
        QCOMPARE(state.Lang_Strings[0], QStringLiteral("Anfang"));
        const QStringList once = state.Lang_Strings;
        lw::Load_Language(state);
        QCOMPARE(state.Lang_Strings, once);

        state.Language_Name = QStringLiteral("French");
        lw::Load_Language(state);
        QCOMPARE(state.Lang_Strings[0], QStringLiteral("Begin"));
        QCOMPARE(state.Lang_Strings[1], QStringLiteral("Etape 1"));
        QCOMPARE(state.Lang_Strings.size(), 1200);
    }
};

QTEST_APPLESS_MAIN(TestLanguageTable)
#include "tst_language_table.moc"
