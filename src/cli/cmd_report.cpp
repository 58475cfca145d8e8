#include "cli/cli_io.h"

#include "lang/language_table.h"
#include "report/report_writer.h"
#include "base/program_state.h"

#include <QFileInfo>
#include <QGuiApplication>

namespace lw::cli {

// Writes the commissioning report of a project as a PDF or an HTML page: 0
// when written, 2 when a file cannot be read or written or the arguments are
// wrong. Nothing in the project changes.
int Cmd_Report(const QStringList& args, CliIO& io)
{
    QString projectDir;
    QString pdf;
    QString html;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--pdf") || a == QLatin1String("--html")) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty())
                return Usage_Error(io, QStringLiteral("%1 needs a file name").arg(a));
            (a == QLatin1String("--pdf") ? pdf : html) = args[++i];
        } else if (a.startsWith(QLatin1String("--"))) {
            return Usage_Error(io, QStringLiteral("unknown option '%1'").arg(a));
        } else if (projectDir.isEmpty() && !a.isEmpty()) {
            projectDir = a;
        } else {
            return Usage_Error(io, QStringLiteral("unexpected argument '%1'").arg(a));
        }
    }
    if (projectDir.isEmpty())
        return Usage_Error(io, QStringLiteral("report needs a PROJECT_DIR"));
    if (pdf.isEmpty() == html.isEmpty())
        return Usage_Error(io, QStringLiteral("report needs either --pdf FILE or --html FILE"));
    if (!QFileInfo(projectDir).isDir()) {
        io.err << "loomwright-cli: " << projectDir << ": no such project folder\n";
        return 2;
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        io.err << "loomwright-cli: report needs the graphics platform (QT_QPA_PLATFORM=offscreen)\n";
        return 2;
    }

    ProgramState state;
    Set_Default_Texts(state);
    Report_Data data;
    QString error = Gather_Report(projectDir, nullptr, state, data);
    if (error.isEmpty())
        error = pdf.isEmpty() ? Write_Report_Html(data, state, html) : Write_Report_Pdf(data, state, pdf);
    if (!error.isEmpty()) {
        io.err << "loomwright-cli: " << error << "\n";
        return 2;
    }
    return 0;
}

} // namespace lw::cli
