#pragma once
// The about box: product, software code, version, manual code and the link to
// the maker's home page, then the data folder in use. Its texts are fixed and
// not translated, except the caption of the data folder.

#include "base/program_state.h"

#include <QDialog>
#include <QUrl>
#include <functional>

class QLabel;

namespace lw {

class Click_Label;
class Flat_Button;

class TFAbout : public QDialog {
    Q_OBJECT
public:
    TFAbout(const ProgramState& state, std::function<void(const QUrl&)> openUrl, QWidget* parent);

    Click_Label* Image2;
    Click_Label* Label4;
    Flat_Button* Btn_OK;

    // One opening: fills the box, centres it and runs it.
    int Open();
    void FormShow();

private:
    void Label4Click();

    const ProgramState& m_state;
    std::function<void(const QUrl&)> m_openUrl;
    QLabel* Label2;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label12;
    QLabel* Label13;  // caption of the data folder
    QLabel* Label14;  // the data folder
};

} // namespace lw
