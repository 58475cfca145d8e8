#pragma once
// The Open Configuration dialog: lists the configurations found in PROJECTS
// and lets the user choose one.

#include "base/program_state.h"
#include "widgets/dialog_registry.h"

#include <QDialog>

class QLabel;
class QListWidget;

namespace lw {

class Flat_Button;
class Title_Panel;
class Button_Panel;

class TFOpenConf : public QDialog, public Lang_Target {
    Q_OBJECT
public:
    TFOpenConf(ProgramState& state, QWidget* parent);
    void Set_Lang() override;

    // One opening: lists the configurations, preselects the active one,
    // centres the dialog and runs it. A later show event of the same opening
    // (a restore after minimising) changes nothing.
    int Open();
    void FormShow();

    // The chosen name; empty until the first choice, kept between showings.
    QString Name_Conf() const { return m_nameConf; }
    // The configurations found at the last opening.
    QStringList SL() const { return m_sl; }

    QListWidget* ListBox1;
    Flat_Button* Btn_OK;
    Flat_Button* Btn_Cancel;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Enter or a double-click on an entry chooses it, as OK does.
    void Choose_Current();
    void ListBox1Click(int row);
    void Lay_Out();

    ProgramState& m_state;
    Title_Panel* m_title;
    Button_Panel* m_buttons;
    QLabel* L_List;
    QStringList m_sl;
    QString m_nameConf;
};

} // namespace lw
