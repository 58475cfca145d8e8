#include "platform/process_runner.h"

#include "platform/named_event.h"
#include "platform/tick_count.h"

#include <QProcess>
#include <QThread>

namespace lw {

Run_Result Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo, const Runner_Settings& settings)
{
    const std::function<quint32()> tick = settings.Tick ? settings.Tick : std::function<quint32()>(Tick_Count_Ms);
    Run_Result result;

    // Without the event the pauses are plain sleeps of the same length.
    std::unique_ptr<Named_Event> event = Named_Event::Open(settings.Event_Name);
    const auto pause = [&] {
        ++result.Pauses;
        if (event)
            event->Wait(Runner_Pause_Ms);
        else
            QThread::msleep(Runner_Pause_Ms);
    };

    QString error;
    std::unique_ptr<Child_Process> child =
        Child_Process::Start(NomeSW, QProcess::splitCommand(Parameter), tipo, error);
    if (event)
        event->Reset();
    if (!child) {
        result.Error = error;
        return result;
    }
    result.Pid = child->Pid();

    const quint32 start = tick();
    while (true) {
        const bool ended = child->Has_Ended();
        result.Elapsed_Ms = quint32(tick() - start);
        if (!ended && result.Elapsed_Ms >= settings.Limit_Ms) {
            result.Outcome = Run_Outcome::Still_Running;
            return result;
        }
        pause();
        if (settings.Waiting)
            settings.Waiting(result.Elapsed_Ms);
        if (ended) {
            result.Outcome = Run_Outcome::Ended;
            result.Exit = child->Exit();
            return result;
        }
    }
}

} // namespace lw
