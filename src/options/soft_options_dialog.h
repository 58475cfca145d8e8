#pragma once
// The Software Options dialog: the language chooser with its pages of flags,
// and the two internet permissions with the manual update check.

#include "base/program_state.h"
#include "options/options_seams.h"
#include "widgets/dialog_registry.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QTabWidget;

namespace lw {

class Click_Label;
class Flat_Button;
class Messages;
class Title_Panel;

class TFSoftOptions : public QDialog, public Lang_Target {
    Q_OBJECT
public:
    // changeLanguage re-captions every window after a switch; setUpdateTimer
    // starts (true) or stops the main window's update timer.
    TFSoftOptions(ProgramState& state, Messages& messages, const Options_Seams& seams,
                  std::function<void()> changeLanguage, std::function<void(bool)> setUpdateTimer,
                  QWidget* parent);
    void Set_Lang() override;

    // One opening: reads the language list and the permissions, shows the
    // first page, centres the dialog and runs it. A later show event of the
    // same opening (a restore after minimising) changes nothing.
    int Open();
    void FormShow();

    QString Language_In_Use() const { return m_languageInUse; }
    int Show_Page() const { return m_showPage; }
    QStringList SL_Languages() const { return m_languages; }

    QTabWidget* PageControl1;
    QWidget* TS_Language;
    QWidget* TS_Con_Options;
    QLabel* L_Sel_Lang;
    QLabel* L_Page_Lang;
    std::array<Click_Label*, 6> I_L{};
    std::array<Click_Label*, 6> L_L{};
    Flat_Button* Btn_Prev;
    Flat_Button* Btn_Next;
    QCheckBox* CB_En_Con;
    QCheckBox* CB_Update;
    Flat_Button* Btn_Check_Update;
    QLabel* LL_Check_Update;
    Flat_Button* Btn_OK;
    Flat_Button* Btn_Cancel;

private:
    void Update_Lang_Page(int numPage);
    void Btn_NextClick();
    void LangClick();
    void Update_CheckBox();
    void Btn_Check_UpdateClick();
    void LL_Check_UpdateLinkClick(const QString& link);
    void Btn_OKClick();

    ProgramState& m_state;
    Messages& m_messages;
    Options_Seams m_seams;
    std::function<void()> m_changeLanguage;
    std::function<void(bool)> m_setUpdateTimer;
    Title_Panel* m_title;

    QStringList m_languages;      // SL_Languages
    int m_showPage = 1;
    QString m_languageInUse;
};

} // namespace lw
