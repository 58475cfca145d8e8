#pragma once
// Small helpers shared by the tests.

#include <QByteArray>
#include <QString>

namespace lw::test {

// Writes bytes to path, creating missing folders; fails the test on error.
void Write_Bytes(const QString& path, const QByteArray& bytes);
QByteArray Read_Bytes(const QString& path);

// Folder of the built executables (Loomwright, loomwright-cli, NetLoader.exe).
QString Bin_Dir();
// Folder of the checked-in test data.
QString Data_Dir();

} // namespace lw::test
