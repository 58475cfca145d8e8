#pragma once
// The Memory Map window of the KNX Access dialog: the map of the grid as it is
// now, following every edit; hovering a byte lists its rows, a click (or Enter
// on the keyboard's byte) selects the byte's row in the grid. And the dialog's
// Report action, which asks where to save and writes the report through a seam
// the main window fills.

#include "knx_access/memory_map.h"
#include "knx_access/memory_map_picture.h"
#include "widgets/dialog_registry.h"
#include "base/program_state.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QDialog;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QTableView;

namespace lw {

class KNX_Table_Model;
class Messages;

// The picture, with a keyboard cursor on one byte.
class Memory_Map_View : public QWidget {
    Q_OBJECT
public:
    Memory_Map_View(const ProgramState& state, QWidget* parent);

    void Set_Map(Memory_Map map);
    const Memory_Map& Map() const { return m_map; }
    const Map_Layout& Layout() const { return m_layout; }

    // The byte the keyboard is on, and the byte under the mouse (-1: none).
    int Cursor_Byte() const { return m_cursor; }
    void Set_Cursor_Byte(int byte);
    int Hover_Byte() const { return m_hover; }
    // What hovering byte shows: the byte and each of its rows (number,
    // mnemonic, the bits of this byte it reads), or that no row uses it.
    QString Byte_Text(int byte) const;
    // The lowest-numbered row that reads byte; 0 for a free byte.
    int Row_At_Byte(int byte) const;

    QSize sizeHint() const override;

Q_SIGNALS:
    // The user chose the row of a byte (click, Enter or Space).
    void Row_Chosen(int row);
    // The byte under the mouse or the keyboard's byte changed; the text to show.
    void Byte_Described(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    const ProgramState& m_state;
    Memory_Map m_map;
    Map_Layout m_layout;
    int m_cursor = 0;
    int m_hover = -1;
};

class Memory_Map_Window : public QWidget, public Lang_Target {
    Q_OBJECT
public:
    // Follows model's change signals; rebuilds the map while shown.
    Memory_Map_Window(const ProgramState& state, const KNX_Table_Model* model, QWidget* parent);

    void Set_Lang() override;
    // Rebuilds the map from the model's table and repaints.
    void Refresh();

    Memory_Map_View* View;
    QLabel* L_Byte;            // the hovered or keyboard byte's rows
    QListWidget* LB_Warnings;  // overlaps, rows not placed, shared ranges

Q_SIGNALS:
    void Row_Chosen(int row);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Fill_Warnings();

    const ProgramState& m_state;
    const KNX_Table_Model* m_model;
    bool m_stale = true;
};

// What the Report action reaches outside the dialog.
struct KNX_Report_Seams {
    // Asks where to save the report; empty when the user cancels. Default: the
    // save-file dialog, PDF or HTML.
    std::function<QString(QWidget* parent, const ProgramState& state)> Ask_File;
    // Writes the report of the grid's table to path; empty text on success,
    // else the message. The main window fills it (the report lives above this
    // subsystem); without it the action reports nothing written.
    std::function<QString(const Text_Table& table, const QString& path)> Write;
};

// The map window and the report action of one KNX Access dialog: the window
// opens beside the dialog and closes with it; choosing a row selects it in grid.
class Memory_Map_Tools : public QObject {
    Q_OBJECT
public:
    Memory_Map_Tools(ProgramState& state, Messages& messages, KNX_Table_Model* model, QTableView* grid,
                     QDialog* dialog);

    void Show_Map();
    void Report();
    void Set_Lang();
    // The window once opened; null before.
    Memory_Map_Window* Window() const { return m_window; }

    KNX_Report_Seams Seams;

private:
    void Select_Row(int row);

    ProgramState& m_state;
    Messages& m_messages;
    KNX_Table_Model* m_model;
    QTableView* m_grid;
    QDialog* m_dialog;
    QPointer<Memory_Map_Window> m_window;
};

// Where a window of size goes beside anchor (right, left, below, above; the
// first that fits available), else the side that, moved into available,
// covers the least of anchor.
QPoint Beside(const QRect& anchor, const QSize& size, const QRect& available);

} // namespace lw
