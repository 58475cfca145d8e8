// POSIX: the read opens with O_NONBLOCK and judges the opened descriptor with
// fstat; the replace checks the final name with lstat (a link is never
// followed), writes a temporary file created with O_EXCL | O_NOFOLLOW in the
// same folder, syncs its data once, renames it over the name and syncs the
// folder, so that after a power cut the name holds either the old or the new
// file, never an empty one.

#include "platform/os/file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lw::os {

namespace {

std::string Errno_Text(int err)
{
    return std::strerror(err);
}

// Why a node in the file's place may not be replaced; empty when it may (or
// when there is none). exists and mode tell what is there.
std::string Target_Problem(const std::string& name, bool& exists, mode_t& mode)
{
    struct stat st {};
    exists = false;
    if (::lstat(name.c_str(), &st) != 0)
        return errno == ENOENT ? std::string() : Errno_Text(errno);
    exists = true;
    mode = st.st_mode;
    if (S_ISLNK(st.st_mode))
        return std::string(Reason_Link);
    if (S_ISDIR(st.st_mode))
        return std::string(Reason_Folder);
    if (!S_ISREG(st.st_mode))
        return std::string(Reason_Not_Plain);
    return {};
}

std::string Temporary_Name(const std::filesystem::path& path)
{
    static std::atomic<unsigned> counter {0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    const unsigned long long mix = (unsigned long long)now * 2654435761u ^ (unsigned long long)::getpid() << 20
        ^ counter.fetch_add(1);
    static const char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix;
    unsigned long long v = mix;
    for (int i = 0; i < 8; ++i, v /= 36)
        suffix += digits[v % 36];
    // At most 200 characters of the name: the temporary name stays within
    // the file system's limit of 255 for a name.
    std::filesystem::path temp = path;
    temp.replace_filename("." + path.filename().native().substr(0, 200) + "." + suffix + ".tmp");
    return temp.native();
}

// Puts the folder's entries on the disk. File systems that cannot sync a
// folder (or a folder this user may not open for reading) are left as they are.
std::string Sync_Folder(const std::filesystem::path& path)
{
    std::filesystem::path folder = path.parent_path();
    if (folder.empty())
        folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string reason;
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS && errno != EBADF)
        reason = Errno_Text(errno);
    ::close(fd);
    return reason;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Fd() const { return m_fd; }
    int Close()
    {
        const int rc = m_fd >= 0 ? ::close(m_fd) : 0;
        m_fd = -1;
        return rc;
    }

private:
    int m_fd;
};

} // namespace

std::string Reason_Too_Large(std::uint64_t maxBytes)
{
    return "the file is larger than " + std::to_string(maxBytes) + " bytes";
}

std::string Replace_File(const std::filesystem::path& path, std::string_view data)
{
    const std::string name = path.native();
    if (name.empty() || !path.has_filename())
        return "no file name given";
    bool exists = false;
    mode_t mode = 0;
    if (std::string problem = Target_Problem(name, exists, mode); !problem.empty())
        return problem;

    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = Temporary_Name(path);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return Errno_Text(errno);
    }
    if (fd < 0)
        return Errno_Text(EEXIST);
    Descriptor file(fd);
    const auto fail = [&](int err) {
        file.Close();
        ::unlink(temp.c_str());
        return Errno_Text(err);
    };
    // The new file keeps the old one's permissions.
    if (exists && ::fchmod(fd, mode & 07777) != 0)
        return fail(errno);

    // A write may take only part of the data (a size limit reached halfway):
    // writing on until it fails gives the system's reason.
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : ENOSPC);
        done += std::size_t(n);
    }
    // Some file systems (network shares, quotas) report a full disk only here.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        return fail(errno);
    if (file.Close() != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return Errno_Text(err);
    }

    // The name may have changed while the data was written: check it again
    // just before the rename (which replaces a link itself, never its target).
    if (std::string problem = Target_Problem(name, exists, mode); !problem.empty()) {
        ::unlink(temp.c_str());
        return problem;
    }
    if (::rename(temp.c_str(), name.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return Errno_Text(err);
    }
    return Sync_Folder(path);
}

std::string Read_File(const std::filesystem::path& path, std::uint64_t maxBytes, const Read_Buffer& buffer)
{
    // O_NONBLOCK: opening a pipe with no writer returns at once instead of
    // waiting for one; the descriptor is then refused below.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.Fd() < 0)
        return Errno_Text(errno);
    struct stat st {};
    if (::fstat(file.Fd(), &st) != 0)
        return Errno_Text(errno);
    if (S_ISDIR(st.st_mode))
        return std::string(Reason_Folder);
    if (!S_ISREG(st.st_mode))
        return std::string(Reason_Not_Plain);
    const std::uint64_t size = std::uint64_t(st.st_size);
    if (size > maxBytes)
        return Reason_Too_Large(maxBytes);
    const int flags = ::fcntl(file.Fd(), F_GETFL);
    if (flags >= 0)
        ::fcntl(file.Fd(), F_SETFL, flags & ~O_NONBLOCK);

    // The size is known: read that much and one byte more (a file that grew
    // past the limit meanwhile is refused), never a buffer of maxBytes.
    const std::size_t want = std::size_t(size) + 1;
    char* out = buffer(want);
    std::size_t got = 0;
    while (got < want) {
        const ssize_t n = ::read(file.Fd(), out + got, want - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            buffer(0);
            return Errno_Text(err);
        }
        if (n == 0)
            break;
        got += std::size_t(n);
    }
    if (got > maxBytes) {
        buffer(0);
        return Reason_Too_Large(maxBytes);
    }
    buffer(got);
    return {};
}

} // namespace lw::os
