#include "update/updater_outcome.h"

#include <QFileInfo>

namespace lw {

QString Updater_Not_Started_Text(const ProgramState& state, const QString& path, const QString& systemReason)
{
    const QFileInfo file(path);
    QString reason;
    if (!file.exists())
        reason = state.Text(2001);
    else if (file.isDir())
        reason = state.Text(2003);
    else if (!file.isExecutable())
        reason = state.Text(2002);
    else if (!systemReason.isEmpty())
        reason = systemReason;
    else
        reason = state.Text(2004);
    return state.Text(2000).arg(path, reason);
}

QString Updater_Running_Text(const ProgramState& state, quint32 elapsedMs)
{
    return state.Text(2005).arg(elapsedMs / 1000);
}

Updater_Outcome Updater_Outcome_Of(const ProgramState& state, const Run_Result& run)
{
    if (run.Outcome == Run_Outcome::Still_Running)
        return {state.Text(2010).arg(run.Elapsed_Ms / 1000), false};
    switch (run.Exit.How) {
    case Process_Exit::Exited:
        if (run.Exit.Code == 0)
            return {state.Text(2006), true};
        return {state.Text(2007).arg(run.Exit.Code), false};
    case Process_Exit::Signalled:
        return {state.Text(2008).arg(run.Exit.Code), false};
    case Process_Exit::Unknown:
        break;
    }
    return {state.Text(2009), false};
}

} // namespace lw
