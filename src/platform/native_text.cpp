#include "platform/native_text.h"

#include <QFile>

namespace lw {

std::filesystem::path Native_Path(const QString& path)
{
#if defined(_WIN32)
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

std::string Native_Argument(const QString& argument)
{
#if defined(_WIN32)
    return argument.toStdString(); // UTF-8; the system layer makes it UTF-16
#else
    return argument.toLocal8Bit().toStdString();
#endif
}

QString From_Native(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::string To_Native(const QString& text)
{
    return text.toStdString();
}

} // namespace lw
