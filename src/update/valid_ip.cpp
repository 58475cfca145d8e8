#include "update/valid_ip.h"

#include "base/text_rules.h"

namespace lw {

namespace {

// Cuts s at its first point: the part before it goes to part, s keeps the rest.
bool Take_Part(QString& s, QString& part)
{
    const qsizetype dot = s.indexOf(u'.');
    if (dot < 0)
        return false;
    part = Strip(QStringView(s).left(dot));
    s = Strip(QStringView(s).mid(dot + 1));
    return true;
}

bool Is_Octet(const QString& text)
{
    const int value = Read_Integer_Or(text, 1000);
    return value >= 0 && value <= 255;
}

} // namespace

bool Valid_IP(const QString& IP, QString& ip1, QString& ip2, QString& ip3, QString& ip4)
{
    QString s = Strip(IP);
    if (!Take_Part(s, ip1))
        return false;
    if (!Take_Part(s, ip2))
        return false;
    if (!Take_Part(s, ip3))
        return false;
    ip4 = s;
    return Is_Octet(ip1) && Is_Octet(ip2) && Is_Octet(ip3) && Is_Octet(ip4);
}

} // namespace lw
