// Windows: the event is a named auto-reset event (CreateEventW), created not
// signalled. A name held by another kind of object is refused by the system
// (ERROR_INVALID_HANDLE); the wait then falls back to plain pauses.

#include "platform/os/process.h"
#include "platform/os/windows_text.h"

#include <windows.h>

namespace lw::os {

namespace {

class Windows_Event final : public Named_Event {
public:
    explicit Windows_Event(HANDLE h) : m_h(h) {}
    ~Windows_Event() override { CloseHandle(m_h); }
    void Signal() override { SetEvent(m_h); }
    void Reset() override { ResetEvent(m_h); }
    bool Wait(std::chrono::milliseconds ms) override
    {
        const long long wait = ms.count() < 0 ? 0 : ms.count();
        return WaitForSingleObject(m_h, DWORD(wait)) == WAIT_OBJECT_0;
    }

private:
    HANDLE m_h;
};

} // namespace

std::unique_ptr<Named_Event> Named_Event::Open(const std::string& name, std::string* error)
{
    if (name.empty() || name.find('\\') != std::string::npos || name.find('/') != std::string::npos) {
        if (error)
            *error = "invalid event name '" + name + "'";
        return nullptr;
    }
    HANDLE h = CreateEventW(nullptr, FALSE, FALSE, windows::Wide(name).c_str());
    if (!h) {
        if (error)
            *error = "cannot open event '" + name + "': " + windows::Error_Text(GetLastError());
        return nullptr;
    }
    return std::make_unique<Windows_Event>(h);
}

bool Named_Event::Remove(const std::string&)
{
    // A named object of Windows ends with its last handle; there is no name to remove.
    return true;
}

} // namespace lw::os
