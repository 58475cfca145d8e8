#pragma once
// Conversions between the program's texts (QString) and those of the Qt-free
// system layer in os/: paths in the system's own form (bytes of the local
// encoding on Linux, UTF-16 on Windows), other texts as UTF-8.

#include <QString>
#include <filesystem>
#include <string>

namespace lw {

std::filesystem::path Native_Path(const QString& path);
// A program argument as the system layer passes it on.
std::string Native_Argument(const QString& argument);
QString From_Native(const std::string& text);
std::string To_Native(const QString& text);

} // namespace lw
