// Failed writes lose nothing. Every file the program writes (Loomwright.xml
// when the main window closes, ParGen.xml and KNX_SetAccess.xml on their
// dialogs' OK, bin/bank.bin from the compiler, NetLoader.xml on the update
// button) is written into a read-only folder, onto a full disk, past the
// file-size limit, and onto a path taken by a folder, a named pipe or a device
// (as /dev/null given for an output), and onto a symbolic link in the file's
// place, to a file elsewhere or dangling (as an archive from someone else may
// hold). Each time the previous file, or the
// node in its place, stays as it was, no temporary file is left behind, the
// failure is reported once with the path and the reason, and the dialog stays
// open with the user's entries.
//
// The read-only folder and the full disk are small tmpfs mounts in a mount
// namespace of this test process alone, made in main() before any thread
// exists (as root a plain mount namespace, else a user namespace with one).
// Where the system allows neither, those rows are skipped and the file-size
// limit (RLIMIT_FSIZE, SIGXFSZ ignored) still stands in for a full disk.

#include "comm_settings/pargen_dialog.h"
#include "comm_settings/pargen_file.h"
#include "common/scripted_messages.h"
#include "common/test_support.h"
#include "image/image_compile.h"
#include "knx_access/knx_access_dialog.h"
#include "knx_access/knx_access_file.h"
#include "knx_access/knx_table_model.h"
#include "lang/language_table.h"
#include "shell/main_window.h"
#include "shell/settings_file.h"
#include "shell/shell_test_kit.h"
#include "update/boot_tcp_dialog.h"
#include "update/job_file.h"
#include "widgets/flat_button.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace lw;

namespace {

// Why this process has no mount namespace of its own; empty when it has one.
QString& Mount_Problem()
{
    static QString problem = QStringLiteral("not tried");
    return problem;
}

QString Errno_Text(int err)
{
    return QString::fromLocal8Bit(strerror(err));
}

bool Write_Proc(const char* path, const QByteArray& text)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    ::close(fd);
    return ok;
}

// Called first in main(): a mount namespace is only made while one thread runs.
void Enter_Private_Mount_Namespace()
{
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    const int flags = uid == 0 ? CLONE_NEWNS : CLONE_NEWUSER | CLONE_NEWNS;
    if (::unshare(flags) != 0) {
        Mount_Problem() = QStringLiteral("cannot make a mount namespace (unshare: %1)").arg(Errno_Text(errno));
        return;
    }
    if (uid != 0) {
        Write_Proc("/proc/self/setgroups", "deny");
        if (!Write_Proc("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1")
            || !Write_Proc("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1")) {
            Mount_Problem() = QStringLiteral("cannot map the user into the new user namespace");
            return;
        }
    }
    // Nothing mounted here may show outside this process.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        Mount_Problem() = QStringLiteral("cannot make the mounts private (%1)").arg(Errno_Text(errno));
        return;
    }
    Mount_Problem().clear();
}

enum Writer { Settings_Writer, ParGen_Writer, KNX_Writer, Image_Writer, Job_Writer };
enum Condition {
    Read_Only_Folder, Full_Disk, File_Size_Limit, Path_Is_Folder, Path_Is_Pipe, Path_Is_Device, Path_Is_Link,
    Path_Is_Dangling_Link
};

// Every entry below folder with its size.
QStringList Listing(const QString& folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        out << it.filePath().mid(folder.size()) + u' '
                + (it.fileInfo().isDir() ? QStringLiteral("folder") : QString::number(it.fileInfo().size()));
    }
    out.sort();
    return out;
}

// The echo client of the update dialog: every echo comes back with data.
class Answering_Echo final : public Echo_Client {
public:
    Echo_Result Echo(const QString&, const QByteArray& data, quint16, int) override
    {
        Echo_Result r;
        r.Ok = true;
        r.Bytes_Received = 8 + int(data.size());
        return r;
    }
};

class Still_Clock final : public Ping_Clock {
public:
    quint32 Tick_Ms() override { return m_now; }
    void Sleep_Ms(int ms) override { m_now += quint32(ms); }

private:
    quint32 m_now = 1000;
};

// The folder the file lives in: a tmpfs of its own for the mount conditions.
class Place {
public:
    explicit Place(Condition condition) : m_condition(condition)
    {
        m_path = m_root.filePath("place");
        QDir().mkpath(m_path);
    }
    ~Place()
    {
        Lift();
        if (m_mounted)
            ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    }

    QString Path() const { return m_path; }

    // Mounts the tmpfs, when the condition needs one. Empty text on success.
    QString Prepare()
    {
        if (m_condition != Read_Only_Folder && m_condition != Full_Disk)
            return {};
        if (!Mount_Problem().isEmpty())
            return Mount_Problem();
        if (::mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                    m_condition == Full_Disk ? "size=512k" : "size=4m")
            != 0)
            return QStringLiteral("cannot mount a tmpfs (%1)").arg(Errno_Text(errno));
        m_mounted = true;
        return {};
    }

    // Brings the condition about on target, the file about to be written.
    void Apply(const QString& target)
    {
        switch (m_condition) {
        case Read_Only_Folder:
            QVERIFY2(::mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs",
                             MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr)
                         == 0,
                     qPrintable(Errno_Text(errno)));
            break;
        case Full_Disk: {
            QFile filler(m_path + "/filler");
            QVERIFY(filler.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'f');
            while (filler.write(block) == block.size() && filler.flush()) {
            }
            filler.close();
            break;
        }
        case File_Size_Limit: {
            rlimit limit{};
            QVERIFY(::getrlimit(RLIMIT_FSIZE, &limit) == 0);
            m_savedLimit = limit;
            limit.rlim_cur = 16;
            QVERIFY(::setrlimit(RLIMIT_FSIZE, &limit) == 0);
            m_limited = true;
            break;
        }
        case Path_Is_Folder:
            QFile::remove(target);
            QVERIFY(QDir().mkpath(target));
            test::Write_Bytes(target + "/inside", "kept");
            break;
        case Path_Is_Pipe:
            QFile::remove(target);
            QVERIFY(::mkfifo(QFile::encodeName(target).constData(), 0600) == 0);
            break;
        case Path_Is_Device:
            QFile::remove(target);
            // A node of the null device, as /dev/null given for an output.
            if (::mknod(QFile::encodeName(target).constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
                m_skip = QStringLiteral("cannot make a device node here (%1)").arg(Errno_Text(errno));
            break;
        case Path_Is_Link:
            // The link's target lies outside the folder, as a notes file would.
            test::Write_Bytes(Elsewhere(), "notes kept elsewhere");
            QFile::remove(target);
            QVERIFY(QFile::link(Elsewhere(), target));
            break;
        case Path_Is_Dangling_Link:
            QFile::remove(target);
            QVERIFY(QFile::link(Elsewhere(), target));
            break;
        }
    }

    // Why the condition could not be made; empty when it was.
    QString Skip() const { return m_skip; }

    // The target is still what the condition made of it.
    bool Node_Kept(const QString& target) const
    {
        struct stat st {};
        if (::lstat(QFile::encodeName(target).constData(), &st) != 0)
            return false;
        switch (m_condition) {
        case Path_Is_Folder: return S_ISDIR(st.st_mode) && test::Read_Bytes(target + "/inside") == "kept";
        case Path_Is_Pipe: return S_ISFIFO(st.st_mode);
        case Path_Is_Device: return S_ISCHR(st.st_mode) && st.st_rdev == makedev(1, 3);
        case Path_Is_Link:
            return S_ISLNK(st.st_mode) && QFile::symLinkTarget(target) == Elsewhere()
                && test::Read_Bytes(Elsewhere()) == "notes kept elsewhere";
        case Path_Is_Dangling_Link:
            // Nothing was made at the path the link names.
            return S_ISLNK(st.st_mode) && QFile::symLinkTarget(target) == Elsewhere() && !QFileInfo::exists(Elsewhere());
        default: return S_ISREG(st.st_mode);
        }
    }

    // Where the links of the link conditions point: outside the folder.
    QString Elsewhere() const { return m_root.filePath("elsewhere.txt"); }

    // Ends what Apply did to the process (the file-size limit).
    void Lift()
    {
        if (m_limited)
            ::setrlimit(RLIMIT_FSIZE, &m_savedLimit);
        m_limited = false;
    }

    // The reason a report must give, in the system's words.
    QStringList Reasons() const
    {
        switch (m_condition) {
        case Read_Only_Folder: return {Errno_Text(EROFS)};
        case Full_Disk: return {Errno_Text(ENOSPC)};
        case File_Size_Limit: return {Errno_Text(EFBIG)};
        case Path_Is_Folder: return {QStringLiteral("it is a folder")};
        case Path_Is_Pipe: case Path_Is_Device: return {QStringLiteral("it is not a plain file")};
        case Path_Is_Link: case Path_Is_Dangling_Link: return {QStringLiteral("it is a symbolic link")};
        }
        return {};
    }

private:
    Condition m_condition;
    QTemporaryDir m_root;
    QString m_path;
    bool m_mounted = false;
    bool m_limited = false;
    rlimit m_savedLimit{};
    QString m_skip;
};

} // namespace

class TestFailedWrites : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Past the file-size limit a write fails with EFBIG instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        if (!Mount_Problem().isEmpty())
            qWarning("read-only folder and full disk rows are skipped: %s", qPrintable(Mount_Problem()));
    }

    void failedWrite_data()
    {
        QTest::addColumn<int>("writer");
        QTest::addColumn<int>("condition");
        const char* const writers[] = {"Loomwright.xml, main window closed", "ParGen.xml, Set Communication OK",
                                       "KNX_SetAccess.xml, KNX Access OK", "bin/bank.bin, compiler",
                                       "NetLoader.xml, Update button"};
        const char* const conditions[] = {"read-only folder",     "full disk",        "file-size limit",
                                          "path is a folder",     "path is a named pipe", "path is a device",
                                          "path is a symbolic link to a file elsewhere",
                                          "path is a dangling symbolic link"};
        for (int w = Settings_Writer; w <= Job_Writer; ++w) {
            for (int c = Read_Only_Folder; c <= Path_Is_Dangling_Link; ++c)
                QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(writers[w], conditions[c]))) << w << c;
        }
    }

    void failedWrite()
    {
        QFETCH(int, writer);
        QFETCH(int, condition);
        Place place{Condition(condition)};
        const QString problem = place.Prepare();
        if (!problem.isEmpty())
            QSKIP(qPrintable(problem));

        test::ScriptedMessages messages;
        ProgramState state;
        Set_Default_Texts(state);
        state.SW_Code = QStringLiteral("KG4315");
        state.Dir_App = place.Path();
        state.Dir_Master = place.Path() + "/MASTER";
        state.Dir_Projects = place.Path() + "/PROJECTS";
        state.Dir_Project = state.Dir_Projects + "/Plant";
        Set_Files(state);
        QVERIFY(QDir().mkpath(state.Dir_Project + "/bin"));

        // The previous file, and what the user does before the write.
        QString target;
        test::Seam_Record record;
        QStringList started;
        std::unique_ptr<QWidget> window;
        std::function<void()> write;           // the user's action that writes the file
        std::function<void()> checkEntries;    // the window keeps what the user entered
        QString returned;                      // the compiler reports through its result

        switch (Writer(writer)) {
        case Settings_Writer: {
            target = Settings_Path(state);
            ProgramState previous = state;
            previous.Last_IP = "10.0.0.1";
            QCOMPARE(Save_Setting(previous), QString());
            auto* main = new TFLoomwrightFirmWare(state, messages, place.Path(), test::Test_Seams(record));
            window.reset(main);
            main->show();
            state.Last_IP = "10.0.0.2"; // the update dialog stored another address meanwhile
            write = [main] { main->close(); };
            break;
        }
        case ParGen_Writer: {
            target = state.File_ParGen;
            ParGen_Values previous;
            previous.PROFINET_IP1 = "10";
            QCOMPARE(Save_ParGen(previous, target), QString());
            auto* dialog = new TFParGen(state, messages, nullptr);
            window.reset(dialog);
            dialog->FormShow();
            dialog->show();
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            dialog->E_IP1->selectAll();
            QTest::keyClicks(dialog->E_IP1, "11");
            const ParGen_Values entries = dialog->Read_Controls();
            QCOMPARE(entries.PROFINET_IP1, QStringLiteral("11"));
            write = [dialog] { QTest::mouseClick(dialog->Btn_OK, Qt::LeftButton); };
            checkEntries = [dialog, entries] {
                QVERIFY(dialog->isVisible());
                QVERIFY(dialog->result() != QDialog::Accepted);
                QCOMPARE(dialog->Read_Controls(), entries);
            };
            break;
        }
        case KNX_Writer: {
            target = state.File_KNX_Access;
            Text_Table previous = Fresh_KNX_Table();
            Set_Row(previous, 1, {"Y", "1.1.10", "1/2/3", "Write", "Low", "None", "N", "N", "N", "Y", "N", "", "0",
                                  "No", "2", "previous"});
            QCOMPARE(Write_KNX_Access_File(previous, target), QString());
            auto* dialog = new TFKNXAccess(state, messages, nullptr);
            window.reset(dialog);
            dialog->FormShow();
            dialog->show();
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            QCOMPARE(Row_Of(dialog->Model->Table(), 1).Mnemonic, QStringLiteral("previous"));
            dialog->Model->Edit_Rows([](Text_Table& t) { t.Set_Cell(1, Col_Mnemonic, QStringLiteral("edited")); });
            const Text_Table entries = dialog->Model->Table();
            write = [dialog] { dialog->Btn_OK->click(); };
            checkEntries = [dialog, entries] {
                QVERIFY(dialog->isVisible());
                QVERIFY(dialog->result() != QDialog::Accepted);
                QVERIFY(dialog->Model->Table() == entries);
            };
            break;
        }
        case Image_Writer: {
            target = image::Image_File(state);
            test::Write_Bytes(target, QByteArray(22528, 'p'));
            write = [&] {
                returned = Compile_And_Save_Image(state);
                if (!returned.isEmpty())
                    messages.Error(returned); // what the main window shows
            };
            break;
        }
        case Job_Writer: {
            target = Job_File_Path(state);
            test::Write_Bytes(target, "<NetLoader>previous job</NetLoader>");
            Shell_Seams seams;
            seams.Make_Echo_Client = [] { return std::make_unique<Answering_Echo>(); };
            seams.Clock = std::make_shared<Still_Clock>();
            seams.Start_Program = [&started](const QString& program, const QString&, bool, const Run_Waiting&) {
                started << program;
                return test::Ended_With(0);
            };
            auto* dialog = new TFBootTCP(state, messages, seams, nullptr);
            window.reset(dialog);
            dialog->show();
            dialog->E_IP1->setText("127");
            dialog->E_IP2->setText("0");
            dialog->E_IP3->setText("0");
            dialog->E_IP4->setText("1");
            test::Click(dialog->Btn_Ping);
            test::Click(dialog->Btn_Next);
            QVERIFY(dialog->CB_Firmware->isVisible());
            dialog->CB_Read_Firm->setChecked(false);
            write = [dialog] { test::Click(dialog->Btn_Update); };
            checkEntries = [dialog, &started] {
                QVERIFY(started.isEmpty()); // the updater is not started
                QVERIFY(dialog->isVisible());
                QVERIFY(dialog->CB_Firmware->isVisible()); // still on the options page
                QCOMPARE(QStringList({dialog->E_IP1->text(), dialog->E_IP2->text(), dialog->E_IP3->text(),
                                      dialog->E_IP4->text()}),
                         QStringList({"127", "0", "0", "1"}));
                QVERIFY(dialog->CB_Firmware->isChecked());
                QVERIFY(!dialog->CB_Read_Firm->isChecked());
            };
            break;
        }
        }
        messages.Reset();
        const QByteArray previousBytes = test::Read_Bytes(target);

        place.Apply(target);
        if (QTest::currentTestFailed())
            return;
        if (!place.Skip().isEmpty())
            QSKIP(qPrintable(place.Skip()));
        const QStringList before = Listing(place.Path());
        write();
        place.Lift();

        QCOMPARE(messages.errors.size(), 1);
        const QString report = messages.errors.first();
        qInfo("%s", qPrintable(report));
        QVERIFY2(report.contains(target), qPrintable(report));
        const QStringList reasons = place.Reasons();
        QVERIFY2(std::any_of(reasons.begin(), reasons.end(), [&](const QString& r) { return report.contains(r); }),
                 qPrintable(report));
        QVERIFY(place.Node_Kept(target));
        if (condition < Path_Is_Folder)
            QCOMPARE(test::Read_Bytes(target), previousBytes);
        // No temporary file left behind, nothing else touched.
        QCOMPARE(Listing(place.Path()), before);
        if (checkEntries)
            checkEntries();
    }

    // The command-line tool with stdout or stderr on the full device: what it
    // prints does not arrive, so it exits 2 whatever the command would have
    // returned (the command's own code with both streams working).
    void toolStreams_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("full");   // "out" or "err"
        QTest::addColumn<int>("code");       // with both streams working
        QTest::newRow("--version, stdout") << QStringList{"--version"} << "out" << 0;
        QTest::newRow("--help, stdout") << QStringList{"--help"} << "out" << 0;
        QTest::newRow("lang, stdout") << QStringList{"lang", "@", "English"} << "out" << 0;
        QTest::newRow("compile, stdout") << QStringList{"compile", "@/Plant"} << "out" << 0;
        QTest::newRow("check failing, stdout") << QStringList{"check", "@/Refused"} << "out" << 1;
        QTest::newRow("check with a warning, stderr") << QStringList{"check", "@/Declared"} << "err" << 0;
        QTest::newRow("inspect, stdout") << QStringList{"inspect", "@/Plant/bin/bank.bin"} << "out" << 0;
        QTest::newRow("usage error, stderr") << QStringList{"compile"} << "err" << 2;
    }

    void toolStreams()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, full);
        QFETCH(int, code);
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath("Plant/bin")));
        QVERIFY(QDir().mkpath(dir.filePath("Refused")));
        QVERIFY(QDir().mkpath(dir.filePath("Declared")));
        test::Write_Bytes(dir.filePath("Refused/ParGen.xml"), "<Par_Gen><PROFINET_IP1>300</PROFINET_IP1></Par_Gen>");
        test::Write_Bytes(dir.filePath("Declared/ParGen.xml"), "<?xml version=\"1.0\"?><Par_Gen/>");
        args.replaceInStrings("@", dir.path());
        const QString tool = test::Bin_Dir() + "/loomwright-cli";
        QProcess compile;
        compile.start(tool, {"compile", dir.filePath("Plant")});
        QVERIFY(compile.waitForFinished(30000) && compile.exitCode() == 0);

        QProcess normal;
        normal.start(tool, args);
        QVERIFY(normal.waitForFinished(30000));
        QCOMPARE(normal.exitStatus(), QProcess::NormalExit);
        QCOMPARE(normal.exitCode(), code);

        QProcess p;
        if (full == "out")
            p.setStandardOutputFile("/dev/full");
        else
            p.setStandardErrorFile("/dev/full");
        p.start(tool, args);
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 2);
        if (full == "out")
            QVERIFY(p.readAllStandardError().contains("cannot write to standard output"));
    }
};

int main(int argc, char* argv[])
{
    Enter_Private_Mount_Namespace();
    QApplication app(argc, argv);
    TestFailedWrites test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_failed_writes.moc"
