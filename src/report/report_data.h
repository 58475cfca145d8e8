#pragma once
// What the commissioning report shows of a project: its settings, its command
// table, the memory map, the data check and the device image as a compile
// would build it now. Gathering reads the project's files and writes nothing.

#include "comm_settings/pargen_file.h"
#include "base/check_result.h"
#include "knx_access/memory_map.h"
#include "knx_access/text_table.h"
#include "base/program_state.h"

#include <QDateTime>
#include <QString>

namespace lw {

struct Report_Data {
    QString project_name;
    QDateTime when;
    QString version;

    ParGen_Values settings;
    Text_Table table;               // the commands table, header row 0 included
    int last_row = 0;               // the table's last row before its end (0: no rows)
    Memory_Map map;

    Check_Result check;             // the first failure of both data checks, or a pass
    QString image_error;            // why the compile stopped; empty when the image was built
    quint32 image_size = 0;
    quint32 image_commands = 0;
    quint32 image_checksum = 0;

    bool Image_Built() const { return check.ok && image_error.isEmpty(); }
};

// Reads the settings file and the commands file of projectDir into data, runs
// both data checks and, when they pass, compiles the device image in memory
// (bank.bin is not written). table, when given, stands in for the commands
// file (the grid as the user is editing it). Returns an empty text, or the
// reason when a file cannot be read. The column headers come from state.
QString Gather_Report(const QString& projectDir, const Text_Table* table, const ProgramState& state, Report_Data& data);

// The report as one HTML page in the language of state. mapPicture is the
// markup that shows the memory map (an inline SVG, or a placeholder that a
// document writer replaces). Without withTable the command table is left to
// the caller (the PDF writer paints its pages itself).
QString Report_Html(const Report_Data& data, const ProgramState& state, const QString& mapPicture,
                    bool withTable = true);

} // namespace lw
