#include "main_window_fixture.h"

#include "lang/language_file.h"
#include "shell/about_dialog.h"
#include "widgets/flat_button.h"
#include "widgets/small_widgets.h"

#include "common/test_support.h"

#include <QDir>
#include <QLabel>

using namespace lw;
using lw::test::Click;
using lw::test::On_Modal;

class TestAboutDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void contents_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<QString>("text");
        QTest::newRow("Label1") << "Label1" << QPoint(128, 24) << "Software Loomwright ";
        QTest::newRow("Label2") << "Label2" << QPoint(128, 39) << "SNMP / KNX - Converter";
        QTest::newRow("Label6") << "Label6" << QPoint(128, 62) << "Software Code : ";
        QTest::newRow("Label9") << "Label9" << QPoint(240, 62) << "KQ4315";
        QTest::newRow("Label3") << "Label3" << QPoint(128, 77) << "Version :";
        QTest::newRow("Label10") << "Label10" << QPoint(240, 77) << "1.002";
        QTest::newRow("Label8") << "Label8" << QPoint(128, 93) << "Document Code :";
        QTest::newRow("Label12") << "Label12" << QPoint(240, 93) << "KM4315";
        QTest::newRow("Label4") << "Label4" << QPoint(297, 131) << "veltrona.example";
    }

    void contents()
    {
        QFETCH(QString, name);
        QFETCH(QPoint, pos);
        QFETCH(QString, text);
        test::Main_Window_Fixture f;
        test::Add_Language(f.App(), "German");
        test::Write_Settings(f.App(), QString(), "German");
        f.Start();
        QString seen;
        QPoint seenPos;
        QString caption;
        On_Modal([&](QWidget* modal) {
            auto* label = modal->findChild<QLabel*>(name);
            seen = label ? label->text() : QString("(missing)");
            seenPos = label ? label->pos() : QPoint();
            caption = modal->windowTitle();
            Click(qobject_cast<TFAbout*>(modal)->Btn_OK);
        });
        Click(f.Find<Flat_Button>("Btn_Info"));
        // The about box is not translated.
        QCOMPARE(caption, QString("About..."));
        QCOMPARE(seen, text);
        QCOMPARE(seenPos, pos);
    }

    void layout()
    {
        test::Main_Window_Fixture f;
        f.Start();
        auto* about = f.Find<TFAbout>("FAbout");
        // The fixed box of 406 x 148, with the row of the data folder below it.
        QCOMPARE(about->size(), QSize(406, 192));
        QCOMPARE(about->minimumSize(), about->maximumSize());
        QCOMPARE(about->Image2->geometry(), QRect(32, 24, 81, 81));
        QCOMPARE(about->Btn_OK->geometry(), QRect(32, 115, 81, 22));
        QCOMPARE(about->Btn_OK->text(), QString("OK"));
        QVERIFY(about->findChild<QLabel*>("Label1")->font().bold());
        QCOMPARE(about->findChild<QLabel*>("Label1")->font().pixelSize(), 13);
        QVERIFY(about->Label4->font().underline());
        QCOMPARE(about->Label4->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(about->Label4->cursor().shape(), Qt::PointingHandCursor);
        // Everything fits inside the box.
        QVERIFY(about->Label4->geometry().right() < 406);
    }

    // The folder in use is shown under its caption from the language table; a
    // long path is shortened to fit and is whole in the tooltip.
    void dataFolderRow_data()
    {
        QTest::addColumn<QString>("sub");
        QTest::newRow("short path") << QString();
        QTest::newRow("long path") << QString("a-folder-name-long-enough-to-need-shortening/").repeated(4);
    }

    void dataFolderRow()
    {
        QFETCH(QString, sub);
        test::Main_Window_Fixture f;
        const QString app = QDir::cleanPath(f.App() + "/" + sub);
        test::Write_Bytes(app + "/LANGUAGE/German.lng", "STR2500 = Datenordner :\n");
        test::Write_Settings(app, QString(), "German");
        Shell_Seams seams = test::Test_Seams(f.record);
        seams.Load_Language = [](ProgramState& state) { Load_Language(state); };
        TFLoomwrightFirmWare window(f.state, f.messages, app, std::move(seams));
        window.show();
        QString caption = "(missing)";
        QString folder = "(missing)";
        QString tip;
        QRect captionBox;
        QRect folderBox;
        On_Modal([&](QWidget* modal) {
            if (auto* label = modal->findChild<QLabel*>("Label13")) {
                caption = label->text();
                captionBox = label->geometry();
            }
            if (auto* label = modal->findChild<QLabel*>("Label14")) {
                folder = label->text();
                tip = label->toolTip();
                folderBox = label->geometry();
            }
            Click(qobject_cast<TFAbout*>(modal)->Btn_OK);
        });
        Click(window.findChild<Flat_Button*>("Btn_Info"));
        QCOMPARE(caption, QString("Datenordner :"));
        QCOMPARE(captionBox.topLeft(), QPoint(32, 154));
        QCOMPARE(folderBox.topLeft(), QPoint(32, 169));
        QCOMPARE(tip, QDir::toNativeSeparators(app));
        if (sub.isEmpty())
            QCOMPARE(folder, QDir::toNativeSeparators(app));
        else
            QVERIFY2(folder.contains(QChar(0x2026)), qPrintable(folder));
        QVERIFY(folderBox.right() < 406);
        QVERIFY(folderBox.bottom() < 192);
    }

    void linksOpenTheHomePage()
    {
        test::Main_Window_Fixture f;
        f.Start();
        bool closed = false;
        On_Modal([&](QWidget* modal) {
            auto* about = qobject_cast<TFAbout*>(modal);
            Click(about->Image2);
            Click(about->Label4);
            Click(about->Btn_OK);
            closed = !about->isVisible();
        });
        Click(f.Find<Flat_Button>("Btn_Info"));
        QVERIFY(closed);
        const QUrl home("http://www.veltrona.example/HOME/default.asp?frompg=KQ4315");
        QCOMPARE(f.record.opened, QList<QUrl>({home, home}));
        QCOMPARE(home.query(), QString("frompg=KQ4315"));
    }
};

QTEST_MAIN(TestAboutDialog)
#include "tst_about_dialog.moc"
