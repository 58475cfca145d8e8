#include "shell/shell_seams.h"

#include "image/image_compile.h"
#include "lang/language_file.h"
#include "options/version_check.h"
#include "shell/web_links.h"

#include <QDesktopServices>

namespace lw {

Shell_Seams With_Defaults(Shell_Seams seams)
{
    if (!seams.Check_Version)
        seams.Check_Version = [] { return Check_Version(); };
    if (seams.Download_Link.isEmpty())
        seams.Download_Link = Download_Page_Link();
    if (!seams.Open_Url)
        seams.Open_Url = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    if (!seams.Compile_Image)
        seams.Compile_Image = [](const ProgramState& state) { return Compile_And_Save_Image(state); };
    if (!seams.Load_Language)
        seams.Load_Language = [](ProgramState& state) { Load_Language(state); };
    if (!seams.Make_Echo_Client)
        seams.Make_Echo_Client = [] { return Make_System_Echo_Client(); };
    if (!seams.Clock)
        seams.Clock = std::make_shared<System_Ping_Clock>();
    if (!seams.Start_Program)
        seams.Start_Program = [](const QString& NomeSW, const QString& Parameter, bool tipo,
                                 const Run_Waiting& waiting) {
            Runner_Settings settings;
            settings.Waiting = waiting;
            return Start_Program(NomeSW, Parameter, tipo, settings);
        };
    return seams;
}

} // namespace lw
