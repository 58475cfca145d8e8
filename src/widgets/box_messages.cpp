#include "widgets/box_messages.h"

#include <QApplication>
#include <QMessageBox>

namespace lw {

namespace {
QWidget* Owner(QWidget* fallback)
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return fallback;
}
} // namespace

void BoxMessages::Error(const QString& text)
{
    QMessageBox::critical(Owner(m_parent), QApplication::applicationDisplayName(), text, QMessageBox::Ok);
}

bool BoxMessages::Question(const QString& text)
{
    return QMessageBox::question(Owner(m_parent), QApplication::applicationDisplayName(), text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

} // namespace lw
