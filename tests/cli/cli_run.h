#pragma once
// Runs the command-line tool in-process with its streams in strings.

#include "cli/cli_io.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace lw::test {

struct Cli_Run {
    int code = -1;
    QString out;
    QString err;
};

inline Cli_Run Run_Tool(const QStringList& args)
{
    Cli_Run run;
    {
        QTextStream out(&run.out);
        QTextStream err(&run.err);
        cli::CliIO io{out, err};
        run.code = cli::Run_Cli(args, io);
    }
    return run;
}

} // namespace lw::test
