#pragma once
// The Update Device dialog: two pages in one window. The address page takes
// the converter's IP address in four octet boxes and pings it; only after a
// successful ping does Next lead to the options page, whose update button
// writes the updater's job file and runs the updater.

#include "base/program_state.h"
#include "update/job_file.h"
#include "update/update_seams.h"
#include "widgets/dialog_registry.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace lw {

class Button_Panel;
class Flat_Button;
class Messages;
class Title_Panel;

class TFBootTCP : public QDialog, public Lang_Target {
    Q_OBJECT
public:
    TFBootTCP(ProgramState& state, Messages& messages, const Update_Seams& seams, QWidget* parent);
    ~TFBootTCP() override;

    void Set_Lang() override;

    // The last ping test of this showing succeeded: Next may open the options page.
    bool Esegui_Ping() const { return m_eseguiPing; }
    // True while the ping test runs.
    bool Is_Pinging() const { return m_pinging; }
    // The four update options as ticked now.
    Update_Options Options() const;

    // While a ping test runs, closing is put off until the test has ended.
    void reject() override;

    // Address page.
    QLabel* L_IP_Address;
    QLineEdit* E_IP1;
    QLineEdit* E_IP2;
    QLineEdit* E_IP3;
    QLineEdit* E_IP4;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* L_Ping;
    Flat_Button* Btn_Ping;
    QLabel* LPing;
    // Options page.
    QLabel* L_Options;
    QCheckBox* CB_Firmware;
    QCheckBox* CB_Read_Firm;
    QCheckBox* CB_Conf;
    QCheckBox* CB_Read_Conf;
    // Bottom band.
    Button_Panel* P_Button;
    Flat_Button* Btn_Cancel;
    Flat_Button* Btn_Next;
    Flat_Button* Btn_Update;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void Btn_PingClick();
    void Btn_NextClick();
    void Btn_UpdateClick();
    void Show_Address_Page();
    void Show_Options_Page();
    void Show_Ping_Result(int index, const QColor& colour);
    // The four box texts joined by ".", as typed.
    QString Typed_Address() const;

    ProgramState& m_state;
    Messages& m_messages;
    Update_Seams m_seams;
    std::unique_ptr<Echo_Client> m_ping;
    Title_Panel* P_Title;

    bool m_eseguiPing = false;
    bool m_pinging = false;
    bool m_closeAfterPing = false;
};

} // namespace lw
