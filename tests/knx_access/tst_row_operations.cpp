#include "common/scripted_messages.h"
#include "knx_access/knx_access_file.h"
#include "knx_access/lang_fixture.h"
#include "knx_access/row_operations.h"

#include <QTest>

using namespace lw;
using Cells = QMap<int, QString>;

namespace {

QString Marker(int r, int c)
{
    return QStringLiteral("r%1c%2").arg(r).arg(c);
}

// The commands table with a header, row numbers and a distinct text in every data cell.
Text_Table Marked_Table()
{
    Text_Table table = Fresh_KNX_Table();
    for (int c = 0; c < table.Column_Count(); ++c)
        table.Set_Cell(0, c, QStringLiteral("H%1").arg(c));
    for (int r = 1; r < table.Row_Count(); ++r) {
        for (int c = 1; c < table.Column_Count(); ++c)
            table.Set_Cell(r, c, Marker(r, c));
    }
    return table;
}

// Compares data row r of table with row source of Marked_Table (0: an empty row),
// and the fixed header and number column.
void Verify_Row(const Text_Table& table, int r, int source)
{
    QCOMPARE(table.Cell(r, 0), QString::number(r));
    for (int c = 1; c < table.Column_Count(); ++c)
        QCOMPARE(table.Cell(r, c), source ? Marker(source, c) : QString());
}

void Verify_Header(const Text_Table& table)
{
    for (int c = 0; c < table.Column_Count(); ++c)
        QCOMPARE(table.Cell(0, c), QStringLiteral("H%1").arg(c));
}

} // namespace

class TestRowOperations : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void insertRow_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("row 1") << 1;
        QTest::newRow("row 256") << 256;
        QTest::newRow("row 511") << 511;
        QTest::newRow("row 512") << 512;
    }

    void insertRow()
    {
        QFETCH(int, row);
        Text_Table table = Marked_Table();
        Insert_Row(row, table);
        Verify_Header(table);
        for (int r = 1; r <= 512; ++r)
            Verify_Row(table, r, r < row ? r : r == row ? 0 : r - 1);
    }

    void deleteRow_data() { insertRow_data(); }

    void deleteRow()
    {
        QFETCH(int, row);
        Text_Table table = Marked_Table();
        Delete_Row(row, table);
        Verify_Header(table);
        for (int r = 1; r <= 512; ++r)
            Verify_Row(table, r, r < row ? r : r == 512 ? 0 : r + 1);
    }

    void rowsOutsideTheDataAreIgnored_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("header") << 0;
        QTest::newRow("past the end") << 513;
        QTest::newRow("negative") << -1;
    }

    void rowsOutsideTheDataAreIgnored()
    {
        QFETCH(int, row);
        const ProgramState state = test::State_With_Messages();
        test::ScriptedMessages messages;
        messages.answers = {true, true};
        Text_Table table = Marked_Table();
        const Text_Table before = table;
        QStringList copied{QStringLiteral("kept")};
        Insert_Row(row, table);
        Delete_Row(row, table);
        QVERIFY(!Confirm_Delete_Row(row, table, state, messages));
        Copy_Row(table, row, copied);
        Paste_Row(table, row, true, QStringList(16, QStringLiteral("x")), KNX_Check_Columns, state, messages);
        QCOMPARE(table, before);
        QCOMPARE(copied, QStringList{QStringLiteral("kept")});
        QVERIFY(messages.shown.isEmpty());
    }

    void confirmDelete_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("yes");
        QTest::newRow("row 1, yes") << 1 << true;
        QTest::newRow("row 512, yes") << 512 << true;
        QTest::newRow("row 37, no") << 37 << false;
    }

    void confirmDelete()
    {
        QFETCH(int, row);
        QFETCH(bool, yes);
        const ProgramState state = test::State_With_Messages();
        test::ScriptedMessages messages;
        messages.answers = {yes};
        Text_Table table = Marked_Table();
        Text_Table expected = table;
        if (yes)
            Delete_Row(row, expected);
        QCOMPARE(Confirm_Delete_Row(row, table, state, messages), yes);
        QCOMPARE(messages.questions, QStringList{QStringLiteral("Are you sure to delete the Row number %1").arg(row)});
        QVERIFY(messages.errors.isEmpty());
        QCOMPARE(table, expected);
    }

    void copyRow_data() { insertRow_data(); }

    void copyRow()
    {
        QFETCH(int, row);
        const Text_Table table = Marked_Table();
        QStringList copied{QStringLiteral("old")};
        Copy_Row(table, row, copied);
        QCOMPARE(copied.size(), 16);
        for (int c = 1; c <= 16; ++c)
            QCOMPARE(copied[c - 1], Marker(row, c));
    }

    void paste_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("copied");
        QTest::addColumn<int>("bufferSize");
        QTest::addColumn<Cells>("target");   // cells of the target row before the paste
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<QStringList>("questions");
        QTest::addColumn<bool>("pasted");

        const QString noCopy = QStringLiteral("Error!!! Copy a valid row before Paste it");
        const QString badCopy = QStringLiteral("Error in the Copy values!!! Copy a valid row before Paste it");
        const QString overwrite = QStringLiteral("Row Already used. Do you want to overwrite the values?");
        const QMap<int, QString> fresh{{Col_Enable, "Y"}};
        const QMap<int, QString> used{{Col_Enable, "Y"}, {Col_Mnemonic, "x"}};

        QTest::newRow("nothing copied") << 1 << false << 16 << fresh << QList<bool>{} << QStringList{noCopy}
                                        << QStringList{} << false;
        QTest::newRow("nothing copied, used row") << 1 << false << 16 << used << QList<bool>{true}
                                                  << QStringList{noCopy} << QStringList{} << false;
        QTest::newRow("short buffer") << 1 << true << 15 << fresh << QList<bool>{} << QStringList{badCopy}
                                      << QStringList{} << false;
        QTest::newRow("long buffer") << 512 << true << 17 << fresh << QList<bool>{} << QStringList{badCopy}
                                     << QStringList{} << false;
        QTest::newRow("empty buffer") << 1 << true << 0 << fresh << QList<bool>{} << QStringList{badCopy}
                                      << QStringList{} << false;
        QTest::newRow("fresh row 1") << 1 << true << 16 << fresh << QList<bool>{} << QStringList{} << QStringList{}
                                     << true;
        QTest::newRow("fresh row 512") << 512 << true << 16 << fresh << QList<bool>{} << QStringList{}
                                       << QStringList{} << true;
        QTest::newRow("only check cells set")
            << 3 << true << 16
            << QMap<int, QString>{{Col_Enable, "N"}, {Col_Extended, "Y"}, {Col_ReTest, "Y"}, {Col_On_Command, "Y"},
                                  {Col_On_Change, "x"}, {Col_On_Timer, "Y"}}
            << QList<bool>{} << QStringList{} << QStringList{} << true;
        QTest::newRow("blank text cells") << 3 << true << 16
                                          << QMap<int, QString>{{Col_Source_Address, " \t"}, {Col_Mnemonic, " "}}
                                          << QList<bool>{} << QStringList{} << QStringList{} << true;
        QTest::newRow("used row, yes") << 1 << true << 16 << used << QList<bool>{true} << QStringList{}
                                       << QStringList{overwrite} << true;
        QTest::newRow("used row, no") << 512 << true << 16 << used << QList<bool>{false} << QStringList{}
                                      << QStringList{overwrite} << false;
        QTest::newRow("list column used") << 2 << true << 16 << QMap<int, QString>{{Col_Priority, "Low"}}
                                          << QList<bool>{false} << QStringList{} << QStringList{overwrite} << false;
        QTest::newRow("number column used") << 2 << true << 16 << QMap<int, QString>{{Col_Position, "0"}}
                                            << QList<bool>{true} << QStringList{} << QStringList{overwrite} << true;
    }

    void paste()
    {
        QFETCH(int, row);
        QFETCH(bool, copied);
        QFETCH(int, bufferSize);
        QFETCH(Cells, target);
        QFETCH(QList<bool>, answers);
        QFETCH(QStringList, errors);
        QFETCH(QStringList, questions);
        QFETCH(bool, pasted);

        const ProgramState state = test::State_With_Messages();
        test::ScriptedMessages messages;
        messages.answers = answers;
        Text_Table table = Fresh_KNX_Table();
        for (auto it = target.cbegin(); it != target.cend(); ++it)
            table.Set_Cell(row, it.key(), it.value());
        QStringList buffer;
        for (int k = 0; k < bufferSize; ++k)
            buffer.append(QStringLiteral("p%1").arg(k));
        Text_Table expected = table;
        if (pasted) {
            for (int k = 0; k < 16; ++k)
                expected.Set_Cell(row, k + 1, buffer[k]);
        }

        Paste_Row(table, row, copied, buffer, KNX_Check_Columns, state, messages);
        QCOMPARE(messages.errors, errors);
        QCOMPARE(messages.questions, questions);
        QCOMPARE(table, expected);
        QCOMPARE(table.Cell(row, 0), QString::number(row));
    }

    void copyThenPasteMovesEveryCell()
    {
        const ProgramState state = test::State_With_Messages();
        test::ScriptedMessages messages;
        messages.answers = {true};
        Text_Table table = Marked_Table();
        table.Set_Cell(1, Col_Enable, QString());
        QStringList copied;
        Copy_Row(table, 1, copied);
        Paste_Row(table, 512, true, copied, KNX_Check_Columns, state, messages);
        QCOMPARE(messages.questions.size(), 1);
        QCOMPARE(Row_Of(table, 512), Row_Of(table, 1));
        QVERIFY(table.Cell(512, Col_Enable).isEmpty());
        QCOMPARE(table.Cell(512, 0), QStringLiteral("512"));
    }
};

QTEST_APPLESS_MAIN(TestRowOperations)
#include "tst_row_operations.moc"
