#pragma once
// ParGen.xml: the converter's communication settings, sixteen elements below
// the root Par_Gen, each holding its text as typed.

#include <QString>
#include <QStringList>

namespace lw {

struct ParGen_Values {
    int KNX_TYPE = 0;                                    // 0 "KNX TP", 1 "KNXnet/IP"
    QString KNX_ID_DEV = QStringLiteral("1.1.200");
    QString PROFINET_IP1 = QStringLiteral("192");
    QString PROFINET_IP2 = QStringLiteral("168");
    QString PROFINET_IP3 = QStringLiteral("0");
    QString PROFINET_IP4 = QStringLiteral("5");
    QString PROFINET_SM1 = QStringLiteral("255");
    QString PROFINET_SM2 = QStringLiteral("255");
    QString PROFINET_SM3 = QStringLiteral("255");
    QString PROFINET_SM4 = QStringLiteral("0");
    QString PROFINET_GAT1 = QStringLiteral("192");
    QString PROFINET_GAT2 = QStringLiteral("168");
    QString PROFINET_GAT3 = QStringLiteral("0");
    QString PROFINET_GAT4 = QStringLiteral("1");
    bool PROFINET_EN_GAT = false;                        // the gateway is in use
    QString PROFINET_NAME_STA = QStringLiteral("devicename1");

    bool operator==(const ParGen_Values&) const = default;
};

// Largest settings file the dialog, the check and the compile load. A real
// file is below 1 KB; the limit keeps the peak memory of a reader below
// 256 MB for a file of the worst shape (elements of four bytes).
inline constexpr qint64 ParGen_File_Limit = qint64(4) << 20;

// The fixed items of the dialog's KNX type list.
inline const QStringList KNX_Type_Items = {QStringLiteral("KNX TP"), QStringLiteral("KNXnet/IP")};

// The list index that shows a KNX_TYPE: -1 (no selection) when the value is
// outside the list. Read back, the selected index (-1 for none) is KNX_TYPE.
inline int KNX_Type_Selection(int knxType)
{
    return knxType >= 0 && knxType < KNX_Type_Items.size() ? knxType : -1;
}

// Sets values to the defaults and fills in every element the file holds. A
// missing file is no error. Returns an empty text, or the reason when an
// existing file cannot be loaded as XML (values then hold the defaults).
// A file whose first node is not an element (a declaration or a comment
// first) reads as defaults; notRooted, when given, tells whether that happened.
QString Load_ParGen(const QString& path, ParGen_Values& values, bool* notRooted = nullptr);

// The warning for a settings file that read as defaults because its first
// node is not its root element.
QString ParGen_Not_Rooted_Warning(const QString& path);

// Writes the whole file anew. Returns an empty text on success, else the
// reason (the old file then stays as it was).
QString Save_ParGen(const ParGen_Values& values, const QString& path);

} // namespace lw
