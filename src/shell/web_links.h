#pragma once
// Addresses on the maker's web site.

#include "base/product.h"

#include <QString>
#include <QUrl>

namespace lw {

// The web address shown in the main window and the about box.
QString Maker_Web_Address();

// The maker's home page: HTTP, /HOME/default.asp, frompg=KQ4315.
QUrl Home_Page_Url();

} // namespace lw
