#include "base/program_state.h"


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

void Set_Active_Configuration(ProgramState& state, const QString& dirProject)
{
    state.Dir_Project = dirProject;
    Set_Files(state);
}

void Set_Folder_Paths(ProgramState& state, const QString& dirApp)
{
    const QString app = QDir::cleanPath(dirApp);
    state.Dir_App = app;
    state.Dir_Master = Join_Path(app, QStringLiteral("MASTER"));
    state.Dir_Projects = Join_Path(app, QStringLiteral("PROJECTS"));
    state.Dir_Language = Join_Path(app, QStringLiteral("LANGUAGE"));
}

void Set_Folders(ProgramState& state, const QString& dirApp)
{
    Set_Folder_Paths(state, dirApp);
    // The result of each creation is ignored: later operations fail where they use the folder.
    for (const QString& dir : {state.Dir_Master, state.Dir_Projects, state.Dir_Language})
        QDir().mkdir(dir);
}

void Set_Product_Texts(ProgramState& state)
{
    state.SW_Title = Product_Title;
    state.SW_Code = Product_Code;
    state.SW_Desc = Product_Description;
}

QString Executable_Folder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath());
}

} // namespace lw
