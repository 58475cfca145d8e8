#include "cli/cli_io.h"

#include <QCoreApplication>
#include <QFile>

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
    return lw::cli::Run_Cli(QCoreApplication::arguments().mid(1), io);
}
