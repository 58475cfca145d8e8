// Windows: paths are UTF-16 throughout. The replace checks the final name's
// attributes (a reparse point, that is a symbolic link or a junction, and a
// folder are refused), writes a temporary file beside it, flushes it with
// FlushFileBuffers and moves it over the name with ReplaceFileW, or with
// MoveFileExW(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) when there
// is no old file. A read-only old file is not replaced. Every failure carries
// the system's text (FormatMessageW) and leaves the old file byte for byte.

#include "platform/os/file.h"
#include "platform/os/windows_text.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

namespace lw::os {

namespace windows {

std::wstring Wide(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
    return out;
}

std::string Utf8(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string Error_Text(unsigned long code)
{
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                       | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (text.empty())
        return "system error " + std::to_string(code);
    return Utf8(text);
}

} // namespace windows

namespace {

using windows::Error_Text;

std::string Last_Error()
{
    return Error_Text(GetLastError());
}

class Handle {
public:
    explicit Handle(HANDLE h) : m_h(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return m_h; }
    bool Valid() const { return m_h != INVALID_HANDLE_VALUE && m_h != nullptr; }
    bool Close()
    {
        const bool ok = !Valid() || CloseHandle(m_h);
        m_h = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE m_h;
};

// Why the node in the file's place may not be replaced; empty when it may
// (or when there is none). exists tells whether there is one.
std::string Target_Problem(const std::wstring& name, bool& exists)
{
    exists = false;
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD err = GetLastError();
        return err == ERROR_FILE_NOT_FOUND ? std::string() : Error_Text(err);
    }
    exists = true;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return std::string(Reason_Link);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return std::string(Reason_Folder);
    if (attributes & FILE_ATTRIBUTE_DEVICE)
        return std::string(Reason_Not_Plain);
    return {};
}

std::wstring Temporary_Name(const std::filesystem::path& path)
{
    static std::atomic<unsigned> counter {0};
    const unsigned long long mix = (unsigned long long)GetTickCount64() * 2654435761u
        ^ (unsigned long long)GetCurrentProcessId() << 20 ^ counter.fetch_add(1);
    static const wchar_t digits[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    std::wstring suffix;
    unsigned long long v = mix;
    for (int i = 0; i < 8; ++i, v /= 36)
        suffix += digits[v % 36];
    // At most 200 characters of the name: the temporary name stays within
    // the file system's limit of 255 for a name.
    std::filesystem::path temp = path;
    temp.replace_filename(L"." + path.filename().native().substr(0, 200) + L"." + suffix + L".tmp");
    return temp.native();
}

} // namespace

std::string Reason_Too_Large(std::uint64_t maxBytes)
{
    return "the file is larger than " + std::to_string(maxBytes) + " bytes";
}

std::string Replace_File(const std::filesystem::path& path, std::string_view data)
{
    const std::wstring name = path.native();
    if (name.empty() || !path.has_filename())
        return "no file name given";
    bool exists = false;
    if (std::string problem = Target_Problem(name, exists); !problem.empty())
        return problem;
    if (exists && (GetFileAttributesW(name.c_str()) & FILE_ATTRIBUTE_READONLY))
        return Error_Text(ERROR_ACCESS_DENIED);

    std::wstring temp;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
        temp = Temporary_Name(path);
        created = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS
            && GetLastError() != ERROR_ALREADY_EXISTS)
            return Last_Error();
    }
    if (created == INVALID_HANDLE_VALUE)
        return Error_Text(ERROR_FILE_EXISTS);
    Handle file(created);
    const auto fail = [&](DWORD err) {
        file.Close();
        DeleteFileW(temp.c_str());
        return Error_Text(err);
    };

    std::size_t done = 0;
    while (done < data.size()) {
        const DWORD chunk = DWORD(std::min<std::size_t>(data.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file.Get(), data.data() + done, chunk, &written, nullptr))
            return fail(GetLastError());
        if (written == 0)
            return fail(ERROR_DISK_FULL);
        done += written;
    }
    if (!FlushFileBuffers(file.Get()))
        return fail(GetLastError());
    if (!file.Close()) {
        const DWORD err = GetLastError();
        DeleteFileW(temp.c_str());
        return Error_Text(err);
    }

    // The name may have changed while the data was written: check it again.
    if (std::string problem = Target_Problem(name, exists); !problem.empty()) {
        DeleteFileW(temp.c_str());
        return problem;
    }
    BOOL moved;
    if (exists)
        moved = ReplaceFileW(name.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    else
        moved = MoveFileExW(temp.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!moved) {
        const DWORD err = GetLastError();
        DeleteFileW(temp.c_str());
        return Error_Text(err);
    }
    return {};
}

std::string Read_File(const std::filesystem::path& path, std::uint64_t maxBytes, const Read_Buffer& buffer)
{
    const std::wstring name = path.native();
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::string(Reason_Folder);
    Handle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return Last_Error();
    // Judged on the opened handle: a pipe or a device is never read.
    if (GetFileType(file.Get()) != FILE_TYPE_DISK)
        return std::string(Reason_Not_Plain);
    BY_HANDLE_FILE_INFORMATION info {};
    if (!GetFileInformationByHandle(file.Get(), &info))
        return Last_Error();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return std::string(Reason_Folder);
    const std::uint64_t size = (std::uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (size > maxBytes)
        return Reason_Too_Large(maxBytes);

    const std::size_t want = std::size_t(size) + 1;
    char* out = buffer(want);
    std::size_t got = 0;
    while (got < want) {
        DWORD n = 0;
        const DWORD chunk = DWORD(std::min<std::size_t>(want - got, 1u << 30));
        if (!ReadFile(file.Get(), out + got, chunk, &n, nullptr)) {
            const DWORD err = GetLastError();
            buffer(0);
            return Error_Text(err);
        }
        if (n == 0)
            break;
        got += n;
    }
    if (got > maxBytes) {
        buffer(0);
        return Reason_Too_Large(maxBytes);
    }
    buffer(got);
    return {};
}

} // namespace lw::os
