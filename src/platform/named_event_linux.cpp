// Linux: the event is a POSIX named semaphore. Its value is kept at 0 or 1:
// Signal posts only when the value is 0, a successful wait takes it back to 0.

#include "platform/named_event.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <semaphore.h>

namespace lw {

namespace {

QByteArray Semaphore_Name(const QString& name)
{
    return "/" + QFile::encodeName(name);
}

class Semaphore_Event final : public Named_Event {
public:
    explicit Semaphore_Event(sem_t* sem) : m_sem(sem) {}
    ~Semaphore_Event() override { sem_close(m_sem); }

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

    bool Wait(int ms) override
    {
        timespec deadline {};
        clock_gettime(CLOCK_MONOTONIC, &deadline);
        deadline.tv_sec += ms / 1000;
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

} // namespace

std::unique_ptr<Named_Event> Named_Event::Open(const QString& name, QString* error)
{
    if (name.isEmpty() || name.contains(u'/')) {
        if (error)
            *error = QStringLiteral("invalid event name '%1'").arg(name);
        return nullptr;
    }
    sem_t* sem = sem_open(Semaphore_Name(name).constData(), O_CREAT, 0600, 0);
    if (sem == SEM_FAILED) {
        if (error)
            *error = QStringLiteral("cannot open event '%1': %2").arg(name, QString::fromLocal8Bit(strerror(errno)));
        return nullptr;
    }
    return std::make_unique<Semaphore_Event>(sem);
}

bool Named_Event::Remove(const QString& name)
{
    return sem_unlink(Semaphore_Name(name).constData()) == 0;
}

} // namespace lw
