#pragma once
// Where the program keeps its data: MASTER, PROJECTS, LANGUAGE, the settings
// file Loomwright.xml, the updater's job file NetLoader.xml and the updater
// NetLoader.exe itself. A portable copy (and the build folder) keeps them
// beside the executable; an installed copy, whose folder the user may not
// write, keeps them in the user's data folder. The configurator and the
// command-line tool use the same rule.

#include <QString>
#include <QStringList>

namespace lw {

struct Data_Folder_Choice {
    QString Folder;             // the folder in use, without a trailing separator
    bool Beside_Program = false;// true: the executable's own folder
    QString Program_Folder;     // the executable's folder
    QString Shipped_Languages;  // where the shipped language files were found; empty: nowhere
    QStringList Copied;         // language files written into Folder/LANGUAGE by this start
    QStringList Errors;         // folders or files that could not be made, with the reason
};

// The folder name under the user's data home.
inline constexpr char Data_Folder_Name[] = "Loomwright";

// $XDG_DATA_HOME when it holds an absolute path, else $HOME/.local/share.
QString User_Data_Home();

// The shipped language files of an installed copy, relative to the executable:
// <programFolder>/../share/loomwright/LANGUAGE.
QString Installed_Languages_Folder(const QString& programFolder);

// The rule, without touching the disk: the executable's folder when it holds a
// LANGUAGE folder and the user may write there; otherwise <userDataHome>/Loomwright.
// Shipped_Languages is the installed languages folder when it exists, else the
// executable's LANGUAGE folder when that exists (a read-only portable copy).
Data_Folder_Choice Choose_Data_Folder(const QString& programFolder, const QString& userDataHome);

// Brings the shipped language files and flags (*.lng, *.bmp) of from into to:
// a file that to lacks is copied; a copy made earlier is replaced by a newer
// shipped file only while it is still exactly as it was copied (the copies and
// their SHA-256 sums are listed in to/.shipped). Any other entry of that name
// (the user's own or edited file, a folder, a link) is left alone. Returns the
// names written; failures are appended to errors.
QStringList Copy_Shipped_Languages(const QString& from, const QString& to, QStringList& errors);

// The rule applied: chooses the folder and, when it is the user's data folder,
// creates it with its LANGUAGE folder and brings the shipped language files
// and flags into it (Copy_Shipped_Languages). The other folders are made by the start-up.
Data_Folder_Choice Prepare_Data_Folder(const QString& programFolder, const QString& userDataHome);

// Prepare_Data_Folder for the running executable and the user's data home:
// the folder the program keeps its data in.
QString Data_Folder_In_Use();

} // namespace lw
