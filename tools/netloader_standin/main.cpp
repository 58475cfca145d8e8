// NetLoader stand-in: started without arguments, it checks the job file
// NetLoader.xml beside itself, prints its verdict on stdout and, when a
// display is available, shows it in a small window with a Close button.
// Exit code 0 when the job is sound, 1 when it is not, 2 when there is no
// readable job file. Set NETLOADER_NO_WINDOW=1 (or run with the offscreen or
// minimal platform) to have it only print.

#include "netloader_standin/job_check.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <memory>

namespace {

bool Window_Wanted()
{
    if (!qEnvironmentVariableIsEmpty("NETLOADER_NO_WINDOW"))
        return false;
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform.startsWith(QLatin1String("offscreen")) || platform.startsWith(QLatin1String("minimal")))
        return false;
    if (!platform.isEmpty())
        return true;
#if defined(Q_OS_LINUX)
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

void Show_Verdict(const QString& text, bool sound)
{
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("NetLoader (stand-in)"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* heading = new QLabel(sound ? QStringLiteral("The job is sound.") : QStringLiteral("The job is not sound."));
    heading->setStyleSheet(sound ? QStringLiteral("color: rgb(0,128,0); font-weight: bold")
                                 : QStringLiteral("color: rgb(255,0,0); font-weight: bold"));
    layout->addWidget(heading);
    auto* details = new QPlainTextEdit(text);
    details->setReadOnly(true);
    details->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    details->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(details);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(640, 320);
    dialog.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    const bool window = Window_Wanted();
    std::unique_ptr<QCoreApplication> app;
    if (window)
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);

    const QString folder = QCoreApplication::applicationDirPath();
    const netloader::Job_Verdict verdict = netloader::Check_Job(folder);
    const QString text = netloader::Verdict_Text(folder, verdict);

    QFile out;
    if (out.open(stdout, QIODevice::WriteOnly)) {
        out.write(text.toUtf8());
        out.flush();
    }
    if (window)
        Show_Verdict(text, verdict.Code == netloader::Job_Sound);
    return verdict.Code;
}
