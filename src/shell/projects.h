#pragma once
// Configurations (projects): folders under PROJECTS, each with its bin folder.
// Creating, listing and choosing them, without any window.

#include "base/program_state.h"

namespace lw {

// Language-table entries of the refusals of a new configuration.
inline constexpr int Entry_Name_Not_Valid = 30;
inline constexpr int Entry_Name_Exists = 31;
inline constexpr int Entry_Name_Empty = 32;

// True when name would leave the PROJECTS folder or name no folder of its own:
// it holds a path separator ("/" or the home platform's "\"), a control
// character (codes 0 to 31, 127 and C1, U+0080 to U+009F), a bidirectional
// control (U+202A to U+202E, U+2066 to U+2069), a line or paragraph separator
// (U+2028, U+2029) or a lone surrogate, or is "." or "..".
bool Is_Unsafe_Project_Name(const QString& name);

// Creates the configuration folder Dir_Projects/name with its bin folder and
// makes it the active configuration (Name_Project, then Set_Active_Configuration).
// The first failing test wins: an empty name gives Entry_Name_Empty, an unsafe
// name Entry_Name_Not_Valid, an existing folder Entry_Name_Exists, a folder that
// cannot be created Entry_Name_Not_Valid. Returns 0 on success; on a refusal the
// state is unchanged. The name is used exactly as typed otherwise.
int Create_Configuration(ProgramState& state, const QString& name);

// The names of the sub-folders of dirProjects, sorted without regard to letter
// case; hidden folders, "." and ".." and plain files are left out.
QStringList Load_Existing_Configuration(const QString& dirProjects);

// Position of the entry of list equal to snc; folder names are case-sensitive,
// so only when no entry is exactly snc, the first entry equal to it without
// regard to letter case; -1 when there is neither.
int Search_Open_Conf(const QStringList& list, const QString& snc);

// The part of Dir_Project after Dir_Projects and one separator: the name of the
// active configuration, empty when none is active.
QString Current_Configuration_Name(const ProgramState& state);

// Makes nameConf the active configuration (an empty name: none active) and
// recomputes the file paths. The folder is not tested.
void Open_Configuration(ProgramState& state, const QString& nameConf);

// The two configuration labels of the main window: entries 11 and the name
// while a configuration is active, else entries 9 and 10.
QString Configuration_Label_1(const ProgramState& state);
QString Configuration_Label_2(const ProgramState& state);

} // namespace lw
