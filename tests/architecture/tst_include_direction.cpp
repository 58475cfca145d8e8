// The layering of src/: every #include of a project header must point down the
// chain of folders below, core files include no GUI file, and only the shell's
// GUI files include another subsystem's dialogs. A violation names its file and
// line. docs/architecture.md explains the layers.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace {

// Each folder of src/ and the folders its files may include (besides its own).
// base <- platform <- xml <- lang <- knx_access <- comm_settings <- image <- report, update, options <- shell <- cli,
// with widgets above lang and below the subsystems' dialogs; image is core only.
struct Layer {
    const char* folder;
    QStringList may_include;
};

const QList<Layer>& Layers()
{
    static const QList<Layer> layers = {
        {"base", {}},
        {"platform", {"base"}},
        {"xml", {"base", "platform"}},
        {"lang", {"base", "platform", "xml"}},
        {"widgets", {"base", "platform", "xml", "lang"}},
        {"knx_access", {"base", "platform", "xml", "lang", "widgets"}},
        {"comm_settings", {"base", "platform", "xml", "lang", "widgets", "knx_access"}},
        {"image", {"base", "platform", "xml", "lang", "knx_access", "comm_settings"}},
        {"report", {"base", "platform", "xml", "lang", "knx_access", "comm_settings", "image"}},
        {"update", {"base", "platform", "xml", "lang", "widgets", "knx_access", "comm_settings", "image"}},
        {"options", {"base", "platform", "xml", "lang", "widgets", "knx_access", "comm_settings", "image"}},
        {"shell",
         {"base", "platform", "xml", "lang", "widgets", "knx_access", "comm_settings", "image", "report", "update",
          "options"}},
        {"cli",
         {"base", "platform", "xml", "lang", "knx_access", "comm_settings", "image", "report", "update", "options",
          "shell"}},
    };
    return layers;
}

QMap<QString, QStringList> Allowed()
{
    QMap<QString, QStringList> allowed;
    for (const Layer& layer : Layers())
        allowed.insert(QString::fromLatin1(layer.folder), layer.may_include);
    return allowed;
}

// The GUI files of src/ as "folder/name" without extension: every file listed
// under LW_GUI_SOURCES in a folder's sources.cmake, the whole widgets folder
// and the configurator's main.cpp.
QSet<QString> Gui_Files(const QString& srcDir)
{
    QSet<QString> gui{QStringLiteral("shell/main")};
    const QRegularExpression block(QStringLiteral(R"(list\(APPEND LW_GUI_SOURCES([^)]*)\))"));
    const QRegularExpression entry(QStringLiteral(R"(\$\{CMAKE_CURRENT_LIST_DIR\}/([A-Za-z0-9_]+)\.cpp)"));
    const QStringList folders = QDir(srcDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& folder : folders) {
        QFile file(srcDir + '/' + folder + QStringLiteral("/sources.cmake"));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto blocks = block.globalMatch(text); blocks.hasNext();) {
            const QString list = blocks.next().captured(1);
            for (auto names = entry.globalMatch(list); names.hasNext();)
                gui.insert(folder + '/' + names.next().captured(1));
        }
    }
    return gui;
}

bool Is_Gui(const QSet<QString>& gui, const QString& folder, const QString& fileName)
{
    return folder == QLatin1String("widgets") || gui.contains(folder + '/' + QFileInfo(fileName).completeBaseName());
}

// Every include of src/ (recursively) against the rules, as "file:line: reason".
QStringList Find_Violations(const QString& srcDir)
{
    const QMap<QString, QStringList> allowed = Allowed();
    const QSet<QString> gui = Gui_Files(srcDir);
    const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*"([^"]+)\")"));
    QStringList violations;
    QDirIterator it(srcDir, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(srcDir).relativeFilePath(path);
        const QString folder = relative.section('/', 0, 0);
        const QString fileName = relative.section('/', -1);
        const bool fromGui = Is_Gui(gui, folder, fileName);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            violations << relative + QStringLiteral(": cannot be read");
            continue;
        }
        QTextStream in(&file);
        int lineNo = 0;
        while (!in.atEnd()) {
            const QString line = in.readLine();
            ++lineNo;
            const auto match = include.match(line);
            if (!match.hasMatch())
                continue;
            const QString target = match.captured(1);
            if (!target.contains('/'))
                continue; // same folder, or a generated file such as a .moc
            const QString where = QStringLiteral("%1:%2: ").arg(relative).arg(lineNo);
            const QString toFolder = target.section('/', 0, 0);
            const QString toName = target.section('/', -1);
            if (!allowed.contains(folder)) {
                violations << where + QStringLiteral("folder %1 has no place in the layers").arg(folder);
                continue;
            }
            if (toFolder != folder && !allowed.value(folder).contains(toFolder)) {
                violations << where + QStringLiteral("%1 must not include %2").arg(folder, target);
                continue;
            }
            const bool toGui = Is_Gui(gui, toFolder, toName);
            if (!fromGui && toGui)
                violations << where + QStringLiteral("core file includes the GUI file %1").arg(target);
            else if (toGui && toFolder != folder && toFolder != QLatin1String("widgets")
                     && folder != QLatin1String("shell"))
                violations << where + QStringLiteral("only the shell includes another subsystem's GUI file %1").arg(target);
        }
    }
    violations.sort();
    return violations;
}

} // namespace

class TestIncludeDirection : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void every_include_follows_the_layers()
    {
        QVERIFY(QFileInfo(QStringLiteral(LW_SOURCE_DIR "/base")).isDir());
        const QStringList violations = Find_Violations(QStringLiteral(LW_SOURCE_DIR));
        QVERIFY2(violations.isEmpty(), qPrintable(violations.join('\n')));
    }

    void every_folder_of_src_has_a_layer()
    {
        const QMap<QString, QStringList> allowed = Allowed();
        const QStringList folders = QDir(QStringLiteral(LW_SOURCE_DIR)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& folder : folders)
            QVERIFY2(allowed.contains(folder), qPrintable(folder + QStringLiteral(" is missing from the layers")));
    }

    // The rules themselves: only folders that exist in the table, and no two
    // folders that may include each other, directly or round a longer loop.
    void the_layers_form_no_cycle()
    {
        const QMap<QString, QStringList> allowed = Allowed();
        QMap<QString, int> rank;
        for (int i = 0; i < Layers().size(); ++i)
            rank.insert(QString::fromLatin1(Layers()[i].folder), i);
        for (auto it = allowed.cbegin(); it != allowed.cend(); ++it) {
            for (const QString& lower : it.value()) {
                QVERIFY2(rank.contains(lower), qPrintable(lower + QStringLiteral(" is no layer")));
                // Listing lower folders first makes every edge point to an earlier row: no loop.
                QVERIFY2(rank.value(lower) < rank.value(it.key()),
                         qPrintable(it.key() + QStringLiteral(" may include the later layer ") + lower));
            }
        }
    }

    // The checker on a small tree: each kind of wrong include is reported with its file and line.
    void violations_name_file_and_line_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("allowed downward include") << "knx_access/knx_check.cpp"
                                                  << "#include \"lang/language_table.h\"\n" << "";
        QTest::newRow("upward include") << "xml/xml_document.cpp" << "// x\n#include \"shell/program_state.h\"\n"
                                        << "xml/xml_document.cpp:2: xml must not include shell/program_state.h";
        QTest::newRow("sideways between update and options")
            << "update/job_file.h" << "#include \"options/version_check.h\"\n"
            << "update/job_file.h:1: update must not include options/version_check.h";
        QTest::newRow("core file includes the widget kit")
            << "knx_access/knx_check.cpp" << "#include \"widgets/look.h\"\n"
            << "knx_access/knx_check.cpp:1: core file includes the GUI file widgets/look.h";
        QTest::newRow("dialog includes another subsystem's dialog")
            << "comm_settings/pargen_dialog.cpp" << "\n\n#include \"knx_access/knx_access_dialog.h\"\n"
            << "comm_settings/pargen_dialog.cpp:3: only the shell includes another subsystem's GUI file "
               "knx_access/knx_access_dialog.h";
        QTest::newRow("shell composes the dialogs") << "shell/main_window.cpp"
                                                    << "#include \"knx_access/knx_access_dialog.h\"\n" << "";
        QTest::newRow("unknown folder") << "gadgets/thing.cpp" << "#include \"base/text_rules.h\"\n"
                                        << "gadgets/thing.cpp:1: folder gadgets has no place in the layers";
    }

    void violations_name_file_and_line()
    {
        QFETCH(QString, file);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const auto write = [&dir](const QString& relative, const QByteArray& bytes) {
            QDir().mkpath(QFileInfo(dir.filePath(relative)).path());
            QFile out(dir.filePath(relative));
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(bytes);
        };
        const QByteArray guiList = "list(APPEND LW_GUI_SOURCES\n    ${CMAKE_CURRENT_LIST_DIR}/%1.cpp\n)\n";
        write("knx_access/sources.cmake", QByteArray(guiList).replace("%1", "knx_access_dialog"));
        write("comm_settings/sources.cmake", QByteArray(guiList).replace("%1", "pargen_dialog"));
        write("shell/sources.cmake", QByteArray(guiList).replace("%1", "main_window"));
        write(file, text.toUtf8());
        const QStringList violations = Find_Violations(dir.path());
        QCOMPARE(violations, expected.isEmpty() ? QStringList() : QStringList{expected});
    }
};

QTEST_GUILESS_MAIN(TestIncludeDirection)
#include "tst_include_direction.moc"
