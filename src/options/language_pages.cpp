#include "options/language_pages.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace lw {

QStringList Create_Lang_List(const QString& dirLanguage)
{
    QStringList names;
    const QFileInfoList entries = QDir(dirLanguage).entryInfoList(
        QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    for (const QFileInfo& info : entries) {
        // A symbolic link is the counterpart of a reparse point: skipped.
        if (info.isSymLink() || !info.isFile())
            continue;
        if (info.fileName().endsWith(QLatin1String(".lng"), Qt::CaseSensitive))
            names.append(info.fileName());
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
    return names;
}

int Lang_Page_Count(int files)
{
    return (files + Languages_Per_Page - 1) / Languages_Per_Page;
}

int Lang_Slots_On_Page(int files, int page)
{
    return std::clamp(files - (page - 1) * Languages_Per_Page, 0, Languages_Per_Page);
}

QString Lang_Slot_Name(const QStringList& files, int page, int slot)
{
    const int at = (page - 1) * Languages_Per_Page + slot - 1;
    if (at < 0 || at >= files.size())
        return {};
    return files[at].chopped(4);
}

QString Lang_Page_Line(const ProgramState& state, int page, int count)
{
    return state.Text(43) + QString::number(page) + state.Text(44) + QString::number(count);
}

QString Flag_Picture_Path(const QString& dirLanguage, const QString& name)
{
    const QString own = Join_Path(dirLanguage, name + QStringLiteral(".bmp"));
    if (QFileInfo(own).isFile())
        return own;
    const QString fallback = Join_Path(dirLanguage, QStringLiteral("DefaultFlag.bmp"));
    if (QFileInfo(fallback).isFile())
        return fallback;
    return {};
}

QString Language_Question(const ProgramState& state, const QString& from, const QString& to)
{
    return state.Text(54) + from + state.Text(55) + to + state.Text(56);
}

} // namespace lw
