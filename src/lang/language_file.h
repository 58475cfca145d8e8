#pragma once
// Language files: LANGUAGE/<name>.lng, lines "STR<index> =<text>" that replace
// entries of the language table.

#include "base/program_state.h"

#include <QStringView>
#include <optional>

namespace lw {

// What the reader makes of one line of a language file.
enum class Line_Outcome {
    Not_Entry,          // does not begin with "STR": a comment or a blank line
    Wrong_Case,         // begins with "str" in another letter case and looks like an entry
    No_Equals,          // begins with "STR" but holds no "="
    Index_Not_Number,   // the index is not an integer
    Index_Out_Of_Range, // the index is outside 0 to Lang_Count - 1 and outside 2000 to 2999
    Empty_Text,         // nothing after the "="
    Comment_Emptied,    // the text before its "/#/" comment is empty
    Applied,            // the entry is replaced by text
};

// How the pilcrow quotes of an applied text turned out.
enum class Pilcrow { None, Closed, Unclosed, Lone, Text_After_Close };

struct Language_Line {
    Line_Outcome outcome = Line_Outcome::Not_Entry;
    QString indexText;           // stripped text between "STR" and the separator
    int index = -1;              // the index as read; -1 when not an integer
    QChar separator;             // the character just before the first "="
    bool separatorMissing = false; // that character is not a blank, so it was taken off the index
    Pilcrow pilcrow = Pilcrow::None;
    QString text;                // the entry's new text (Applied only)
};

// The rules of one line: the single place where a line of a language file is
// understood, used by the reader and by the checker of the command-line tool.
Language_Line Parse_Language_Line(QStringView line, int langCount);

// Reads and decodes a whole language file. Returns false with the reason when
// it cannot be read (a folder, no permission, larger than the limit).
bool Read_Language_Text(const QString& path, QString& text, QString& error);

// A shipped file is about 60 KB; the limit keeps the peak memory of a load
// below 256 MB for a file of one entry of that length (the worst shape).
inline constexpr qint64 Language_File_Limit = qint64(24) << 20;

// Rebuilds the table from the defaults and applies the file of Language_Name,
// falling back to English.lng (Language_Name then becomes "English"). A name
// that is no plain file name (empty, ".", "..", a separator or a control
// character) names no file of LANGUAGE and falls back the same way. Returns
// an empty text, or the reason when a file that exists could not be read
// (the table then keeps its defaults).
QString Load_Language(ProgramState& state);

// True when name can only name a file inside its folder.
bool Is_Plain_File_Name(const QString& name);

// Reads one file and replaces the entries it names (0 <= index < langCount,
// and entries 2000 to 2999 in extended when given). A file that cannot be read
// leaves both tables unchanged and returns false (readError, when given, gets the reason).
bool Read_Language_File(const QString& path, QStringList& table, int langCount, QStringList* extended = nullptr,
                        QString* readError = nullptr);

// The path of a language's file in the language folder.
QString Language_File_Path(const QString& dirLanguage, const QString& name);

} // namespace lw
