// Started by os_test through the system layer:
//   os_test_child exit CODE            ends with CODE
//   os_test_child signal NAME CODE     waits 300 ms, signals the event NAME, waits 300 ms, ends with CODE
//   os_test_child sleep MS             sleeps MS milliseconds, ends with 0
//   os_test_child args FILE ARG...     writes the arguments (UTF-8, one a line) to FILE, ends with 0

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

std::string Utf8(const wchar_t* text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n > 0 ? n - 1 : 0), '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 100;
    const std::wstring mode = argv[1];
    if (mode == L"exit")
        return _wtoi(argv[2]);
    if (mode == L"sleep") {
        Sleep(DWORD(_wtoi(argv[2])));
        return 0;
    }
    if (mode == L"signal" && argc >= 4) {
        Sleep(300);
        HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
        if (!event)
            return 101;
        SetEvent(event);
        Sleep(300);
        CloseHandle(event);
        return _wtoi(argv[3]);
    }
    if (mode == L"args") {
        std::string text;
        for (int i = 3; i < argc; ++i)
            text += Utf8(argv[i]) + "\n";
        HANDLE file = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 102;
        DWORD written = 0;
        WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
        CloseHandle(file);
        return written == text.size() ? 0 : 103;
    }
    return 100;
}
