#pragma once
// A main window started in a temporary program folder, with recording seams
// and scripted message boxes.

#include "common/scripted_messages.h"
#include "shell/main_window.h"
#include "shell/shell_test_kit.h"

#include <QTemporaryDir>
#include <memory>

namespace lw::test {

struct Main_Window_Fixture {
    QTemporaryDir dir;
    Seam_Record record;
    ScriptedMessages messages;
    ProgramState state;
    std::unique_ptr<TFLoomwrightFirmWare> window;

    QString App() const { return dir.path(); }
    QString Projects() const { return Join_Path(dir.path(), QStringLiteral("PROJECTS")); }

    void Start(int firstMs = 60000, int laterMs = 7200000)
    {
        window.reset();
        state = ProgramState();
        window = std::make_unique<TFLoomwrightFirmWare>(state, messages, dir.path(), Test_Seams(record, firstMs, laterMs));
        window->show();
    }

    template <class T>
    T* Find(const char* name) const
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
};

} // namespace lw::test
