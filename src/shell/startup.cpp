#include "shell/startup.h"

#include "lang/language_file.h"
#include "shell/projects.h"
#include "shell/settings_file.h"

#include <QFileInfo>

namespace lw {

bool Restore_Configuration(ProgramState& state)
{
    const QString dir = Join_Path(state.Dir_Projects, state.Name_Project);
    // A stored name that would lead out of PROJECTS (a separator, "." or "..")
    // is kept but not restored, like a name whose folder is gone.
    const bool restored =
        !state.Name_Project.isEmpty() && !Is_Unsafe_Project_Name(state.Name_Project) && QFileInfo(dir).isDir();
    Set_Active_Configuration(state, restored ? dir : QString());
    return restored;
}

void Run_Startup(ProgramState& state, const QString& dirApp, const std::function<void(ProgramState&)>& loadLanguage)
{
    state.Lang_Strings.clear();
    Set_Folders(state, dirApp);
    state.Name_Project.clear();
    Read_Setting(state);
    Set_Product_Texts(state);
    if (loadLanguage)
        loadLanguage(state);
    else
        Load_Language(state);
    Restore_Configuration(state);
    state.Copied_Row.clear();
}

} // namespace lw
