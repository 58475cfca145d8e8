// The user actions on the configurator's windows, each timed from the click
// (or the call) until the window has been painted again: start-up, language
// load and switch, the Set Communication dialog and the KNX Access dialog.

#include "bench_parts.h"

#include "comm_settings/pargen_dialog.h"
#include "knx_access/knx_access_dialog.h"
#include "knx_access/knx_check.h"
#include "knx_access/knx_clipboard.h"
#include "knx_access/knx_find_bar.h"
#include "knx_access/knx_marking.h"
#include "knx_access/knx_table_model.h"
#include "lang/language_file.h"
#include "shell/main_window.h"
#include "widgets/flat_button.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QUndoStack>
#include <QTableView>

#include <cstdio>
#include <memory>

namespace lw::bench {

namespace {

// Counts the paint events of a widget, to make sure a timed action painted.
class Paint_Counter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

bool Fail(const char* why)
{
    std::fprintf(stderr, "benchmark set-up failed: %s\n", why);
    return false;
}

void Settle()
{
    QCoreApplication::processEvents();
}

// The timed actions, each kept out of line so that a profiler can single it
// out (callgrind --toggle-collect=<name>).
#define LW_BENCH_ACTION [[gnu::noipa, gnu::optimize("no-optimize-sibling-calls")]]

// The same start as the program's main(): the window with every dialog, shown;
// the event loop would start next.
LW_BENCH_ACTION std::unique_ptr<TFLoomwrightFirmWare> Start_Up(ProgramState& state, Messages& messages,
                                                                const QString& dirApp)
{
    auto window = std::make_unique<TFLoomwrightFirmWare>(state, messages, dirApp, Offline_Seams());
    window->show();
    return window;
}

LW_BENCH_ACTION void Switch_Language(ProgramState& state, TFLoomwrightFirmWare& window)
{
    Load_Language(state);
    window.Change_Language();
    Settle();
}

// Open() without the modal loop: FormShow, then shown and painted.
LW_BENCH_ACTION void ParGen_Open(TFParGen& dialog)
{
    dialog.FormShow();
    dialog.show();
    Settle();
}

LW_BENCH_ACTION void ParGen_OK(TFParGen& dialog)
{
    dialog.Btn_OK->click();
    Settle();
}

Series Startup(const Bench_Options& options)
{
    // Warm: fonts, pictures and the style are already loaded by the rounds
    // before. The window is closed and destroyed outside the timing.
    Series series;
    for (int i = 0; i <= options.rounds; ++i) {
        ProgramState state;
        Bench_Messages messages;
        Stopwatch watch;
        std::unique_ptr<TFLoomwrightFirmWare> window = Start_Up(state, messages, options.dirApp);
        if (i > 0)
            series.Add(watch);
        window.reset();
        Settle();
    }
    return series;
}

bool Language(const Bench_Options& options, ProgramState& state, TFLoomwrightFirmWare& window,
              std::vector<Figure>& figures)
{
    int round = 0;
    const auto next = [&] {
        state.Language_Name = ++round % 2 ? QStringLiteral("Bench_B") : QStringLiteral("Bench_A");
    };
    const Series load = Repeat(options.rounds, 1, [&] {
        next();
        Load_Language(state);
    });
    if (!state.Text(1199).startsWith(state.Language_Name))
        return Fail("the language file was not applied");
    Series change;
    for (int i = 0; i <= options.rounds; ++i) {
        next();
        Stopwatch watch;
        Switch_Language(state, window);
        if (i > 0)
            change.Add(watch);
    }
    if (!state.Text(0).startsWith(state.Language_Name))
        return Fail("the language switch did not happen");
    figures.push_back({QStringLiteral("Load_Language, 1200 entries"), Unit::Ms, load, 16, {}});
    figures.push_back({QStringLiteral("language switch (Load + Change_Language)"), Unit::Ms, change, 16, {}});
    return true;
}

bool Set_Communication(const Bench_Options& options, TFLoomwrightFirmWare& window, std::vector<Figure>& figures)
{
    auto* dialog = window.findChild<TFParGen*>(QStringLiteral("FParGen"));
    if (!dialog)
        return Fail("no Set Communication dialog");
    Series open;
    Series ok;
    for (int i = 0; i <= options.rounds; ++i) {
        Stopwatch watch;
        ParGen_Open(*dialog);
        if (i > 0)
            open.Add(watch);
        if (!dialog->isVisible() || dialog->E_Profinet_Name_Station->text() != QLatin1String("converter-hall-3"))
            return Fail("the Set Communication dialog did not open with the project's file");
        watch.Restart();
        ParGen_OK(*dialog);
        if (i > 0)
            ok.Add(watch);
        if (dialog->isVisible() || dialog->result() != QDialog::Accepted)
            return Fail("OK did not close the Set Communication dialog");
    }
    figures.push_back({QStringLiteral("Set Communication: open (FormShow, paint)"), Unit::Ms, open, 16, {}});
    figures.push_back({QStringLiteral("Set Communication: OK (check, save)"), Unit::Ms, ok, 16, {}});
    return true;
}

bool Same_Row(const TFKNXAccess& dialog, int row, int expected)
{
    return Row_Of(dialog.Model->Table(), row) == Full_Row(expected);
}

// Opening: FormShow as the main window runs it, then the window painted.
LW_BENCH_ACTION void KNX_Open(TFKNXAccess& dialog)
{
    dialog.FormShow();
    dialog.show();
    Settle();
}

// OK: the data check of 512 rows, the file written, the dialog closed.
LW_BENCH_ACTION void KNX_OK(TFKNXAccess& dialog)
{
    dialog.Btn_OK->click();
    Settle();
}

// Insert Row and Delete Row at the current row, until the grid is painted again.
LW_BENCH_ACTION void KNX_Insert(TFKNXAccess& dialog)
{
    dialog.Btn_InsRow->click();
    Settle();
}

LW_BENCH_ACTION void KNX_Delete(TFKNXAccess& dialog)
{
    dialog.Btn_DelRow->click();
    Settle();
}

// Paste of a whole 512 x 16 block at row 1 and its undo, until painted.
LW_BENCH_ACTION void KNX_Paste(TFKNXAccess& dialog, const QString& text)
{
    dialog.Paste_Cells_From(text);
    Settle();
}

LW_BENCH_ACTION void KNX_Undo(TFKNXAccess& dialog)
{
    dialog.Undo_Stack->undo();
    Settle();
}

// One typed cell: the undo step, the table change and the live marks of 512 rows.
LW_BENCH_ACTION void KNX_Edit_Cell(TFKNXAccess& dialog, int row, const QString& text)
{
    dialog.Model->setData(dialog.Model->Cell_Index(row, Col_Destination_Address), text);
}

// One keystroke in the find bar: the matches of 512 rows, the highlight and the move to the first.
LW_BENCH_ACTION void KNX_Find_Key(TFKNXAccess& dialog, const QString& text)
{
    dialog.Find_Bar->E_Find->setText(text);
}

bool KNX_Grid_Tools(const Bench_Options& options, TFKNXAccess& dialog, std::vector<Figure>& figures)
{
    Series paste, undo, edit, marks, find, filter;
    for (int i = 0; i <= options.rounds; ++i) {
        const bool timed = i > 0;
        KNX_Open(dialog);
        // The file's rows with every mnemonic changed: every row of the block writes.
        Cell_Block block = Cells_Of(dialog.Model->Table(), {1, 1, KNX_Table_Rows, KNX_Field_Count});
        for (QStringList& line : block)
            line.back() += QStringLiteral(" (pasted)");
        const QString text = Encode_Cells(block);
        dialog.ACG_KNX_in_Write->setCurrentIndex(dialog.Model->Cell_Index(1, Col_Enable));
        Stopwatch watch;
        KNX_Paste(dialog, text);
        if (timed)
            paste.Add(watch);
        if (!dialog.Model->Table().Cell(KNX_Table_Rows, Col_Mnemonic).endsWith(QLatin1String(" (pasted)")))
            return Fail("the paste of 512 rows did not land");
        watch.Restart();
        KNX_Undo(dialog);
        if (timed)
            undo.Add(watch);
        if (dialog.Is_Modified())
            return Fail("the undo of the paste did not restore the table");

        // Edits of destinations across the table, each one undo step.
        for (int k = 0; k < 16; ++k) {
            const int row = 1 + (k * 31) % KNX_Table_Rows;
            watch.Restart();
            KNX_Edit_Cell(dialog, row, QStringLiteral("1/3/%1").arg(k));
            if (timed)
                edit.Add(watch);
        }
        watch.Restart();
        const KNX_Marks marked = Mark_Table(dialog.Model->Table());
        if (timed)
            marks.Add(watch);
        if (marked.endRow != KNX_Table_Rows + 1)
            return Fail("the marks of 512 rows are wrong");
        while (dialog.Undo_Stack->canUndo())
            dialog.Undo_Stack->undo();

        // Typing "command 51" into the find bar, without and with the row filter.
        dialog.Open_Find();
        const QString typed = QStringLiteral("command 51");
        for (int pass = 0; pass < 2; ++pass) {
            dialog.Find_Bar->CB_Filter->setChecked(pass == 1);
            for (int k = 1; k <= typed.size(); ++k) {
                watch.Restart();
                KNX_Find_Key(dialog, typed.left(k));
                if (timed)
                    (pass == 0 ? find : filter).Add(watch);
            }
            dialog.Find_Bar->E_Find->clear();
        }
        dialog.Close_Find();
        if (dialog.Is_Modified())
            return Fail("the grid tools left the table changed");
        dialog.Btn_Cancel->click();
        Settle();
        if (dialog.isVisible())
            return Fail("Cancel did not close the KNX Access dialog");
    }
    figures.push_back({QStringLiteral("KNX Access: paste 512 x 16 block (paint)"), Unit::Ms, paste, 20, {}});
    figures.push_back({QStringLiteral("KNX Access: undo of that paste (paint)"), Unit::Ms, undo, 20, {}});
    figures.push_back({QStringLiteral("KNX Access: cell edit (undo, live marks)"), Unit::Ms, edit, 1, {}});
    figures.push_back({QStringLiteral("  part: Mark_Table, 512 rows"), Unit::Ms, marks, 0, {}});
    figures.push_back({QStringLiteral("KNX Access: find, per key, 512 rows"), Unit::Ms, find, 2, {}});
    figures.push_back({QStringLiteral("KNX Access: find + row filter, per key"), Unit::Ms, filter, 2, {}});
    return true;
}

bool KNX_Access(const Bench_Options& options, ProgramState& state, TFLoomwrightFirmWare& window,
                std::vector<Figure>& figures)
{
    auto* dialog = window.findChild<TFKNXAccess*>(QStringLiteral("FKNXAccess"));
    if (!dialog)
        return Fail("no KNX Access dialog");
    Paint_Counter painted;
    dialog->ACG_KNX_in_Write->viewport()->installEventFilter(&painted);

    Series opening, ok, insert, remove, formShow, check, write;
    for (int i = 0; i <= options.rounds; ++i) {
        const bool timed = i > 0;
        painted.paints = 0;
        Stopwatch watch;
        KNX_Open(*dialog);
        if (timed)
            opening.Add(watch);
        if (painted.paints == 0 || !Same_Row(*dialog, KNX_Table_Rows, KNX_Table_Rows))
            return Fail("the KNX Access dialog did not open painted with the 512-row file");

        watch.Restart();
        KNX_OK(*dialog);
        if (timed)
            ok.Add(watch);
        if (dialog->isVisible() || dialog->result() != QDialog::Accepted)
            return Fail("OK did not close the KNX Access dialog");

        KNX_Open(*dialog);
        dialog->ACG_KNX_in_Write->setCurrentIndex(dialog->Model->Cell_Index(1, Col_Source_Address));
        painted.paints = 0;
        watch.Restart();
        KNX_Insert(*dialog);
        if (timed)
            insert.Add(watch);
        if (painted.paints == 0 || !dialog->Model->Table().Cell(1, Col_Source_Address).isEmpty()
            || !Same_Row(*dialog, 2, 1))
            return Fail("Insert Row did not insert at row 1");
        painted.paints = 0;
        watch.Restart();
        KNX_Delete(*dialog);
        if (timed)
            remove.Add(watch);
        if (painted.paints == 0 || !Same_Row(*dialog, 1, 1))
            return Fail("Delete Row did not delete row 1");
        dialog->Btn_Cancel->click();
        Settle();

        // The parts of the opening and of OK on their own.
        watch.Restart();
        dialog->FormShow();
        if (timed)
            formShow.Add(watch);
        watch.Restart();
        const Check_Result result = Controllo_dati(dialog->Model->Table());
        if (timed)
            check.Add(watch);
        watch.Restart();
        const QString error = Write_KNX_Access_File(dialog->Model->Table(), state.File_KNX_Access);
        if (timed)
            write.Add(watch);
        if (!result.ok || !error.isEmpty())
            return Fail("the check or the write of the 512 rows failed");
    }
    figures.push_back({QStringLiteral("KNX Access: open 512 rows (load, paint)"), Unit::Ms, opening, 5, {}});
    figures.push_back({QStringLiteral("  part: FormShow (fresh table, file read)"), Unit::Ms, formShow, 0, {}});
    figures.push_back({QStringLiteral("KNX Access: OK (check 512 rows, save)"), Unit::Ms, ok, 5, {}});
    figures.push_back({QStringLiteral("  part: Controllo_dati, 512 rows"), Unit::Ms, check, 0, {}});
    figures.push_back({QStringLiteral("  part: Write_KNX_Access_File (with sync)"), Unit::Ms, write, 0, {}});
    figures.push_back({QStringLiteral("KNX Access: Insert Row at row 1 (paint)"), Unit::Ms, insert, 5, {}});
    figures.push_back({QStringLiteral("KNX Access: Delete Row at row 1 (paint)"), Unit::Ms, remove, 5, {}});
    return KNX_Grid_Tools(options, *dialog, figures);
}

} // namespace

bool Bench_Windows(const Bench_Options& options, std::vector<Figure>& figures)
{
    figures.push_back({QStringLiteral("start-up: window + every dialog, warm"), Unit::Ms, Startup(options), 100,
                       QStringLiteral("in this process, after a first start; the cold start is measured in a fresh process")});

    ProgramState state;
    Bench_Messages messages;
    TFLoomwrightFirmWare window(state, messages, options.dirApp, Offline_Seams());
    window.show();
    Settle();
    if (state.Dir_Project.isEmpty() || state.Language_Name != QLatin1String("Bench_A"))
        return Fail("the start-up did not restore the project and its language");

    const bool ok = Language(options, state, window, figures) && Set_Communication(options, window, figures)
        && KNX_Access(options, state, window, figures);
    return ok && messages.errors == 0;
}

} // namespace lw::bench
