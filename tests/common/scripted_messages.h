#pragma once
// Message boxes answered by the test: every box shown is recorded, questions
// take the next scripted answer (No when none is left).

#include "base/messages.h"

#include <QList>
#include <QStringList>

namespace lw::test {

class ScriptedMessages : public Messages {
public:
    void Error(const QString& text) override { errors.append(text); shown.append(text); }
    bool Question(const QString& text) override
    {
        questions.append(text);
        shown.append(text);
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    void Reset() { errors.clear(); questions.clear(); shown.clear(); answers.clear(); }

    QStringList errors;
    QStringList questions;
    QStringList shown;       // every box in the order shown
    QList<bool> answers;     // next answers to questions, Yes = true
};

} // namespace lw::test
