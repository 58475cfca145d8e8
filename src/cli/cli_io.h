#pragma once
// The command-line tool's entry point and streams, so that tests run it in-process.

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
int Cmd_Map(const QStringList& args, CliIO& io);
int Cmd_Report(const QStringList& args, CliIO& io);

// True for the commands that paint (map --svg, report): they need a QGuiApplication.
bool Needs_Painting(const QStringList& args);

// Common usage error: prints the message and the hint, returns 2.
int Usage_Error(CliIO& io, const QString& message);

} // namespace lw::cli
