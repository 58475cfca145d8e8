// Renders the main window and the dialogs of the configurator to PNG files, in
// the languages asked for, from a throw-away program folder. Nothing is sent
// anywhere: the version query answers "newer version" from here and links are
// not opened.
//
//   loomwright-screenshots <languages folder> <output folder> <language>...

#include "base/messages.h"
#include "comm_settings/pargen_dialog.h"
#include "knx_access/knx_access_dialog.h"
#include "knx_access/knx_access_file.h"
#include "knx_access/knx_exchange_tools.h"
#include "knx_access/ga_preview_dialog.h"
#include "options/soft_options_dialog.h"
#include "platform/atomic_file.h"
#include "shell/about_dialog.h"
#include "shell/main_window.h"
#include "shell/new_project_dialog.h"
#include "shell/open_conf_dialog.h"
#include "shell/settings_file.h"
#include "update/boot_tcp_dialog.h"
#include "widgets/flat_button.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

namespace {

class Quiet_Messages : public lw::Messages {
public:
    void Error(const QString&) override {}
    bool Question(const QString&) override { return false; }
};

// The update dialog's echo client here sends nothing: it answers with data
// when told to, else with a reply that carries none.
class Screenshot_Echo : public lw::Echo_Client {
public:
    explicit Screenshot_Echo(const bool& answer) : m_answer(answer) {}
    lw::Echo_Result Echo(const QString&, const QByteArray& data, quint16, int) override
    {
        lw::Echo_Result r;
        r.Ok = true;
        r.Bytes_Received = m_answer ? int(data.size()) : 0;
        return r;
    }

private:
    const bool& m_answer;
};

// A clock on which every reading is 100 ms later, so that a failed test ends at once.
class Screenshot_Clock : public lw::Ping_Clock {
public:
    quint32 Tick_Ms() override { return m_now += 100; }
    void Sleep_Ms(int) override {}

private:
    quint32 m_now = 0;
};

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

bool Save(QWidget* widget, const QString& path)
{
    Settle();
    const bool ok = widget->grab().save(path, "PNG");
    QTextStream(stdout) << (ok ? "wrote " : "FAILED ") << path << '\n';
    return ok;
}

bool Shoot_Dialog(QDialog* dialog, const QString& path, const std::function<void()>& prepare = {})
{
    dialog->show();
    if (prepare)
        prepare();
    const bool ok = Save(dialog, path);
    dialog->hide();
    return ok;
}

bool Copy_Folder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    bool ok = true;
    for (const QFileInfo& info : QDir(from).entryInfoList(QDir::Files)) {
        const QString target = QDir(to).filePath(info.fileName());
        QFile::remove(target);
        ok = QFile::copy(info.filePath(), target) && ok;
    }
    return ok;
}

// One program folder for one language: the shipped languages, two projects and
// the settings naming the language, a project and both internet permissions.
bool Prepare_Folder(const QString& app, const QString& languages, const QString& language, const QString& project)
{
    if (!Copy_Folder(languages, QDir(app).filePath(QStringLiteral("LANGUAGE"))))
        return false;
    for (const char* name : {"Office Building", "Plant B", "Warehouse"})
        QDir().mkpath(QDir(app).filePath(QStringLiteral("PROJECTS/") + QLatin1String(name) + QStringLiteral("/bin")));
    lw::ProgramState settings;
    settings.Dir_App = app;
    settings.Name_Project = project;
    settings.Language_Name = language;
    settings.Enable_Internet = true;
    settings.Enable_Update = true;
    return lw::Save_Setting(settings).isEmpty();
}

bool Shoot_Language(const QString& languages, const QString& out, const QString& language)
{
    bool ok = true;
    const QString prefix = QDir(out).filePath(language + QLatin1Char('_'));
    Quiet_Messages messages;
    lw::Shell_Seams seams;
    seams.Check_Version = [] { return true; };
    seams.Open_Url = [](const QUrl&) {};
    seams.Compile_Image = [](const lw::ProgramState&) { return QString(); };
    seams.First_Interval_Ms = 20;
    bool deviceAnswers = false;
    seams.Make_Echo_Client = [&deviceAnswers] { return std::make_unique<Screenshot_Echo>(deviceAnswers); };
    seams.Clock = std::make_shared<Screenshot_Clock>();
    seams.Start_Program = [](const QString&, const QString&, bool, const lw::Run_Waiting&) {
        lw::Run_Result run;
        run.Outcome = lw::Run_Outcome::Ended;
        run.Exit = {lw::Process_Exit::Exited, 0};
        return run;
    };

    {
        QTemporaryDir app;
        ok = app.isValid() && Prepare_Folder(app.path(), languages, language, QString()) && ok;
        lw::ProgramState state;
        lw::TFLoomwrightFirmWare window(state, messages, app.path(), seams);
        window.Timer_Update->stop();
        window.show();
        ok = Save(&window, prefix + QStringLiteral("main_no_configuration.png")) && ok;
    }

    QTemporaryDir app;
    ok = app.isValid() && Prepare_Folder(app.path(), languages, language, QStringLiteral("Plant B")) && ok;
    lw::ProgramState state;
    lw::TFLoomwrightFirmWare window(state, messages, app.path(), seams);
    window.show();
    ok = Save(&window, prefix + QStringLiteral("main.png")) && ok;

    // The update check's first event shows the link.
    auto* link = window.findChild<QLabel*>(QStringLiteral("LL_Update"));
    QElapsedTimer waited;
    waited.start();
    while (!link->isVisible() && waited.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    window.Timer_Update->stop();
    ok = Save(&window, prefix + QStringLiteral("main_update_link.png")) && ok;

    // Each dialog is filled as its opening by the main window fills it.
    auto* newProject = window.findChild<lw::TFNew_Project*>(QStringLiteral("FNew_Project"));
    newProject->FormShow();
    ok = Shoot_Dialog(newProject, prefix + QStringLiteral("new_configuration.png"),
                      [newProject] { newProject->E_New_Proj->setText(QStringLiteral("Plant C")); }) && ok;
    auto* openConf = window.findChild<lw::TFOpenConf*>(QStringLiteral("FOpenConf"));
    openConf->FormShow();
    ok = Shoot_Dialog(openConf, prefix + QStringLiteral("open_configuration.png")) && ok;
    auto* about = window.findChild<lw::TFAbout*>(QStringLiteral("FAbout"));
    about->FormShow();
    ok = Shoot_Dialog(about, prefix + QStringLiteral("about.png")) && ok;

    auto* options = window.findChild<lw::TFSoftOptions*>(QStringLiteral("FSoftOptions"));
    options->FormShow();
    ok = Shoot_Dialog(options, prefix + QStringLiteral("options_language.png")) && ok;
    options->FormShow();
    ok = Shoot_Dialog(options, prefix + QStringLiteral("options_connection.png"), [options] {
        options->PageControl1->setCurrentWidget(options->TS_Con_Options);
        options->Btn_Check_Update->click();
    }) && ok;

    // Set Communication with the project's settings (the defaults), then with
    // the KNX group collapsed, which is put back afterwards.
    auto* parGen = window.findChild<lw::TFParGen*>(QStringLiteral("FParGen"));
    parGen->FormShow();
    ok = Shoot_Dialog(parGen, prefix + QStringLiteral("set_communication.png")) && ok;
    parGen->FormShow();
    ok = Shoot_Dialog(parGen, prefix + QStringLiteral("set_communication_collapsed.png"),
                      [parGen] { parGen->Btn_KNX_Collapse->click(); }) && ok;
    parGen->Btn_KNX_Expande->click();

    // The KNX access dialog with a few commands of a small plant.
    lw::Text_Table commands = lw::Fresh_KNX_Table();
    const QStringList rows[] = {
        {"Y", "1.1.10", "1/2/3", "Write", "Low", "Swap16", "N", "Y", "Y", "N", "Y", "500", "4", "No", "2", "Boiler flow"},
        {"Y", "1.1.11", "1/2/4", "Write", "Normal", "None", "N", "N", "N", "Y", "N", "", "6", "3", "1", "Pump running"},
        {"N", "1.1.12", "2/0/1", "Read", "Urgent", "Float16 to Int * 10", "N", "N", "Y", "N", "N", "", "8", "No", "2", "Outside temperature"},
        {"Y", "1.1.13", "1.1.200", "64", "System", "Int to Float", "Y", "N", "N", "Y", "Y", "60000", "10", "No", "4", "Energy meter"},
    };
    for (int r = 0; r < int(std::size(rows)); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            commands.Set_Cell(r + 1, c + 1, rows[r][c]);
    ok = lw::Write_KNX_Access_File(commands, state.File_KNX_Access).isEmpty() && ok;
    auto* knx = window.findChild<lw::TFKNXAccess*>(QStringLiteral("FKNXAccess"));
    ok = Shoot_Dialog(knx, prefix + QStringLiteral("knx_access.png"), [knx] { knx->FormShow(); }) && ok;

    // The preview of a group-address import: an export of the same plant, one
    // address already in the table, one met twice, one without a datapoint type.
    const QString exportPath = QDir(state.Dir_Project).filePath(QStringLiteral("ga-export.csv"));
    ok = lw::Write_File_Atomic(exportPath,
                               "\"Main\";\"Middle\";\"Sub\";\"Address\";\"Central\";\"Unfiltered\";\"Description\";"
                               "\"DatapointType\";\"Security\"\r\n"
                               "\"Heating\";;;\"1/-/-\";;;;;\"Auto\"\r\n"
                               ";\"Boiler room\";;\"1/2/-\";;;;;\"Auto\"\r\n"
                               ";;\"Boiler flow\";\"1/2/3\";;;;\"DPST-9-1\";\"Auto\"\r\n"
                               ";;\"Boiler return\";\"1/2/5\";;;;\"DPST-9-1\";\"Auto\"\r\n"
                               ";;\"Burner on/off\";\"1/2/6\";;;;\"DPST-1-1\";\"Auto\"\r\n"
                               ";;\"Burner fault\";\"1/2/7\";;;;\"DPST-1-5\";\"Auto\"\r\n"
                               ";;\"Valve position\";\"1/2/8\";;;;\"DPST-5-1\";\"Auto\"\r\n"
                               ";;\"Operating mode\";\"1/2/9\";;;;\"DPST-20-102\";\"Auto\"\r\n"
                               ";;\"Gas meter\";\"1/2/10\";;;;\"DPST-13-10\";\"Auto\"\r\n"
                               ";;\"Boiler flow (copy)\";\"1/2/5\";;;;\"DPST-9-1\";\"Auto\"\r\n"
                               ";;\"Status text\";\"1/2/11\";;;;\"DPST-16-0\";\"Auto\"\r\n"
                               ";;\"Spare\";\"1/2/12\";;;;;\"Auto\"\r\n"
                               ";;\"Dimmer\";\"1/2/13\";;;;\"DPST-3-7\";\"Auto\"\r\n"
                               ";;\"Wrong\";\"1/9/1\";;;;\"DPST-1-1\";\"Auto\"\r\n")
             .isEmpty() && ok;
    knx->show();
    knx->Exchange->Seams.Own_Address = [] { return QStringLiteral("1.1.200"); };
    knx->Exchange->Seams.Open_File = [exportPath](const QString&, const QString&) { return exportPath; };
    knx->Exchange->Seams.Run_Preview = [&](lw::TFGAPreview& preview) {
        ok = Shoot_Dialog(&preview, prefix + QStringLiteral("import_group_addresses.png")) && ok;
        return false;
    };
    knx->Exchange->Act_Import_GA->trigger();
    knx->hide();

    // The update dialog: a ping that found nothing, then the options page after one that did.
    auto* boot = window.findChild<lw::TFBootTCP*>(QStringLiteral("FBootTCP"));
    boot->FormShow();
    ok = Shoot_Dialog(boot, prefix + QStringLiteral("update_device_address.png"), [boot, &deviceAnswers] {
        deviceAnswers = false;
        boot->Btn_Ping->click();
    }) && ok;
    boot->FormShow();
    ok = Shoot_Dialog(boot, prefix + QStringLiteral("update_device_options.png"), [boot, &deviceAnswers] {
        deviceAnswers = true;
        boot->Btn_Ping->click();
        boot->Btn_Next->click();
    }) && ok;
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() < 3) {
        QTextStream(stderr) << "usage: loomwright-screenshots <languages folder> <output folder> <language>...\n";
        return 2;
    }
    QDir().mkpath(args[1]);
    bool ok = true;
    for (const QString& language : args.mid(2))
        ok = Shoot_Language(args[0], args[1], language) && ok;
    return ok ? 0 : 1;
}
