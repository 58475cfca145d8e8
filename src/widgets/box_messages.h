#pragma once
// Real message boxes for the configurator.

#include "base/messages.h"

class QWidget;

namespace lw {

class BoxMessages : public Messages {
public:
    // Boxes are shown over the active modal dialog, or over parent.
    explicit BoxMessages(QWidget* parent = nullptr) : m_parent(parent) {}
    void Error(const QString& text) override;
    bool Question(const QString& text) override;

private:
    QWidget* m_parent;
};

} // namespace lw
