#pragma once
// The language chooser's data: the language files found in LANGUAGE, their
// pages of six, the page line and the flag pictures.

#include "base/program_state.h"

namespace lw {

inline constexpr int Languages_Per_Page = 6;

// Names (with ".lng") of the plain files in dirLanguage ending in ".lng",
// sorted without regard to letter case. Folders and symbolic links are left out.
QStringList Create_Lang_List(const QString& dirLanguage);

// (files + 5) / 6: 0 when there are no files.
int Lang_Page_Count(int files);

// How many languages page (from 1) shows: files - (page - 1) * 6, at most 6.
int Lang_Slots_On_Page(int files, int page);

// The language of slot (1 to 6) on page: the file name without ".lng".
QString Lang_Slot_Name(const QStringList& files, int page, int slot);

// Entry 43, the page number, entry 44, the page count ("Page 2 / 3").
QString Lang_Page_Line(const ProgramState& state, int page, int count);

// The flag of a language: <name>.bmp, else DefaultFlag.bmp, else empty.
QString Flag_Picture_Path(const QString& dirLanguage, const QString& name);

// The question before a language change: entries 54, 55 and 56 around the two names.
QString Language_Question(const ProgramState& state, const QString& from, const QString& to);

} // namespace lw
