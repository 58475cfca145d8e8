#include "options/options_seams.h"

#include "lang/language_file.h"
#include "options/version_check.h"

#include <QDesktopServices>

namespace lw {

Options_Seams With_Defaults(Options_Seams seams)
{
    if (!seams.Check_Version)
        seams.Check_Version = [] { return Check_Version(); };
    if (seams.Download_Link.isEmpty())
        seams.Download_Link = Download_Page_Link();
    if (!seams.Open_Url)
        seams.Open_Url = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    if (!seams.Load_Language)
        seams.Load_Language = [](ProgramState& state) { Load_Language(state); };
    return seams;
}

} // namespace lw
