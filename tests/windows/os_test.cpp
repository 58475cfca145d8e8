// The Windows system layer under test, without Qt: one table of cases, each
// printing PASS, FAIL (with the reason) or SKIP (with the reason), and the
// closing line "N passed, M failed". Exit code 0 when nothing failed.
// Built by tests/windows/CMakeLists.txt and run under Wine by
// scripts/test-windows. Echoes go to 127.0.0.1 only.

#include "platform/os/echo.h"
#include "platform/os/file.h"
#include "platform/os/process.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace lw::os;

namespace {

struct Skip {
    std::string reason;
};

// A failed check: thrown with the reason, caught by the table's runner.
struct Failure {
    std::string reason;
};

#define CHECK(condition, what)                                                                                        \
    do {                                                                                                              \
        if (!(condition))                                                                                             \
            throw Failure {std::string(#condition) + ": " + (what)};                                                  \
    } while (0)

fs::path Folder;       // a fresh folder for each case
fs::path Child_Program; // os_test_child.exe beside this program

std::string Utf8(const std::wstring& wide)
{
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

void Write(const fs::path& path, const std::string& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    CHECK(h != INVALID_HANDLE_VALUE, Utf8(path.native()));
    DWORD written = 0;
    WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(h);
    CHECK(written == bytes.size(), Utf8(path.native()));
}

std::string Read(const fs::path& path)
{
    std::string data;
    const std::string error = Read_File(path, 1 << 20, data);
    CHECK(error.empty(), error);
    return data;
}

// The names in the case's folder.
std::set<std::wstring> Listing()
{
    std::set<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(Folder))
        names.insert(entry.path().filename().native());
    return names;
}

std::string Names(const std::set<std::wstring>& names)
{
    std::string out;
    for (const auto& n : names)
        out += Utf8(n) + " ";
    return out;
}

void End_Process(std::int64_t pid)
{
    HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, DWORD(pid));
    if (h) {
        TerminateProcess(h, 1);
        WaitForSingleObject(h, 5000);
        CloseHandle(h);
    }
}

std::string Event_Name(const char* what)
{
    return std::string("lw_test_") + what + "_" + std::to_string(GetCurrentProcessId());
}

// ---- processes -------------------------------------------------------------

void Child_Exits_With_Code()
{
    Run_Settings settings;
    settings.Event_Name = Event_Name("exit");
    const Run_Result r = Run_Program(Child_Program, {"exit", "7"}, false, settings);
    CHECK(r.Outcome == Run_Outcome::Ended, r.Error);
    CHECK(r.Exit.How == Process_Exit::Exited, "");
    CHECK(r.Exit.Code == 7, std::to_string(r.Exit.Code));
    CHECK(r.Pid > 0, "");
    CHECK(r.Event_Error.empty(), r.Event_Error);
    CHECK(r.Pauses >= 1 && r.Pauses < 1500, std::to_string(r.Pauses));
}

void Child_Exits_With_259()
{
    // STILL_ACTIVE as an exit code: the end is seen from the process handle.
    Run_Settings settings;
    settings.Limit_Ms = 20000;
    settings.Event_Name = Event_Name("259");
    const Run_Result r = Run_Program(Child_Program, {"exit", "259"}, true, settings);
    CHECK(r.Outcome == Run_Outcome::Ended, "taken for still running after " + std::to_string(r.Elapsed_Ms) + " ms");
    CHECK(r.Exit.Code == 259, std::to_string(r.Exit.Code));
}

void Child_Signals_Event()
{
    Run_Settings settings;
    settings.Event_Name = Event_Name("signal");
    const Run_Result r = Run_Program(Child_Program, {"signal", settings.Event_Name, "5"}, true, settings);
    CHECK(r.Outcome == Run_Outcome::Ended, r.Error);
    CHECK(r.Exit.Code == 5, std::to_string(r.Exit.Code) + " (101: the child found no event)");
    CHECK(r.Signalled_Pauses >= 1, std::to_string(r.Signalled_Pauses));
}

void Child_Outlives_Limit()
{
    Run_Settings settings;
    settings.Limit_Ms = 300;
    settings.Event_Name = Event_Name("limit");
    const Run_Result r = Run_Program(Child_Program, {"sleep", "60000"}, true, settings);
    End_Process(r.Pid);
    CHECK(r.Outcome == Run_Outcome::Still_Running, "outcome " + std::to_string(int(r.Outcome)) + " " + r.Error);
    CHECK(r.Elapsed_Ms >= 300, std::to_string(r.Elapsed_Ms));
    CHECK(r.Pauses >= 1, std::to_string(r.Pauses));
}

void Tick_Counter_Wraps()
{
    std::uint32_t now = 0xFFFFFF00u;
    Run_Settings settings;
    settings.Limit_Ms = 600;
    settings.Tick = [&now] { return now += 10; };
    settings.Event_Name = Event_Name("wrap");
    const Run_Result r = Run_Program(Child_Program, {"sleep", "60000"}, true, settings);
    End_Process(r.Pid);
    CHECK(r.Outcome == Run_Outcome::Still_Running, r.Error);
    CHECK(r.Elapsed_Ms >= 600, std::to_string(r.Elapsed_Ms));
    CHECK(r.Pauses >= 59, std::to_string(r.Pauses));
    CHECK(now < 0xFFFFFF00u, "the counter did not wrap");
}

void Program_Missing()
{
    const Run_Result r = Run_Program(Folder / L"no_such_program.exe", {}, false);
    CHECK(r.Outcome == Run_Outcome::Not_Started, "");
    CHECK(r.Error.find("no_such_program.exe") != std::string::npos, r.Error);
    CHECK(r.Error.size() > std::string("cannot start : ").size() + Utf8((Folder / L"no_such_program.exe").native()).size(),
          "no system text: " + r.Error);
    CHECK(r.Pid == 0, "");
}

void Arguments_Arrive_Unchanged()
{
    const fs::path out = Folder / L"args.txt";
    const std::vector<std::string> given = {"plain", "two words", "quote \" inside", "ends with backslash\\",
                                            "back\\\\slashes \\\" quote", "", "Gr\xC3\xBC\xC3\x9F" "e \xCE\xA9"};
    std::vector<std::string> arguments = {"args", Utf8(out.native())};
    arguments.insert(arguments.end(), given.begin(), given.end());
    const Run_Result r = Run_Program(Child_Program, arguments, true);
    CHECK(r.Outcome == Run_Outcome::Ended && r.Exit.Code == 0, r.Error + " code " + std::to_string(r.Exit.Code));
    std::string want;
    for (const auto& a : given)
        want += a + "\n";
    const std::string got = Read(out);
    CHECK(got == want, got);
}

void Tick_Count_Runs()
{
    const std::uint32_t a = Tick_Count_Ms();
    Sleep(100);
    const std::uint32_t span = std::uint32_t(Tick_Count_Ms() - a);
    CHECK(span >= 50 && span < 60000, std::to_string(span));
}

void Named_Event_Auto_Resets()
{
    const std::string name = Event_Name("event");
    std::string error;
    auto a = Named_Event::Open(name, &error);
    CHECK(a, error);
    auto b = Named_Event::Open(name, &error); // the existing one
    CHECK(b, error);
    CHECK(!a->Wait(std::chrono::milliseconds(10)), "signalled at the start");
    b->Signal();
    CHECK(a->Wait(std::chrono::milliseconds(1000)), "not signalled");
    CHECK(!a->Wait(std::chrono::milliseconds(10)), "no auto-reset");
    b->Signal();
    a->Reset();
    CHECK(!b->Wait(std::chrono::milliseconds(10)), "no reset");
    CHECK(!Named_Event::Open("bad\\name"), "a name with a backslash was taken");
}

// ---- files -----------------------------------------------------------------

void Replace_Writes_And_Replaces()
{
    const fs::path file = Folder / L"ParGen.xml";
    CHECK(Replace_File(file, "first").empty(), "");
    CHECK(Read(file) == "first", "");
    const std::string big(300000, 'x');
    const std::string error = Replace_File(file, big);
    CHECK(error.empty(), error);
    CHECK(Read(file) == big, "");
    CHECK(Listing() == std::set<std::wstring>({L"ParGen.xml"}), Names(Listing()));
}

void Replace_Keeps_Read_Only_File()
{
    const fs::path file = Folder / L"bank.bin";
    Write(file, "previous");
    CHECK(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY), "");
    const std::string error = Replace_File(file, "new content");
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    CHECK(!error.empty(), "a read-only file was replaced");
    CHECK(error.find("system error") == std::string::npos, "no system text: " + error);
    CHECK(Read(file) == "previous", "");
    CHECK(Listing() == std::set<std::wstring>({L"bank.bin"}), Names(Listing()));
}

void Replace_Keeps_Folder_In_Place()
{
    const fs::path file = Folder / L"KNX_SetAccess.xml";
    CHECK(CreateDirectoryW(file.c_str(), nullptr), "");
    Write(file / L"inside", "kept");
    const std::string error = Replace_File(file, "new content");
    CHECK(error == Reason_Folder, error);
    CHECK(Read(file / L"inside") == "kept", "");
    CHECK(Listing() == std::set<std::wstring>({L"KNX_SetAccess.xml"}), Names(Listing()));
}

void Replace_Refuses_Link()
{
    const fs::path target = Folder / L"notes.txt";
    const fs::path link = Folder / L"Loomwright.xml";
    Write(target, "notes");
    if (!CreateSymbolicLinkW(link.c_str(), target.c_str(), 0x2 /* SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE */)
        && !CreateSymbolicLinkW(link.c_str(), target.c_str(), 0))
        throw Skip {"no symbolic link can be made here (CreateSymbolicLinkW: error " + std::to_string(GetLastError())
                    + ")"};
    if (GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES)
        throw Skip {"CreateSymbolicLinkW reported success but made no link (a stub in this Wine)"};
    const std::string error = Replace_File(link, "new content");
    CHECK(error == Reason_Link, error);
    CHECK(Read(target) == "notes", "");
    CHECK(GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, "the link is gone");
}

void Non_Ascii_File_Name()
{
    const std::wstring name = L"Pr\u00fcfung \u03a9\u03bc\u03ad\u03b3\u03b1 \u8a66\u9a13.xml";
    const fs::path file = Folder / name;
    const std::string error = Replace_File(file, "<ok/>");
    CHECK(error.empty(), error);
    CHECK(Read(file) == "<ok/>", "");
    CHECK(Listing() == std::set<std::wstring>({name}), Names(Listing()));
    CHECK(Replace_File(file, "<again/>").empty(), "");
    CHECK(Read(file) == "<again/>", "");
}

void Read_Refusals()
{
    std::string data;
    CHECK(Read_File(Folder, 100, data) == Reason_Folder, "folder read");
    const std::string missing = Read_File(Folder / L"missing.xml", 100, data);
    CHECK(!missing.empty() && missing.find("system error") == std::string::npos, missing);
    Write(Folder / L"big.xml", std::string(101, 'b'));
    CHECK(Read_File(Folder / L"big.xml", 100, data) == Reason_Too_Large(100), "");
    CHECK(Read_File(L"NUL", 100, data) == Reason_Not_Plain, "the null device was read");
}

// ---- echo ------------------------------------------------------------------

void Echo_Refuses_Names()
{
    auto client = Make_System_Echo_Client();
    const Echo_Result r = client->Echo("localhost", "localhost", 0, std::chrono::milliseconds(400));
    CHECK(!r.Ok && !r.No_Socket, r.Error);
    CHECK(r.Error.find("localhost") != std::string::npos, r.Error);
}

void Echo_Loopback()
{
    auto client = Make_System_Echo_Client();
    const std::string data = "127.0.0.1";
    const Echo_Result r = client->Echo("127.0.0.1", data, 0, std::chrono::milliseconds(2000));
    if (r.No_Socket)
        throw Skip {"the system gives no way to send an echo here: " + r.Error};
    if (!r.Ok)
        throw Skip {"this Wine cannot send an echo request: " + r.Error};
    if (r.Bytes_Received == 0)
        throw Skip {"no echo reply from 127.0.0.1 (Wine sends no ICMP without a raw or ping socket)"};
    CHECK(r.Bytes_Received == 8 + int(data.size()), std::to_string(r.Bytes_Received));
}

struct Case {
    const char* name;
    void (*run)();
};

const Case Cases[] = {
    {"process: a child that exits with a code", Child_Exits_With_Code},
    {"process: a child that exits with 259 (STILL_ACTIVE), hidden", Child_Exits_With_259},
    {"process: a child that signals the event", Child_Signals_Event},
    {"process: a child that outlives a shortened limit", Child_Outlives_Limit},
    {"process: the tick counter wraps during the wait", Tick_Counter_Wraps},
    {"process: a program that does not exist", Program_Missing},
    {"process: arguments with blanks, quotes, backslashes and other letters", Arguments_Arrive_Unchanged},
    {"tick: the system tick count runs", Tick_Count_Runs},
    {"event: signal, wait, auto-reset, reset", Named_Event_Auto_Resets},
    {"file: written, then replaced", Replace_Writes_And_Replaces},
    {"file: a read-only old file is kept", Replace_Keeps_Read_Only_File},
    {"file: a folder in the file's place is kept", Replace_Keeps_Folder_In_Place},
    {"file: a symbolic link in the file's place is refused", Replace_Refuses_Link},
    {"file: a name with non-ASCII letters", Non_Ascii_File_Name},
    {"file: reads refuse a folder, a device, a missing and a large file", Read_Refusals},
    {"echo: a name is refused without a lookup", Echo_Refuses_Names},
    {"echo: 127.0.0.1 answers", Echo_Loopback},
};

fs::path Fresh_Folder(const fs::path& root, int index)
{
    const fs::path folder = root / (L"case" + std::to_wstring(index));
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directories(folder);
    return folder;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    wchar_t self[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, self, DWORD(std::size(self)));
    Child_Program = fs::path(std::wstring(self, n)).replace_filename(L"os_test_child.exe");
    wchar_t temp[MAX_PATH + 1];
    const fs::path root = fs::path(std::wstring(temp, GetTempPathW(MAX_PATH + 1, temp)))
        / (L"lw_os_test_" + std::to_wstring(GetCurrentProcessId()));
    const std::wstring only = argc > 1 ? argv[1] : L"";

    int passed = 0, failed = 0, skipped = 0, index = 0;
    for (const Case& c : Cases) {
        ++index;
        if (!only.empty() && std::wstring(c.name, c.name + std::strlen(c.name)).find(only) == std::wstring::npos)
            continue;
        Folder = Fresh_Folder(root, index);
        try {
            c.run();
            ++passed;
            std::printf("PASS  %s\n", c.name);
        } catch (const Skip& s) {
            ++skipped;
            std::printf("SKIP  %s: %s\n", c.name, s.reason.c_str());
        } catch (const Failure& f) {
            ++failed;
            std::printf("FAIL  %s: %s\n", c.name, f.reason.c_str());
        } catch (const std::exception& e) {
            ++failed;
            std::printf("FAIL  %s: exception %s\n", c.name, e.what());
        }
        std::fflush(stdout);
    }
    std::error_code ec;
    fs::remove_all(root, ec);
    if (skipped)
        std::printf("%d skipped (reasons above)\n", skipped);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}
