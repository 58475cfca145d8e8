#pragma once
// The stand-in updater's check of the job file NetLoader.xml in its folder:
// every element against the values the configurator writes, and the files the
// operations name.

#include <QString>
#include <QStringList>

namespace netloader {

inline constexpr int Image_Size = 22528;
inline constexpr int Param_Block_Offset = 0x5000;
inline constexpr int Checksum_Offset = 0x57FC;

enum Verdict_Code { Job_Sound = 0, Job_Faulty = 1, Job_Unreadable = 2 };

struct Job_Verdict {
    int Code = Job_Unreadable;
    QStringList Report;    // what the job asks for, one line each
    QStringList Problems;  // everything that makes the job unsound
};

// Checks folder/NetLoader.xml and the files it names.
Job_Verdict Check_Job(const QString& folder);

// The verdict as the lines printed and shown.
QString Verdict_Text(const QString& folder, const Job_Verdict& verdict);

// Unsigned 32-bit sum of the bytes at offsets 0x5000 to 0x57FB.
quint32 Block_Sum(const QByteArray& image);

} // namespace netloader
