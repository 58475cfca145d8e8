#pragma once
// What the GUI tests of the shell and the options share: a language loader
// with a recognisable table, seams that record instead of reaching outside,
// settings files, and a way to act inside a modal dialog.

#include "base/program_state.h"
#include "shell/settings_file.h"
#include "shell/shell_seams.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <map>

namespace lw::test {

// English texts the tests compare literally.
inline const std::map<int, QString>& Known_English()
{
    static const std::map<int, QString> texts = {
        {0, "Begin"}, {1, "Step 1"}, {2, "Step 2"}, {3, "Step 3"}, {4, "Step 4"},
        {9, "None Configuration Opened "}, {10, "Use Step1 to open or create new configuration"},
        {11, "Opened Configuration of the Converter : "}, {12, "Information"}, {13, "Options"},
        {14, "Close Configurator"}, {15, "New Configuration"}, {16, "Open Configuration"},
        {17, "Update Device"}, {18, "Error! Project not Valid"},
        {19, "New Version Available. Click Here for more Details"}, {20, "Set Communication"},
        {21, "KNX Access"}, {25, "Create New Configuration"}, {26, "Create New Configuration"},
        {27, "Name of the new Configuration"}, {28, "OK"}, {29, "Cancel"},
        {30, "Error! Name project is not valid"},
        {31, "Error! Name project is not valid because directory already exists"},
        {32, "Error! Name Project is not valid"}, {33, "Open Configuration"},
        {34, "Open an Existing Configuration"}, {35, "List of Avaliable Configurations"},
        {36, "OK"}, {37, "Cancel"}, {38, "Software Options"}, {39, "Software Options"},
        {40, "Language"}, {41, "Connection Options"}, {42, "Selected Language : "}, {43, "Page "},
        {44, " / "}, {45, "Previous"}, {46, "Next"}, {47, "Enable Internet Connection"},
        {48, "Check Software Update at Start of Program"}, {49, "Check Available Update"},
        {50, "OK"}, {51, "Cancel"}, {52, "New Version Available. Click Here for more Details"},
        {53, "No Update Available"}, {54, "Do you want to change the Language from "}, {55, " to "},
        {56, "?"},
    };
    return texts;
}

// A language load that tests can recognise: "English" gives the English texts
// above and "E#<index>" elsewhere; any other language L gives "L#<index>". As
// the real load does, a language without its file falls back to English.
inline void Fake_Load_Language(ProgramState& state)
{
    if (!QFileInfo::exists(Join_Path(state.Dir_Language, state.Language_Name + QStringLiteral(".lng"))))
        state.Language_Name = QStringLiteral("English");
    const bool english = state.Language_Name == QLatin1String("English");
    const QString prefix = english ? QStringLiteral("E") : state.Language_Name;
    state.Lang_Strings.clear();
    for (int i = 0; i < 1200; ++i)
        state.Lang_Strings.append(prefix + QLatin1Char('#') + QString::number(i));
    if (english) {
        for (const auto& [index, text] : Known_English())
            state.Lang_Strings[index] = text;
    }
    state.Lang_Count = 1200;
}

// An echo client that never reaches the network: every echo is refused.
class Offline_Echo : public Echo_Client {
public:
    Echo_Result Echo(const QString&, const QByteArray&, quint16, int) override
    {
        Echo_Result r;
        r.Error = QStringLiteral("no network in tests");
        return r;
    }
};

// What the seams saw.
struct Seam_Record {
    bool newer = false;            // answer of the version query
    int version_checks = 0;
    QList<QUrl> opened;
    QString compile_error;         // answer of the compile
    QStringList compiled;          // Dir_Project at each compile
    int loads = 0;
    QStringList started;           // programs the runner was asked to start
};

// What the runner reports for a program that ran and exited with code.
inline Run_Result Ended_With(int code)
{
    Run_Result run;
    run.Outcome = Run_Outcome::Ended;
    run.Exit = {Process_Exit::Exited, code};
    return run;
}

inline Shell_Seams Test_Seams(Seam_Record& record, int firstMs = 60000, int laterMs = 7200000)
{
    Shell_Seams seams;
    seams.Check_Version = [&record] { ++record.version_checks; return record.newer; };
    seams.Download_Link = QStringLiteral("http://downloads.test.example/Home/download/download.asp#KG4315");
    seams.Open_Url = [&record](const QUrl& url) { record.opened.append(url); };
    seams.Compile_Image = [&record](const ProgramState& state) {
        record.compiled.append(state.Dir_Project);
        return record.compile_error;
    };
    seams.Load_Language = [&record](ProgramState& state) { ++record.loads; Fake_Load_Language(state); };
    seams.First_Interval_Ms = firstMs;
    seams.Later_Interval_Ms = laterMs;
    seams.Make_Echo_Client = [] { return std::make_unique<Offline_Echo>(); };
    seams.Start_Program = [&record](const QString& program, const QString&, bool, const Run_Waiting&) {
        record.started.append(program);
        return Ended_With(0);
    };
    return seams;
}

inline void Write_Settings(const QString& dirApp, const QString& project, const QString& language,
                           bool internet = false, bool update = false)
{
    ProgramState settings;
    settings.Dir_App = dirApp;
    settings.Name_Project = project;
    settings.Language_Name = language;
    settings.Enable_Internet = internet;
    settings.Enable_Update = update;
    QVERIFY(Save_Setting(settings).isEmpty());
}

// An empty language file, so that the options dialog lists the language.
inline void Add_Language(const QString& dirApp, const QString& name)
{
    QDir().mkpath(Join_Path(dirApp, QStringLiteral("LANGUAGE")));
    QFile file(Join_Path(Join_Path(dirApp, QStringLiteral("LANGUAGE")), name + QStringLiteral(".lng")));
    QVERIFY(file.open(QIODevice::WriteOnly));
}

inline QByteArray Settings_Bytes(const QString& dirApp)
{
    QFile file(Join_Path(dirApp, QStringLiteral("Loomwright.xml")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs act on the modal dialog as soon as one is open. act must close it.
inline void On_Modal(std::function<void(QWidget*)> act)
{
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && ++*tries < 2000)
            return;
        poll->stop();
        poll->deleteLater();
        if (modal)
            act(modal);
    });
    poll->start();
}

inline void Click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

} // namespace lw::test
