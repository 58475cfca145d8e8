#include "widgets/dialog_registry.h"

#include <QDialog>

namespace lw {

void Dialog_Registry::Add(QDialog* dialog, Lang_Target* lang)
{
    m_entries.append({dialog, lang});
}

void Dialog_Registry::Set_Lang_All() const
{
    for (const Entry& e : m_entries) {
        if (e.lang)
            e.lang->Set_Lang();
    }
}

QStringList Dialog_Registry::Creation_Order() const
{
    QStringList names;
    for (const Entry& e : m_entries)
        names.append(e.dialog->objectName());
    return names;
}

QStringList Dialog_Registry::Lang_Order() const
{
    QStringList names;
    for (const Entry& e : m_entries) {
        if (e.lang)
            names.append(e.dialog->objectName());
    }
    return names;
}

} // namespace lw
