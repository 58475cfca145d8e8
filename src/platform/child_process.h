#pragma once
// A started program, watched without blocking. The program file is started
// directly, never through a shell.

#include <QString>
#include <QStringList>
#include <memory>

namespace lw {

struct Process_Exit {
    enum Kind { Exited, Signalled, Unknown };
    Kind How = Unknown;
    int Code = 0; // exit code, or the signal number when Signalled
};

class Child_Process {
public:
    // A process that is still running when its Child_Process goes away keeps
    // running; it is reaped when it ends, so no zombie stays behind.
    virtual ~Child_Process() = default;

    // Starts program with arguments; hidden asks for its window to be hidden
    // where the platform can do that. Returns null with the reason in error
    // when the program cannot be started.
    static std::unique_ptr<Child_Process> Start(const QString& program, const QStringList& arguments, bool hidden,
                                                QString& error);

    virtual qint64 Pid() const = 0;
    // Does not block. True once the process has ended; Exit() then tells how.
    virtual bool Has_Ended() = 0;
    virtual Process_Exit Exit() const = 0;
};

} // namespace lw
