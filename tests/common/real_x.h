#pragma once
// Tests that need a real X server with a window manager: what the offscreen
// platform cannot show (the title the window manager reads, minimise and
// restore, activation). Each test program gets a private Xvfb on the first
// free display from 140 upwards, with twm managing its windows; the tools
// xdotool and xprop act on the windows as a user and a window manager would.
//
// A test file tests/<area>/tst_realx_<name>.cpp ends with
//     LW_REAL_X_TEST_MAIN(TestClass)
// instead of QTEST_MAIN. CTest runs it with the xcb platform; when no X server
// can be started it prints the reason and counts as skipped. A dialog opened
// by a button of the main window is checked across a minimise and restore so:
//     test::In_Next_Modal([&](QDialog* dialog) {
//         ... edit ...;
//         restored = test::Minimise_And_Restore(dialog);
//         ... read what the dialog shows ...;
//     });
//     QTest::mouseClick(button, Qt::LeftButton);   // opens the dialog, returns when it closed
//     QVERIFY(restored); ...
// Checks go after the click: a failed QVERIFY inside act would return early,
// and In_Next_Modal then closes the dialog so that the test cannot hang.

#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QWidget;

namespace lw::test {

// Exit code of a real-X test that could not get its X server (CTest: skipped).
inline constexpr int Real_X_Skip_Code = 77;

// Generous waits: the machine may be busy with other builds and tests.
inline constexpr int Real_X_Wait_Ms = 30000;

// A private X server with its window manager, for as long as the object lives.
class Real_X_Session {
public:
    Real_X_Session() = default;
    ~Real_X_Session();
    Real_X_Session(const Real_X_Session&) = delete;
    Real_X_Session& operator=(const Real_X_Session&) = delete;

    // Starts Xvfb and twm and points DISPLAY at them. False with the reason in
    // Error() when a tool is missing or no server could be started.
    bool Start();
    void Stop();

    QString Display() const { return m_display; }
    QString Error() const { return m_error; }

private:
    qint64 m_server = 0;
    qint64 m_manager = 0;
    QString m_display;
    QString m_error;
    QString m_folder;
};

// Starts the session, then runs the tests (which create the QApplication) on
// the xcb platform. Without an X server: prints "SKIP" with the reason and
// returns Real_X_Skip_Code.
int Run_Real_X_Test(int argc, char** argv, const std::function<int(int, char**)>& run);

// Runs an X tool (xprop, xdotool, ...) on the session's display and returns
// its standard output; ok (when given) tells whether it ran and exited with 0.
QByteArray Run_X_Tool(const QString& program, const QStringList& arguments, bool* ok = nullptr);

// The window's title as the window manager reads it (_NET_WM_NAME), or a null
// text when the property is missing.
QString Window_Manager_Title(const QWidget* window);

// WM_STATE as set by the window manager: "Normal", "Iconic", "Withdrawn", or
// empty while the window is not managed.
QString Window_Manager_State(const QWidget* window);

// Waits until the window manager manages the shown window and it is exposed.
bool Wait_Managed(QWidget* window, int timeoutMs = Real_X_Wait_Ms);

// Minimises the window through the window manager (as its minimise button
// does) and waits until it is iconic and Qt knows it is minimised.
bool Minimise(QWidget* window, int timeoutMs = Real_X_Wait_Ms);

// Restores a minimised window (as a click on its icon does) and waits until it
// is shown, managed and exposed again.
bool Restore(QWidget* window, int timeoutMs = Real_X_Wait_Ms);

// Minimise, then Restore; false when either did not happen in time.
bool Minimise_And_Restore(QWidget* window, int timeoutMs = Real_X_Wait_Ms);

// Runs act on the next modal dialog as soon as the window manager manages it,
// then closes the dialog (reject) when act left it open. Call it before the
// action that opens the dialog modally.
void In_Next_Modal(const std::function<void(QDialog*)>& act);

// Saves a picture of the whole screen (imagemagick's import) to path; for
// looking at a failure. False when it could not be taken.
bool Save_Screenshot(const QString& path);

} // namespace lw::test

#define LW_REAL_X_TEST_MAIN(TestObject)                                                      \
    int main(int argc, char* argv[])                                                         \
    {                                                                                        \
        return lw::test::Run_Real_X_Test(argc, argv, [](int count, char** args) {            \
            QApplication app(count, args);                                                   \
            app.setAttribute(Qt::AA_Use96Dpi, true);                                         \
            TestObject tc;                                                                   \
            QTEST_SET_MAIN_SOURCE_PATH                                                       \
            return QTest::qExec(&tc, count, args);                                           \
        });                                                                                  \
    }
