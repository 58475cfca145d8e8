#pragma once
// The command-line tool's entry point and streams, so that tests run it in-process.
//
// A command is a row of the command table in cli.cpp: its name, its function
// and its usage text. The dispatch gives every command, without code of its
// own: "COMMAND --help" (or -h) printing "Usage: loomwright-cli " and the
// usage text, exit 0; and exit code 2 when a write to stdout or stderr
// failed (a full disk, a device that takes nothing), whatever the
// command returned.

#include <QStringList>
#include <QTextStream>

namespace lw::cli {

struct CliIO {
    QTextStream& out;
    QTextStream& err;
};

// Runs the tool with args (without the program name); returns the exit code.
int Run_Cli(const QStringList& args, CliIO& io);

// The subcommands; args start after the subcommand's name.
int Cmd_Lang(const QStringList& args, CliIO& io);
int Cmd_Lang_Check(const QStringList& args, CliIO& io);
int Cmd_Check(const QStringList& args, CliIO& io);
int Cmd_Compile(const QStringList& args, CliIO& io);
int Cmd_Inspect(const QStringList& args, CliIO& io);
int Cmd_Update(const QStringList& args, CliIO& io);
int Cmd_Import_GA(const QStringList& args, CliIO& io);
int Cmd_Export_Csv(const QStringList& args, CliIO& io);
int Cmd_Import_Csv(const QStringList& args, CliIO& io);
int Cmd_Map(const QStringList& args, CliIO& io);
int Cmd_Report(const QStringList& args, CliIO& io);

// True for the commands that paint (map --svg, report): they need a QGuiApplication.
bool Needs_Painting(const QStringList& args);

// Common usage error: prints the message and the hint, returns 2.
int Usage_Error(CliIO& io, const QString& message);

// A text from a file made safe for a terminal, on one line: backslash, tab,
// LF and CR as \\, \t, \n and \r; every other control character as \xNN (C0
// and DEL) or \u00NN (C1, U+0080 to U+009F). Every plain-text output of a
// text read from a file goes through it, so that no escape sequence reaches
// the terminal.
QString Terminal_Text(QStringView text);

// A JSON document for a terminal: DEL and the C1 characters, which JSON
// leaves as they are, written as \u007F and \u0080 to \u009F (the same JSON
// value). JSON's own escapes of C0 are kept.
QString Terminal_Json(const QByteArray& json);

} // namespace lw::cli
