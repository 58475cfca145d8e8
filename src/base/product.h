#pragma once
// The product's identity: its title, code, description, version and the
// maker's web host, in one place for the windows, the files and the CLI.

#include <QString>

namespace lw {

inline constexpr char SW_Version[] = "1.002";

inline const QString Product_Title = QStringLiteral("Veltrona - Configurator KQ4315 - SNMP / KNX ");
inline const QString Product_Code = QStringLiteral("KQ4315");
inline const QString Product_Description = QStringLiteral("SNMP / KNX - Converter");

// The maker's web host. No real server is known, so the name lies in the
// reserved .example domain and no stranger's server can ever be reached.
inline const QString Maker_Web_Host = QStringLiteral("www.veltrona.example");

} // namespace lw
