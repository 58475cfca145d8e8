// Qt adapters of the whole-file read and atomic replace in os/file.h.

#include "platform/atomic_file.h"

#include "platform/native_text.h"
#include "platform/os/file.h"

namespace lw {

QString Write_File_Atomic(const QString& path, const QByteArray& data)
{
    if (path.isEmpty())
        return QStringLiteral("Cannot write: no file name given");
    const std::string reason =
        os::Replace_File(Native_Path(path), std::string_view(data.constData(), size_t(data.size())));
    if (reason.empty())
        return {};
    return QStringLiteral("Cannot write %1: %2").arg(path, From_Native(reason));
}

bool Read_File(const QString& path, QByteArray& data, QString& error, qint64 maxBytes)
{
    if (path.isEmpty()) {
        error = QStringLiteral("Cannot read: no file name given");
        return false;
    }
    const std::string reason = os::Read_File(Native_Path(path), std::uint64_t(qMax<qint64>(maxBytes, 0)),
                                             [&data](std::size_t n) {
                                                 data.resize(qsizetype(n));
                                                 return data.data();
                                             });
    if (reason.empty())
        return true;
    data.clear();
    error = QStringLiteral("Cannot read %1: %2").arg(path, From_Native(reason));
    return false;
}

} // namespace lw
