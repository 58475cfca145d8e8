#pragma once
// The updater's job file NetLoader.xml beside the executable, and where the
// updater itself is found.

#include "base/program_state.h"

namespace lw {

// The four update options of the dialog; all ticked at creation.
struct Update_Options {
    bool Write_Firmware = true;
    bool Read_Firmware = true;
    bool Write_Configuration = true;
    bool Read_Configuration = true;
};

// Dir_App/NetLoader.xml and Dir_App/NetLoader.exe.
QString Job_File_Path(const ProgramState& state);
QString Updater_Path(const ProgramState& state);

// Writes the job file whole, replacing any earlier one: the device address
// made of the four octet texts as typed, the firmware operation when
// Write_Firmware, then the configuration operation when Write_Configuration.
// Returns an empty text on success, else the reason (the old file is then
// left as it was).
QString Compile_XML_Parameter(const QString& ip1, const QString& ip2, const QString& ip3, const QString& ip4,
                              const Update_Options& options, const ProgramState& state);

// The updater's argument line: "a.b.c.d 2007 " then "FW "/"NO ", "FR "/"NO ",
// "PW "/"NO ", "PR "/"NO ". The updater is started without it: everything it
// carries is also in the job file.
QString Updater_Argument_Line(const QString& ip1, const QString& ip2, const QString& ip3, const QString& ip4,
                              const Update_Options& options);

} // namespace lw
