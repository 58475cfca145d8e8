#pragma once
// The one way the program shows an error box (single OK button) or asks a
// question (Yes and No). Dialogs and row operations get an instance passed in;
// the configurator shows real boxes, tests answer from a script.

#include <QString>

namespace lw {

class Messages {
public:
    virtual ~Messages() = default;
    // Modal error box with one OK button.
    virtual void Error(const QString& text) = 0;
    // Modal question with Yes and No; true for Yes.
    virtual bool Question(const QString& text) = 0;
};

} // namespace lw
