#include "netloader_standin/job_check.h"

#include "platform/atomic_file.h"
#include "platform/ipv4_address.h"
#include "xml/xml_document.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

namespace netloader {

namespace {

using lw::xml::Node;

struct Expected {
    const char* Name;
    const char* Text; // nullptr: checked separately
};

const Expected Root_Children[] = {
    {"Version", "1000"},
    {"Title", "Veltrona - KQ4315 NetLoader"},
    {"IP_Address_Dev", nullptr},
    {"Application_Port", "10000"},
    {"Boot_Port", "2008"},
    {"Boot_Port_Sec", "2007"},
    {"Address_Protection", "0x78000"},
    {"Protections", nullptr},
    {"Operations", nullptr},
};

enum Operation_Kind { Firmware, Configuration };

struct Operation_Table {
    const char* Label;
    const char* Start_Address;
    const char* Bank_Type;
    const char* Write_CSS;
    const char* Address_CSS;
};

const Operation_Table Operation_Tables[] = {
    {"firmware", "0x8000", "1", "1", "0x78100"},
    {"configuration", "0x63000", "2", "0", "0x50100"},
};

const char* const Operation_Children[] = {
    "Ope_Protection_Enabled", "Ope_GoToBoot_Before", "Ope_GoToApp_Before", "Ope_IP_Address",
    "Ope_Port", "Ope_Port_Sec", "Ope_Erase_Memory", "Ope_FileName",
    "Ope_Start_Address", "Ope_Memory_Type", "Ope_Bank_Type", "Ope_Read_Back",
    "Ope_Write_CSS", "Ope_Address_CSS", "Ope_Command_CSS", "Ope_GoToApp_After",
};

class Checker {
public:
    Checker(const QString& folder, Job_Verdict& verdict) : m_folder(folder), m_v(verdict) {}

    void Run()
    {
        const QString path = QDir(m_folder).filePath(QStringLiteral("NetLoader.xml"));
        if (!QFileInfo::exists(path)) {
            m_v.Code = Job_Unreadable;
            m_v.Problems << QStringLiteral("there is no job file %1").arg(path);
            return;
        }
        lw::xml::Document doc;
        const QString loadError = doc.Load(path, qint64(1) << 20);
        if (!loadError.isEmpty()) {
            m_v.Code = Job_Unreadable;
            m_v.Problems << loadError;
            return;
        }
        Check_Document(doc);
        m_v.Code = m_v.Problems.isEmpty() ? Job_Sound : Job_Faulty;
    }

private:
    void Problem(const QString& text) { m_v.Problems << text; }

    void Check_No_Attributes(const Node& node, const QString& where)
    {
        if (node.Raw().first_attribute())
            Problem(QStringLiteral("%1 carries attributes; the job file has none").arg(where));
    }

    // The element's text, or a problem when it holds anything but text.
    std::optional<QString> Text_Of(const Node& node, const QString& where)
    {
        Check_No_Attributes(node, where);
        const std::optional<QString> text = node.Text();
        if (!text)
            Problem(QStringLiteral("%1 does not hold a plain text").arg(where));
        return text;
    }

    void Expect_Text(const Node& node, const QString& where, const QString& expected)
    {
        const std::optional<QString> text = Text_Of(node, where);
        if (text && *text != expected)
            Problem(QStringLiteral("%1 is \"%2\", expected \"%3\"").arg(where, *text, expected));
    }

    // The element children of parent when they are exactly names, in this order.
    bool Expect_Children(const Node& parent, const QString& where, const QStringList& names, std::vector<Node>& out)
    {
        out.clear();
        QStringList got;
        bool onlyElements = true;
        for (const Node& child : parent.Children()) {
            if (!child.Is_Element()) {
                onlyElements = false;
                continue;
            }
            out.push_back(child);
            got << child.Name();
        }
        if (!onlyElements)
            Problem(QStringLiteral("%1 holds text or other nodes besides its elements").arg(where));
        if (got != names) {
            Problem(QStringLiteral("%1 holds [%2], expected [%3]").arg(where, got.join(u' '), names.join(u' ')));
            return false;
        }
        return true;
    }

    void Check_Document(const lw::xml::Document& doc)
    {
        const std::vector<Node> top = doc.Top_Level();
        const Node root = doc.First_Node();
        if (root.Is_Null() || !root.Is_Element() || root.Name() != QLatin1String("NetLoader")) {
            Problem(QStringLiteral("the first node of the file is not the element NetLoader"));
            return;
        }
        if (top.size() != 1)
            Problem(QStringLiteral("the file holds other nodes besides the NetLoader element"));
        Check_No_Attributes(root, QStringLiteral("NetLoader"));

        QStringList names;
        for (const Expected& e : Root_Children)
            names << QLatin1String(e.Name);
        std::vector<Node> children;
        if (!Expect_Children(root, QStringLiteral("NetLoader"), names, children))
            return;
        for (size_t i = 0; i < children.size(); ++i) {
            if (Root_Children[i].Text)
                Expect_Text(children[i], names[int(i)], QLatin1String(Root_Children[i].Text));
        }

        const std::optional<QString> address = Text_Of(children[2], QStringLiteral("IP_Address_Dev"));
        if (address) {
            if (lw::Parse_Numeric_IPv4(*address))
                m_v.Report << QStringLiteral("Converter at %1, application port 10000, boot ports 2008 and 2007")
                                  .arg(*address);
            else
                Problem(QStringLiteral("IP_Address_Dev \"%1\" is not a dotted IPv4 address").arg(*address));
        }

        std::vector<Node> protections;
        Check_No_Attributes(children[7], QStringLiteral("Protections"));
        if (Expect_Children(children[7], QStringLiteral("Protections"), {QStringLiteral("Protection")}, protections))
            Expect_Text(protections[0], QStringLiteral("Protection"), QStringLiteral("0x5E9"));

        Check_Operations(children[8]);
    }

    void Check_Operations(const Node& operations)
    {
        Check_No_Attributes(operations, QStringLiteral("Operations"));
        std::vector<Node> ops;
        bool onlyOperations = true;
        for (const Node& child : operations.Children()) {
            if (child.Is_Element() && child.Name() == QLatin1String("Operation"))
                ops.push_back(child);
            else
                onlyOperations = false;
        }
        if (!onlyOperations)
            Problem(QStringLiteral("Operations holds something other than Operation elements"));
        if (ops.size() > 2) {
            Problem(QStringLiteral("Operations holds %1 operations, at most 2 are allowed").arg(ops.size()));
            return;
        }
        if (ops.empty())
            m_v.Report << QStringLiteral("No operation: nothing to write");
        int previousKind = -1;
        for (size_t i = 0; i < ops.size(); ++i) {
            const int kind = Check_Operation(ops[i], int(i) + 1, i + 1 == ops.size());
            if (kind >= 0 && previousKind >= 0 && kind <= previousKind)
                Problem(QStringLiteral("operation %1 must come before operation %2 (firmware first, each once)")
                            .arg(i + 1)
                            .arg(i));
            if (kind >= 0)
                previousKind = kind;
        }
    }

    // Returns the operation's kind, or -1 when it is not recognised.
    int Check_Operation(const Node& op, int number, bool last)
    {
        const QString where = QStringLiteral("Operation %1").arg(number);
        Check_No_Attributes(op, where);
        QStringList names;
        for (const char* n : Operation_Children)
            names << QLatin1String(n);
        std::vector<Node> c;
        if (!Expect_Children(op, where, names, c))
            return -1;
        const auto field = [&](int i) { return where + u' ' + names[i]; };

        const std::optional<QString> start = Text_Of(c[8], field(8));
        int kind = -1;
        if (start && *start == QLatin1String(Operation_Tables[Firmware].Start_Address))
            kind = Firmware;
        else if (start && *start == QLatin1String(Operation_Tables[Configuration].Start_Address))
            kind = Configuration;
        if (kind < 0) {
            Problem(QStringLiteral("%1 is neither the firmware (0x8000) nor the configuration (0x63000) operation")
                        .arg(field(8)));
            return -1;
        }
        const Operation_Table& t = Operation_Tables[kind];

        Expect_Text(c[0], field(0), QString());
        Expect_Text(c[1], field(1), QStringLiteral("0"));
        Expect_Text(c[2], field(2), QStringLiteral("0"));
        Expect_Text(c[3], field(3), QString());
        Expect_Text(c[4], field(4), QStringLiteral("2008"));
        Expect_Text(c[5], field(5), QStringLiteral("2007"));
        Expect_Text(c[6], field(6), QStringLiteral("0"));
        Expect_Text(c[9], field(9), QStringLiteral("0"));
        Expect_Text(c[10], field(10), QLatin1String(t.Bank_Type));
        Expect_Text(c[12], field(12), QLatin1String(t.Write_CSS));
        Expect_Text(c[13], field(13), QLatin1String(t.Address_CSS));
        Expect_Text(c[14], field(14), QStringLiteral("0x0B"));
        // The device returns to its application only after the last operation.
        Expect_Text(c[15], field(15), last ? QStringLiteral("1") : QStringLiteral("0"));

        const std::optional<QString> readBack = Text_Of(c[11], field(11));
        if (readBack && *readBack != QLatin1String("0") && *readBack != QLatin1String("1"))
            Problem(QStringLiteral("%1 is \"%2\", expected \"0\" or \"1\"").arg(field(11), *readBack));

        QString fileNote;
        const std::optional<QString> file = Text_Of(c[7], field(7));
        if (file)
            fileNote = kind == Firmware ? Check_Firmware_File(*file, field(7)) : Check_Image_File(*file, field(7));

        m_v.Report << QStringLiteral("Operation %1: write the %2 from %3%4 at %5, read back: %6")
                          .arg(number)
                          .arg(QLatin1String(t.Label), file.value_or(QString()), fileNote,
                               QLatin1String(t.Start_Address),
                               readBack && *readBack == QLatin1String("1") ? QStringLiteral("yes")
                                                                             : QStringLiteral("no"));
        return kind;
    }

    QString Check_Firmware_File(const QString& file, const QString& where)
    {
        const QString expected = QDir(m_folder).filePath(QStringLiteral("MASTER/Sim4315.sim"));
        if (QDir::cleanPath(QDir::fromNativeSeparators(file)) != QDir::cleanPath(expected))
            Problem(QStringLiteral("%1 is \"%2\", expected the firmware file %3").arg(where, file, expected));
        const QFileInfo info(file);
        if (!info.isFile()) {
            Problem(QStringLiteral("the firmware file %1 is missing").arg(file));
            return QStringLiteral(" (missing)");
        }
        return QStringLiteral(" (%1 bytes)").arg(info.size());
    }

    QString Check_Image_File(const QString& file, const QString& where)
    {
        const QFileInfo info(file);
        if (!info.isAbsolute() || info.fileName() != QLatin1String("bank.bin")
            || info.absoluteDir().dirName() != QLatin1String("bin"))
            Problem(QStringLiteral("%1 is \"%2\", expected a project's bin/bank.bin").arg(where, file));
        if (!info.isFile()) {
            Problem(QStringLiteral("the device image %1 is missing").arg(file));
            return QStringLiteral(" (missing)");
        }
        QByteArray image;
        QString error;
        if (!lw::Read_File(file, image, error, Image_Size + 1)) {
            Problem(error);
            return QString();
        }
        if (image.size() != Image_Size) {
            Problem(QStringLiteral("the device image %1 has %2 bytes, expected %3")
                        .arg(file)
                        .arg(image.size())
                        .arg(Image_Size));
            return QStringLiteral(" (%1 bytes)").arg(image.size());
        }
        const quint32 sum = Block_Sum(image);
        const quint32 stored = qFromLittleEndian<quint32>(image.constData() + Checksum_Offset);
        if (sum != stored) {
            Problem(QStringLiteral("the device image %1 has checksum %2 stored, the block sums to %3")
                        .arg(file)
                        .arg(stored)
                        .arg(sum));
            return QStringLiteral(" (checksum wrong)");
        }
        return QStringLiteral(" (%1 bytes, checksum %2)").arg(Image_Size).arg(sum);
    }

    QString m_folder;
    Job_Verdict& m_v;
};

} // namespace

quint32 Block_Sum(const QByteArray& image)
{
    quint32 sum = 0;
    for (int i = Param_Block_Offset; i < Checksum_Offset && i < image.size(); ++i)
        sum += quint8(image[i]);
    return sum;
}

Job_Verdict Check_Job(const QString& folder)
{
    Job_Verdict verdict;
    Checker(folder, verdict).Run();
    return verdict;
}

QString Verdict_Text(const QString& folder, const Job_Verdict& verdict)
{
    QStringList lines;
    lines << QStringLiteral("NetLoader stand-in: job file %1")
                 .arg(QDir(folder).filePath(QStringLiteral("NetLoader.xml")));
    for (const QString& line : verdict.Report)
        lines << QStringLiteral("  ") + line;
    if (verdict.Code == Job_Sound) {
        lines << QStringLiteral("Verdict: the job is sound. Nothing was sent: this stand-in does not reach the "
                                "converter.");
    } else {
        lines << QStringLiteral("Verdict: the job is not sound (%1 problem%2):")
                     .arg(verdict.Problems.size())
                     .arg(verdict.Problems.size() == 1 ? "" : "s");
        for (const QString& p : verdict.Problems)
            lines << QStringLiteral("  - ") + p;
    }
    return lines.join(u'\n') + u'\n';
}

} // namespace netloader
