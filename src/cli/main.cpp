#include "cli/cli_io.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>

#include <memory>

namespace {

// The offscreen platform's remark about a missing runtime folder is no concern
// of a tool that opens no window; every other message goes to stderr as usual.
QtMessageHandler Previous_Handler = nullptr;

void Quiet_Handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    Previous_Handler(type, context, message);
}

} // namespace

#include <cstdio>

int main(int argc, char* argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    // The commands that paint need the graphics platform, but never a window:
    // without a platform named, they use the offscreen one, so that they run
    // on a machine without a display.
    std::unique_ptr<QCoreApplication> app;
    if (lw::cli::Needs_Painting(args)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        Previous_Handler = qInstallMessageHandler(Quiet_Handler);
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
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
