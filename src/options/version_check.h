#pragma once
// The query for the current version of this program on the maker's web
// server, and the comparison with our own version.

#include "base/product.h"

#include <QString>
#include <QUrl>

namespace lw {

inline constexpr int Version_Query_Timeout_Ms = 30000;
inline constexpr qint64 Version_Reply_Max_Bytes = 4096;
// The status line and the header fields together; a longer head is a failure.
inline constexpr qint64 Version_Reply_Max_Header_Bytes = 16384;
inline const QString No_Update_Sentinel = QStringLiteral("VER. 0.000");

struct Version_Query_Settings {
    QUrl Base = QUrl(QStringLiteral("http://") + Maker_Web_Host); // scheme, host and port
    int Timeout_Ms = Version_Query_Timeout_Ms;                      // for the whole request
    qint64 Max_Bytes = Version_Reply_Max_Bytes;                     // a longer body is a failure
};

struct Version_Query_Result {
    QString Reply;    // the body as text; empty on any failure
    QString Failure;  // empty on success, else why the reply is empty
};

// The address asked: Base + "/home/download/GetversionSW.asp?nomesw=KQ4315".
QUrl Version_Query_Url(const Version_Query_Settings& settings = {});

// One HTTP/1.1 GET without cookies, proxy, credentials or redirects; only
// http addresses. The whole request ends within Timeout_Ms; the head of the
// reply may hold Version_Reply_Max_Header_Bytes, its body Max_Bytes. Blocks
// the caller; a running event loop keeps repainting windows but takes no user input.
Version_Query_Result Version_Query(const Version_Query_Settings& settings = {});

// "VER. 1.002" or "1.002" gives 1002; -1 for a text that is not a version.
int Conv_Version(const QString& Ver_str);

// True when the server names a version newer than ours. Any failure gives false.
bool Check_Version(const Version_Query_Settings& settings = {});
// The decision on a reply already received.
bool Is_Newer_Version_Reply(const QString& reply);

// Base + "/Home/download/download.asp#KG4315".
QString Download_Page_Link(const Version_Query_Settings& settings = {});

} // namespace lw
