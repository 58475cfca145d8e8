#include "common/scripted_messages.h"
#include "common/test_support.h"
#include "knx_access/knx_access_dialog.h"
#include "knx_access/knx_access_file.h"
#include "knx_access/knx_cell_delegate.h"
#include "knx_access/knx_clipboard.h"
#include "knx_access/knx_find_bar.h"
#include "knx_access/knx_grid_view.h"
#include "knx_access/knx_table_model.h"
#include "knx_access/lang_fixture.h"
#include "lang/language_table.h"
#include "shell/main_window.h"
#include "widgets/flat_button.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QShowEvent>
#include <QUndoStack>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace lw;
using Cells = QMap<int, QString>;

Q_DECLARE_METATYPE(Cells)

namespace {

// The message entries of the row checks plus the dialog's captions and headers.
ProgramState Dialog_State()
{
    ProgramState state = test::State_With_Messages();
    static const std::pair<int, const char*> texts[] = {
        {167, "Do you want to exit without saving changes?"}, {168, "KNX Set Access"}, {169, "KNX Set Access"}, {170, "OK"},        {171, "Cancel"},
        {172, "Delete Row"},     {173, "Insert Row"},     {877, "Copy Row"},  {878, "Paste Row"},
        {191, "N"},              {339, "Enable"},         {192, "Source Add"}, {193, "Dest/Group"},
        {194, "APCI"},           {195, "Priority"},       {196, "Format"},    {197, "Extended"},
        {199, "ReTest"},         {719, "OnCMD"},          {200, "OnChange"},  {201, "OnTimer"},
        {202, "Poll Time"},      {203, "Position"},       {204, "Bit Mode"},  {205, "Length"},
        {206, "Mnemonic"},
    };
    for (const auto& [index, text] : texts)
        state.Lang_Strings[index] = QString::fromUtf8(text);
    state.SW_Code = QStringLiteral("KG4315");
    state.Lang_Extended = Default_Extended_Texts();
    return state;
}

// A row that passes the data check; i makes it distinct.
KNX_Command_Row Valid_Row(int i)
{
    KNX_Command_Row row;
    row.Enable = QStringLiteral("Y");
    row.Source_Address = QStringLiteral("1.1.%1").arg(i % 256);
    row.Destination_Address = QStringLiteral("1/2/%1").arg(i % 256);
    row.APCI = QStringLiteral("Write");
    row.Priority = QStringLiteral("Low");
    row.Format = QStringLiteral("None");
    row.Extended = QStringLiteral("N");
    row.ReTest = QStringLiteral("N");
    row.On_Command = QStringLiteral("N");
    row.On_Change = QStringLiteral("Y");
    row.On_Timer = QStringLiteral("N");
    row.Position = QString::number((i - 1) * 2);
    row.Bit_Mode = QStringLiteral("No");
    row.Length = QStringLiteral("2");
    row.Mnemonic = QStringLiteral("command %1").arg(i);
    return row;
}

QString Marker(int r, int c)
{
    return QStringLiteral("r%1c%2").arg(r).arg(c);
}

// A project folder, its language table, scripted boxes and the dialog.
struct Fixture {
    QTemporaryDir dir;
    ProgramState state = Dialog_State();
    test::ScriptedMessages messages;
    std::unique_ptr<TFKNXAccess> dialog;

    Fixture()
    {
        state.Dir_Project = dir.path();
        Set_Files(state);
        dialog = std::make_unique<TFKNXAccess>(state, messages, nullptr);
    }

    // Loads as the main window's opening does, then shows the dialog.
    [[nodiscard]] bool Open()
    {
        dialog->FormShow();
        dialog->show();
        return QTest::qWaitForWindowActive(dialog.get());
    }
    QTableView* Grid() const { return dialog->ACG_KNX_in_Write; }
    const Text_Table& Table() const { return dialog->Model->Table(); }
    QModelIndex Cell(int r, int c) const { return dialog->Model->Cell_Index(r, c); }

    void Write_Rows(int count)
    {
        Text_Table table = Fresh_KNX_Table();
        for (int r = 1; r <= count; ++r)
            Set_Row(table, r, Valid_Row(r));
        QCOMPARE(Write_KNX_Access_File(table, state.File_KNX_Access), QString());
    }
    // Every data cell of the open table holds its own marker.
    void Mark_All()
    {
        dialog->Model->Edit_Rows([](Text_Table& t) {
            for (int r = 1; r < t.Row_Count(); ++r) {
                for (int c = 1; c < t.Column_Count(); ++c)
                    t.Set_Cell(r, c, Marker(r, c));
            }
        });
    }
    // Row r of the table holds the markers of row source (0: empty).
    bool Row_Is(int r, int source) const
    {
        for (int c = 1; c < Table().Column_Count(); ++c) {
            if (Table().Cell(r, c) != (source ? Marker(source, c) : QString()))
                return false;
        }
        return Table().Cell(r, 0) == QString::number(r);
    }
    // Clicks cell (r, c) as the user does: it becomes the only selected cell.
    void Click(int r, int c, Qt::KeyboardModifiers modifiers = {})
    {
        Grid()->scrollTo(Cell(r, c));
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, modifiers, Grid()->visualRect(Cell(r, c)).center());
    }
    // Opens the editor of cell (r, c) with F2.
    QWidget* Edit(int r, int c)
    {
        Grid()->setCurrentIndex(Cell(r, c));
        QTest::keyClick(Grid(), Qt::Key_F2);
        return Grid()->indexWidget(Cell(r, c));
    }
};

QString Error_Row(int row, const QString& text)
{
    return QStringLiteral("Error row ") + QString::number(row) + text;
}

} // namespace

class TestKNXAccessDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void layout()
    {
        Fixture f;
        QVERIFY(f.Open());
        QCOMPARE(f.dialog->size(), QSize(1141, 337));
        QCOMPARE(f.dialog->windowTitle(), QStringLiteral("KNX Set Access"));
        QCOMPARE(f.dialog->findChild<QLabel*>(QStringLiteral("L_SW_Code"))->text(), QStringLiteral("KG4315"));
        QCOMPARE(f.dialog->findChild<QLabel*>(QStringLiteral("L_SW_Desc"))->text(), QStringLiteral("KNX Set Access"));
        QCOMPARE(f.Grid()->geometry(), QRect(0, 69, 1141, 337 - 69 - 40));
        const QList<Flat_Button*> buttons = {f.dialog->Btn_OK,     f.dialog->Btn_Cancel,  f.dialog->Btn_DelRow,
                                             f.dialog->Btn_InsRow, f.dialog->Btn_CopyRow, f.dialog->Btn_PasteRow};
        const QStringList captions = {"OK", "Cancel", "Delete Row", "Insert Row", "Copy Row", "Paste Row"};
        for (int i = 0; i < buttons.size(); ++i) {
            QCOMPARE(buttons[i]->text(), captions[i]);
            QVERIFY(buttons[i]->parentWidget()->geometry().top() == 337 - 40);
            if (i > 0)
                QVERIFY(buttons[i]->x() > buttons[i - 1]->x() + buttons[i - 1]->width());
        }
        const int widths[] = {40, 50, 70, 80, 60, 75, 110, 68, 50, 52, 71, 62, 67, 55, 55, 55, 96};
        const QStringList headers = {"N",        "Enable",   "Source Add", "Dest/Group", "APCI",     "Priority",
                                     "Format",   "Extended", "ReTest",     "OnCMD",      "OnChange", "OnTimer",
                                     "Poll Time", "Position", "Bit Mode",  "Length",     "Mnemonic"};
        for (int c = 0; c < 17; ++c) {
            QCOMPARE(f.Grid()->columnWidth(c), widths[c]);
            QVERIFY(!f.Grid()->isColumnHidden(c));
            QCOMPARE(f.Grid()->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
        }
    }

    void projectWithoutFile()
    {
        Fixture f;
        QVERIFY(f.Open());
        QVERIFY(f.messages.shown.isEmpty());
        const QAbstractItemModel* model = f.Grid()->model();
        QCOMPARE(model->rowCount(), 512);
        for (int r = 1; r <= 512; ++r) {
            QCOMPARE(model->data(f.Cell(r, Col_Number)).toString(), QString::number(r));
            QCOMPARE(model->data(f.Cell(r, Col_Enable), Qt::CheckStateRole).toInt(), int(Qt::Checked));
            for (int c = Col_Source_Address; c <= Col_Mnemonic; ++c)
                QVERIFY(f.Table().Cell(r, c).isEmpty());
        }
        QCOMPARE(f.dialog->Max_Num_Byte, 1439);
        const QStringList positions = f.dialog->Delegate->Position_Items();
        QCOMPARE(positions.size(), 1439);
        QCOMPARE(positions.first(), QStringLiteral("0"));
        QCOMPARE(positions.last(), QStringLiteral("1438"));

        QTest::mouseClick(f.dialog->Btn_OK, Qt::LeftButton);
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
        QVERIFY(!f.dialog->isVisible());
        Text_Table back = Fresh_KNX_Table();
        const KNX_Read_Result read = Read_KNX_Access_File(f.state.File_KNX_Access, back);
        QVERIFY(read.found && read.Ok());
        QCOMPARE(read.rows, 0);
    }

    void editThroughEditors()
    {
        Fixture f;
        QVERIFY(f.Open());
        QTableView* grid = f.Grid();

        // Space toggles check cells: Enable off and on again, OnTimer on from empty.
        grid->setCurrentIndex(f.Cell(1, Col_Enable));
        QTest::keyClick(grid, Qt::Key_Space);
        QCOMPARE(f.Table().Cell(1, Col_Enable), QStringLiteral("N"));
        QTest::keyClick(grid, Qt::Key_Space);
        QCOMPARE(f.Table().Cell(1, Col_Enable), QStringLiteral("Y"));
        grid->setCurrentIndex(f.Cell(1, Col_On_Timer));
        QTest::keyClick(grid, Qt::Key_Space);
        QCOMPARE(f.Table().Cell(1, Col_On_Timer), QStringLiteral("Y"));
        QVERIFY(!grid->indexWidget(f.Cell(1, Col_On_Timer)));
        // A click on the box toggles it too.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(f.Cell(1, Col_Extended)).center());
        QCOMPARE(f.Table().Cell(1, Col_Extended), QStringLiteral("Y"));

        // Typing starts the edit of a text cell.
        grid->setCurrentIndex(f.Cell(1, Col_Source_Address));
        QTest::keyClick(grid, '1');
        auto* source = qobject_cast<QLineEdit*>(grid->indexWidget(f.Cell(1, Col_Source_Address)));
        QVERIFY(source);
        QTest::keyClicks(source, ".1.20");
        QTest::keyClick(source, Qt::Key_Tab);
        QTRY_COMPARE(f.Table().Cell(1, Col_Source_Address), QStringLiteral("1.1.20"));
        // Tab moved the edit on to Dest/Group.
        QCOMPARE(grid->currentIndex(), f.Cell(1, Col_Destination_Address));

        // APCI takes typed text besides its two items.
        auto* apci = qobject_cast<QComboBox*>(f.Edit(1, Col_APCI));
        QVERIFY(apci && apci->isEditable());
        QCOMPARE(apci->count(), 2);
        QCOMPARE(apci->itemText(0), QStringLiteral("Read"));
        QCOMPARE(apci->itemText(1), QStringLiteral("Write"));
        QTest::keyClicks(apci, "read");
        QTest::keyClick(apci, Qt::Key_Return);
        QTRY_COMPARE(f.Table().Cell(1, Col_APCI), QStringLiteral("read"));
        // Typing over a filled APCI replaces its text.
        grid->setCurrentIndex(f.Cell(1, Col_APCI));
        QTest::keyClick(grid, '5');
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(f.Table().Cell(1, Col_APCI), QStringLiteral("5"));

        // A fixed list: typing picks the item, Enter keeps it.
        grid->setCurrentIndex(f.Cell(1, Col_Priority));
        QTest::keyClick(grid, 'L');
        auto* priority = qobject_cast<QComboBox*>(grid->indexWidget(f.Cell(1, Col_Priority)));
        QVERIFY(priority && !priority->isEditable());
        QCOMPARE(priority->count(), 4);
        QCOMPARE(priority->currentText(), QStringLiteral("Low"));
        QTest::keyClick(priority, Qt::Key_Return);
        QTRY_COMPARE(f.Table().Cell(1, Col_Priority), QStringLiteral("Low"));

        // Format chosen by arrow keys from the item the cell holds.
        f.dialog->Model->setData(f.Cell(1, Col_Format), QStringLiteral("Swap32"));
        auto* format = qobject_cast<QComboBox*>(f.Edit(1, Col_Format));
        QVERIFY(format);
        QCOMPARE(format->count(), 10);
        QCOMPARE(format->currentText(), QStringLiteral("Swap32"));
        QTest::keyClick(format, Qt::Key_Down);
        QTest::keyClick(format, Qt::Key_Return);
        QTRY_COMPARE(f.Table().Cell(1, Col_Format), QStringLiteral("Swap All"));

        // Position offers 0 to 1438.
        auto* position = qobject_cast<QComboBox*>(f.Edit(1, Col_Position));
        QVERIFY(position && !position->isEditable());
        QCOMPARE(position->count(), 1439);
        QCOMPARE(position->itemText(1438), QStringLiteral("1438"));
        position->setCurrentIndex(position->findText(QStringLiteral("1424")));
        QTest::keyClick(position, Qt::Key_Return);
        QTRY_COMPARE(f.Table().Cell(1, Col_Position), QStringLiteral("1424"));

        // Bit Mode, then Escape leaves a list without changing the cell.
        auto* bitMode = qobject_cast<QComboBox*>(f.Edit(1, Col_Bit_Mode));
        QVERIFY(bitMode);
        QCOMPARE(bitMode->count(), 9);
        bitMode->setCurrentIndex(bitMode->findText(QStringLiteral("3")));
        QTest::keyClick(bitMode, Qt::Key_Return);
        QTRY_COMPARE(f.Table().Cell(1, Col_Bit_Mode), QStringLiteral("3"));
        bitMode = qobject_cast<QComboBox*>(f.Edit(1, Col_Bit_Mode));
        QVERIFY(bitMode);
        bitMode->setCurrentIndex(0);
        QTest::keyClick(bitMode, Qt::Key_Escape);
        QTRY_VERIFY(!grid->indexWidget(f.Cell(1, Col_Bit_Mode)));
        QCOMPARE(f.Table().Cell(1, Col_Bit_Mode), QStringLiteral("3"));

        // A list cell whose text is not among the items (from the file) keeps it when left without a choice.
        f.dialog->Model->setData(f.Cell(2, Col_Position), QStringLiteral("1439"));
        position = qobject_cast<QComboBox*>(f.Edit(2, Col_Position));
        QVERIFY(position);
        QCOMPARE(position->currentIndex(), -1);
        QTest::keyClick(position, Qt::Key_Return);
        QTRY_VERIFY(!grid->indexWidget(f.Cell(2, Col_Position)));
        QCOMPARE(f.Table().Cell(2, Col_Position), QStringLiteral("1439"));

        // The number column has no editor.
        QVERIFY(!f.Edit(1, Col_Number));

        // An edit still open when OK is pressed is kept and saved.
        f.dialog->Model->setData(f.Cell(1, Col_Destination_Address), QStringLiteral("1/2/3"));
        f.dialog->Model->setData(f.Cell(1, Col_Poll_Time), QStringLiteral("1000"));
        auto* length = qobject_cast<QLineEdit*>(f.Edit(1, Col_Length));
        QVERIFY(length);
        QTest::keyClicks(length, "112");
        f.dialog->Btn_OK->click();
        QVERIFY2(f.messages.shown.isEmpty(), qPrintable(f.messages.shown.join('\n')));
        QVERIFY(!f.dialog->isVisible());

        Text_Table back = Fresh_KNX_Table();
        const KNX_Read_Result read = Read_KNX_Access_File(f.state.File_KNX_Access, back);
        QVERIFY(read.Ok());
        QCOMPARE(read.rows, 1);
        KNX_Command_Row expected;
        expected.Enable = "Y";
        expected.Source_Address = "1.1.20";
        expected.Destination_Address = "1/2/3";
        expected.APCI = "5";
        expected.Priority = "Low";
        expected.Format = "Swap All";
        expected.Extended = "Y";
        expected.On_Timer = "Y";
        expected.Poll_Time = "1000";
        expected.Position = "1424";
        expected.Bit_Mode = "3";
        expected.Length = "112";
        QCOMPARE(Row_Of(back, 1), expected);
    }

    void dataCheckMessages_data()
    {
        QTest::addColumn<Cells>("cells");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("limit");
        QTest::newRow("source") << Cells{{Col_Source_Address, "1.1.256"}} << 218 << "";
        QTest::newRow("individual destination") << Cells{{Col_Destination_Address, "1.16.1"}} << 219 << "";
        QTest::newRow("group destination") << Cells{{Col_Destination_Address, "32/1"}} << 229 << "";
        QTest::newRow("APCI") << Cells{{Col_APCI, "1024"}} << 220 << "";
        QTest::newRow("priority") << Cells{{Col_Priority, "normal"}} << 221 << "";
        QTest::newRow("format") << Cells{{Col_Format, " "}} << 350 << "";
        QTest::newRow("poll time") << Cells{{Col_On_Timer, "Y"}, {Col_Poll_Time, "0"}} << 222 << "";
        QTest::newRow("position") << Cells{{Col_Position, "1439"}} << 223 << "1438";
        QTest::newRow("bit mode") << Cells{{Col_Bit_Mode, "8"}} << 224 << "";
        QTest::newRow("length") << Cells{{Col_Length, "15"}} << 225 << "14";
        QTest::newRow("position plus length") << Cells{{Col_Position, "1430"}, {Col_Length, "14"}} << 226 << "1439";
    }

    // The first failure of the check reaches the message box; nothing is saved
    // and the dialog stays open with the rows as they were.
    void dataCheckMessages()
    {
        QFETCH(Cells, cells);
        QFETCH(int, entry);
        QFETCH(QString, limit);
        Fixture f;
        QVERIFY(f.Open());
        f.dialog->Model->Edit_Rows([&](Text_Table& t) {
            Set_Row(t, 1, Valid_Row(1));
            Set_Row(t, 2, Valid_Row(2));
            for (auto it = cells.begin(); it != cells.end(); ++it)
                t.Set_Cell(2, it.key(), it.value());
        });
        const Text_Table before = f.Table();
        f.dialog->Btn_OK->click();
        QCOMPARE(f.messages.errors, QStringList{Error_Row(2, f.state.Text(entry)) + limit});
        QVERIFY(f.dialog->isVisible());
        QVERIFY(f.Table() == before);
        QVERIFY(!QFile::exists(f.state.File_KNX_Access));
    }

    void failedWriteKeepsEdits()
    {
        Fixture f;
        f.state.File_KNX_Access = f.dir.filePath(QStringLiteral("missing/KNX_SetAccess.xml"));
        QVERIFY(f.Open());
        f.dialog->Model->Edit_Rows([](Text_Table& t) { Set_Row(t, 1, Valid_Row(1)); });
        f.dialog->Btn_OK->click();
        QCOMPARE(f.messages.errors.size(), 1);
        QVERIFY(f.messages.errors[0].contains(f.state.File_KNX_Access));
        QVERIFY(f.dialog->isVisible());
        QCOMPARE(Row_Of(f.Table(), 1), Valid_Row(1));
    }

    void loadsFileAndCancelDiscards()
    {
        Fixture f;
        f.Write_Rows(3);
        const QByteArray written = test::Read_Bytes(f.state.File_KNX_Access);
        QVERIFY(f.Open());
        for (int r = 1; r <= 3; ++r)
            QCOMPARE(Row_Of(f.Table(), r), Valid_Row(r));
        QCOMPARE(f.Table().Cell(4, Col_Enable), QStringLiteral("Y"));
        QVERIFY(f.Table().Cell(4, Col_Source_Address).isEmpty());

        f.dialog->Model->setData(f.Cell(2, Col_Mnemonic), QStringLiteral("changed"));
        f.messages.answers = {true};
        f.dialog->Btn_Cancel->click();
        QCOMPARE(f.messages.shown, QStringList{f.state.Text(167)});
        QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
        QVERIFY(!f.dialog->isVisible());
        QCOMPARE(test::Read_Bytes(f.state.File_KNX_Access), written);

        QVERIFY(f.Open());
        QCOMPARE(f.Table().Cell(2, Col_Mnemonic), QStringLiteral("command 2"));
    }

    void loadErrors_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("named");
        QTest::addColumn<int>("rowsKept");
        QTest::newRow("missing attribute")
            << QByteArray("<BACnet_to_KNX><KNX_in_Read/><KNX_in_Write>"
                          "<row Enable=\"Y\" Source_Address=\"1.1.1\" Destination_Address=\"1/1/1\" APCI=\"Write\" "
                          "Priority=\"Low\" Format=\"None\" Extended=\"N\" ReTest=\"N\" On_Command=\"N\" On_Change=\"Y\" "
                          "On_Timer=\"N\" Poll_Time=\"\" Position=\"0\" Bit_Mode=\"No\" Length=\"2\" Mnemonic=\"a\"/>"
                          "<row Enable=\"N\" Source_Address=\"1.1.2\" Destination_Address=\"1/1/2\"/>"
                          "</KNX_in_Write></BACnet_to_KNX>")
            << QStringList{"row 2", "APCI"} << 1;
        QTest::newRow("not well-formed") << QByteArray("<BACnet_to_KNX><KNX_in_Write><row") << QStringList{} << 0;
    }

    // A file that cannot be read whole is reported with its path; the rows
    // read before the failure stay and the dialog opens.
    void loadErrors()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, named);
        QFETCH(int, rowsKept);
        Fixture f;
        test::Write_Bytes(f.state.File_KNX_Access, file);
        QVERIFY(f.Open());
        QCOMPARE(f.messages.errors.size(), 1);
        const QString message = f.messages.errors[0];
        QVERIFY2(message.contains(f.state.File_KNX_Access), qPrintable(message));
        for (const QString& piece : named)
            QVERIFY2(message.contains(piece), qPrintable(message));
        QVERIFY(f.dialog->isVisible());
        if (rowsKept > 0) {
            QCOMPARE(f.Table().Cell(1, Col_Mnemonic), QStringLiteral("a"));
            // The failing row keeps the cells read before the missing one.
            QCOMPARE(f.Table().Cell(2, Col_Enable), QStringLiteral("N"));
            QCOMPARE(f.Table().Cell(2, Col_Destination_Address), QStringLiteral("1/1/2"));
            QVERIFY(f.Table().Cell(2, Col_APCI).isEmpty());
        } else {
            QVERIFY(f.Table() == [&] {
                Text_Table fresh = Fresh_KNX_Table();
                Set_KNX_Headers(fresh, f.state);
                return fresh;
            }());
        }
    }

    void clickOnNumberSelectsRow()
    {
        Fixture f;
        QVERIFY(f.Open());
        QTableView* grid = f.Grid();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(f.Cell(3, Col_Number)).center());
        const QModelIndexList selected = grid->selectionModel()->selectedIndexes();
        QCOMPARE(selected.size(), 17);
        for (const QModelIndex& index : selected)
            QCOMPARE(KNX_Table_Model::Table_Row(index), 3);
        // A click elsewhere selects a single cell.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(f.Cell(2, Col_Mnemonic)).center());
        QCOMPARE(grid->selectionModel()->selectedIndexes(), QModelIndexList{f.Cell(2, Col_Mnemonic)});
    }

    void rowButtons_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("row 1") << 1;
        QTest::newRow("row 512") << 512;
    }

    // Insert, Delete (Yes) and Copy / Paste at the current row; the current cell stays.
    void rowButtons()
    {
        QFETCH(int, row);
        Fixture f;
        QVERIFY(f.Open());
        f.Mark_All();
        const QModelIndex current = f.Cell(row, Col_Priority);
        f.Grid()->setCurrentIndex(current);

        // Row 512 holds text: the insert that pushes it out is confirmed first.
        f.messages.answers = {true};
        f.dialog->Btn_InsRow->click();
        QCOMPARE(f.messages.shown, QStringList{f.state.Text(2201)});
        f.messages.Reset();
        QVERIFY(f.Row_Is(row, 0));
        if (row == 1) {
            QVERIFY(f.Row_Is(2, 1));
            QVERIFY(f.Row_Is(512, 511));
        }
        QCOMPARE(f.Grid()->currentIndex(), current);

        f.messages.answers = {true};
        f.dialog->Btn_DelRow->click();
        QCOMPARE(f.messages.questions, QStringList{QStringLiteral("Are you sure to delete the Row number %1").arg(row)});
        QVERIFY(f.Row_Is(row, row == 1 ? 1 : 0));
        QVERIFY(f.Row_Is(512, 0));
        QCOMPARE(f.Grid()->currentIndex(), current);

        // Copy the other end's row, paste it here: this row is empty, nothing is asked.
        const int other = row == 1 ? 511 : 1;
        f.messages.Reset();
        f.Grid()->setCurrentIndex(f.Cell(other, Col_Mnemonic));
        f.dialog->Btn_CopyRow->click();
        QVERIFY(f.dialog->Do_Copy_In_Write);
        QCOMPARE(f.state.Copied_Row.size(), 16);
        const QModelIndex target = f.Cell(row == 1 ? 512 : row, Col_Mnemonic);
        f.Grid()->setCurrentIndex(target);
        f.dialog->Btn_PasteRow->click();
        QVERIFY(f.messages.shown.isEmpty());
        QVERIFY(f.Row_Is(KNX_Table_Model::Table_Row(target), other));
        QCOMPARE(f.Grid()->currentIndex(), target);

        // Onto a row with text: asked first, No leaves it.
        f.Grid()->setCurrentIndex(f.Cell(2, Col_Mnemonic));
        f.dialog->Btn_PasteRow->click();
        QCOMPARE(f.messages.questions, QStringList{f.state.Text(346)});
        QVERIFY(f.Row_Is(2, 2));
    }

    void deleteAnsweredNo()
    {
        Fixture f;
        QVERIFY(f.Open());
        f.Mark_All();
        f.Grid()->setCurrentIndex(f.Cell(37, Col_Source_Address));
        f.messages.answers = {false};
        f.dialog->Btn_DelRow->click();
        QCOMPARE(f.messages.questions, QStringList{QStringLiteral("Are you sure to delete the Row number 37")});
        QVERIFY(f.Row_Is(37, 37));
        QVERIFY(f.Row_Is(512, 512));
    }

    void copyFlagAcrossReopening()
    {
        Fixture f;
        f.Write_Rows(2);
        QVERIFY(f.Open());
        f.Grid()->setCurrentIndex(f.Cell(1, Col_Mnemonic));
        f.dialog->Btn_CopyRow->click();
        f.dialog->Btn_Cancel->click();

        QVERIFY(f.Open());
        QVERIFY(!f.dialog->Do_Copy_In_Write);
        f.Grid()->setCurrentIndex(f.Cell(3, Col_Mnemonic));
        f.dialog->Btn_PasteRow->click();
        QCOMPARE(f.messages.errors, QStringList{QStringLiteral("Error!!! Copy a valid row before Paste it")});
        QVERIFY(f.Table().Cell(3, Col_Source_Address).isEmpty());
        // The buffer itself is kept for the program's run.
        QCOMPARE(f.state.Copied_Row.size(), 16);
        QCOMPARE(f.state.Copied_Row[Col_Mnemonic - 1], QStringLiteral("command 1"));

        // Copying again in this opening allows the paste.
        f.messages.Reset();
        f.Grid()->setCurrentIndex(f.Cell(2, Col_Mnemonic));
        f.dialog->Btn_CopyRow->click();
        f.Grid()->setCurrentIndex(f.Cell(3, Col_Mnemonic));
        f.dialog->Btn_PasteRow->click();
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(Row_Of(f.Table(), 3), Valid_Row(2));
    }

    void pasteOfForeignBuffer()
    {
        Fixture f;
        QVERIFY(f.Open());
        f.dialog->Btn_CopyRow->click();
        f.state.Copied_Row.removeLast();
        f.dialog->Btn_PasteRow->click();
        QCOMPARE(f.messages.errors, QStringList{f.state.Text(347)});
    }

    void setLangHeaders()
    {
        Fixture f;
        f.state.Lang_Strings[168] = QStringLiteral("Zugriff");
        f.state.Lang_Strings[172] = QStringLiteral("Zeile löschen");
        f.state.Lang_Strings[878] = QStringLiteral("Einfügen");
        f.state.Lang_Strings[192] = QStringLiteral("Quelle");
        f.state.Lang_Strings[719] = QStringLiteral("Befehl");
        f.dialog->Set_Lang();
        QCOMPARE(f.dialog->windowTitle(), QStringLiteral("Zugriff"));
        QCOMPARE(f.dialog->Btn_DelRow->text(), QStringLiteral("Zeile löschen"));
        QCOMPARE(f.dialog->Btn_PasteRow->text(), QStringLiteral("Einfügen"));
        const QAbstractItemModel* model = f.Grid()->model();
        QCOMPARE(model->headerData(Col_Source_Address, Qt::Horizontal).toString(), QStringLiteral("Quelle"));
        QCOMPARE(model->headerData(Col_On_Command, Qt::Horizontal).toString(), QStringLiteral("Befehl"));
        QCOMPARE(model->headerData(Col_Enable, Qt::Horizontal).toString(), QStringLiteral("Enable"));
        // An opening keeps the new headers.
        QVERIFY(f.Open());
        QCOMPARE(model->headerData(Col_Source_Address, Qt::Horizontal).toString(), QStringLiteral("Quelle"));
    }

    // What the grid and the buttons keep laid out between repaints never
    // outlives a change of their texts.
    void repaintShowsChangedTexts()
    {
        Fixture f;
        f.Write_Rows(3);
        QVERIFY(f.Open());
        const auto shot = [](QWidget* widget) { return widget->grab().toImage(); };
        const QImage grid = shot(f.Grid()->viewport());
        const QImage button = shot(f.dialog->Btn_DelRow);
        QVERIFY(f.dialog->Model->setData(f.Cell(2, Col_Mnemonic), QStringLiteral("another text"), Qt::EditRole));
        f.state.Lang_Strings[172] = QStringLiteral("Zeile löschen");
        f.dialog->Set_Lang();
        QVERIFY(shot(f.Grid()->viewport()) != grid);
        QVERIFY(shot(f.dialog->Btn_DelRow) != button);
        QVERIFY(f.dialog->Model->setData(f.Cell(2, Col_Mnemonic), QStringLiteral("command 2"), Qt::EditRole));
        f.state.Lang_Strings[172] = QStringLiteral("Delete Row");
        f.dialog->Set_Lang();
        QCOMPARE(shot(f.Grid()->viewport()), grid);
        QCOMPARE(shot(f.dialog->Btn_DelRow), button);
    }

    // The main window creates the dialog last, re-captions it on a language
    // change and shows it modally only while a configuration is active.
    void shownFromMainWindow()
    {
        QTemporaryDir app;
        ProgramState state;
        test::ScriptedMessages messages;
        TFLoomwrightFirmWare window(state, messages, app.path());
        QCOMPARE(window.Dialogs().Creation_Order().last(), QStringLiteral("FKNXAccess"));
        QCOMPARE(window.Dialogs().Lang_Order().last(), QStringLiteral("FKNXAccess"));
        auto* dialog = window.findChild<TFKNXAccess*>();
        QVERIFY(dialog);
        auto* button = window.findChild<Flat_Button*>(QStringLiteral("Btn_KNX_Access"));
        QVERIFY(button);

        state.Dir_Project.clear();
        button->click();
        QCOMPARE(messages.errors, QStringList{state.Text(18)});
        QVERIFY(!dialog->isVisible());

        state.Lang_Strings[168] = QStringLiteral("Zugriff");
        window.Change_Language();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Zugriff"));

        state.Dir_Project = app.path();
        Set_Files(state);
        messages.Reset();
        bool wasModal = false;
        QTimer::singleShot(0, dialog, [&] {
            wasModal = QApplication::activeModalWidget() == dialog;
            dialog->Btn_Cancel->click();
        });
        button->click();
        QVERIFY(wasModal);
        QVERIFY(messages.shown.isEmpty());
    }

    // Showing the window again (a restore after minimising) loads nothing:
    // edits, the copy flag and the read error of the opening stay as they are.
    void reshowKeepsTheOpening()
    {
        Fixture f;
        f.Write_Rows(2);
        QVERIFY(f.Open());
        f.dialog->Model->setData(f.Cell(1, Col_Mnemonic), QStringLiteral("typed"));
        f.dialog->Btn_CopyRow->click();
        f.dialog->hide();
        f.dialog->show();
        QShowEvent again;
        QApplication::sendEvent(f.dialog.get(), &again);
        QCOMPARE(f.Table().Cell(1, Col_Mnemonic), QStringLiteral("typed"));
        QVERIFY(f.dialog->Do_Copy_In_Write);
        QVERIFY(f.messages.shown.isEmpty());

        test::Write_Bytes(f.state.File_KNX_Access, "<BACnet_to_KNX><KNX_in_Write><row");
        f.dialog->hide();
        QVERIFY(f.Open());
        QCOMPARE(f.messages.errors.size(), 1);
        f.dialog->hide();
        f.dialog->show();
        QCOMPARE(f.messages.errors.size(), 1);
    }

    void leaveAsksAfterChange_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("changed");
        for (const char* how : {"Cancel", "Escape", "close box"}) {
            QTest::addRow("%s, unchanged", how) << QString(how) << false;
            QTest::addRow("%s, changed", how) << QString(how) << true;
        }
    }

    // Cancel, Escape and the close box ask before dropping changes; No keeps the dialog.
    void leaveAsksAfterChange()
    {
        QFETCH(QString, how);
        QFETCH(bool, changed);
        Fixture f;
        QVERIFY(f.Open());
        if (changed) {
            f.Click(4, Col_Mnemonic);
            QTest::keyClicks(f.Grid(), QStringLiteral("x"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QTRY_COMPARE(f.Table().Cell(4, Col_Mnemonic), QStringLiteral("x"));
        }
        const auto leave = [&] {
            if (how == QLatin1String("Cancel"))
                f.dialog->Btn_Cancel->click();
            else if (how == QLatin1String("Escape"))
                QTest::keyClick(f.Grid(), Qt::Key_Escape);
            else
                f.dialog->close();
        };
        leave();
        if (!changed) {
            QVERIFY(f.messages.shown.isEmpty());
            QVERIFY(!f.dialog->isVisible());
            return;
        }
        QCOMPARE(f.messages.questions, QStringList{f.state.Text(167)});
        QVERIFY(f.dialog->isVisible());
        QCOMPARE(f.Table().Cell(4, Col_Mnemonic), QStringLiteral("x"));
        f.messages.answers = {true};
        leave();
        QVERIFY(!f.dialog->isVisible());
        QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
    }

    void okRefusesToLoseRows_data()
    {
        QTest::addColumn<QString>("below");
        QTest::addColumn<bool>("refused");
        QTest::newRow("mnemonic below the gap") << QStringLiteral("lost") << true;
        QTest::newRow("blanks only") << QStringLiteral("   ") << false;
        QTest::newRow("nothing") << QString() << false;
    }

    // A row after the first empty Source Add with text would be lost: OK refuses.
    void okRefusesToLoseRows()
    {
        QFETCH(QString, below);
        QFETCH(bool, refused);
        Fixture f;
        f.Write_Rows(3);
        const QByteArray written = test::Read_Bytes(f.state.File_KNX_Access);
        QVERIFY(f.Open());
        f.dialog->Model->setData(f.Cell(6, Col_Mnemonic), below);
        f.dialog->Model->setData(f.Cell(7, Col_Extended), Qt::Checked, Qt::CheckStateRole);
        f.dialog->Btn_OK->click();
        if (!refused) {
            QVERIFY(f.messages.shown.isEmpty());
            QVERIFY(!f.dialog->isVisible());
            return;
        }
        QCOMPARE(f.messages.errors, QStringList{f.state.Text(2200).arg(4)});
        QVERIFY(f.dialog->isVisible());
        QCOMPARE(test::Read_Bytes(f.state.File_KNX_Access), written);
        const QModelIndexList selected = f.Grid()->selectionModel()->selectedIndexes();
        QCOMPARE(selected.size(), 17);
        for (const QModelIndex& index : selected)
            QCOMPARE(KNX_Table_Model::Table_Row(index), 4);
    }

    // Insert Row at a full table asks; No leaves the table as it was.
    void insertAtFullTableAsks()
    {
        Fixture f;
        QVERIFY(f.Open());
        f.dialog->Model->setData(f.Cell(512, Col_Poll_Time), QStringLiteral(" 5 "));
        f.Click(2, Col_Mnemonic);
        const Text_Table before = f.Table();
        f.dialog->Btn_InsRow->click();
        QCOMPARE(f.messages.questions, QStringList{f.state.Text(2201)});
        QVERIFY(f.Table() == before);
        // Blanks only: nothing to lose, nothing asked.
        f.messages.Reset();
        f.dialog->Model->setData(f.Cell(512, Col_Poll_Time), QStringLiteral("  "));
        f.dialog->Btn_InsRow->click();
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(f.Table().Cell(3, Col_Enable), QStringLiteral("Y"));
        QVERIFY(f.Table().Cell(2, Col_Enable).isEmpty());
    }

    void numberColumnIsFixed_data()
    {
        QTest::addColumn<int>("startRow");
        QTest::addColumn<int>("startColumn");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("Left at column 1") << 3 << 1 << int(Qt::Key_Left) << 0 << 3 << 1;
        QTest::newRow("Home") << 3 << 9 << int(Qt::Key_Home) << 0 << 3 << 1;
        QTest::newRow("Shift+Tab wraps to the row above") << 3 << 1 << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << 2 << 16;
        QTest::newRow("Tab wraps to column 1") << 3 << 16 << int(Qt::Key_Tab) << 0 << 4 << 1;
        QTest::newRow("Ctrl+Home") << 9 << 5 << int(Qt::Key_Home) << int(Qt::ControlModifier) << 1 << 1;
    }

    void numberColumnIsFixed()
    {
        QFETCH(int, startRow);
        QFETCH(int, startColumn);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, row);
        QFETCH(int, column);
        Fixture f;
        QVERIFY(f.Open());
        f.Grid()->setCurrentIndex(f.Cell(startRow, startColumn));
        QTest::keyClick(f.Grid(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(f.Grid()->currentIndex(), f.Cell(row, column));
    }

    // A click on a row number selects the row without making the number
    // current; Shift+click extends to whole rows.
    void rowNumberClicksSelectRows()
    {
        Fixture f;
        QVERIFY(f.Open());
        QTableView* grid = f.Grid();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(f.Cell(3, Col_Number)).center());
        QCOMPARE(grid->currentIndex(), f.Cell(3, Col_Enable));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          grid->visualRect(f.Cell(6, Col_Number)).center());
        QCOMPARE(grid->selectionModel()->selectedIndexes().size(), 4 * 17);
        // Shift+arrows and Shift+End extend a range of cells.
        f.Click(2, Col_APCI);
        QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(grid, Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(grid->selectionModel()->selectedIndexes().size(), 2 * 13);
        QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(grid->selectionModel()->selectedIndexes().size(), 512 * 17);
    }

    // Copy, paste, cut, clear, undo and redo with the keys of a spreadsheet.
    void clipboardKeysAndUndo()
    {
        Fixture f;
        QVERIFY(f.Open());
        QTableView* grid = f.Grid();
        const QStringList awkward = {QStringLiteral("a\tb"), QStringLiteral("two\nlines"), QStringLiteral("say \"hi\""),
                                     QStringLiteral("  lead"), QStringLiteral("R&D"), QStringLiteral("Zürich °C")};
        Text_Table table = f.Table();
        for (int i = 0; i < awkward.size(); ++i)
            table.Set_Cell(1 + i / 2, Col_Mnemonic - 1 + i % 2, awkward[i]);
        f.dialog->Apply_Table(table, QStringLiteral("Import"));
        QCOMPARE(f.dialog->Undo_Stack->count(), 1);

        f.Click(1, Col_Length);
        QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(grid, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 Encode_Cells({{awkward[0], awkward[1]}, {awkward[2], awkward[3]}, {awkward[4], awkward[5]}}));

        f.Click(10, Col_Source_Address);
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        for (int i = 0; i < awkward.size(); ++i)
            QCOMPARE(f.Table().Cell(10 + i / 2, Col_Source_Address + i % 2), awkward[i]);
        QCOMPARE(grid->selectionModel()->selectedIndexes().size(), 6);
        QCOMPARE(f.dialog->Undo_Stack->count(), 2);

        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(f.Table().Cell(11, Col_Source_Address).isEmpty());
        QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(f.Table().Cell(11, Col_Source_Address), awkward[2]);
        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.Table().Cell(12, Col_Destination_Address), awkward[5]);

        // Cut empties the cells; Shift+Insert pastes them back elsewhere.
        f.Click(10, Col_Source_Address);
        QTest::keyClick(grid, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(f.Table().Cell(10, Col_Source_Address).isEmpty());
        f.Click(20, Col_Mnemonic);
        QTest::keyClick(grid, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(f.Table().Cell(20, Col_Mnemonic), awkward[0]);

        // Delete clears: a check cell to "N", a list cell to empty.
        f.dialog->Model->setData(f.Cell(5, Col_Priority), QStringLiteral("Low"));
        f.Click(5, Col_Source_Address);
        grid->selectionModel()->select(QItemSelection(f.Cell(5, Col_Enable), f.Cell(5, Col_Priority)),
                                       QItemSelectionModel::ClearAndSelect);
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(f.Table().Cell(5, Col_Enable), QStringLiteral("N"));
        QVERIFY(f.Table().Cell(5, Col_Priority).isEmpty());
        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.Table().Cell(5, Col_Priority), QStringLiteral("Low"));
        QVERIFY(f.messages.shown.isEmpty());
    }

    void pasteAtTheEdges_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("message");
        QTest::newRow("fits") << QStringLiteral("a\tb\r\nc\td\r\n") << 511 << 15 << QStringList{};
        QTest::newRow("cut right and below") << QStringLiteral("a\tb\tc\nd\te\tf\ng\th\ti\n") << 511 << 15
                                             << QStringList{"2", "3", "2", "3"};
    }

    // A block is cut at row 512 and column 16 with one message; one undo step.
    void pasteAtTheEdges()
    {
        QFETCH(QString, text);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QStringList, message);
        Fixture f;
        QVERIFY(f.Open());
        QGuiApplication::clipboard()->setText(text);
        f.Click(row, column);
        QTest::keyClick(f.Grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.Table().Cell(512, 15), message.isEmpty() ? QStringLiteral("c") : QStringLiteral("d"));
        if (message.isEmpty())
            QVERIFY(f.messages.shown.isEmpty());
        else
            QCOMPARE(f.messages.errors,
                     QStringList{f.state.Text(2202).arg(message[0], message[1], message[2], message[3])});
        QCOMPARE(f.dialog->Undo_Stack->count(), 1);
    }

    // One copied text fills every selected cell, in the form each column takes.
    void singleTextFillsSelection()
    {
        Fixture f;
        QVERIFY(f.Open());
        QGuiApplication::clipboard()->setText(QStringLiteral("x\n"));
        f.Grid()->selectionModel()->select(QItemSelection(f.Cell(2, Col_Extended), f.Cell(4, Col_On_Change)),
                                           QItemSelectionModel::ClearAndSelect);
        QTest::keyClick(f.Grid(), Qt::Key_V, Qt::ControlModifier);
        for (int r = 2; r <= 4; ++r) {
            for (int c = Col_Extended; c <= Col_On_Change; ++c)
                QCOMPARE(f.Table().Cell(r, c), QStringLiteral("Y"));
        }
        QCOMPARE(f.dialog->Undo_Stack->count(), 1);
    }

    // Typing replaces the cell, Enter commits and moves down, F2 edits,
    // Escape drops the edit and leaves the dialog open.
    void typingEnterAndEscape()
    {
        Fixture f;
        QVERIFY(f.Open());
        QTableView* grid = f.Grid();
        f.dialog->Model->setData(f.Cell(2, Col_Source_Address), QStringLiteral("9.9.9"));
        f.Click(2, Col_Source_Address);
        QTest::keyClick(grid, Qt::Key_1);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral(".1.5"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(f.Table().Cell(2, Col_Source_Address), QStringLiteral("1.1.5"));
        QCOMPARE(grid->currentIndex(), f.Cell(3, Col_Source_Address));
        // Enter without an editor moves down too.
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(grid->currentIndex(), f.Cell(4, Col_Source_Address));

        f.Click(2, Col_Source_Address);
        QTest::keyClick(grid, Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(qobject_cast<QLineEdit*>(editor));
        QTest::keyClicks(editor, QStringLiteral("0"));
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(f.dialog->isVisible());
        QCOMPARE(f.Table().Cell(2, Col_Source_Address), QStringLiteral("1.1.5"));
        QVERIFY(f.messages.shown.isEmpty());
        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.Table().Cell(2, Col_Source_Address), QStringLiteral("9.9.9"));
    }

    // Ctrl+D copies the top cell down; Ctrl+Shift+D counts addresses and
    // places positions next to each other.
    void fillKeys()
    {
        Fixture f;
        QVERIFY(f.Open());
        Text_Table table = f.Table();
        Set_Row(table, 1, Valid_Row(1));
        table.Set_Cell(1, Col_Destination_Address, QStringLiteral("1/1/1"));
        table.Set_Cell(1, Col_Position, QStringLiteral("10"));
        f.dialog->Apply_Table(table, QStringLiteral("Import"));
        f.Grid()->selectionModel()->select(QItemSelection(f.Cell(1, Col_Enable), f.Cell(4, Col_Mnemonic)),
                                           QItemSelectionModel::ClearAndSelect);
        QTest::keyClick(f.Grid(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        const QStringList dests = {"1/1/1", "1/1/2", "1/1/3", "1/1/4"};
        const QStringList positions = {"10", "12", "14", "16"};
        for (int r = 1; r <= 4; ++r) {
            QCOMPARE(f.Table().Cell(r, Col_Destination_Address), dests[r - 1]);
            QCOMPARE(f.Table().Cell(r, Col_Position), positions[r - 1]);
            QCOMPARE(f.Table().Cell(r, Col_Mnemonic), QStringLiteral("command 1"));
        }
        QTest::keyClick(f.Grid(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(f.Table().Cell(4, Col_Destination_Address), QStringLiteral("1/1/1"));
        QCOMPARE(f.Table().Cell(4, Col_Position), QStringLiteral("10"));
        QTest::keyClick(f.Grid(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.Table().Cell(4, Col_Position), QStringLiteral("16"));
    }

    // Ctrl++ and Ctrl+- run Insert Row and Delete Row, undone as one step each.
    void rowKeysAndUndo()
    {
        Fixture f;
        f.Write_Rows(3);
        QVERIFY(f.Open());
        f.Click(2, Col_Mnemonic);
        QTest::keyClick(f.Grid(), Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(f.Table().Cell(2, Col_Mnemonic).isEmpty());
        QCOMPARE(f.Table().Cell(3, Col_Mnemonic), QStringLiteral("command 2"));
        f.messages.answers = {true};
        f.Click(1, Col_Mnemonic);
        QTest::keyClick(f.Grid(), Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(f.messages.questions, QStringList{QStringLiteral("Are you sure to delete the Row number 1")});
        QVERIFY(f.Table().Cell(1, Col_Mnemonic).isEmpty());
        QTest::keyClick(f.Grid(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(f.Grid(), Qt::Key_Z, Qt::ControlModifier);
        for (int r = 1; r <= 3; ++r)
            QCOMPARE(Row_Of(f.Table(), r), Valid_Row(r));
        QVERIFY(!f.dialog->Is_Modified());
        f.dialog->Btn_Cancel->click();
        QVERIFY(!f.dialog->isVisible());
    }

    // Ctrl+F, typing, F3 / Shift+F3, the row filter and Escape, with real keys.
    void findBar()
    {
        Fixture f;
        f.Write_Rows(30);
        QVERIFY(f.Open());
        QTest::keyClick(f.Grid(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(f.dialog->Find_Bar->isVisible());
        QCOMPARE(QApplication::focusWidget(), f.dialog->Find_Bar->E_Find);
        QTest::keyClicks(f.dialog->Find_Bar->E_Find, QStringLiteral("COMMAND 2"));
        // command 2, 20 to 29: eleven rows.
        QCOMPARE(f.dialog->Find_Bar->L_Count->text(), f.state.Text(2211).arg(11));
        QCOMPARE(f.Grid()->currentIndex(), f.Cell(2, Col_Mnemonic));
        QTest::keyClick(f.dialog->Find_Bar->E_Find, Qt::Key_F3);
        QCOMPARE(f.Grid()->currentIndex(), f.Cell(20, Col_Mnemonic));
        QTest::keyClick(f.dialog->Find_Bar->E_Find, Qt::Key_F3, Qt::ShiftModifier);
        QTest::keyClick(f.dialog->Find_Bar->E_Find, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(f.Grid()->currentIndex(), f.Cell(29, Col_Mnemonic));
        QVERIFY(f.dialog->Model->data(f.Cell(29, Col_Mnemonic), Qt::BackgroundRole).isValid());

        f.dialog->Find_Bar->CB_Filter->setChecked(true);
        int shown = 0;
        for (int r = 1; r <= 512; ++r)
            shown += f.Grid()->isRowHidden(r - 1) ? 0 : 1;
        QCOMPARE(shown, 11);
        QCOMPARE(f.Grid()->model()->data(f.Cell(20, Col_Number)).toString(), QStringLiteral("20"));
        QTest::keyClicks(f.dialog->Find_Bar->E_Find, QStringLiteral("x"));
        QCOMPARE(f.dialog->Find_Bar->L_Count->text(), f.state.Text(2209));

        QTest::keyClick(f.dialog->Find_Bar->E_Find, Qt::Key_Escape);
        QVERIFY(!f.dialog->Find_Bar->isVisible());
        QVERIFY(f.dialog->isVisible());
        QVERIFY(!f.Grid()->isRowHidden(5));
        QVERIFY(!f.dialog->Model->data(f.Cell(29, Col_Mnemonic), Qt::BackgroundRole).isValid());
        QVERIFY(!f.dialog->Is_Modified());
    }

    // A failed check selects its cell; live marks show the same rule while typing.
    void errorsWhereTheyAre()
    {
        Fixture f;
        f.Write_Rows(5);
        QVERIFY(f.Open());
        f.Click(1, Col_Mnemonic);
        QVERIFY(!f.dialog->Model->data(f.Cell(4, Col_Priority), Qt::BackgroundRole).isValid());
        f.dialog->Model->setData(f.Cell(4, Col_Priority), QStringLiteral("High"));
        const QString expected = Error_Row(4, f.state.Text(221));
        QVERIFY(f.dialog->Model->data(f.Cell(4, Col_Priority), Qt::BackgroundRole).isValid());
        QCOMPARE(f.dialog->Model->data(f.Cell(4, Col_Priority), Qt::ToolTipRole).toString(), expected);
        f.dialog->Btn_OK->click();
        QCOMPARE(f.messages.errors, QStringList{expected});
        QCOMPARE(f.Grid()->currentIndex(), f.Cell(4, Col_Priority));
        QCOMPARE(f.Grid()->selectionModel()->selectedIndexes(), QModelIndexList{f.Cell(4, Col_Priority)});

        // A destination used twice is marked on both rows; rows after the end are shaded.
        f.dialog->Model->setData(f.Cell(5, Col_Destination_Address), QStringLiteral("1/2/2"));
        QVERIFY(f.dialog->Model->data(f.Cell(2, Col_Destination_Address), Qt::BackgroundRole).isValid());
        QVERIFY(f.dialog->Model->data(f.Cell(2, Col_Destination_Address), Qt::ToolTipRole).toString().endsWith("5"));
        QVERIFY(!f.dialog->Model->data(f.Cell(3, Col_Destination_Address), Qt::BackgroundRole).isValid());
        QVERIFY(f.dialog->Model->data(f.Cell(7, Col_Mnemonic), Qt::BackgroundRole).isValid());
        QVERIFY(!f.dialog->Model->data(f.Cell(5, Col_Mnemonic), Qt::BackgroundRole).isValid());
    }
};

QTEST_MAIN(TestKNXAccessDialog)
#include "tst_knx_access_dialog.moc"
