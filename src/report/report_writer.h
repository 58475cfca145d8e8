#pragma once
// Writes the commissioning report: a landscape A4 PDF with real text and page
// numbers, or one HTML page; the memory map is painted as vector graphics in
// both. Each file is written whole, in one step.

#include "report/report_data.h"

namespace lw {

QByteArray Report_Pdf(const Report_Data& data, const ProgramState& state);
QByteArray Report_Html_Page(const Report_Data& data, const ProgramState& state);

// Writes the PDF, or the HTML page when path ends in ".html" or ".htm".
// Returns an empty text on success, else the reason (the old file then stays).
QString Write_Report_File(const Report_Data& data, const ProgramState& state, const QString& path);
QString Write_Report_Pdf(const Report_Data& data, const ProgramState& state, const QString& path);
QString Write_Report_Html(const Report_Data& data, const ProgramState& state, const QString& path);

// Gathers the report of projectDir (table standing in for its commands file
// when given) and writes it to path, as the program's Report entry does.
QString Write_Project_Report(const QString& projectDir, const Text_Table* table, const ProgramState& state,
                             const QString& path);

} // namespace lw
