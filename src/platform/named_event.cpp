#include "platform/named_event.h"

#include "platform/native_text.h"
#include "platform/os/process.h"

namespace lw {

namespace {

class Adapted_Event final : public Named_Event {
public:
    explicit Adapted_Event(std::unique_ptr<os::Named_Event> event) : m_event(std::move(event)) {}
    void Signal() override { m_event->Signal(); }
    void Reset() override { m_event->Reset(); }
    bool Wait(int ms) override { return m_event->Wait(std::chrono::milliseconds(ms)); }

private:
    std::unique_ptr<os::Named_Event> m_event;
};

} // namespace

std::unique_ptr<Named_Event> Named_Event::Open(const QString& name, QString* error)
{
    std::string reason;
    std::unique_ptr<os::Named_Event> event = os::Named_Event::Open(To_Native(name), &reason);
    if (!event) {
        if (error)
            *error = From_Native(reason);
        return nullptr;
    }
    return std::make_unique<Adapted_Event>(std::move(event));
}

bool Named_Event::Remove(const QString& name)
{
    return os::Named_Event::Remove(To_Native(name));
}

} // namespace lw
