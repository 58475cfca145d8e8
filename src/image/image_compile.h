#pragma once
// What Update Device runs before the update dialog opens: the compile of the
// active configuration and the write of its bin/bank.bin.
//
// The compile reads ParGen.xml and KNX_SetAccess.xml into Device_Params and
// the two record arrays, entirely in memory, and only then lays the image out
// in the caller's Image_Buffer; a compile that stops leaves every file as it was.

#include "base/program_state.h"
#include "image/image_layout.h"

#include <QString>

namespace lw {

// Runs the data checks of the active configuration as the check command
// does, and the same tests on every further row the compile takes, then
// compiles File_ParGen and File_KNX_Access (image::Check_And_Compile) and
// writes Dir_Project/bin/bank.bin. Returns an empty text on success, else the
// message to show: the check's message in the state's language, or why the
// compile or the write stopped (the old bank.bin is then left as it was). On
// success, summary (when given) receives a one-line description of the image.
QString Compile_And_Save_Image(const ProgramState& state, QString* summary = nullptr);

namespace image {

// Every field of params: the fixed values, and the defaults used without a
// settings file (IP 192.168.2.205, mask 255.255.255.0, gateway not enabled,
// empty station name, device address 0, both counters 0, device addresses 0).
void Init_Params(Device_Params& params);

// Every byte of both record arrays to 0.
void Clear_Tables(Image_Tables& tables);

// Reads the settings file into params. A missing file, a missing element or a
// value that is not an integer gives defaults; a file that exists but cannot
// be loaded stops the compile: the message is returned, else an empty text.
// A file whose first node is not its root element gives defaults as well;
// warning (when given) then receives ParGen_Not_Rooted_Warning.
QString Compile_ParGen(const QString& fileParGen, Device_Params& params, QString* warning = nullptr);

// Reads the KNX access file into the write array and the two counters. A
// missing file gives no rows. Returns the message that stops the compile (file
// not loadable, no KNX_in_Write under the root element, a compiled row lacking
// a required attribute, more than 512 compiled rows), else an empty text.
QString Compile_KNX_Access(const QString& fileKNXAccess, Image_Tables& tables, Device_Params& params);

// The whole compile of the two files into buffer (Image_Length 22528 after it).
// Returns the message that stopped it, else an empty text; on a stop the
// buffer is left as it was. No data check is run here (see Check_Project).
QString Compile_Image(const QString& fileParGen, const QString& fileKNXAccess, Image_Buffer& buffer,
                      QString* warning = nullptr);
QString Compile_Image(const ProgramState& state, Image_Buffer& buffer, QString* warning = nullptr);

// The compile of Update Device, update and compile: Check_Project first; a
// failed data check stops with its message before anything is compiled. Then
// Compile_Image. A file the checks could not read stops the compile with the
// compiler's own message when it stops too, else with the reader's (what the
// checks could not read is never shipped). Returns an empty text on success.
QString Check_And_Compile(const ProgramState& state, Image_Buffer& buffer, QString* warning = nullptr);

// Dir_Project/bin/bank.bin.
QString Image_File(const ProgramState& state);

// Writes the first Image_Length bytes of buffer to Image_File, replacing any
// earlier file in one step; creates the bin folder when only it is missing.
// Returns the reason of a failure (the old file then stays intact), else an empty text.
QString Save_Image(const ProgramState& state, const Image_Buffer& buffer);

// Writes the first Image_Length bytes of buffer to path in one step; the folder must exist.
QString Save_Image_File(const QString& path, const Image_Buffer& buffer);

// "22528 bytes, 3 commands, checksum 5711" for a compiled buffer ("1 command" for one).
QString Image_Summary(const Image_Buffer& buffer);

} // namespace image

} // namespace lw
