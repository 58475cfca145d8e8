#include "cli/cli_io.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QFile outFile;
    QFile errFile;
    outFile.open(stdout, QIODevice::WriteOnly);
    errFile.open(stderr, QIODevice::WriteOnly);
    QTextStream out(&outFile);
    QTextStream err(&errFile);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    lw::cli::CliIO io{out, err};
    int code = lw::cli::Run_Cli(QCoreApplication::arguments().mid(1), io);
    // What the C library still holds is written now: a failure there is a
    // failed write as well.
    if (std::fflush(stdout) != 0 || std::ferror(stdout) || std::fflush(stderr) != 0 || std::ferror(stderr))
        code = 2;
    return code;
}
