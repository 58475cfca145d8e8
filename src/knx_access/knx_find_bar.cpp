#include "knx_access/knx_find_bar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace lw {

KNX_Find_Bar::KNX_Find_Bar(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("KNX_Find_Bar"));
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 2, 8, 2);
    layout->setSpacing(6);
    m_label = new QLabel(this);
    E_Find = new QLineEdit(this);
    E_Find->setObjectName(QStringLiteral("E_Find"));
    E_Find->setClearButtonEnabled(true);
    E_Find->setFixedWidth(240);
    Btn_Previous = new QToolButton(this);
    Btn_Previous->setObjectName(QStringLiteral("Btn_Find_Previous"));
    Btn_Previous->setArrowType(Qt::UpArrow);
    Btn_Next = new QToolButton(this);
    Btn_Next->setObjectName(QStringLiteral("Btn_Find_Next"));
    Btn_Next->setArrowType(Qt::DownArrow);
    CB_Filter = new QCheckBox(this);
    CB_Filter->setObjectName(QStringLiteral("CB_Find_Filter"));
    L_Count = new QLabel(this);
    L_Count->setObjectName(QStringLiteral("L_Find_Count"));
    Btn_Close = new QToolButton(this);
    Btn_Close->setObjectName(QStringLiteral("Btn_Find_Close"));
    Btn_Close->setText(QStringLiteral("\u00D7"));
    Btn_Close->setAutoRaise(true);
    layout->addWidget(m_label);
    layout->addWidget(E_Find);
    layout->addWidget(Btn_Previous);
    layout->addWidget(Btn_Next);
    layout->addSpacing(8);
    layout->addWidget(CB_Filter);
    layout->addSpacing(8);
    layout->addWidget(L_Count);
    layout->addStretch(1);
    layout->addWidget(Btn_Close);
    m_label->setBuddy(E_Find);

    connect(E_Find, &QLineEdit::textChanged, this, &KNX_Find_Bar::Text_Changed);
    connect(E_Find, &QLineEdit::returnPressed, this, &KNX_Find_Bar::Next);
    connect(CB_Filter, &QCheckBox::toggled, this, &KNX_Find_Bar::Filter_Changed);
    connect(Btn_Next, &QToolButton::clicked, this, &KNX_Find_Bar::Next);
    connect(Btn_Previous, &QToolButton::clicked, this, &KNX_Find_Bar::Previous);
    connect(Btn_Close, &QToolButton::clicked, this, &KNX_Find_Bar::Closed);
}

void KNX_Find_Bar::Set_Texts(const QString& label, const QString& filter, const QString& previous, const QString& next,
                             const QString& close, const QString& noMatch, const QString& count)
{
    m_label->setText(label);
    CB_Filter->setText(filter);
    Btn_Previous->setToolTip(previous);
    Btn_Next->setToolTip(next);
    Btn_Close->setToolTip(close);
    m_noMatch = noMatch;
    m_count = count;
}

void KNX_Find_Bar::Show_Count(int count)
{
    if (E_Find->text().isEmpty()) {
        L_Count->clear();
        E_Find->setStyleSheet(QString());
        return;
    }
    L_Count->setText(count > 0 ? QString(m_count).replace(QLatin1String("%1"), QString::number(count)) : m_noMatch);
    E_Find->setStyleSheet(count > 0 ? QString() : QStringLiteral("QLineEdit { background: #ffc8c8; }"));
}

QString KNX_Find_Bar::Text() const
{
    return E_Find->text();
}

bool KNX_Find_Bar::Filter() const
{
    return CB_Filter->isChecked();
}

void KNX_Find_Bar::keyPressEvent(QKeyEvent* event)
{
    // Escape closes the bar, never the dialog behind it.
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT Closed();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace lw
