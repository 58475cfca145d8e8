#pragma once
// The Update Device dialog: two pages in one window. The address page takes
// the converter's IP address in four octet boxes and pings it; only after a
// successful ping to the address the boxes still show does Next lead to the
// options page, whose update button writes the updater's job file for the
// pinged address and runs the updater, showing that it runs and how it ended.

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

    // One opening: the address page with Last_IP in the boxes and no ping
    // result, centred, then run. A later show event of the same opening (a
    // restore after minimising) changes nothing.
    int Open();
    void FormShow();

    // The last ping test of this opening succeeded and no box changed since:
    // Next may open the options page.
    bool Esegui_Ping() const { return m_eseguiPing; }
    // The address the last successful ping reached, in plain dotted decimal;
    // empty when Esegui_Ping is false.
    QString Pinged_Address() const { return m_pingedAddress; }
    // True while the updater runs.
    bool Is_Updating() const { return m_updating; }
    // True while the ping test runs.
    bool Is_Pinging() const { return m_pinging; }
    // The four update options as ticked now.
    Update_Options Options() const;

    // While a ping test runs, closing is put off until the test has ended;
    // while the updater runs, the dialog stays open.
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
    QLabel* L_Update_State;  // options page: the updater running, then its outcome

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Btn_PingClick();
    void Btn_NextClick();
    void Btn_UpdateClick();
    void Show_Address_Page();
    void Show_Options_Page();
    void Show_Ping_Result(int index, const QColor& colour);
    // Any change of an octet box: the ping result no longer holds.
    void Box_Changed();
    void Show_Update_State(const QString& text, const QColor& colour);
    // The four box texts joined by ".", as typed.
    QString Typed_Address() const;

    ProgramState& m_state;
    Messages& m_messages;
    Update_Seams m_seams;
    std::unique_ptr<Echo_Client> m_ping;
    Title_Panel* P_Title;

    bool m_eseguiPing = false;
    QString m_pingedAddress;
    bool m_updating = false;
    bool m_pinging = false;
    bool m_closeAfterPing = false;
};

} // namespace lw
