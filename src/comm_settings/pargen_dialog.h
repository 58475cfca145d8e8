#pragma once
// The Set Communication dialog: the converter's KNX type and individual
// address, and its IP address, subnet mask, gateway and name of station.
// Loading, checking and saving are the plain functions of pargen_file.h and
// comm_check.h; the dialog maps them to its controls.

#include "base/program_state.h"
#include "comm_settings/pargen_file.h"
#include "widgets/dialog_registry.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace lw {

class Flat_Button;
class Messages;
class Station_Name_Validator;
class Title_Panel;

class TFParGen : public QDialog, public Lang_Target {
    Q_OBJECT
public:
    TFParGen(ProgramState& state, Messages& messages, QWidget* parent);
    void Set_Lang() override;

    // Loads File_ParGen into the controls, centres the dialog, then shows it modally.
    int Open();
    // Loads File_ParGen (its defaults when missing or not readable as XML),
    // fills the controls, lays out and clears Is_Change.
    void FormShow();
    // Moves a window whose top edge lies above the screen down to top 0.
    void FormActivate();

    void Fill_Controls(const ParGen_Values& values);
    ParGen_Values Read_Controls() const;

    bool Is_Change() const { return m_isChange; }
    bool GB_KNX_Visible() const { return m_knxExpanded; }
    bool GB_PROFINET_Visible() const { return m_profinetExpanded; }

    QGroupBox* GB_KNX;
    QLabel* L_KNX_Type;
    QComboBox* CB_KNX_Type;
    QLabel* L_KNX_ID_Dev;
    QLineEdit* E_ID_DEV_KNX;
    Flat_Button* Btn_KNX_Collapse;
    Flat_Button* Btn_KNX_Expande;

    QGroupBox* GB_PROFINET;
    QLabel* L_PROFINET_IP_Add;
    QLineEdit* E_IP1;
    QLineEdit* E_IP2;
    QLineEdit* E_IP3;
    QLineEdit* E_IP4;
    QLabel* L_PROFINET_Subnet_Mask;
    QLineEdit* E_SM1;
    QLineEdit* E_SM2;
    QLineEdit* E_SM3;
    QLineEdit* E_SM4;
    QCheckBox* CB_EN_GAT;
    QLineEdit* E_GAT1;
    QLineEdit* E_GAT2;
    QLineEdit* E_GAT3;
    QLineEdit* E_GAT4;
    QLabel* L_PROFINET_Name_Station;
    QLineEdit* E_Profinet_Name_Station;
    Flat_Button* Btn_PROFINET_Collapse;
    Flat_Button* Btn_PROFINET_Expande;

    Flat_Button* Btn_OK;
    Flat_Button* Btn_Cancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Build_KNX_Group();
    void Build_PROFINET_Group();
    QLineEdit* Make_Edit(QWidget* parent, const char* name, const QRect& geometry);
    void Make_Octet_Row(QWidget* parent, const std::array<const char*, 4>& names, int top,
                        std::array<QLineEdit*, 4>& boxes);
    void Collapse_Expand_Creation();
    void Move_GroupBoxs();
    void Btn_GB_Collapse();
    void Btn_GB_Expande();
    void Set_Expanded(QGroupBox* group, bool expanded);
    bool KeyPress(QLineEdit* box);
    void On_Change();
    void On_Click();
    bool Controllo_Dati();
    void Btn_OKClick();
    void Btn_CancelClick();

    ProgramState& m_state;
    Messages& m_messages;
    Title_Panel* m_title;
    Station_Name_Validator* m_nameValidator;
    // The twelve octet boxes in the order the '.' key walks through them.
    std::array<QLineEdit*, 12> m_octets{};
    bool m_isChange = false;
    bool m_knxExpanded = true;
    bool m_profinetExpanded = true;
};

} // namespace lw
