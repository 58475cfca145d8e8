#include "platform/atomic_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace lw {

QString Write_File_Atomic(const QString& path, const QByteArray& data)
{
    if (QFileInfo(path).isDir())
        return QStringLiteral("Cannot write %1: it is a folder").arg(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
    if (file.write(data) != data.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return QStringLiteral("Cannot write %1: %2").arg(path, reason);
    }
    if (!file.commit())
        return QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
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
