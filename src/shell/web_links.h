#pragma once
// Addresses on the maker's web site.

#include <QString>
#include <QUrl>

namespace lw {

// Host of the maker's web site.
inline constexpr char Maker_Host[] = "www.veltrona.example";

// The web address shown in the main window and the about box.
QString Maker_Web_Address();

// The maker's home page: HTTP, /HOME/default.asp, frompg=KQ4315.
QUrl Home_Page_Url();

// The page where a newer configurator can be downloaded.
QUrl Default_Download_Page_Url();

} // namespace lw
