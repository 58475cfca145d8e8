#pragma once
// The program-wide state: folders beside the executable, the active
// configuration and its file paths, the persisted settings, the product texts,
// the language table and the copied-row buffer. One instance lives as long as
// the program; it is passed to whoever needs it.

#include "base/product.h"

#include <QString>
#include <QStringList>

namespace lw {

inline const QString Default_Last_IP = QStringLiteral("192.168.2.205");
inline const QString Default_Language = QStringLiteral("English");

struct ProgramState {
    QStringList Lang_Strings;   // language table, 0 to 1199 once loaded
    int Lang_Count = 0;         // entries created by Set_Default_Texts
    QStringList Lang_Extended;  // this program's own texts, entries 2000 to 2999 once loaded

    QString Dir_App;            // folder of the executable, no trailing separator
    QString Dir_Master;
    QString Dir_Projects;
    QString Dir_Language;

    QString Name_Project;       // last opened or created configuration
    QString Dir_Project;        // active configuration; empty: none active

    QString SW_Title;
    QString SW_Code;
    QString SW_Desc;

    QString Last_IP = Default_Last_IP;
    QString Language_Name = Default_Language;
    bool Enable_Internet = false;
    bool Enable_Update = false;

    QString File_ParGen;
    QString File_KNX_Access;

    QStringList Copied_Row;     // cell texts of the last copied grid row

    // The language table entry at index (0 to 1199 or 2000 to 2999), or an empty text outside both ranges.
    QString Text(int index) const
    {
        if (index >= 0 && index < Lang_Strings.size())
            return Lang_Strings[index];
        const int extended = index - 2000;
        return extended >= 0 && extended < Lang_Extended.size() ? Lang_Extended[extended] : QString();
    }
};

// Joins a folder and a name with the platform's separator.
QString Join_Path(const QString& folder, const QString& name);

// Recomputes the per-project file paths from Dir_Project.
void Set_Files(ProgramState& state);

// Makes dirProject the active configuration (empty: none active) and sets its
// file paths. The one place that changes Dir_Project.
void Set_Active_Configuration(ProgramState& state, const QString& dirProject);

// The folders beside the executable (Dir_App, Dir_Master, Dir_Projects,
// Dir_Language), derived from dirApp; nothing is created.
void Set_Folder_Paths(ProgramState& state, const QString& dirApp);

// The folders beside the executable, created when missing.
void Set_Folders(ProgramState& state, const QString& dirApp);

// The product texts: title, code and description.
void Set_Product_Texts(ProgramState& state);

// The folder of the running executable, without a trailing separator.
QString Executable_Folder();

} // namespace lw
