#include "shell/program_state.h"

#include "lang/language_file.h"
#include "shell/projects.h"
#include "shell/settings_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lw {

QString Join_Path(const QString& folder, const QString& name)
{
    return folder + QDir::separator() + name;
}

void Set_Files(ProgramState& state)
{
    state.File_ParGen = Join_Path(state.Dir_Project, QStringLiteral("ParGen.xml"));
    state.File_KNX_Access = Join_Path(state.Dir_Project, QStringLiteral("KNX_SetAccess.xml"));
}

void Set_Folders(ProgramState& state, const QString& dirApp)
{
    QString app = QDir::cleanPath(dirApp);
    state.Dir_App = app;
    state.Dir_Master = Join_Path(app, QStringLiteral("MASTER"));
    state.Dir_Projects = Join_Path(app, QStringLiteral("PROJECTS"));
    state.Dir_Language = Join_Path(app, QStringLiteral("LANGUAGE"));
    // The result of each creation is ignored: later operations fail where they use the folder.
    for (const QString& dir : {state.Dir_Master, state.Dir_Projects, state.Dir_Language})
        QDir().mkdir(dir);
}

void Set_Product_Texts(ProgramState& state)
{
    state.SW_Title = QStringLiteral("Veltrona - Configurator KQ4315 - SNMP / KNX ");
    state.SW_Code = QStringLiteral("KQ4315");
    state.SW_Desc = QStringLiteral("SNMP / KNX - Converter");
}

bool Restore_Configuration(ProgramState& state)
{
    const QString dir = Join_Path(state.Dir_Projects, state.Name_Project);
    // A stored name that would lead out of PROJECTS (a separator, "." or "..")
    // is kept but not restored, like a name whose folder is gone.
    if (!state.Name_Project.isEmpty() && !Is_Unsafe_Project_Name(state.Name_Project) && QFileInfo(dir).isDir()) {
        state.Dir_Project = dir;
        return true;
    }
    state.Dir_Project.clear();
    return false;
}

void Run_Startup(ProgramState& state, const QString& dirApp)
{
    state.Lang_Strings.clear();
    Set_Folders(state, dirApp);
    state.Name_Project.clear();
    Read_Setting(state);
    Set_Product_Texts(state);
    Load_Language(state);
    Restore_Configuration(state);
    Set_Files(state);
    state.Copied_Row.clear();
}

QString Executable_Folder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath());
}

} // namespace lw
