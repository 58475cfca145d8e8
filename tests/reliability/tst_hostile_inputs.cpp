// Hostile inputs for every reader of the program, where the tests of each
// subsystem do not already try them. Each ends with a clear error or the
// documented defaults, within the bound stated in its row or comment, and
// never writes anything beside its own file. The bounds are checked by
// outcome (bytes taken, values read, bytes a server managed to send), never by
// the clock; the peak memory of the bigger cases is printed.

#include "cli/cli_io.h"
#include "comm_settings/pargen_file.h"
#include "common/test_support.h"
#include "image/image_compile.h"
#include "image/image_layout.h"
#include "knx_access/knx_access_file.h"
#include "lang/language_file.h"
#include "lang/language_table.h"
#include "options/version_check.h"
#include "platform/echo_client.h"
#include "shell/projects.h"
#include "shell/settings_file.h"
#include "shell/startup.h"
#include "update/job_file.h"
#include "update/ping_test.h"
#include "update/valid_ip.h"
#include "cli/cli_run.h"
#include "base/check_result.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace lw;

namespace {

const QByteArray Secret = "TOPSECRET-4315";
const QByteArray Slot = "SLOTMARK";

// Peak resident memory of this process, in MB.
long Peak_Rss_Mb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Prints how far the peak memory rose while it lived.
class Rss_Report {
public:
    explicit Rss_Report(const QString& what) : m_what(what), m_before(Peak_Rss_Mb()) {}
    ~Rss_Report()
    {
        const long after = Peak_Rss_Mb();
        qInfo("%s: peak RSS %ld MB (+%ld MB)", qPrintable(m_what), after, after - m_before);
    }

private:
    QString m_what;
    long m_before;
};

// Every file below folder with its size: a reader must leave it as it was.
QStringList Listing(const QString& folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        out << it.filePath().mid(folder.size()) + u' ' + QString::number(it.fileInfo().size());
    }
    out.sort();
    return out;
}

QByteArray Utf16(const QByteArray& utf8, bool littleEndian, bool mark)
{
    QByteArray out = mark ? (littleEndian ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2)) : QByteArray();
    for (QChar c : QString::fromUtf8(utf8)) {
        const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
        out.append(littleEndian ? lo : hi).append(littleEndian ? hi : lo);
    }
    return out;
}

QByteArray Random_Bytes(int size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator gen(seed);
    for (char& c : bytes)
        c = char(gen.bounded(256));
    return bytes;
}

bool Make_Fifo(const QString& path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// A sparse file of size bytes: it costs no disk.
bool Make_Sparse(const QString& path, qint64 size, const QByteArray& head)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(head) == head.size() && f.resize(size);
}

// ---------------------------------------------------------------- XML readers

enum Reader { Settings_Reader, ParGen_Reader, KNX_Reader, Compiler_ParGen, Compiler_KNX, Job_Reader };
const char* const Reader_Names[] = {"Loomwright.xml", "ParGen.xml", "KNX_SetAccess.xml", "compiler, ParGen.xml",
                                    "compiler, KNX_SetAccess.xml", "NetLoader.xml (stand-in updater)"};

struct Outcome {
    bool error = false;    // the reader reported that it could not read the file
    bool defaults = false; // every value at its default (no rows for a table)
    QString values;        // every value read, joined
};

// A program folder with a project, the firmware file and the stand-in updater.
class Installation {
public:
    Installation()
    {
        state.Dir_App = dir.path();
        state.Dir_Master = dir.filePath("MASTER");
        state.Dir_Projects = dir.filePath("PROJECTS");
        state.Dir_Project = dir.filePath("PROJECTS/Plant");
        Set_Files(state);
        QDir().mkpath(state.Dir_Project + "/bin");
        test::Write_Bytes(state.Dir_Master + "/Sim4315.sim", QByteArray(4096, '\x5A'));
        QFile::copy(test::Bin_Dir() + "/NetLoader.exe", dir.filePath("NetLoader.exe"));
    }

    // The file the reader takes.
    QString File(Reader r) const
    {
        switch (r) {
        case Settings_Reader: return Settings_Path(state);
        case ParGen_Reader: case Compiler_ParGen: return state.File_ParGen;
        case KNX_Reader: case Compiler_KNX: return state.File_KNX_Access;
        case Job_Reader: return Job_File_Path(state);
        }
        return {};
    }

    // A sound file of the reader's kind whose one text value is Slot.
    QByteArray Template(Reader r)
    {
        const QString path = dir.filePath("template");
        switch (r) {
        case Settings_Reader: {
            ProgramState s = state;
            s.Dir_App = dir.filePath("template-app");
            QDir().mkpath(s.Dir_App);
            s.Name_Project = QString::fromLatin1(Slot);
            s.Last_IP = "192.168.0.5";
            Save_Setting(s);
            return test::Read_Bytes(Settings_Path(s));
        }
        case ParGen_Reader: case Compiler_ParGen: {
            ParGen_Values v;
            v.PROFINET_NAME_STA = QString::fromLatin1(Slot);
            Save_ParGen(v, path);
            break;
        }
        case KNX_Reader: case Compiler_KNX: {
            Text_Table table = Fresh_KNX_Table();
            Set_Row(table, 1, {"Y", "1.1.10", "1/2/3", "Write", "Low", "SWAP16", "N", "Y", "Y", "N", "Y", "500", "4",
                               "No", "2", QString::fromLatin1(Slot)});
            Write_KNX_Access_File(table, path);
            break;
        }
        case Job_Reader: {
            ProgramState s = state;
            s.Dir_App = dir.filePath("template-app");
            QDir().mkpath(s.Dir_App);
            Compile_XML_Parameter(QString::fromLatin1(Slot), "0", "0", "1", {}, s);
            return test::Read_Bytes(Job_File_Path(s));
        }
        }
        return test::Read_Bytes(path);
    }

    // The plain text of the slot in a sound file.
    static QByteArray Plain_Slot(Reader r) { return r == Job_Reader ? "127" : "plant"; }

    Outcome Read(Reader r)
    {
        Outcome o;
        switch (r) {
        case Settings_Reader: {
            ProgramState s = state;
            Read_Setting(s);
            o.values = QStringList{s.Name_Project, s.Last_IP, s.Language_Name}.join(u'|')
                + (s.Enable_Internet ? "|1" : "|0") + (s.Enable_Update ? "1" : "0");
            o.defaults = s.Name_Project.isEmpty() && s.Last_IP == Default_Last_IP
                && s.Language_Name == Default_Language && !s.Enable_Internet && !s.Enable_Update;
            break;
        }
        case ParGen_Reader: {
            ParGen_Values v;
            o.error = !Load_ParGen(state.File_ParGen, v).isEmpty();
            o.values = QStringList{QString::number(v.KNX_TYPE), v.KNX_ID_DEV, v.PROFINET_IP1, v.PROFINET_IP2,
                                   v.PROFINET_IP3, v.PROFINET_IP4, v.PROFINET_SM1, v.PROFINET_SM2, v.PROFINET_SM3,
                                   v.PROFINET_SM4, v.PROFINET_GAT1, v.PROFINET_GAT2, v.PROFINET_GAT3,
                                   v.PROFINET_GAT4, v.PROFINET_EN_GAT ? "1" : "0", v.PROFINET_NAME_STA}
                           .join(u'|');
            o.defaults = v == ParGen_Values();
            break;
        }
        case KNX_Reader: {
            Text_Table table = Fresh_KNX_Table();
            const KNX_Read_Result result = Read_KNX_Access_File(state.File_KNX_Access, table);
            o.error = !result.Ok();
            for (int row = 1; row <= KNX_Table_Rows; ++row) {
                const KNX_Command_Row cells = Row_Of(table, row);
                if (cells.Source_Address.isEmpty())
                    break;
                for (QString KNX_Command_Row::*field : KNX_Fields)
                    o.values += cells.*field + u'|';
            }
            o.defaults = table == Fresh_KNX_Table();
            break;
        }
        case Compiler_ParGen: case Compiler_KNX: {
            QFile::remove(Image_Path());
            o.error = !Compile_And_Save_Image(state).isEmpty();
            const QByteArray image = test::Read_Bytes(Image_Path());
            if (o.error && !image.isEmpty())
                o.values = "an image was written after an error";
            else
                o.values = QString::fromLatin1(image);
            o.defaults = !o.error && image == Default_Image(r);
            break;
        }
        case Job_Reader: {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("NETLOADER_NO_WINDOW", "1");
            p.setProcessEnvironment(env);
            p.start(dir.filePath("NetLoader.exe"), {});
            const bool ended = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit;
            o.error = !ended || p.exitCode() != 0;
            o.values = QString::fromUtf8(p.readAllStandardOutput());
            if (!ended)
                o.values += "crashed or did not end";
            break;
        }
        }
        return o;
    }

    QString Image_Path() const { return state.Dir_Project + "/bin/bank.bin"; }

    // The image a compile gives when every value of the reader's file is at
    // its default: a settings file whose first node is not the root, or no
    // KNX access file. Made before the hostile file is put in place.
    void Make_Default_Image(Reader r)
    {
        const QString file = File(r);
        if (r == Compiler_ParGen)
            test::Write_Bytes(file, "<!--not the root--><Par_Gen/>");
        QFile::remove(Image_Path());
        if (Compile_And_Save_Image(state).isEmpty())
            m_defaultImage[r] = test::Read_Bytes(Image_Path());
        QFile::remove(file);
    }
    QByteArray Default_Image(Reader r) const { return m_defaultImage[r]; }

    QTemporaryDir dir;
    ProgramState state;

private:
    QByteArray m_defaultImage[6];
};

// A document type whose entities, expanded, would make 10^9 copies of "lol" (3 GB).
QByteArray Billion_Laughs(const QByteArray& root)
{
    QByteArray dtd = "<!DOCTYPE " + root + " [<!ENTITY l0 \"lol\">";
    for (int i = 1; i <= 9; ++i)
        dtd += "<!ENTITY l" + QByteArray::number(i) + " \""
            + ("&l" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
    return dtd + "]>";
}

enum Expect { Defaults_Or_Error, Like_Plain, Either };

QByteArray Root_Name(const QByteArray& document)
{
    const qsizetype start = document.indexOf('<') + 1;
    qsizetype end = start;
    while (end < document.size() && document[end] != '>' && document[end] != ' ' && document[end] != '/')
        ++end;
    return document.mid(start, end - start);
}

// Answers the first request with an endless or huge reply of one kind.
class Endless_Server : public QObject {
public:
    explicit Endless_Server(const QString& kind) : m_kind(kind)
    {
        connect(&m_server, &QTcpServer::newConnection, this, &Endless_Server::Accept);
        m_trickle.setInterval(1000);
        connect(&m_trickle, &QTimer::timeout, this, &Endless_Server::Trickle);
    }

    bool Listen() { return m_server.listen(QHostAddress::LocalHost, 0); }
    QUrl Base() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort())); }
    qint64 Sent() const { return m_sent; }

private:
    void Accept()
    {
        while (QTcpSocket* s = m_server.nextPendingConnection()) {
            s->setParent(this);
            connect(s, &QTcpSocket::readyRead, this, [this, s] {
                m_head += s->readAll();
                if (m_socket || !m_head.contains("\r\n\r\n"))
                    return;
                m_socket = s;
                Start();
            });
            connect(s, &QTcpSocket::bytesWritten, this, [this, s](qint64 n) {
                m_sent += n;
                if (s == m_socket)
                    Pump();
            });
        }
    }

    void Start()
    {
        if (m_kind == "trickle") {
            m_pending = "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nVER. 1.003";
            m_trickle.start();
            return;
        }
        if (m_kind == "length")
            m_socket->write("HTTP/1.1 200 OK\r\nContent-Length: 104857600\r\n\r\n");
        else if (m_kind == "plain")
            m_socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
        else if (m_kind == "chunked")
            m_socket->write("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n");
        else if (m_kind == "status")
            m_socket->write("HTTP/1.1 200 ");
        else if (m_kind == "header")
            m_socket->write("HTTP/1.1 200 OK\r\nX-Endless: ");
        else
            m_socket->write("HTTP/1.1 200 OK\r\n");
        Pump();
    }

    // Keeps about 1 MB queued while the client reads; 100 MB at most for
    // the sized kinds, no end for the others.
    void Pump()
    {
        if (m_kind == "trickle")
            return;
        const bool sized = m_kind == "length" || m_kind == "plain";
        while (m_socket->state() == QAbstractSocket::ConnectedState && m_socket->bytesToWrite() < (1 << 20)) {
            if (sized && m_queued >= (qint64(100) << 20)) {
                m_socket->disconnectFromHost();
                return;
            }
            QByteArray chunk;
            if (m_kind == "chunked")
                chunk = "1000\r\n" + QByteArray(0x1000, 'v') + "\r\n";
            else if (m_kind == "fields")
                chunk = QByteArray("X-Field: value\r\n").repeated(4096);
            else if (m_kind == "long fields")
                chunk = "X-Field: " + QByteArray(8 * 1024, 'f') + "\r\n";
            else
                chunk = QByteArray(1 << 16, 'v');
            m_queued += chunk.size();
            m_socket->write(chunk);
        }
    }

    void Trickle()
    {
        if (!m_socket || m_pending.isEmpty() || m_socket->state() != QAbstractSocket::ConnectedState) {
            m_trickle.stop();
            return;
        }
        m_socket->write(m_pending.left(1));
        m_pending.remove(0, 1);
    }

    QString m_kind;
    QTcpServer m_server;
    QTcpSocket* m_socket = nullptr;
    QByteArray m_head;
    QByteArray m_pending;
    QTimer m_trickle;
    qint64 m_queued = 0;
    qint64 m_sent = 0;
};

} // namespace

class TestHostileInputs : public QObject {
    Q_OBJECT

    QTemporaryDir m_secretDir;
    QString m_secretFile;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_secretDir.isValid());
        m_secretFile = m_secretDir.filePath("secret.txt");
        test::Write_Bytes(m_secretFile, Secret);
        test::Write_Bytes(m_secretDir.filePath("secret.dtd"), "<!ENTITY leak \"" + Secret + "\">");
    }

    // Every XML reader against entity declarations, truncation, other
    // encodings, NUL bytes, nesting, pipes and oversized files. Nothing that
    // an entity names is ever read or expanded: no value holds the secret
    // file's text or a run of "lol".
    void xmlReaders_data()
    {
        QTest::addColumn<int>("reader");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("expect");
        const QList<std::pair<const char*, Expect>> kinds = {
            {"plain", Like_Plain},
            {"billion laughs (10^9 expansions, 3 GB if expanded)", Defaults_Or_Error},
            {"external entity naming a local file", Defaults_Or_Error},
            {"external document type naming a local file", Defaults_Or_Error},
            {"parameter entity naming a local file", Defaults_Or_Error},
            {"undeclared entity in a value, kept as text", Either},
            {"100 000 nested conditional sections in the document type", Defaults_Or_Error},
            {"a million nested elements (7 MB)", Defaults_Or_Error},
            {"UTF-16 little-endian without mark", Like_Plain},
            {"UTF-16 big-endian without mark", Like_Plain},
            {"UTF-16 with mark", Like_Plain},
            {"4096 NUL bytes", Defaults_Or_Error},
            {"NUL byte inside a value", Either},
            {"64 KB of random bytes", Defaults_Or_Error},
            {"named pipe in the file's place (never opened)", Defaults_Or_Error},
            {"symbolic link to a plain file elsewhere (read through)", Like_Plain},
            {"symbolic link to a named pipe (never waited on)", Defaults_Or_Error},
            {"sparse file of 300 MB (refused by its size, not read)", Defaults_Or_Error},
        };
        for (int r = Settings_Reader; r <= Job_Reader; ++r) {
            for (const auto& [kind, expect] : kinds)
                QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(Reader_Names[r], kind)))
                    << r << QString::fromLatin1(kind) << int(expect);
        }
    }

    void xmlReaders()
    {
        QFETCH(int, reader);
        QFETCH(QString, kind);
        QFETCH(int, expect);
        const Reader r = Reader(reader);
        Installation inst;
        // The defaults of the compiler, and a sound image for the updater's job check.
        inst.Make_Default_Image(r);
        QVERIFY(Compile_And_Save_Image(inst.state).isEmpty());

        const QByteArray sound = inst.Template(r);
        QVERIFY(sound.contains(Slot));
        QByteArray plain = sound;
        plain.replace(Slot, Installation::Plain_Slot(r));
        const QByteArray root = Root_Name(sound);
        const QByteArray file = QFile::encodeName(m_secretFile);

        QByteArray bytes;
        bool fifo = false;
        if (kind == "plain")
            bytes = plain;
        else if (kind.startsWith("billion laughs"))
            bytes = Billion_Laughs(root) + QByteArray(sound).replace(Slot, "&l9;");
        else if (kind == "external entity naming a local file")
            bytes = "<!DOCTYPE " + root + " [<!ENTITY e SYSTEM \"file://" + file + "\">]>"
                + QByteArray(sound).replace(Slot, "&e;");
        else if (kind == "external document type naming a local file")
            bytes = "<!DOCTYPE " + root + " SYSTEM \"file://" + QFile::encodeName(m_secretDir.filePath("secret.dtd"))
                + "\">" + QByteArray(sound).replace(Slot, "&leak;");
        else if (kind == "parameter entity naming a local file")
            bytes = "<!DOCTYPE " + root + " [<!ENTITY % p SYSTEM \"file://"
                + QFile::encodeName(m_secretDir.filePath("secret.dtd")) + "\"> %p;]>"
                + QByteArray(sound).replace(Slot, "&leak;");
        else if (kind.startsWith("undeclared entity"))
            bytes = QByteArray(sound).replace(Slot, "&e;");
        else if (kind.startsWith("100 000 nested"))
            bytes = "<!DOCTYPE " + root + " [" + QByteArray("<![INCLUDE[").repeated(100000)
                + QByteArray("]]>").repeated(100000) + "]>" + plain;
        else if (kind.startsWith("a million nested"))
            bytes = QByteArray("<a>").repeated(1000000) + QByteArray("</a>").repeated(1000000);
        else if (kind == "UTF-16 little-endian without mark")
            bytes = Utf16(plain, true, false);
        else if (kind == "UTF-16 big-endian without mark")
            bytes = Utf16(plain, false, false);
        else if (kind == "UTF-16 with mark")
            bytes = Utf16(plain, true, true);
        else if (kind == "4096 NUL bytes")
            bytes = QByteArray(4096, '\0');
        else if (kind == "NUL byte inside a value")
            bytes = QByteArray(sound).replace(Slot, QByteArray("pl\0ant", 6));
        else if (kind.startsWith("64 KB of random"))
            bytes = Random_Bytes(1 << 16, 4315 + reader);
        else if (kind.startsWith("named pipe"))
            fifo = true;
        else if (!kind.startsWith("sparse") && !kind.startsWith("symbolic link"))
            QFAIL(qPrintable("no input for the case " + kind));

        const QString path = inst.File(r);
        QFile::remove(path);
        // Links point outside the installation, where archives may lead them.
        QTemporaryDir elsewhere;
        if (kind.startsWith("symbolic link to a plain file")) {
            test::Write_Bytes(elsewhere.filePath("linked.xml"), plain);
            QVERIFY(QFile::link(elsewhere.filePath("linked.xml"), path));
        } else if (kind.startsWith("symbolic link to a named pipe")) {
            QVERIFY(Make_Fifo(elsewhere.filePath("linked.xml")));
            QVERIFY(QFile::link(elsewhere.filePath("linked.xml"), path));
        } else if (fifo)
            QVERIFY(Make_Fifo(path));
        else if (kind.startsWith("sparse"))
            QVERIFY(Make_Sparse(path, qint64(300) << 20, plain));
        else
            test::Write_Bytes(path, bytes);

        const QStringList before = Listing(inst.dir.path());
        Outcome got;
        {
            Rss_Report rss(QStringLiteral("%1, %2").arg(Reader_Names[r], kind));
            got = inst.Read(r);
        }

        // Nothing beside the reader's own file changed (the compiler writes its image).
        QStringList after = Listing(inst.dir.path());
        if (r == Compiler_ParGen || r == Compiler_KNX) {
            const QString image = inst.Image_Path().mid(inst.dir.path().size());
            after.removeIf([&](const QString& line) { return line.startsWith(image + u' '); });
            QStringList old = before;
            old.removeIf([&](const QString& line) { return line.startsWith(image + u' '); });
            QCOMPARE(after, old);
        } else {
            QCOMPARE(after, before);
        }
        QVERIFY2(!got.values.contains(QString::fromLatin1(Secret)), qPrintable(got.values.left(400)));
        QVERIFY2(!got.values.contains("lollol"), qPrintable(got.values.left(400)));

        if (expect == Defaults_Or_Error) {
            if (r == Job_Reader)
                QVERIFY2(got.error, qPrintable(got.values));
            else
                QVERIFY2(got.error || got.defaults, qPrintable(got.values.left(400)));
        } else if (expect == Like_Plain) {
            test::Write_Bytes(path, plain);
            const Outcome want = inst.Read(r);
            QCOMPARE(got.error, want.error);
            QCOMPARE(got.values, want.values);
            if (r != Job_Reader)
                QVERIFY(!got.defaults);
            else
                QVERIFY2(!got.error, qPrintable(got.values)); // the plain job is sound
        }
    }

    // Every XML reader on every truncation of a sound file: an error or the
    // defaults, or the values of the sound file when only the trailing comment
    // is cut. Bound: the file's length in reads, each of a file below 2 KB.
    void truncatedXml_data()
    {
        QTest::addColumn<int>("reader");
        for (int r = Settings_Reader; r <= Job_Reader; ++r)
            QTest::newRow(Reader_Names[r]) << r;
    }

    void truncatedXml()
    {
        QFETCH(int, reader);
        const Reader r = Reader(reader);
        Installation inst;
        inst.Make_Default_Image(r);
        QVERIFY(Compile_And_Save_Image(inst.state).isEmpty());
        const QByteArray plain = inst.Template(r).replace(Slot, Installation::Plain_Slot(r));
        const QString path = inst.File(r);
        test::Write_Bytes(path, plain);
        const Outcome whole = inst.Read(r);
        QVERIFY(!whole.error);

        // The updater runs as a process: a handful of cuts; the rest every cut.
        QList<qsizetype> cuts;
        const qsizetype rootEnd = plain.lastIndexOf('>', plain.indexOf("<!--") > 0 ? plain.indexOf("<!--") : -1);
        if (r == Job_Reader)
            cuts = {1, plain.size() / 3, plain.size() / 2, plain.size() - 1};
        else
            for (qsizetype n = 0; n < plain.size(); ++n)
                cuts << n;
        for (qsizetype n : cuts) {
            test::Write_Bytes(path, plain.left(n));
            const Outcome got = inst.Read(r);
            // Only a cut after the root's end may keep the values (the version comment is cut).
            const bool whole_root = n > rootEnd && r != Job_Reader && got.values == whole.values && !got.error;
            QVERIFY2(got.error || got.defaults || whole_root,
                     qPrintable(QStringLiteral("cut at %1: %2").arg(n).arg(got.values)));
        }
    }

    // A KNX access file of about 15 600 rows, just below the readers' limit
    // of 8 MB: the dialog's table takes the first 512 rows; the checks pass every
    // row; the compiler refuses the 513th enabled command with a message and
    // writes nothing.
    void knxAccessFileOfManyRows()
    {
        Installation inst;
        QByteArray bytes = "<BACnet_to_KNX><KNX_in_Read/><KNX_in_Write>";
        bytes.reserve(KNX_Access_File_Limit);
        const QByteArray filler(300, 'm');
        const QByteArray tail = "</KNX_in_Write></BACnet_to_KNX>";
        for (int i = 0; bytes.size() + 1024 + tail.size() <= KNX_Access_File_Limit; ++i)
            bytes += "<row Enable=\"Y\" Source_Address=\"1.1." + QByteArray::number(i % 256)
                + "\" Destination_Address=\"1/2/3\" APCI=\"Write\" Priority=\"Low\" Format=\"None\" Extended=\"N\" "
                  "ReTest=\"N\" On_Command=\"N\" On_Change=\"Y\" On_Timer=\"N\" Poll_Time=\"\" Position=\""
                + QByteArray::number(i % 1400) + "\" Bit_Mode=\"No\" Length=\"1\" Mnemonic=\"" + filler + "\"/>\n";
        bytes += tail;
        QVERIFY(bytes.size() > KNX_Access_File_Limit - 2048 && bytes.size() <= KNX_Access_File_Limit);
        test::Write_Bytes(inst.state.File_KNX_Access, bytes);
        bytes.clear();
        bytes.squeeze();

        {
            Rss_Report rss("KNX_SetAccess.xml of 8 MB of rows, reader");
            Text_Table table = Fresh_KNX_Table();
            const KNX_Read_Result result = Read_KNX_Access_File(inst.state.File_KNX_Access, table);
            QVERIFY2(result.Ok(), qPrintable(result.error));
            QCOMPARE(result.rows, KNX_Table_Rows);
            QCOMPARE(Row_Of(table, 512).Source_Address, QStringLiteral("1.1.255"));
            QCOMPARE(Row_Of(table, 512).Mnemonic, QString::fromLatin1(filler));
        }
        {
            Rss_Report rss("KNX_SetAccess.xml of 8 MB of rows, checks and compiler");
            const QString error = Compile_And_Save_Image(inst.state);
            QVERIFY2(error.contains("at most 512"), qPrintable(error));
            QVERIFY(!QFile::exists(inst.Image_Path()));
        }
    }

    // Every reader at its size limit, in the shape that costs it the most
    // memory per byte (empty elements of four bytes, "<a/>", or for a
    // language file one line of one entry): the file at the limit is read,
    // one byte more is refused by its size before it is read. The peak
    // memory of each reader is printed; docs/reliability.md has the figures
    // of the command-line tool on the same files.
    void sizeLimits_data()
    {
        QTest::addColumn<int>("reader");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<bool>("over");
        const QList<std::pair<Reader, qint64>> limits = {
            {Settings_Reader, Settings_File_Limit},  {ParGen_Reader, ParGen_File_Limit},
            {KNX_Reader, KNX_Access_File_Limit},     {Compiler_ParGen, ParGen_File_Limit},
            {Compiler_KNX, KNX_Access_File_Limit},
        };
        for (const auto& [r, limit] : limits) {
            QTest::newRow(qPrintable(QStringLiteral("%1 at its limit").arg(Reader_Names[r]))) << int(r) << limit << false;
            QTest::newRow(qPrintable(QStringLiteral("%1 one byte over").arg(Reader_Names[r]))) << int(r) << limit << true;
        }
    }

    void sizeLimits()
    {
        QFETCH(int, reader);
        QFETCH(qint64, limit);
        QFETCH(bool, over);
        const Reader r = Reader(reader);
        Installation inst;
        QByteArray head, tail;
        // A value first, so that a file that is read differs from one refused.
        switch (r) {
        case Settings_Reader:
            head = "<Conf_Settings><lastproj><projectname>plant</projectname></lastproj>";
            tail = "</Conf_Settings>";
            break;
        case ParGen_Reader: case Compiler_ParGen:
            head = "<Par_Gen><PROFINET_NAME_STA>plant</PROFINET_NAME_STA>";
            tail = "</Par_Gen>";
            break;
        default: head = "<BACnet_to_KNX><KNX_in_Read/><KNX_in_Write>"; tail = "</KNX_in_Write></BACnet_to_KNX>"; break;
        }
        const qint64 size = limit + (over ? 1 : 0);
        const qint64 fill = size - head.size() - tail.size();
        QByteArray bytes = head + QByteArray("<a/>").repeated(fill / 4) + QByteArray(fill % 4, ' ') + tail;
        QCOMPARE(qint64(bytes.size()), size);
        test::Write_Bytes(inst.File(r), bytes);
        bytes.clear();
        bytes.squeeze();

        Outcome got;
        {
            Rss_Report rss(QStringLiteral("%1, %2 bytes of <a/>").arg(Reader_Names[r]).arg(size));
            got = inst.Read(r);
        }
        if (r == Settings_Reader) {
            // The settings reader has no error: a refused file gives the defaults.
            QCOMPARE(got.defaults, over);
        } else if (over) {
            QVERIFY2(got.error, qPrintable(got.values.left(200)));
        } else if (r == KNX_Reader || r == Compiler_KNX) {
            // 2 million elements that are no rows: read whole, and refused for
            // the first row's missing attribute, not for the file's size.
            Text_Table table = Fresh_KNX_Table();
            const QString error = Read_KNX_Access_File(inst.File(r), table).error;
            QVERIFY2(error.contains("row 1 has no attribute"), qPrintable(error));
            QVERIFY(got.error);
        } else {
            QVERIFY2(!got.error, qPrintable(got.values.left(200)));
        }
        if (over && r != Settings_Reader) {
            QString error;
            if (r == ParGen_Reader) {
                ParGen_Values v;
                error = Load_ParGen(inst.File(r), v);
            } else if (r == KNX_Reader) {
                Text_Table table = Fresh_KNX_Table();
                error = Read_KNX_Access_File(inst.File(r), table).error;
            } else {
                error = Compile_And_Save_Image(inst.state);
            }
            QVERIFY2(error.contains("larger") || error.contains("bytes"), qPrintable(error));
        }
    }

    // A language file at its limit, one entry of that length: read; one byte more: refused.
    void languageFileLimit_data()
    {
        QTest::addColumn<bool>("over");
        QTest::newRow("at the limit") << false;
        QTest::newRow("one byte over") << true;
    }

    void languageFileLimit()
    {
        QFETCH(bool, over);
        QTemporaryDir dir;
        const QByteArray head = "STR 3 = ";
        const qint64 size = Language_File_Limit + (over ? 1 : 0);
        test::Write_Bytes(dir.filePath("Test.lng"), head + QByteArray(size - head.size(), 'a'));
        ProgramState state;
        state.Dir_Language = dir.path();
        state.Language_Name = "Test";
        QString error;
        {
            Rss_Report rss(QStringLiteral("language file of %1 bytes, one entry").arg(size));
            error = Load_Language(state);
        }
        QCOMPARE(error.isEmpty(), !over);
        QCOMPARE(state.Lang_Strings[3].size(), over ? Default_Texts()[3].size() : qsizetype(size - head.size()));
    }

    // Values the data checks refuse never reach an image: Update Device and
    // update (Compile_And_Save_Image) and compile stop with the check's
    // message and write nothing; compile --no-check compiles them as before
    // (an octet of 300 wraps to 44). The check command tests rows whose
    // Enable is exactly "Y" up to the first empty Source Add; the compile
    // takes more rows, and these get the same tests.
    void valuesTheChecksRefuse_data()
    {
        QTest::addColumn<QByteArray>("parGen");   // children of Par_Gen
        QTest::addColumn<QByteArray>("rows");     // children of KNX_in_Write
        QTest::addColumn<int>("entry");           // the failing test's entry; 0: passes
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("limit");       // the limit the message names
        const QByteArray row = "<row Enable=\"Y\" Source_Address=\"1.1.1\" Destination_Address=\"1/1/1\" "
                               "APCI=\"Write\" Priority=\"Low\" Format=\"None\" Extended=\"N\" ReTest=\"N\" "
                               "On_Command=\"N\" On_Change=\"N\" On_Timer=\"N\" Poll_Time=\"\" Position=\"0\" "
                               "Bit_Mode=\"No\" Length=\"1\" Mnemonic=\"\"/>";
        const auto with = [&row](const QByteArray& attribute, const QByteArray& value) {
            QByteArray r = row;
            const qsizetype at = r.indexOf(' ' + attribute + "=\"") + attribute.size() + 3;
            return r.replace(at, r.indexOf('"', at) - at, value);
        };
        QTest::newRow("IP octet 300 (wraps to 44)") << QByteArray("<PROFINET_IP1>300</PROFINET_IP1>") << row << 957 << 0 << "";
        QTest::newRow("IP octet -1 (wraps to 255)") << QByteArray("<PROFINET_IP4>-1</PROFINET_IP4>") << row << 960 << 0 << "";
        QTest::newRow("device address 99.99.999") << QByteArray("<KNX_ID_DEV>99.99.999</KNX_ID_DEV>") << row << 123
                                                  << 0 << "";
        QTest::newRow("source address 99.99.999") << QByteArray() << with("Source_Address", "99.99.999") << 218 << 1 << "";
        QTest::newRow("Enable \"y\": compiled, not checked by check")
            << QByteArray() << row + with("Enable", "y").replace("Length=\"1\"", "Length=\"0\"") << 225 << 2 << "14";
        QTest::newRow("Enable \" y \" in a blank: compiled")
            << QByteArray() << with("Enable", " yes").replace("Length=\"1\"", "Length=\"15\"") + with("Enable", " y ")
                   .replace("Position=\"0\"", "Position=\"1439\"") << 223 << 2 << "1438";
        QTest::newRow("no Enable attribute: compiled")
            << QByteArray() << QByteArray(row).replace("Enable=\"Y\" ", "").replace("APCI=\"Write\"", "APCI=\"Talk\"")
            << 220 << 1 << "";
        QTest::newRow("row after an empty Source Add: the empty row fails")
            << QByteArray() << row + with("Source_Address", "") + row << 218 << 2 << "";
        QTest::newRow("row after an empty Source Add, not enabled: the next fails")
            << QByteArray() << row + with("Source_Address", "").replace("Enable=\"Y\"", "Enable=\"N\"")
                   + with("Destination_Address", "32/0/0") << 229 << 3 << "";
        QTest::newRow("row 600 after 599 rows not enabled")
            << QByteArray() << with("Enable", "N").repeated(599) + with("Priority", "Low").replace("Length=\"1\"", "Length=\"300\"")
            << 225 << 600 << "14";
        QTest::newRow("rows not enabled are not tested")
            << QByteArray() << with("Enable", "N").replace("Length=\"1\"", "Length=\"0\"") + with("Enable", "no") + row
            << 0 << 0 << "";
        QTest::newRow("unknown priority compiles as Normal, as the dialog reads it")
            << QByteArray() << row + with("Enable", "y").replace("Priority=\"Low\"", "Priority=\"High\"") << 0 << 0 << "";
    }

    void valuesTheChecksRefuse()
    {
        QFETCH(QByteArray, parGen);
        QFETCH(QByteArray, rows);
        QFETCH(int, entry);
        QFETCH(int, row);
        QFETCH(QString, limit);
        Installation inst;
        Set_Default_Texts(inst.state);
        test::Write_Bytes(inst.state.File_ParGen, "<Par_Gen>" + parGen + "</Par_Gen>");
        test::Write_Bytes(inst.state.File_KNX_Access,
                          "<BACnet_to_KNX><KNX_in_Read/><KNX_in_Write>" + rows + "</KNX_in_Write></BACnet_to_KNX>");
        const QString message = entry ? Check_Message(Check_Result::Fail(entry, row, limit), inst.state) : QString();
        const QString image = inst.Image_Path();
        const QString output = inst.dir.filePath("out.bin");

        // Update Device and update.
        QCOMPARE(Compile_And_Save_Image(inst.state), message);
        QCOMPARE(QFile::exists(image), entry == 0);
        QFile::remove(image);

        // compile, to its own file and to the output file.
        for (const QStringList& args : {QStringList{"compile", inst.state.Dir_Project},
                                        QStringList{"compile", inst.state.Dir_Project, "--output", output}}) {
            const test::Cli_Run run = test::Run_Tool(args);
            QCOMPARE(run.code, entry ? 1 : 0);
            if (entry) {
                QCOMPARE(run.err, "loomwright-cli: " + message + "\n");
                QCOMPARE(run.out, QString());
            }
            QCOMPARE(QFile::exists(image) || QFile::exists(output), entry == 0);
            QFile::remove(image);
            QFile::remove(output);
        }

        // compile --no-check: what the files hold, as before (a missing
        // attribute still stops it).
        const test::Cli_Run service = test::Run_Tool({"compile", inst.state.Dir_Project, "--no-check"});
        QCOMPARE(service.code, 0);
        QVERIFY(QFile::exists(image));
        if (parGen.contains("300"))
            QCOMPARE(quint8(test::Read_Bytes(image).at(image::Param_Block_Offset + 0x28)), quint8(44));
    }

    // Language files in other encodings and with odd bytes. Bound: files below 1 KB.
    void languageFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("entry3"); // entry 3 afterwards; "-" for its default

        const QByteArray text = "STR 3 = Drei\r\nSTR 4 = Vier\r\n";
        QTest::newRow("UTF-16 little-endian with mark") << Utf16(text, true, true) << "Drei";
        QTest::newRow("UTF-16 big-endian with mark") << Utf16(text, false, true) << "Drei";
        // Without a mark the bytes read as UTF-8: every other character is a
        // NUL, so no line begins with "STR" and nothing is replaced.
        QTest::newRow("UTF-16 little-endian without mark") << Utf16(text, true, false) << "-";
        QTest::newRow("UTF-16 big-endian without mark") << Utf16(text, false, false) << "-";
        QTest::newRow("UTF-16 with mark, odd length") << Utf16(text, true, true) + "S" << "Drei";
        QTest::newRow("UTF-16 mark alone") << QByteArray("\xFF\xFE", 2) << "-";
        QTest::newRow("UTF-8 mark, then bytes that are not UTF-8") << QByteArray("\xEF\xBB\xBFSTR 3 = \xFF\xFE\x80\n")
                                                                   << QString::fromUtf8("\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
        QTest::newRow("NUL bytes only") << QByteArray(1024, '\0') << "-";
        QTest::newRow("NUL inside the text") << QByteArray("STR 3 = a\0b\n", 12) << QString::fromLatin1("a\0b", 3);
        QTest::newRow("NUL between the lines") << QByteArray("\0STR 3 = x\n\0", 12) << "x";
        QTest::newRow("truncated in the middle of a line") << QByteArray("STR 3 = Dr") << "Dr";
        QTest::newRow("truncated before the text") << QByteArray("STR 3 =") << "-";
        QTest::newRow("truncated inside the index") << QByteArray("STR 3") << "-";
    }

    void languageFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, entry3);
        QTemporaryDir dir;
        test::Write_Bytes(dir.filePath("Test.lng"), bytes);
        ProgramState state;
        state.Dir_Language = dir.path();
        state.Language_Name = "Test";
        Load_Language(state);
        QCOMPARE(state.Lang_Strings.size(), Lang_Table_Size);
        QCOMPARE(state.Language_Name, QStringLiteral("Test"));
        QCOMPARE(state.Lang_Strings[3], entry3 == "-" ? Default_Texts()[3] : entry3);
    }

    // A named pipe in the selected language's place is never opened: the
    // loader falls back to English.lng as for a missing file.
    void languageFileThatIsAPipe()
    {
        QTemporaryDir dir;
        QVERIFY(Make_Fifo(dir.filePath("Test.lng")));
        test::Write_Bytes(dir.filePath("English.lng"), "STR 3 = english\n");
        ProgramState state;
        state.Dir_Language = dir.path();
        state.Language_Name = "Test";
        Load_Language(state);
        QCOMPARE(state.Language_Name, Default_Language);
        QCOMPARE(state.Lang_Strings[3], QStringLiteral("english"));
        QString text, error;
        QVERIFY(!Read_Language_Text(dir.filePath("Test.lng"), text, error));
        QVERIFY2(error.contains("not a plain file"), qPrintable(error));
    }

    // A Language_Name from the settings file that is not a plain file name
    // names no file of LANGUAGE: English.lng is used, as for a missing file,
    // and no .lng outside the folder (or of that odd name) is ever read.
    void languageNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("parent folder") << "../Outside";
        QTest::newRow("absolute path") << "@/Outside";
        QTest::newRow("sub-folder") << "sub/Inner";
        QTest::newRow("backslash") << "sub\\Inner";
        QTest::newRow("current folder (file ..lng)") << ".";
        QTest::newRow("parent alone (file ...lng)") << "..";
        QTest::newRow("empty (file .lng)") << "";
        QTest::newRow("line end") << "Eng\nlish";
    }

    void languageNames()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString language = dir.filePath("app/LANGUAGE");
        QVERIFY(QDir().mkpath(language + "/sub"));
        test::Write_Bytes(language + "/English.lng", "STR 3 = english\n");
        const QByteArray foreign = "STR 3 = foreign\n";
        test::Write_Bytes(dir.filePath("app/Outside.lng"), foreign);
        test::Write_Bytes(dir.filePath("Outside.lng"), foreign);
        test::Write_Bytes(language + "/sub/Inner.lng", foreign);
        test::Write_Bytes(language + "/sub\\Inner.lng", foreign);
        test::Write_Bytes(language + "/..lng", foreign);
        test::Write_Bytes(language + "/...lng", foreign);
        test::Write_Bytes(language + "/.lng", foreign);
        test::Write_Bytes(language + "/Eng\nlish.lng", foreign);

        ProgramState state;
        state.Dir_Language = language;
        state.Language_Name = QString(name).replace("@", dir.path());
        QVERIFY(Load_Language(state).isEmpty());
        QCOMPARE(state.Language_Name, Default_Language);
        QCOMPARE(state.Lang_Strings[3], QStringLiteral("english"));
    }

    // Settings values of 1 MB each: read as they stand, written back whole, and
    // harmless where they are used (a project folder, a language file and an
    // address of that length do not exist, so the defaults apply).
    void settingsValuesOf1MB()
    {
        QTemporaryDir dir;
        ProgramState written;
        written.Dir_App = dir.path();
        written.Name_Project = QString(1 << 20, u'p');
        written.Last_IP = "1.2.3." + QString(1 << 20, u'4');
        written.Language_Name = QString(1 << 20, u'l');
        written.Enable_Internet = written.Enable_Update = true;
        QVERIFY(Save_Setting(written).isEmpty());

        Rss_Report rss("settings values of 1 MB");
        ProgramState state;
        Run_Startup(state, dir.path());
        QCOMPARE(state.Name_Project, written.Name_Project);
        QCOMPARE(state.Last_IP, written.Last_IP);
        QVERIFY(state.Dir_Project.isEmpty());
        QCOMPARE(state.Language_Name, Default_Language);
        QCOMPARE(state.Lang_Strings.size(), Lang_Table_Size);
        QString a, b, c, d;
        QVERIFY(!Valid_IP(state.Last_IP, a, b, c, d));

        state.Language_Name = written.Language_Name;
        QVERIFY(Save_Setting(state).isEmpty());
        ProgramState again;
        again.Dir_App = dir.path();
        Read_Setting(again);
        QCOMPARE(again.Name_Project, written.Name_Project);
        QCOMPARE(again.Language_Name, written.Language_Name);
        QCOMPARE(again.Last_IP, written.Last_IP);
    }

    // Project names that would leave PROJECTS, name no folder of their own or
    // that no file system of the home platform takes: refused, and nothing is
    // created anywhere.
    void projectNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("refusal"); // 0: created
        QTest::newRow("separator") << "a/b" << Entry_Name_Not_Valid;
        QTest::newRow("backslash") << "a\\b" << Entry_Name_Not_Valid;
        QTest::newRow("leading separator") << "/tmp" << Entry_Name_Not_Valid;
        QTest::newRow("parent") << ".." << Entry_Name_Not_Valid;
        QTest::newRow("parent with separator") << "../escape" << Entry_Name_Not_Valid;
        QTest::newRow("current") << "." << Entry_Name_Not_Valid;
        QTest::newRow("newline") << "a\nb" << Entry_Name_Not_Valid;
        QTest::newRow("tab") << "a\tb" << Entry_Name_Not_Valid;
        QTest::newRow("escape sequence") << "\x1b[31mred" << Entry_Name_Not_Valid;
        QTest::newRow("NUL") << QString::fromLatin1("a\0b", 3) << Entry_Name_Not_Valid;
        QTest::newRow("10 000 characters") << QString(10000, u'x') << Entry_Name_Not_Valid;
        QTest::newRow("256 characters") << QString(256, u'x') << Entry_Name_Not_Valid;
        QTest::newRow("C1 next line U+0085") << QString::fromUtf16(u"a\u0085b") << Entry_Name_Not_Valid;
        QTest::newRow("C1 control sequence introducer U+009B") << QString::fromUtf16(u"\u009B31mred")
                                                                << Entry_Name_Not_Valid;
        QTest::newRow("right-to-left override U+202E") << QString::fromUtf16(u"plant\u202Efdp.exe")
                                                        << Entry_Name_Not_Valid;
        QTest::newRow("left-to-right embedding U+202A") << QString::fromUtf16(u"\u202Aplant") << Entry_Name_Not_Valid;
        QTest::newRow("first strong isolate U+2068") << QString::fromUtf16(u"a\u2068b") << Entry_Name_Not_Valid;
        QTest::newRow("pop directional isolate U+2069") << QString::fromUtf16(u"a\u2069b") << Entry_Name_Not_Valid;
        QTest::newRow("line separator U+2028") << QString::fromUtf16(u"a\u2028b") << Entry_Name_Not_Valid;
        QTest::newRow("paragraph separator U+2029") << QString::fromUtf16(u"a\u2029b") << Entry_Name_Not_Valid;
        QTest::newRow("lone high surrogate") << (QString("a") + QChar(0xD800) + "b") << Entry_Name_Not_Valid;
        QTest::newRow("lone low surrogate") << (QString("a") + QChar(0xDC00)) << Entry_Name_Not_Valid;
        QTest::newRow("high surrogate at the end") << (QString("a") + QChar(0xD83D)) << Entry_Name_Not_Valid;
        QTest::newRow("surrogate pair (a character outside the BMP)") << QString::fromUtf16(u"Anlage \U0001F3ED") << 0;
        QTest::newRow("255 characters") << QString(255, u'x') << 0;
        QTest::newRow("three points (a name)") << "..." << 0;
        QTest::newRow("blank") << " " << 0;
        QTest::newRow("non-ASCII") << QString::fromUtf8("Anlage Süd ✓") << 0;
    }

    void projectNames()
    {
        QFETCH(QString, name);
        QFETCH(int, refusal);
        QTemporaryDir dir;
        ProgramState state;
        state.Dir_Projects = dir.filePath("app/PROJECTS");
        QVERIFY(QDir().mkpath(state.Dir_Projects));
        const QStringList before = Listing(dir.path());
        QCOMPARE(Create_Configuration(state, name), refusal);
        const QStringList after = Listing(dir.path());
        if (refusal) {
            QCOMPARE(after, before);
            QVERIFY(state.Dir_Project.isEmpty());
        } else {
            // Exactly the folder and its bin folder, inside PROJECTS.
            QCOMPARE(state.Dir_Project, Join_Path(state.Dir_Projects, name));
            const QString inside = "/app/PROJECTS/" + name;
            QStringList expected = before;
            expected << inside + " " + QString::number(QFileInfo(state.Dir_Project).size())
                     << inside + "/bin " + QString::number(QFileInfo(state.Dir_Project + "/bin").size());
            expected.sort();
            QCOMPARE(after, expected);
        }
    }

    // inspect reads at most 22528 bytes: every other size is refused before
    // reading, and what is not a plain file is never opened.
    void inspectFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("code");
        QTest::newRow("empty") << "empty" << 2;
        QTest::newRow("one byte") << "one" << 2;
        QTest::newRow("one byte short") << "short" << 2;
        QTest::newRow("one byte long") << "long" << 2;
        QTest::newRow("sparse 100 MB") << "huge" << 2;
        QTest::newRow("random bytes of image size") << "random" << 1;
        QTest::newRow("zero bytes of image size (checksum 0 is valid)") << "zeros" << 0;
        QTest::newRow("named pipe") << "fifo" << 2;
        QTest::newRow("device that never ends") << "/dev/zero" << 2;
        QTest::newRow("folder") << "folder" << 2;
        QTest::newRow("missing") << "missing" << 2;
    }

    void inspectFiles()
    {
        QFETCH(QString, kind);
        QFETCH(int, code);
        QTemporaryDir dir;
        QString path = dir.filePath("bank.bin");
        if (kind == "empty")
            test::Write_Bytes(path, {});
        else if (kind == "one")
            test::Write_Bytes(path, "I");
        else if (kind == "short")
            test::Write_Bytes(path, QByteArray(image::Image_Size - 1, '\x11'));
        else if (kind == "long")
            test::Write_Bytes(path, QByteArray(image::Image_Size + 1, '\x11'));
        else if (kind == "huge")
            QVERIFY(Make_Sparse(path, qint64(100) << 20, "x"));
        else if (kind == "random")
            test::Write_Bytes(path, Random_Bytes(image::Image_Size, 22528));
        else if (kind == "zeros")
            test::Write_Bytes(path, QByteArray(image::Image_Size, '\0'));
        else if (kind == "fifo")
            QVERIFY(Make_Fifo(path));
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (kind.startsWith('/'))
            path = kind;

        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        cli::CliIO io{outStream, errStream};
        const int exit = cli::Run_Cli({"inspect", path}, io);
        QCOMPARE(exit, code);
        if (code == 2)
            QVERIFY2(err.contains(path), qPrintable(err));
        else if (code == 1)
            QVERIFY2(err.contains("checksum"), qPrintable(err));
        else
            QVERIFY2(err.isEmpty(), qPrintable(err));
        qInfo("report of %lld characters", qlonglong(out.size()));
    }

    // Ping hosts that are no numeric IPv4 address: the echo client refuses them
    // before it opens a socket (no socket kind is chosen), so nothing is sent
    // and no name is looked up; the connection test reports its error case
    // after that one refused echo.
    void pingHosts_data()
    {
        QTest::addColumn<QString>("host");
        QTest::newRow("letters") << "converter";
        QTest::newRow("letters in four fields") << "a.b.c.d";
        QTest::newRow("IPv6 loopback") << "::1";
        QTest::newRow("IPv6 link-local with zone") << "fe80::1%lo";
        QTest::newRow("IPv4-mapped IPv6") << "::ffff:127.0.0.1";
        QTest::newRow("octet 256") << "127.0.0.256";
        QTest::newRow("octet 999") << "999.0.0.1";
        QTest::newRow("octet 4294967297 (wraps to 1 in 32 bits)") << "127.0.0.4294967297";
        QTest::newRow("one number") << "2130706433";
        QTest::newRow("full-width digits") << QString::fromUtf8("１２７.０.０.１");
        QTest::newRow("Arabic-Indic digits") << QString::fromUtf8("١٢٧.0.0.1");
        QTest::newRow("1 MB of digits and points") << QString("127.0.0.").repeated(1 << 17);
        QTest::newRow("empty boxes") << "...";
    }

    void pingHosts()
    {
        QFETCH(QString, host);
        auto client = Make_System_Echo_Client();
        const Echo_Result r = client->Echo(host, host.toUtf8(), 0, Ping_Echo_Timeout_Ms);
        QVERIFY(!r.Ok);
        QVERIFY(!r.No_Socket);
        QVERIFY2(r.Socket_Kind.isEmpty(), qPrintable(r.Socket_Kind));
        QVERIFY2(r.Error.contains("not a numeric IPv4 address"), qPrintable(r.Error.left(200)));

        // A clock that never moves: only the refusal itself can end the test.
        struct Frozen_Clock final : Ping_Clock {
            quint32 Tick_Ms() override { return 0; }
            void Sleep_Ms(int) override {}
        } clock;
        const Ping_Test_Result t = Ping_Test(host, *client, clock, {});
        QCOMPARE(t.Outcome, Ping_Outcome::Error);
        QCOMPARE(t.Echoes, 1);
        QCOMPARE(t.Successes, 0);
    }

    // Version replies that would never end or never fit: a server on
    // 127.0.0.1 keeps sending as long as the client reads. The query stops at
    // its byte caps (16384 bytes of header, 4096 bytes of body) or at its
    // time limit (here 3 s instead of 30 s); the server can then have sent no
    // more than what the loopback socket buffers took on top (bound checked:
    // under 64 MB of 100 MB or of an endless stream).
    void versionReplies_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("failure");
        QTest::newRow("100 MB announced and sent") << "length" << "longer than 4096 bytes";
        QTest::newRow("100 MB without length") << "plain" << "longer than 4096 bytes";
        QTest::newRow("chunks that never end") << "chunked" << "longer than 4096 bytes";
        QTest::newRow("a byte a second") << "trickle" << "no reply within 3000 ms";
        QTest::newRow("status line that never ends") << "status" << "";
        QTest::newRow("header line that never ends") << "header" << "header is longer than 16384 bytes";
        QTest::newRow("header fields that never end") << "fields" << "header is longer than 16384 bytes";
        QTest::newRow("header lines of 8 KB that never end") << "long fields" << "header is longer than 16384 bytes";
    }

    void versionReplies()
    {
        QFETCH(QString, kind);
        QFETCH(QString, failure);
        Endless_Server server(kind);
        QVERIFY(server.Listen());
        Version_Query_Settings settings;
        settings.Base = server.Base();
        settings.Timeout_Ms = 3000;

        Version_Query_Result result;
        QElapsedTimer clock;
        clock.start();
        {
            Rss_Report rss("version reply: " + kind);
            result = Version_Query(settings);
        }
        // Printed, not asserted: the limit's accuracy goes in docs/reliability.md.
        qInfo("server sent %lld bytes in %lld ms; failure: %s", server.Sent(), clock.elapsed(),
              qPrintable(result.Failure));
        QVERIFY(result.Reply.isEmpty());
        QVERIFY(!result.Failure.isEmpty());
        if (!failure.isEmpty())
            QVERIFY2(result.Failure.contains(failure), qPrintable(result.Failure));
        QVERIFY(server.Sent() > 0);
        QVERIFY2(server.Sent() < (qint64(64) << 20), qPrintable(QString::number(server.Sent())));
        QVERIFY(!Is_Newer_Version_Reply(result.Reply));
    }

};

QTEST_GUILESS_MAIN(TestHostileInputs)
#include "tst_hostile_inputs.moc"
