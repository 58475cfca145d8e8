// Linux: the event is a POSIX named semaphore, kept at the value 0 or 1:
// Signal posts only when the value is 0, a successful wait takes it back to 0.
//
// The semaphore is a file in /dev/shm, a folder every user may write to.
// sem_open() maps whatever file has the name, so an empty file planted by
// another user would end this program with SIGBUS at the first wait, and a
// foreign semaphore posted in a loop would turn every wait into a busy spin.
// The file is therefore opened here without following links, judged on the
// opened descriptor (a plain file of this user, writable by no one else, of
// exactly the size of a semaphore) and only then mapped; a new one is made
// whole in a temporary file and linked into place, as sem_open() does, so
// that no other process sees it half made. The layout is the C library's own,
// so other processes may still use sem_open() on the same name.

#include "platform/os/process.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <semaphore.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lw::os {

namespace {

constexpr char Shm_Folder[] = "/dev/shm/";

std::string Semaphore_File(const std::string& name)
{
    return std::string(Shm_Folder) + "sem." + name;
}

class Semaphore_Event final : public Named_Event {
public:
    explicit Semaphore_Event(sem_t* sem) : m_sem(sem) {}
    ~Semaphore_Event() override { ::munmap(m_sem, sizeof(sem_t)); }

    void Signal() override
    {
        int value = 0;
        if (sem_getvalue(m_sem, &value) == 0 && value > 0)
            return;
        sem_post(m_sem);
    }

    void Reset() override
    {
        while (sem_trywait(m_sem) == 0) {
        }
    }

    bool Wait(std::chrono::milliseconds wait) override
    {
        const long long ms = wait.count() < 0 ? 0 : wait.count();
        timespec deadline {};
        clock_gettime(CLOCK_MONOTONIC, &deadline);
        deadline.tv_sec += time_t(ms / 1000);
        deadline.tv_nsec += long(ms % 1000) * 1000000L;
        if (deadline.tv_nsec >= 1000000000L) {
            deadline.tv_sec += 1;
            deadline.tv_nsec -= 1000000000L;
        }
        while (true) {
            if (sem_clockwait(m_sem, CLOCK_MONOTONIC, &deadline) == 0) {
                Reset();
                return true;
            }
            if (errno != EINTR)
                return false;
        }
    }

private:
    sem_t* m_sem;
};

// Why the opened file is not this user's own semaphore; empty when it is.
std::string Foreign_Reason(int fd, const std::string& file)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return file + ": " + std::strerror(errno);
    if (!S_ISREG(st.st_mode))
        return file + " is not a plain file";
    if (st.st_uid != ::geteuid())
        return file + " belongs to user " + std::to_string(st.st_uid) + ", not to this user ("
            + std::to_string(::geteuid()) + ")";
    if (st.st_mode & (S_IWGRP | S_IWOTH))
        return file + " may be written by other users";
    if (st.st_size != off_t(sizeof(sem_t)))
        return file + " has " + std::to_string(st.st_size) + " bytes, not the " + std::to_string(sizeof(sem_t))
            + " of a semaphore";
    return {};
}

// Makes a semaphore of value 0 under the name; false with errno when the
// name was taken meanwhile (EEXIST) or the folder refuses.
bool Create_Semaphore(const std::string& file)
{
    std::string temp = std::string(Shm_Folder) + "sem.lw.XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC); // mode 0600
    if (fd < 0)
        return false;
    sem_t initial;
    std::memset(&initial, 0, sizeof initial);
    bool ok = sem_init(&initial, 1, 0) == 0;
    const char* p = reinterpret_cast<const char*>(&initial);
    size_t done = 0;
    while (ok && done < sizeof initial) {
        const ssize_t n = ::write(fd, p + done, sizeof initial - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += size_t(n);
    }
    int err = errno;
    ::close(fd);
    if (ok) {
        ok = ::link(temp.c_str(), file.c_str()) == 0;
        err = errno;
    }
    ::unlink(temp.c_str());
    errno = err;
    return ok;
}

} // namespace

std::unique_ptr<Named_Event> Named_Event::Open(const std::string& name, std::string* error)
{
    const auto fail = [error](const std::string& reason) -> std::unique_ptr<Named_Event> {
        if (error)
            *error = reason;
        return nullptr;
    };
    if (name.empty() || name.find('/') != std::string::npos || name.size() > NAME_MAX - 4)
        return fail("invalid event name '" + name + "'");
    const std::string file = Semaphore_File(name);

    // Another process may make or remove the name between the steps: a few rounds settle it.
    for (int round = 0; round < 5; ++round) {
        const int fd = ::open(file.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) {
            if (errno == ELOOP)
                return fail("event '" + name + "' refused: " + file + " is a symbolic link");
            if (errno != ENOENT)
                return fail("cannot open event '" + name + "' (" + file + "): " + std::strerror(errno));
            if (!Create_Semaphore(file) && errno != EEXIST)
                return fail("cannot make event '" + name + "' (" + file + "): " + std::strerror(errno));
            continue;
        }
        if (const std::string reason = Foreign_Reason(fd, file); !reason.empty()) {
            ::close(fd);
            return fail("event '" + name + "' refused: " + reason);
        }
        void* map = ::mmap(nullptr, sizeof(sem_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        const int err = errno;
        ::close(fd);
        if (map == MAP_FAILED)
            return fail("cannot map event '" + name + "' (" + file + "): " + std::strerror(err));
        return std::make_unique<Semaphore_Event>(static_cast<sem_t*>(map));
    }
    return fail("cannot open event '" + name + "': the name keeps changing");
}

bool Named_Event::Remove(const std::string& name)
{
    return sem_unlink(("/" + name).c_str()) == 0;
}

} // namespace lw::os
