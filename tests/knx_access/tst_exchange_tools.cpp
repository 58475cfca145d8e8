// The KNX Access dialog's tools menu: group addresses through the preview and
// the table to and from CSV, with file choices and the preview scripted.
#include "common/scripted_messages.h"
#include "common/test_support.h"
#include "knx_access/csv_table.h"
#include "knx_access/ga_preview_dialog.h"
#include "knx_access/knx_access_dialog.h"
#include "knx_access/knx_access_file.h"
#include "knx_access/knx_exchange_tools.h"
#include "knx_access/knx_table_model.h"
#include "lang/language_table.h"
#include "widgets/flat_button.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace lw;

namespace {

const QByteArray Export =
    "Group name;Address;Central;Unfiltered;Description;DatapointType;Security\r\n"
    "Lights;1/-/-;;;;;Auto\r\n"
    "Switch;1/1/1;;;;DPST-1-1;Auto\r\n"
    "Temperature;1/1/2;;;;DPST-9-1;Auto\r\n"
    "Counter;1/1/3;;;;DPST-12-1;Auto\r\n"
    "Old;5/5/5;;;;DPST-1-1;Auto\r\n";

struct Fixture {
    QTemporaryDir dir;
    ProgramState state;
    test::ScriptedMessages messages;
    std::unique_ptr<TFKNXAccess> dialog;
    QString chosen;                                // what the file dialogs return
    std::function<bool(TFGAPreview&)> preview;     // what the user does in the preview

    Fixture()
    {
        Set_Default_Texts(state);
        state.Dir_Project = dir.path();
        Set_Files(state);
        Text_Table table = Fresh_KNX_Table();
        Set_Row(table, 1, {"Y", "1.1.7", "5/5/5", "Write", "Low", "None", "N", "N", "N", "N", "N", "", "10", "No", "4", "old"});
        Write_KNX_Access_File(table, state.File_KNX_Access);
        dialog = std::make_unique<TFKNXAccess>(state, messages, nullptr);
        Exchange_Seams& seams = dialog->Exchange->Seams;
        seams.Own_Address = [] { return QStringLiteral("1.1.50"); };
        seams.Open_File = [this](const QString&, const QString&) { return chosen; };
        seams.Save_File = [this](const QString&, const QString&) { return chosen; };
        seams.Run_Preview = [this](TFGAPreview& p) { return preview ? preview(p) : false; };
        dialog->FormShow();
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    const Text_Table& Table() const { return dialog->Model->Table(); }
};

} // namespace

class Tst_Exchange_Tools : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tools_button_sits_right_of_paste_row()
    {
        Fixture f;
        const Flat_Button* tools = f.dialog->Btn_Tools;
        const Flat_Button* paste = f.dialog->Btn_PasteRow;
        QCOMPARE(tools->objectName(), QStringLiteral("Btn_Tools"));
        QCOMPARE(tools->size(), paste->size());
        QCOMPARE(tools->y(), paste->y());
        QCOMPARE(tools->x(), paste->x() + 118);
        QCOMPARE(tools->text(), QStringLiteral("Tools"));
        QCOMPARE(f.dialog->Menu_Tools->objectName(), QStringLiteral("Menu_Tools"));
        QStringList texts;
        for (const QAction* action : f.dialog->Menu_Tools->actions())
            texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        // The report's entry (the memory-map tools) follows the exchange after a separator.
        QCOMPARE(texts.mid(0, 4), (QStringList{QString::fromUtf8("Import group addresses…"), QString::fromUtf8("Import CSV…"),
                                               QString::fromUtf8("Export CSV…"), QStringLiteral("-")}));
        QCOMPARE(texts.size(), 5);
        QCOMPARE(f.dialog->Menu_Tools->actions().last(), f.dialog->Act_Report);
    }

    void preview_follows_ticks_and_start_then_imports()
    {
        Fixture f;
        test::Write_Bytes(f.Path("ga.csv"), Export);
        f.chosen = f.Path("ga.csv");
        QStringList seen;
        f.preview = [&](TFGAPreview& p) {
            const GA_Preview_Model* m = p.Model;
            seen.append(p.ED_Source->text());
            seen.append(QString::number(p.SE_Start->value()));
            for (int r = 0; r < m->rowCount(); ++r)
                seen.append(QStringList{m->index(r, GA_Preview_Model::Line).data().toString(),
                                        m->index(r, GA_Preview_Model::Position).data().toString(),
                                        m->index(r, GA_Preview_Model::Status).data().toString()}
                                .join(u'|'));
            // Untick the switch, move the start, change the source.
            p.Model->setData(m->index(0, GA_Preview_Model::Tick), Qt::Unchecked, Qt::CheckStateRole);
            p.SE_Start->setValue(20);
            p.ED_Source->setText(QStringLiteral("2.2.2"));
            seen.append(m->index(1, GA_Preview_Model::Position).data().toString());
            p.Btn_ImportClick();
            return p.result() == QDialog::Accepted;
        };
        f.dialog->Exchange->Act_Import_GA->trigger();
        QCOMPARE(seen, (QStringList{"1.1.50", "14", "3|14|new", "4|15|new", "5|17|new",
                                    "6||duplicate: already in row 1 of the table", "20"}));
        QVERIFY(f.messages.shown.isEmpty());
        const KNX_Command_Row expected{"Y", "2.2.2", "1/1/2", "Write", "Low", "None", "N", "N", "N", "Y", "N", "",
                                       "20", "No", "2", "Temperature"};
        QCOMPARE(Row_Of(f.Table(), 2), expected);
        QCOMPARE(Row_Of(f.Table(), 3).Position, QStringLiteral("22"));
        QCOMPARE(Row_Of(f.Table(), 3).Length, QStringLiteral("4"));
        QVERIFY(Row_Of(f.Table(), 4).Source_Address.isEmpty());
        // Nothing is written before OK.
        Text_Table onDisk = Fresh_KNX_Table();
        QVERIFY(Read_KNX_Access_File(f.state.File_KNX_Access, onDisk).Ok());
        QVERIFY(Row_Of(onDisk, 2).Source_Address.isEmpty());
    }

    void preview_refuses_rows_that_fail_the_check()
    {
        Fixture f;
        test::Write_Bytes(f.Path("ga.csv"), Export);
        f.chosen = f.Path("ga.csv");
        f.preview = [&](TFGAPreview& p) {
            p.ED_Source->setText(QStringLiteral("not an address"));
            p.Btn_ImportClick();
            return p.result() == QDialog::Accepted;
        };
        const Text_Table before = f.Table();
        f.dialog->Exchange->Act_Import_GA->trigger();
        QCOMPARE(f.messages.errors.size(), 1);
        QVERIFY2(f.messages.errors[0].startsWith(QStringLiteral("Error row 2")), qPrintable(f.messages.errors[0]));
        QCOMPARE(f.Table(), before);
    }

    void faults_of_the_file_leave_the_grid_data()
    {
        QTest::addColumn<bool>("groupAddresses");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("export, quote left open")
            << true << QByteArray("Group name;Address\n\"x;1/1/1\n") << "bad.csv: Line 2: a quote is left open";
        QTest::newRow("export, other format") << true << QByteArray("<a/>") << "bad.csv: Line 1: the file is not";
        QTest::newRow("CSV, missing column")
            << false << QByteArray("Enable;Source_Address\r\n") << "bad.csv: Line 1: the column Destination_Address";
        QByteArray failing = KNX_Csv_Header().join(u';').toUtf8() + "\r\nY;1.1.1;1/1/1;Write;Low;None;N;N;N;Y;N;;0;No;99;\r\n";
        QTest::newRow("CSV, fails the check") << false << failing << "Error row 1";
    }
    void faults_of_the_file_leave_the_grid()
    {
        QFETCH(bool, groupAddresses);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        Fixture f;
        test::Write_Bytes(f.Path("bad.csv"), bytes);
        f.chosen = f.Path("bad.csv");
        bool previewed = false;
        f.preview = [&](TFGAPreview&) { return previewed = true; };
        const Text_Table before = f.Table();
        (groupAddresses ? f.dialog->Exchange->Act_Import_GA : f.dialog->Exchange->Act_Import_Csv)->trigger();
        QCOMPARE(f.messages.errors.size(), 1);
        QVERIFY2(f.messages.errors[0].startsWith(message), qPrintable(f.messages.errors[0]));
        QVERIFY(!previewed);
        QCOMPARE(f.Table(), before);
    }

    void csv_export_and_import_exchange_the_grid()
    {
        Fixture f;
        f.chosen = f.Path("table");   // no suffix: ".csv" is added
        f.dialog->Exchange->Act_Export_Csv->trigger();
        const QByteArray csv = test::Read_Bytes(f.Path("table.csv"));
        QCOMPARE(csv, Export_KNX_Csv(f.Table()));
        const Text_Table exported = f.Table();
        f.dialog->Model->Edit_Rows([](Text_Table& t) { t.Set_Cell(1, Col_Mnemonic, QStringLiteral("changed")); });
        f.chosen = f.Path("table.csv");
        f.dialog->Exchange->Act_Import_Csv->trigger();
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(f.Table(), exported);
        f.chosen.clear();   // cancelled file dialogs change nothing
        f.dialog->Exchange->Act_Import_Csv->trigger();
        QCOMPARE(f.Table(), exported);
    }
};

QTEST_MAIN(Tst_Exchange_Tools)
#include "tst_exchange_tools.moc"
