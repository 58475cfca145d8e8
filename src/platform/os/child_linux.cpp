// Linux: posix_spawn of the file itself (no PATH search, no shell), end
// detected with waitpid(WNOHANG). A program still running when its
// Child is destroyed is handed to a detached thread that blocks in
// waitpid for exactly that pid: the zombie is collected as soon as the program
// ends, without a SIGCHLD handler that could steal other children's statuses.
// If this process ends first, the orphan is re-parented and reaped by init.
// Window visibility cannot be imposed on another program here, so hidden is
// not used.

#include "platform/os/process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace lw::os {

namespace {

class Linux_Child final : public Child {
public:
    explicit Linux_Child(pid_t pid) : m_pid(pid) {}

    ~Linux_Child() override
    {
        if (m_ended)
            return;
        const pid_t pid = m_pid;
        std::thread([pid] {
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    }

    std::int64_t Pid() const override { return m_pid; }

    bool Has_Ended() override
    {
        if (m_ended)
            return true;
        int status = 0;
        pid_t r;
        do {
            r = waitpid(m_pid, &status, WNOHANG);
        } while (r < 0 && errno == EINTR);
        if (r == 0)
            return false;
        m_ended = true;
        if (r < 0) {
            // Collected elsewhere (for instance SIGCHLD set to SIG_IGN): it has ended, how is unknown.
            m_exit = {Process_Exit::Unknown, 0};
        } else if (WIFEXITED(status)) {
            m_exit = {Process_Exit::Exited, WEXITSTATUS(status)};
        } else if (WIFSIGNALED(status)) {
            m_exit = {Process_Exit::Signalled, WTERMSIG(status)};
        } else {
            m_exit = {Process_Exit::Unknown, 0};
        }
        return true;
    }

    Process_Exit Exit() const override { return m_exit; }

private:
    pid_t m_pid;
    bool m_ended = false;
    Process_Exit m_exit;
};

} // namespace

std::unique_ptr<Child> Child::Start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                                   bool, std::string& error)
{
    if (program.empty()) {
        error = "no program given";
        return nullptr;
    }
    std::vector<std::string> storage;
    storage.push_back(program.native());
    storage.insert(storage.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& s : storage)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t mask;
    sigemptyset(&mask);
    posix_spawnattr_setsigmask(&attr, &mask);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], nullptr, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) {
        error = "cannot start " + program.native() + ": " + std::strerror(rc);
        return nullptr;
    }
    return std::make_unique<Linux_Child>(pid);
}

} // namespace lw::os
