#pragma once
// Starting an external program and waiting for its end, the named event that
// shortens the waits, and the millisecond tick counter, in plain C++ (no Qt).
// Texts are UTF-8.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lw::os {

struct Process_Exit {
    enum Kind { Exited, Signalled, Unknown };
    Kind How = Unknown;
    int Code = 0; // exit code, or the signal number when Signalled
};

// A started program, watched without blocking. The program file is started
// directly (Linux) or with the desktop's default action for the file
// (Windows), never through a shell.
class Child {
public:
    // A process still running when its Child goes away keeps running; on
    // Linux it is reaped when it ends, so no zombie stays behind.
    virtual ~Child() = default;

    // Starts program with arguments; hidden asks for its window to be hidden
    // where the system can do that. Returns null with the reason in error
    // when the program cannot be started.
    static std::unique_ptr<Child> Start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                                        bool hidden, std::string& error);

    virtual std::int64_t Pid() const = 0;
    // Does not block. True once the process has ended; Exit() then tells how.
    virtual bool Has_Ended() = 0;
    virtual Process_Exit Exit() const = 0;
};

// A named, auto-resetting event shared between processes, with a timed wait.
// Another process that signals it only shortens a wait in progress.
class Named_Event {
public:
    virtual ~Named_Event() = default;

    // Opens the event of that name, creating it not signalled when it does not
    // exist yet. An existing object that is not this user's own or not a
    // well-formed event is refused. Returns null (with the reason in error)
    // when refused; callers then fall back to a plain pause.
    static std::unique_ptr<Named_Event> Open(const std::string& name, std::string* error = nullptr);

    // Removes the name from the system; holders keep their event.
    static bool Remove(const std::string& name);

    virtual void Signal() = 0;
    virtual void Reset() = 0;
    // Waits up to ms. True when the event was signalled; it is then not
    // signalled any more (auto-reset).
    virtual bool Wait(std::chrono::milliseconds ms) = 0;
};

// Milliseconds of a monotonic clock, wrapping at 2^32 like the home
// platform's tick count. Spans are measured as an unsigned difference, which
// stays right across a wrap.
std::uint32_t Tick_Count_Ms();

inline constexpr std::uint32_t Run_Limit_Ms = 150000;
inline constexpr int Run_Pause_Ms = 10;
inline constexpr char Run_Event_Name[] = "HandleCed";

enum class Run_Outcome { Not_Started, Ended, Still_Running };

struct Run_Result {
    Run_Outcome Outcome = Run_Outcome::Not_Started;
    Process_Exit Exit;         // when Ended
    std::string Error;         // when Not_Started: why
    std::int64_t Pid = 0;      // when started
    std::uint32_t Elapsed_Ms = 0; // tick difference when the wait stopped
    int Pauses = 0;            // pauses taken while waiting
    int Signalled_Pauses = 0;  // pauses that the event ended early
    std::string Event_Error;   // why the event was not used (plain pauses then)
};

struct Run_Settings {
    std::uint32_t Limit_Ms = Run_Limit_Ms;
    std::function<std::uint32_t()> Tick; // empty: Tick_Count_Ms
    std::string Event_Name = Run_Event_Name;
    // Called after every pause with the time elapsed since the start; empty: nothing is called.
    std::function<void(std::uint32_t elapsedMs)> Waiting;
};

// Starts program with arguments, its window hidden when hidden is true, and
// waits, polling every 10 ms against the named event, until it has ended or,
// measured from just after the start, the limit has passed (a program still
// running then is left running). Returns at once when it cannot be started.
Run_Result Run_Program(const std::filesystem::path& program, const std::vector<std::string>& arguments, bool hidden,
                       const Run_Settings& settings = {});

} // namespace lw::os
