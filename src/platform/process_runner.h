#pragma once
// Starts an external program and waits for its end, at most a time limit.
// The wait polls every 10 ms against the named event "HandleCed" (another
// process signalling it only shortens a pause) and processes no window events.
// The Qt face of os::Run_Program.

#include "platform/child_process.h"

#include <QString>
#include <functional>

namespace lw {

inline constexpr quint32 Runner_Limit_Ms = os::Run_Limit_Ms;
inline constexpr int Runner_Pause_Ms = os::Run_Pause_Ms;
inline const QString Runner_Event_Name = QString::fromLatin1(os::Run_Event_Name);

using Run_Outcome = os::Run_Outcome;

struct Run_Result {
    Run_Outcome Outcome = Run_Outcome::Not_Started;
    Process_Exit Exit;       // when Ended
    QString Error;           // when Not_Started: why
    qint64 Pid = 0;          // when started
    quint32 Elapsed_Ms = 0;  // tick difference when the wait stopped
    int Pauses = 0;          // pauses taken while waiting
    int Signalled_Pauses = 0; // pauses that the event ended early
    QString Event_Error;     // why the event was not used (plain pauses then)
};

// Called after every pause of the wait with the milliseconds elapsed since the
// start, so that the caller can show the progress (and repaint).
using Run_Waiting = std::function<void(quint32 elapsedMs)>;

struct Runner_Settings {
    quint32 Limit_Ms = Runner_Limit_Ms;
    std::function<quint32()> Tick;   // empty: Tick_Count_Ms
    QString Event_Name = Runner_Event_Name;
    Run_Waiting Waiting;             // empty: nothing is called
};

// Starts NomeSW with the parameters Parameter (split like a command line;
// empty gives no parameters), its window hidden when tipo is true, in the
// current folder. Returns at once when it cannot be started; otherwise when it
// has ended or, measured from just after the start, the limit has passed. A
// program still running then is left running (and reaped when it ends).
Run_Result Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo,
                         const Runner_Settings& settings = {});

} // namespace lw
