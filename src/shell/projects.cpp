#include "shell/projects.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace lw {

bool Is_Unsafe_Project_Name(const QString& name)
{
    // Control characters (a NUL, line ends, escape sequences, C1) make no
    // folder name on the home platform and would garble every list and
    // message here; bidirectional controls and line or paragraph separators
    // make a name look like another; a lone surrogate has no UTF-8 form, so
    // two such names would be stored as one and never read back as typed.
    const qsizetype n = name.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = name[i].unicode();
        if (c < 32 || (c >= 127 && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069)
            || c == 0x2028 || c == 0x2029)
            return true;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= n || !QChar::isLowSurrogate(name[i + 1].unicode()))
                return true;
            ++i;
        } else if (QChar::isLowSurrogate(c)) {
            return true;
        }
    }
    return name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QDir::separator())
        || name == QLatin1String(".") || name == QLatin1String("..");
}

int Create_Configuration(ProgramState& state, const QString& name)
{
    if (name.isEmpty())
        return Entry_Name_Empty;
    if (Is_Unsafe_Project_Name(name))
        return Entry_Name_Not_Valid;
    const QString dir = Join_Path(state.Dir_Projects, name);
    if (QFileInfo(dir).isDir())
        return Entry_Name_Exists;
    // Only the configuration folder itself is created here: its parent must exist.
    if (!QDir().mkdir(dir))
        return Entry_Name_Not_Valid;
    QDir().mkpath(Join_Path(dir, QStringLiteral("bin")));
    state.Name_Project = name;
    Set_Active_Configuration(state, dir);
    return 0;
}

QStringList Load_Existing_Configuration(const QString& dirProjects)
{
    QStringList names = QDir(dirProjects).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    // Letter case first ignored, then used, so that the order never depends on the file system.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
    return names;
}

int Search_Open_Conf(const QStringList& list, const QString& snc)
{
    const qsizetype exact = list.indexOf(snc);
    if (exact >= 0)
        return int(exact);
    for (int i = 0; i < list.size(); ++i) {
        if (QString::compare(list[i], snc, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString Current_Configuration_Name(const ProgramState& state)
{
    const QString prefix = state.Dir_Projects + QDir::separator();
    if (state.Dir_Project.isEmpty() || !state.Dir_Project.startsWith(prefix))
        return {};
    return state.Dir_Project.mid(prefix.size());
}

void Open_Configuration(ProgramState& state, const QString& nameConf)
{
    state.Name_Project = nameConf;
    Set_Active_Configuration(state, state.Name_Project.isEmpty() ? QString()
                                                                 : Join_Path(state.Dir_Projects, state.Name_Project));
}

QString Configuration_Label_1(const ProgramState& state)
{
    return state.Dir_Project.isEmpty() ? state.Text(9) : state.Text(11);
}

QString Configuration_Label_2(const ProgramState& state)
{
    return state.Dir_Project.isEmpty() ? state.Text(10) : state.Name_Project;
}

} // namespace lw
