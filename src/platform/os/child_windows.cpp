// Windows: ShellExecuteExW with the file's default action (no verb), as a
// double click would start it, SEE_MASK_NOCLOSEPROCESS to keep the process
// handle, shown normally or hidden (SW_HIDE) as asked, and never a message
// box of its own (SEE_MASK_FLAG_NO_UI): a failure is returned with the
// system's text. The end is seen when the process handle is signalled
// (WaitForSingleObject with 0 ms), not from GetExitCodeProcess returning
// STILL_ACTIVE, so that a program that ends with the code 259 is not taken
// for one still running.

#include "platform/os/process.h"
#include "platform/os/windows_text.h"

#include <windows.h>
#include <shellapi.h>

namespace lw::os {

namespace {

// One argument quoted so that CommandLineToArgvW and the C runtime read it back
// unchanged: backslashes are doubled only before a quote.
std::wstring Quote(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring out = L"\"";
    for (auto it = argument.begin();; ++it) {
        std::size_t backslashes = 0;
        while (it != argument.end() && *it == L'\\') {
            ++it;
            ++backslashes;
        }
        if (it == argument.end()) {
            out.append(backslashes * 2, L'\\');
            break;
        }
        if (*it == L'"') {
            out.append(backslashes * 2 + 1, L'\\');
        } else {
            out.append(backslashes, L'\\');
        }
        out += *it;
    }
    out += L'"';
    return out;
}

class Windows_Child final : public Child {
public:
    Windows_Child(HANDLE process, DWORD pid) : m_process(process), m_pid(pid) {}
    ~Windows_Child() override { CloseHandle(m_process); }

    std::int64_t Pid() const override { return m_pid; }

    bool Has_Ended() override
    {
        if (m_ended)
            return true;
        const DWORD state = WaitForSingleObject(m_process, 0);
        if (state == WAIT_TIMEOUT)
            return false;
        m_ended = true;
        DWORD code = 0;
        if (state == WAIT_OBJECT_0 && GetExitCodeProcess(m_process, &code))
            m_exit = {Process_Exit::Exited, int(code)};
        else
            m_exit = {Process_Exit::Unknown, 0};
        return true;
    }

    Process_Exit Exit() const override { return m_exit; }

private:
    HANDLE m_process;
    DWORD m_pid;
    bool m_ended = false;
    Process_Exit m_exit;
};

} // namespace

std::unique_ptr<Child> Child::Start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                                   bool hidden, std::string& error)
{
    if (program.empty()) {
        error = "no program given";
        return nullptr;
    }
    std::wstring parameters;
    for (const std::string& a : arguments) {
        if (!parameters.empty())
            parameters += L' ';
        parameters += Quote(windows::Wide(a));
    }
    const std::wstring file = program.native();
    SHELLEXECUTEINFOW info {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = nullptr;
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.lpDirectory = nullptr; // the current folder
    info.nShow = hidden ? SW_HIDE : SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info)) {
        error = "cannot start " + windows::Utf8(file) + ": " + windows::Error_Text(GetLastError());
        return nullptr;
    }
    if (!info.hProcess) {
        // The action was handed to a program already running (a document
        // opened in an open window): there is no process to wait for.
        error = "cannot start " + windows::Utf8(file) + ": the system gave no process to wait for";
        return nullptr;
    }
    return std::make_unique<Windows_Child>(info.hProcess, GetProcessId(info.hProcess));
}

} // namespace lw::os
