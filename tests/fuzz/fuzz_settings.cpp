// The settings file Loomwright.xml: any bytes read into values or defaults;
// the values read, saved and read again are the same; and texts of any
// characters a value can hold (a NUL never: it ends no folder or typed name)
// come back from a save unchanged.
#include "shell/settings_file.h"

#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "fuzz_files.h"

namespace {

struct Settings {
    QString project, ip, language;
    bool internet = false, update = false;
    bool operator==(const Settings&) const = default;
};

Settings Of(const lw::ProgramState& s)
{
    return {s.Name_Project, s.Last_IP, s.Language_Name, s.Enable_Internet, s.Enable_Update};
}

Settings Save_And_Read(const lw::ProgramState& state)
{
    if (!lw::Save_Setting(state).isEmpty())
        std::abort();
    lw::ProgramState again;
    again.Dir_App = state.Dir_App;
    lw::Read_Setting(again);
    return Of(again);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    lw::ProgramState state;
    state.Dir_App = dir.path();
    lw::fuzz::Write(lw::Settings_Path(state), data, size);
    lw::Read_Setting(state);
    if (!(Save_And_Read(state) == Of(state)))
        std::abort();

    // The input as three texts separated by 0x1F bytes, and two flags.
    QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    text.remove(QChar(u'\0'));
    const QStringList parts = text.split(QChar(0x1F));
    state.Name_Project = parts.value(0);
    state.Last_IP = parts.value(1);
    state.Language_Name = parts.value(2);
    state.Enable_Internet = size > 0 && (data[0] & 1);
    state.Enable_Update = size > 0 && (data[0] & 2);
    if (!(Save_And_Read(state) == Of(state)))
        std::abort();
    return 0;
}
