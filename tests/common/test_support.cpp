#include "common/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace lw::test {

void Write_Bytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray Read_Bytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString Bin_Dir() { return QStringLiteral(LW_BIN_DIR); }
QString Data_Dir() { return QStringLiteral(LW_TEST_DATA_DIR); }

} // namespace lw::test
