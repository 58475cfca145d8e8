// The configurator's windows in a real X server with a window manager: the
// titles the window manager shows, and dialogs minimised and restored in the
// middle of an edit. The offscreen platform shows neither.

#include "common/real_x.h"
#include "shell/main_window_fixture.h"

#include "comm_settings/pargen_dialog.h"
#include "knx_access/knx_access_dialog.h"
#include "knx_access/knx_access_file.h"
#include "knx_access/knx_table_model.h"
#include "knx_access/text_table.h"
#include "options/soft_options_dialog.h"
#include "widgets/flat_button.h"
#include "widgets/look.h"
#include "shell/new_project_dialog.h"
#include "shell/open_conf_dialog.h"
#include "update/boot_tcp_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>

using namespace lw;
using lw::test::Click;

namespace {

// A converter that answers every echo; nothing is sent anywhere.
class Answering_Echo final : public Echo_Client {
public:
    Echo_Result Echo(const QString&, const QByteArray& data, quint16, int) override
    {
        Echo_Result r;
        r.Ok = true;
        r.Bytes_Received = 8 + int(data.size());
        return r;
    }
};

// A main window with two configurations, "Plant" active, in a real X session.
struct Real_Window {
    test::Main_Window_Fixture f;

    bool Start()
    {
        for (const char* name : {"Alpha", "Plant"})
            QDir().mkpath(Join_Path(Join_Path(f.Projects(), name), "bin"));
        test::Write_Settings(f.App(), "Plant", "English");
        Shell_Seams seams = test::Test_Seams(f.record);
        seams.Make_Echo_Client = [] { return std::make_unique<Answering_Echo>(); };
        f.state = ProgramState();
        f.window = std::make_unique<TFLoomwrightFirmWare>(f.state, f.messages, f.App(), seams);
        f.window->show();
        return test::Wait_Managed(f.window.get());
    }
};

} // namespace

class TestRealXWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Name_Application(); }

    // Every caption the window manager shows is exactly the window's text.
    void captions_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("main window") << QString();
        QTest::newRow("New Configuration") << "Btn_New";
        QTest::newRow("Open Configuration") << "Btn_Open";
        QTest::newRow("Software Options") << "Btn_Opz";
        QTest::newRow("About") << "Btn_Info";
        QTest::newRow("Set Communication") << "Btn_Prm_Gen";
        QTest::newRow("KNX Access") << "Btn_KNX_Access";
        QTest::newRow("Update Device") << "Btn_CreateBin";
    }

    void captions()
    {
        QFETCH(QString, button);
        Real_Window w;
        QVERIFY(w.Start());
        if (button.isEmpty()) {
            QCOMPARE(w.f.window->windowTitle(), w.f.state.SW_Title);
            QCOMPARE(test::Window_Manager_Title(w.f.window.get()), w.f.state.SW_Title);
            return;
        }
        QString text, shown;
        test::In_Next_Modal([&](QDialog* dialog) {
            text = dialog->windowTitle();
            shown = test::Window_Manager_Title(dialog);
        });
        Click(w.f.Find<Flat_Button>(qPrintable(button)));
        QVERIFY(!text.isEmpty());
        QCOMPARE(shown, text);
    }

    // A dialog minimised and restored in the middle of an edit comes back as
    // it was left: same page, same entries, same place.
    void restoreKeepsEdits_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("New Configuration") << "Btn_New";
        QTest::newRow("Open Configuration") << "Btn_Open";
        QTest::newRow("Software Options") << "Btn_Opz";
        QTest::newRow("Update Device, address page") << "Btn_CreateBin";
        QTest::newRow("Update Device, options page") << "Btn_CreateBin+Next";
        QTest::newRow("Set Communication") << "Btn_Prm_Gen";
        QTest::newRow("KNX Access") << "Btn_KNX_Access";
    }

    void restoreKeepsEdits()
    {
        QFETCH(QString, button);
        Real_Window w;
        QVERIFY(w.Start());
        QStringList before, after;  // what the dialog shows, before and after
        bool restored = false;
        QPoint placeBefore, placeAfter;
        Text_Table knxLoaded;

        // The state of the dialog the edit below leaves.
        const auto seen = [&](QDialog* dialog) -> QStringList {
            if (auto* d = qobject_cast<TFNew_Project*>(dialog))
                return {d->E_New_Proj->text()};
            if (auto* d = qobject_cast<TFOpenConf*>(dialog))
                return {QString::number(d->ListBox1->currentRow()), d->Name_Conf(),
                        QString::number(d->ListBox1->count())};
            if (auto* d = qobject_cast<TFSoftOptions*>(dialog))
                return {QString::number(d->PageControl1->currentIndex()), d->CB_En_Con->isChecked() ? "on" : "off",
                        d->Language_In_Use()};
            if (auto* d = qobject_cast<TFBootTCP*>(dialog))
                return {d->E_IP1->text(), d->E_IP4->text(), d->LPing->text(), d->Esegui_Ping() ? "pinged" : "-",
                        d->CB_Firmware->isVisible() ? "options page" : "address page",
                        d->CB_Read_Firm->isChecked() ? "read" : "no read"};
            if (auto* d = qobject_cast<TFParGen*>(dialog))
                return {d->E_IP1->text(), d->E_Profinet_Name_Station->text()};
            if (auto* d = qobject_cast<TFKNXAccess*>(dialog))
                return {d->Table().Cell(1, Col_Source_Address), d->Table().Cell(1, Col_Mnemonic),
                        d->Is_Modified() ? "modified" : "as loaded"};
            return {};
        };

        test::In_Next_Modal([&](QDialog* dialog) {
            if (auto* d = qobject_cast<TFNew_Project*>(dialog)) {
                QTest::keyClicks(d->E_New_Proj, "Plant B");
            } else if (auto* d = qobject_cast<TFOpenConf*>(dialog)) {
                d->ListBox1->setCurrentRow(0);  // "Alpha"; "Plant" was preselected
                QDir().mkpath(Join_Path(w.f.Projects(), "Zeta"));
            } else if (auto* d = qobject_cast<TFSoftOptions*>(dialog)) {
                d->PageControl1->setCurrentIndex(1);
                d->CB_En_Con->setChecked(!d->CB_En_Con->isChecked());
            } else if (auto* d = qobject_cast<TFBootTCP*>(dialog)) {
                for (QLineEdit* box : {d->E_IP1, d->E_IP2, d->E_IP3, d->E_IP4})
                    box->setText(box == d->E_IP1 ? "127" : box == d->E_IP4 ? "1" : "0");
                Click(d->Btn_Ping);
                if (button.endsWith("+Next")) {
                    Click(d->Btn_Next);
                    d->CB_Read_Firm->setChecked(false);
                }
            } else if (auto* d = qobject_cast<TFParGen*>(dialog)) {
                d->E_IP1->setText("10");
                d->E_Profinet_Name_Station->setText("station-b");
            } else if (auto* d = qobject_cast<TFKNXAccess*>(dialog)) {
                knxLoaded = d->Table();
                d->Model->setData(d->Model->Cell_Index(1, Col_Source_Address), QStringLiteral("1.1.1"), Qt::EditRole);
                d->Model->setData(d->Model->Cell_Index(1, Col_Mnemonic), QStringLiteral("pump 1"), Qt::EditRole);
            }
            // The user moves the dialog aside before minimising it.
            test::Run_X_Tool("xdotool", {"windowmove", QString::number(dialog->winId()), "40", "60"});
            (void)QTest::qWaitFor([dialog] { return dialog->pos().y() <= 100; }, test::Real_X_Wait_Ms);
            before = seen(dialog);
            placeBefore = dialog->pos();
            restored = test::Minimise_And_Restore(dialog);
            after = seen(dialog);
            placeAfter = dialog->pos();
            // Back as loaded, so that closing asks nothing.
            if (auto* d = qobject_cast<TFKNXAccess*>(dialog))
                d->Model->Set_Table(knxLoaded);
        });
        Click(w.f.Find<Flat_Button>(qPrintable(button.section('+', 0, 0))));
        QVERIFY(restored);
        QVERIFY(!before.isEmpty());
        QCOMPARE(after, before);
        QCOMPARE(placeAfter, placeBefore);
    }

    // A button that closed its dialog under the pointer shows no hover colour
    // at the next opening, with the pointer elsewhere.
    void hoverEndsWithTheDialog()
    {
        Real_Window w;
        QVERIFY(w.Start());
        bool hovered = false, closed = false;
        test::In_Next_Modal([&](QDialog* dialog) {
            auto* d = qobject_cast<TFNew_Project*>(dialog);
            if (!d)
                return;
            const QPoint centre = d->Btn_Cancel->mapToGlobal(d->Btn_Cancel->rect().center());
            test::Run_X_Tool("xdotool", {"mousemove", QString::number(centre.x()), QString::number(centre.y())});
            hovered = QTest::qWaitFor([d] { return d->Btn_Cancel->Is_Hovered(); }, test::Real_X_Wait_Ms);
            test::Run_X_Tool("xdotool", {"click", "1"});
            closed = QTest::qWaitFor([d] { return !d->isVisible(); }, test::Real_X_Wait_Ms);
        });
        Click(w.f.Find<Flat_Button>("Btn_New"));
        QVERIFY(hovered);
        QVERIFY(closed);
        test::Run_X_Tool("xdotool", {"mousemove", "3", "3"});

        bool hoveredAgain = true;
        QColor face;
        test::In_Next_Modal([&](QDialog* dialog) {
            auto* d = qobject_cast<TFNew_Project*>(dialog);
            if (!d)
                return;
            QTest::qWait(200);  // room for any pointer event to arrive
            hoveredAgain = d->Btn_Cancel->Is_Hovered();
            face = d->Btn_Cancel->Face_Colour();
        });
        Click(w.f.Find<Flat_Button>("Btn_New"));
        QVERIFY(!hoveredAgain);
        QCOMPARE(face, Button_Face());
    }
};

LW_REAL_X_TEST_MAIN(TestRealXWindows)
#include "tst_realx_windows.moc"
