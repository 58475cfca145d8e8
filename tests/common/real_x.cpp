#include "common/real_x.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace lw::test {

namespace {

constexpr int First_Display = 140;
constexpr int Last_Display = 299;
constexpr int Server_Attempts = 12;
constexpr int Start_Wait_Ms = 30000;

// A window manager set-up that never asks the user where to put a window and
// keeps the places the program asks for.
const char* const Manager_Settings = "RandomPlacement\n"
                                     "UsePPosition \"on\"\n"
                                     "NoGrabServer\n";

// The environment of a started tool: ours, with DISPLAY and LC_ALL replaced.
std::vector<QByteArray> Tool_Environment(const QByteArray& display)
{
    std::vector<QByteArray> env;
    for (char** e = environ; *e; ++e) {
        const QByteArray entry(*e);
        if (entry.startsWith("DISPLAY=") || entry.startsWith("LC_ALL="))
            continue;
        env.push_back(entry);
    }
    if (!display.isEmpty())
        env.push_back("DISPLAY=" + display);
    env.push_back("LC_ALL=C");
    return env;
}

// Starts program with its output in logPath. The child ends with this process
// (parent-death signal), so no server outlives a crashed test. keepFd stays
// open in the child. Returns the pid, or 0.
pid_t Spawn(const QString& program, const QStringList& arguments, const QByteArray& display,
            const QString& logPath, int keepFd = -1)
{
    std::vector<QByteArray> args{QFile::encodeName(program)};
    for (const QString& a : arguments)
        args.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> envStore = Tool_Environment(display);
    std::vector<char*> envp;
    for (QByteArray& e : envStore)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    const QByteArray log = QFile::encodeName(logPath);
    const pid_t parent = getpid();

    const pid_t pid = fork();
    if (pid != 0)
        return pid < 0 ? 0 : pid;
    // Child: only calls that are safe after fork.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent)
        _exit(127);
    const int out = open(log.constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (out >= 0) {
        dup2(out, 1);
        dup2(out, 2);
    }
    const int in = open("/dev/null", O_RDONLY);
    if (in >= 0)
        dup2(in, 0);
    for (int fd = 3; fd < 256; ++fd) {
        if (fd != keepFd)
            close(fd);
    }
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
}

bool Has_Ended(pid_t pid)
{
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == pid;
}

void End(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 500; ++i) {
        int status = 0;
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno == ECHILD))
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
}

bool Display_Taken(int n)
{
    return QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))
        || QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(n));
}

QString Log_Tail(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return QString::fromLocal8Bit(bytes.right(400)).trimmed();
}

// Waits for the server to write its display number to fd; false when it
// ended or did not get ready in time.
bool Wait_Ready(pid_t server, int fd)
{
    QByteArray said;
    for (int waited = 0; waited < Start_Wait_Ms; waited += 100) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) > 0) {
            char buffer[32];
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n > 0) {
                said.append(buffer, int(n));
                if (said.contains('\n'))
                    return true;
            } else if (n == 0) {
                return false; // the server closed its end: it has ended
            }
        }
        if (Has_Ended(server))
            return false;
    }
    return false;
}

QString Window_Id(const QWidget* window)
{
    return QString::number(quint64(window->winId()));
}

} // namespace

Real_X_Session::~Real_X_Session()
{
    Stop();
}

bool Real_X_Session::Start()
{
    const QString server = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString manager = QStandardPaths::findExecutable(QStringLiteral("twm"));
    const struct {
        QString path;
        const char* package;
    } needed[] = {{server, "xvfb"}, {manager, "twm"},
                  {QStandardPaths::findExecutable(QStringLiteral("xprop")), "x11-utils"},
                  {QStandardPaths::findExecutable(QStringLiteral("xdotool")), "xdotool"}};
    for (const auto& tool : needed) {
        if (tool.path.isEmpty()) {
            m_error = QStringLiteral("the package %1 is not installed (scripts/setup-deps installs it)")
                          .arg(QLatin1String(tool.package));
            return false;
        }
    }

    char folder[] = "/tmp/lw-real-x-XXXXXX";
    if (!mkdtemp(folder)) {
        m_error = QStringLiteral("no temporary folder: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    m_folder = QString::fromLocal8Bit(folder);
    const QString serverLog = m_folder + QStringLiteral("/Xvfb.log");
    const QString managerLog = m_folder + QStringLiteral("/twm.log");
    const QString settings = m_folder + QStringLiteral("/twmrc");
    {
        QFile file(settings);
        if (!file.open(QIODevice::WriteOnly) || file.write(Manager_Settings) < 0) {
            m_error = QStringLiteral("cannot write %1").arg(settings);
            return false;
        }
    }

    // The first free display from 140 on; another test may take the same one
    // at the same moment, and then the server refuses it: try the next.
    int attempts = 0;
    for (int n = First_Display; n <= Last_Display && attempts < Server_Attempts && m_server == 0; ++n) {
        if (Display_Taken(n))
            continue;
        ++attempts;
        int fds[2];
        if (pipe(fds) != 0)
            break;
        const pid_t pid = Spawn(server,
                                {QStringLiteral(":%1").arg(n), QStringLiteral("-displayfd"), QString::number(fds[1]),
                                 QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                                 QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")},
                                QByteArray(), serverLog, fds[1]);
        close(fds[1]);
        const bool ready = pid > 0 && Wait_Ready(pid, fds[0]);
        close(fds[0]);
        if (ready) {
            m_server = pid;
            m_display = QStringLiteral(":%1").arg(n);
        } else if (pid > 0) {
            End(pid);
        }
    }
    if (m_server == 0) {
        m_error = QStringLiteral("Xvfb did not start on any free display from :%1 (%2)")
                      .arg(First_Display)
                      .arg(Log_Tail(serverLog));
        Stop();
        return false;
    }

    qputenv("DISPLAY", m_display.toLocal8Bit());
    m_manager = Spawn(manager, {QStringLiteral("-f"), settings}, m_display.toLocal8Bit(), managerLog);
    // twm marks the root window once it manages the screen.
    bool managing = false;
    for (int waited = 0; m_manager > 0 && waited < Start_Wait_Ms && !managing; waited += 100) {
        if (Has_Ended(m_manager)) {
            m_manager = 0;
            break;
        }
        // No QProcess yet: the test's application object does not exist.
        const QString answer = m_folder + QStringLiteral("/xprop.out");
        QFile::remove(answer);
        const pid_t xprop = Spawn(QStandardPaths::findExecutable(QStringLiteral("xprop")),
                                  {QStringLiteral("-root"), QStringLiteral("_MIT_PRIORITY_COLORS")},
                                  m_display.toLocal8Bit(), answer);
        int status = 0;
        if (xprop > 0 && waitpid(xprop, &status, 0) == xprop && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
            QFile file(answer);
            managing = file.open(QIODevice::ReadOnly) && file.readAll().contains("_MIT_PRIORITY_COLORS(");
        }
        if (!managing)
            usleep(100000);
    }
    if (!managing) {
        m_error = QStringLiteral("twm did not start on %1 (%2)").arg(m_display, Log_Tail(managerLog));
        Stop();
        return false;
    }
    return true;
}

void Real_X_Session::Stop()
{
    End(pid_t(m_manager));
    m_manager = 0;
    End(pid_t(m_server));
    m_server = 0;
    if (!m_folder.isEmpty()) {
        QDir(m_folder).removeRecursively();
        m_folder.clear();
    }
}

int Run_Real_X_Test(int argc, char** argv, const std::function<int(int, char**)>& run)
{
    Real_X_Session session;
    if (!session.Start()) {
        const QString name = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName();
        std::printf("SKIP   : %s: no real X server with a window manager: %s\n", qPrintable(name),
                    qPrintable(session.Error()));
        std::fflush(stdout);
        return Real_X_Skip_Code;
    }
    std::printf("QDEBUG : real X server %s with twm\n", qPrintable(session.Display()));
    std::fflush(stdout);
    qputenv("QT_QPA_PLATFORM", "xcb");
    qunsetenv("WAYLAND_DISPLAY");
    const int result = run(argc, argv);
    session.Stop();
    return result;
}

QByteArray Run_X_Tool(const QString& program, const QStringList& arguments, bool* ok)
{
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForStarted(Real_X_Wait_Ms) && process.waitForFinished(Real_X_Wait_Ms);
    if (ok)
        *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!finished)
        process.kill();
    return process.readAllStandardOutput();
}

QString Window_Manager_Title(const QWidget* window)
{
    // Read as hexadecimal bytes, so that any UTF-8 text comes back unchanged.
    bool ok = false;
    const QByteArray out = Run_X_Tool(QStringLiteral("xprop"),
                                      {QStringLiteral("-id"), Window_Id(window), QStringLiteral("-notype"),
                                       QStringLiteral("-f"), QStringLiteral("_NET_WM_NAME"), QStringLiteral("8x"),
                                       QStringLiteral(" = $0+\\n"), QStringLiteral("_NET_WM_NAME")},
                                      &ok);
    const qsizetype eq = out.indexOf('=');
    if (!ok || eq < 0)
        return {};
    QByteArray bytes;
    static const QRegularExpression hex(QStringLiteral("0x([0-9a-fA-F]{1,2})"));
    auto it = hex.globalMatch(QString::fromLatin1(out.mid(eq + 1)));
    while (it.hasNext())
        bytes.append(char(it.next().captured(1).toInt(nullptr, 16)));
    return QString::fromUtf8(bytes);
}

QString Window_Manager_State(const QWidget* window)
{
    const QByteArray out =
        Run_X_Tool(QStringLiteral("xprop"), {QStringLiteral("-id"), Window_Id(window), QStringLiteral("WM_STATE")});
    static const QRegularExpression state(QStringLiteral("window state: (\\w+)"));
    return state.match(QString::fromLatin1(out)).captured(1);
}

bool Wait_Managed(QWidget* window, int timeoutMs)
{
    return QTest::qWaitFor([window] { return Window_Manager_State(window) == QLatin1String("Normal"); }, timeoutMs)
        && QTest::qWaitForWindowExposed(window, timeoutMs);
}

bool Minimise(QWidget* window, int timeoutMs)
{
    bool ok = false;
    Run_X_Tool(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), Window_Id(window)}, &ok);
    return ok && QTest::qWaitFor(
                     [window] {
                         return window->isMinimized() && Window_Manager_State(window) == QLatin1String("Iconic");
                     },
                     timeoutMs);
}

bool Restore(QWidget* window, int timeoutMs)
{
    // Mapping an iconic window asks the window manager to show it again, as a
    // click on its icon does.
    bool ok = false;
    Run_X_Tool(QStringLiteral("xdotool"), {QStringLiteral("windowmap"), Window_Id(window)}, &ok);
    return ok
        && QTest::qWaitFor(
               [window] { return !window->isMinimized() && Window_Manager_State(window) == QLatin1String("Normal"); },
               timeoutMs)
        && QTest::qWaitForWindowExposed(window, timeoutMs);
}

bool Minimise_And_Restore(QWidget* window, int timeoutMs)
{
    return Minimise(window, timeoutMs) && Restore(window, timeoutMs);
}

void In_Next_Modal(const std::function<void(QDialog*)>& act)
{
    auto* poll = new QTimer;
    auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act, waited] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog && waited->elapsed() < Real_X_Wait_Ms)
            return;
        poll->stop();
        poll->deleteLater();
        if (!dialog)
            return;
        if (Wait_Managed(dialog))
            act(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll->start();
}

bool Save_Screenshot(const QString& path)
{
    bool ok = false;
    Run_X_Tool(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path}, &ok);
    return ok;
}

} // namespace lw::test
