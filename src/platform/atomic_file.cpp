#include "platform/atomic_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

namespace lw {

namespace {

QString Failure(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot write %1: %2").arg(path, reason);
}

// Asks the system to put the written bytes on the disk. Some file systems
// (network shares, quotas) report a full disk only here. Empty text on success.
QString Sync(QSaveFile& file)
{
#if defined(Q_OS_UNIX)
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS)
        return QString::fromLocal8Bit(strerror(errno));
#else
    Q_UNUSED(file);
#endif
    return {};
}

// Why the file cannot be opened for writing, in the system's words where it
// has them ("Read-only file system", "Permission denied"), else Qt's text.
QString Open_Reason(const QString& path, const QSaveFile& file)
{
#if defined(Q_OS_UNIX)
    const QFileInfo info(path);
    const QString probe = info.exists() ? path : info.absolutePath();
    if (::access(QFile::encodeName(probe).constData(), W_OK) != 0)
        return QString::fromLocal8Bit(strerror(errno));
#endif
    return file.errorString();
}

} // namespace

QString Write_File_Atomic(const QString& path, const QByteArray& data)
{
    const QFileInfo info(path);
    if (info.isDir())
        return Failure(path, QStringLiteral("it is a folder"));
    // A pipe or a device (a symbolic link to one included) would be replaced
    // by a plain file: /dev/null given as the output would be gone.
    if (info.exists() && !info.isFile())
        return Failure(path, QStringLiteral("it is not a plain file"));
    QSaveFile file(path);
    // Unbuffered, so that a full disk or a file-size limit fails the write
    // below. Through Qt's write buffer a small file was only written by
    // commit(), which then ignored the failure and put the empty or short
    // temporary file in place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Failure(path, Open_Reason(path, file));
    // A write may take only part of the data (a size limit reached halfway):
    // writing on until it fails gives the system's reason.
    qint64 done = 0;
    while (done < data.size()) {
        const qint64 n = file.write(data.constData() + done, data.size() - done);
        if (n <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return Failure(path, reason);
        }
        done += n;
    }
    if (const QString reason = Sync(file); !reason.isEmpty()) {
        file.cancelWriting();
        return Failure(path, reason);
    }
    if (!file.commit())
        return Failure(path, file.errorString());
    return {};
}

bool Read_File(const QString& path, QByteArray& data, QString& error, qint64 maxBytes)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        error = QStringLiteral("Cannot read %1: it is a folder").arg(path);
        return false;
    }
    // A pipe or a device would block or never end: only plain files are read.
    if (info.exists() && !info.isFile()) {
        error = QStringLiteral("Cannot read %1: it is not a plain file").arg(path);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > maxBytes) {
        error = QStringLiteral("Cannot read %1: the file is larger than %2 bytes").arg(path).arg(maxBytes);
        return false;
    }
    // Plain files only reach here, so their size is known: read that much, no
    // more (a buffer of maxBytes would be reserved up front otherwise).
    data = file.read(qMin(file.size(), maxBytes) + 1);
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    if (data.size() > maxBytes) {
        error = QStringLiteral("Cannot read %1: the file is larger than %2 bytes").arg(path).arg(maxBytes);
        return false;
    }
    return true;
}

} // namespace lw
