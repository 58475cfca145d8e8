#pragma once
// Whole-file writes: the new content replaces the old file in one step, or the
// old file stays exactly as it was and the reason is returned.

#include <QByteArray>
#include <QString>

namespace lw {

// Writes data to path through a temporary file that replaces the target only
// when everything was written. A folder, a pipe, a device or a symbolic link
// (dangling ones included) at path is refused and nothing is written.
// Returns an empty text on success, otherwise a message naming the path and
// the reason.
QString Write_File_Atomic(const QString& path, const QByteArray& data);

// Reads a whole file of at most maxBytes bytes. Returns false with a message
// naming the path and the reason when it cannot be read.
bool Read_File(const QString& path, QByteArray& data, QString& error, qint64 maxBytes = qint64(1) << 30);

} // namespace lw
