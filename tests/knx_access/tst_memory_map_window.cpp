#include "common/scripted_messages.h"
#include "knx_access/knx_access_dialog.h"
#include "knx_access/knx_access_file.h"
#include "knx_access/knx_table_model.h"
#include "knx_access/lang_fixture.h"
#include "knx_access/memory_map_window.h"
#include "widgets/flat_button.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace lw;

namespace {

KNX_Command_Row Row_At(const QString& position, const QString& bitMode, const QString& length, const QString& mnemonic)
{
    return {"Y", "1.1.1", "1/1/1", "Write", "Low", "None", "N", "N", "N", "N", "N", "", position, bitMode, length, mnemonic};
}

struct Fixture {
    QTemporaryDir dir;
    ProgramState state = test::State_With_Messages();
    test::ScriptedMessages messages;
    std::unique_ptr<TFKNXAccess> dialog;

    Fixture()
    {
        state.Lang_Extended = QStringList(1000, QString());
        const std::pair<int, const char*> texts[] = {
            {2400, "Memory Map"}, {2401, "Report…"}, {2402, "Bytes used: %1"}, {2405, "Overlaps: %1"},
            {2410, "Byte %1"},    {2411, "Row %1  %2  %3"}, {2412, "bits %1-%2"}, {2413, "bytes %1-%2"},
            {2414, "free"},       {2415, "Overlap: rows %1 and %2, %3"}, {2419, "No overlaps."},
        };
        for (const auto& [index, text] : texts)
            state.Lang_Extended[index - 2000] = QString::fromUtf8(text);
        state.Dir_Project = dir.path();
        Set_Files(state);
        // The saved file: rows 1 and 2 side by side.
        Text_Table table = Fresh_KNX_Table();
        Set_Row(table, 1, Row_At("0", "No", "2", "hall"));
        Set_Row(table, 2, Row_At("2", "No", "2", "office"));
        Set_Row(table, 3, Row_At("10", "3", "2", "alarm"));
        Write_KNX_Access_File(table, state.File_KNX_Access);
        dialog = std::make_unique<TFKNXAccess>(state, messages, nullptr);
    }

    Memory_Map_Window* Open_Map()
    {
        dialog->FormShow();
        dialog->show();
        dialog->Btn_Memory_Map->click();
        return dialog->Map_Tools->Window();
    }
    void Set(int row, int column, const QString& text)
    {
        dialog->Model->setData(dialog->Model->Cell_Index(row, column), text, Qt::EditRole);
    }
    QPoint Centre(Memory_Map_Window* w, int byte) const { return w->View->Layout().Cell_Rect(byte).center(); }
    // The table rows whose every cell is selected in the grid.
    QList<int> Selected_Rows() const
    {
        QList<int> rows;
        for (const QModelIndex& i : dialog->ACG_KNX_in_Write->selectionModel()->selectedRows())
            rows << KNX_Table_Model::Table_Row(i);
        return rows;
    }
};

} // namespace

class TestMemoryMapWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void buttonInTheBand()
    {
        Fixture f;
        QCOMPARE(f.dialog->Btn_Memory_Map->objectName(), QStringLiteral("Btn_Memory_Map"));
        QCOMPARE(f.dialog->Btn_Memory_Map->geometry(), QRect(8 + 7 * 118, 6, 110, 28));
        QCOMPARE(f.dialog->Btn_Memory_Map->text(), QStringLiteral("Memory Map"));
        QCOMPARE(f.dialog->Act_Report->objectName(), QStringLiteral("Act_Report"));
        QCOMPARE(f.dialog->Act_Report->text(), QStringLiteral("Report…"));
        QCOMPARE(f.dialog->size(), QSize(1141, 337));
    }

    void followsTheGrid()
    {
        Fixture f;
        Memory_Map_Window* w = f.Open_Map();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("Memory Map"));
        QCOMPARE(w->View->Map().rows.size(), 3);
        QVERIFY(w->View->Map().overlaps.isEmpty());
        QCOMPARE(w->LB_Warnings->item(0)->text(), QStringLiteral("No overlaps."));

        // An edit not yet saved: row 2 now starts inside row 1.
        f.Set(2, Col_Position, QStringLiteral("1"));
        QCOMPARE(w->View->Map().overlaps.size(), 1);
        QCOMPARE(w->LB_Warnings->item(0)->text(), QStringLiteral("Overlap: rows 1 and 2, bytes 1-1"));
        // Row operations reach the map too.
        f.dialog->Model->Edit_Rows([](Text_Table& t) { Set_Row(t, 4, Row_At("1", "No", "1", "more")); });
        QCOMPARE(w->View->Map().overlaps.size(), 3);
        // The picture shows the overlap: byte 1 is red.
        const QImage picture = w->View->grab().toImage();
        QCOMPARE(picture.pixelColor(f.Centre(w, 1) + QPoint(-3, 3)), Overlap_Colour());

        // A new opening reads the file again: the edits are gone from the map.
        f.dialog->hide();
        f.dialog->FormShow();
        f.dialog->show();
        QVERIFY(w->View->Map().overlaps.isEmpty());
    }

    void hoverAndClick()
    {
        Fixture f;
        Memory_Map_Window* w = f.Open_Map();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QCOMPARE(w->View->Byte_Text(10), QStringLiteral("Byte 10\nRow 3  alarm  bits 3-4"));
        QCOMPARE(w->View->Byte_Text(500), QStringLiteral("Byte 500\nfree"));
        QTest::mouseMove(w->View, f.Centre(w, 3));
        QTRY_COMPARE(w->L_Byte->text(), QStringLiteral("Byte 3\nRow 2  office  bits 0-7"));

        QTest::mouseClick(w->View, Qt::LeftButton, {}, f.Centre(w, 10));
        QCOMPARE(f.Selected_Rows(), QList<int>{3});
        QCOMPARE(f.dialog->ACG_KNX_in_Write->currentIndex(), f.dialog->Model->Cell_Index(3, Col_Position));
        // A free byte selects nothing new.
        QTest::mouseClick(w->View, Qt::LeftButton, {}, f.Centre(w, 700));
        QCOMPARE(f.Selected_Rows(), QList<int>{3});
    }

    void keyboard()
    {
        Fixture f;
        Memory_Map_Window* w = f.Open_Map();
        QCOMPARE(w->View->focusPolicy(), Qt::StrongFocus);
        w->View->setFocus();
        QTest::keyClick(w->View, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(w->View->Cursor_Byte(), 1438);
        QTest::keyClick(w->View, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(w->View, Qt::Key_Right);
        QTest::keyClick(w->View, Qt::Key_Right);
        QCOMPARE(w->View->Cursor_Byte(), 2);
        QTest::keyClick(w->View, Qt::Key_Return);
        QCOMPARE(f.Selected_Rows(), QList<int>{2});
        QTest::keyClick(w->View, Qt::Key_Down);
        QCOMPARE(w->View->Cursor_Byte(), 50);
        QTest::keyClick(w->View, Qt::Key_Up);
        QTest::keyClick(w->View, Qt::Key_Up);
        QCOMPARE(w->View->Cursor_Byte(), 0);
    }

    void languageSwitch()
    {
        Fixture f;
        Memory_Map_Window* w = f.Open_Map();
        f.state.Lang_Extended[400] = QStringLiteral("Speicherbelegung");
        f.state.Lang_Extended[419] = QStringLiteral("Keine Überlappungen.");
        f.dialog->Set_Lang();
        QCOMPARE(w->windowTitle(), QStringLiteral("Speicherbelegung"));
        QCOMPARE(f.dialog->Btn_Memory_Map->text(), QStringLiteral("Speicherbelegung"));
        QCOMPARE(w->LB_Warnings->item(0)->text(), QStringLiteral("Keine Überlappungen."));
    }

    void closesWithTheDialog()
    {
        Fixture f;
        Memory_Map_Window* w = f.Open_Map();
        QVERIFY(w->isVisible());
        f.dialog->reject();
        QVERIFY(!w->isVisible());
    }

    void report_data()
    {
        QTest::addColumn<QString>("chosen");     // the file the user picks; empty: cancel
        QTest::addColumn<QString>("failure");    // what the writer answers
        QTest::addColumn<int>("writes");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("written") << "/x/report.pdf" << "" << 1 << QStringList{};
        QTest::newRow("cancelled") << "" << "" << 0 << QStringList{};
        QTest::newRow("write fails") << "/x/report.pdf" << "cannot write /x/report.pdf" << 1
                                     << QStringList{"cannot write /x/report.pdf"};
    }
    void report()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, failure);
        QFETCH(int, writes);
        QFETCH(QStringList, errors);
        Fixture f;
        f.dialog->show();
        f.Set(1, Col_Mnemonic, QStringLiteral("edited"));
        int asked = 0;
        QStringList written;
        f.dialog->Map_Tools->Seams.Ask_File = [&](QWidget*, const ProgramState&) {
            ++asked;
            return chosen;
        };
        f.dialog->Map_Tools->Seams.Write = [&](const Text_Table& table, const QString& path) {
            written << path + u' ' + table.Cell(1, Col_Mnemonic);
            return failure;
        };
        f.dialog->Act_Report->trigger();
        QCOMPARE(asked, 1);
        QCOMPARE(written.size(), writes);
        if (writes)
            QCOMPARE(written[0], QStringLiteral("/x/report.pdf edited"));   // the grid, not the file
        QCOMPARE(f.messages.errors, errors);
    }

    void beside_data()
    {
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("right") << QRect(100, 100, 600, 400) << QPoint(708, 100);
        QTest::newRow("left") << QRect(1000, 100, 800, 400) << QPoint(1000 - 8 - 700, 100);
        QTest::newRow("below") << QRect(300, 0, 1300, 300) << QPoint(300, 308);
        QTest::newRow("above") << QRect(300, 700, 1300, 380) << QPoint(300, 700 - 8 - 500);
        QTest::newRow("nowhere: least covered") << QRect(100, 300, 1700, 500) << QPoint(100, 0);
    }
    void beside()
    {
        QFETCH(QRect, anchor);
        QFETCH(QPoint, expected);
        QCOMPARE(Beside(anchor, QSize(700, 500), QRect(0, 0, 1920, 1080)), expected);
    }
};

QTEST_MAIN(TestMemoryMapWindow)
#include "tst_memory_map_window.moc"
