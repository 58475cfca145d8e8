#pragma once
// A started program, watched without blocking: the Qt face of os::Child. The
// program file is started directly, never through a shell.

#include "platform/os/process.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace lw {

using Process_Exit = os::Process_Exit;

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
