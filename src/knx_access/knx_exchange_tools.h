#pragma once
// The KNX Access dialog's exchange tools: group addresses from an export of
// the KNX engineering tool (through the preview), and the whole table to and
// from CSV. They work on the dialog's grid; nothing is saved until its OK.

#include "base/program_state.h"

#include <QObject>
#include <functional>

class QAction;
class QMenu;

namespace lw {

class Messages;
class TFGAPreview;
class TFKNXAccess;

// Language entries of the tools.
enum : int {
    Lang_Tools = 2300,
    Lang_Tools_Import_GA = 2301,
    Lang_Tools_Import_Csv = 2302,
    Lang_Tools_Export_Csv = 2303,
    Lang_Tools_Csv_Filter = 2334,
    Lang_Tools_GA_Filter = 2335,
    Lang_Tools_GA_Step = 2338,
    Lang_Tools_Csv_Step = 2340,
};

// What the tools need from outside the dialog; the main window fills them,
// tests script them.
struct Exchange_Seams {
    // The converter's own address, the source of imported rows.
    std::function<QString()> Own_Address;
    // A file to read / to write, chosen by the user; empty when cancelled.
    std::function<QString(const QString& caption, const QString& filter)> Open_File;
    std::function<QString(const QString& caption, const QString& filter)> Save_File;
    // Shows the preview; true when the user chose Import.
    std::function<bool(TFGAPreview& preview)> Run_Preview;
};

class KNX_Exchange_Tools : public QObject {
    Q_OBJECT
public:
    // Adds the three actions to menu.
    KNX_Exchange_Tools(TFKNXAccess& dialog, QMenu* menu, ProgramState& state, Messages& messages);

    void Set_Lang();
    void Import_GA();
    void Import_Csv();
    void Export_Csv();

    Exchange_Seams Seams;
    QAction* Act_Import_GA;
    QAction* Act_Import_Csv;
    QAction* Act_Export_Csv;

private:
    TFKNXAccess& m_dialog;
    ProgramState& m_state;
    Messages& m_messages;
};

} // namespace lw
