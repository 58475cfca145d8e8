#pragma once
// A named, auto-resetting event shared between processes, with a timed wait.
// Another process that signals it only shortens a wait in progress.

#include <QString>
#include <memory>

namespace lw {

class Named_Event {
public:
    virtual ~Named_Event() = default;

    // Opens the event of that name, creating it not signalled when it does not
    // exist yet. An existing object that is not this user's own or not a
    // well-formed event is refused, as is anything the system refuses: null,
    // with the reason in error; callers then fall back to a plain pause.
    static std::unique_ptr<Named_Event> Open(const QString& name, QString* error = nullptr);

    // Removes the name from the system; holders keep their event.
    static bool Remove(const QString& name);

    virtual void Signal() = 0;
    virtual void Reset() = 0;
    // Waits up to ms milliseconds. True when the event was signalled; it is
    // then not signalled any more (auto-reset).
    virtual bool Wait(int ms) = 0;
};

} // namespace lw
