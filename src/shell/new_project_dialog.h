#pragma once
// The New Configuration dialog: asks for a name and creates the configuration.

#include "base/program_state.h"
#include "widgets/dialog_registry.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace lw {

class Messages;
class Flat_Button;
class Title_Panel;

class TFNew_Project : public QDialog, public Lang_Target {
    Q_OBJECT
public:
    TFNew_Project(ProgramState& state, Messages& messages, QWidget* parent);
    void Set_Lang() override;

    // One opening: empties the name box, centres the dialog and runs it. A
    // later show event of the same opening (a restore after minimising)
    // changes nothing.
    int Open();
    void FormShow();

    QLineEdit* E_New_Proj;
    Flat_Button* Btn_OK;
    Flat_Button* Btn_Cancel;

private:
    void Btn_OKClick();

    ProgramState& m_state;
    Messages& m_messages;
    Title_Panel* m_title;
    QLabel* L_Name;
};

} // namespace lw
