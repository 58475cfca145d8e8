#include "platform/os/process.h"

#include <thread>

namespace lw::os {

Run_Result Run_Program(const std::filesystem::path& program, const std::vector<std::string>& arguments, bool hidden,
                       const Run_Settings& settings)
{
    const std::function<std::uint32_t()> tick = settings.Tick ? settings.Tick : std::function<std::uint32_t()>(Tick_Count_Ms);
    Run_Result result;

    // Without the event the pauses are plain sleeps of the same length.
    std::unique_ptr<Named_Event> event = Named_Event::Open(settings.Event_Name, &result.Event_Error);
    const auto pause = [&] {
        ++result.Pauses;
        if (!event)
            std::this_thread::sleep_for(std::chrono::milliseconds(Run_Pause_Ms));
        else if (event->Wait(std::chrono::milliseconds(Run_Pause_Ms)))
            ++result.Signalled_Pauses;
    };

    std::unique_ptr<Child> child = Child::Start(program, arguments, hidden, result.Error);
    if (event)
        event->Reset();
    if (!child)
        return result;
    result.Error.clear();
    result.Pid = child->Pid();

    const std::uint32_t start = tick();
    while (true) {
        const bool ended = child->Has_Ended();
        result.Elapsed_Ms = std::uint32_t(tick() - start);
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

} // namespace lw::os
