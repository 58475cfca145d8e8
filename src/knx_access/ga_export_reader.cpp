#include "knx_access/ga_export_reader.h"

#include "platform/atomic_file.h"
#include "base/text_rules.h"
#include "xml/xml_document.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace lw {

namespace {

// Largest export read; a project with every group address is far below it.
constexpr qint64 Max_Export_Bytes = qint64(256) << 20;

// Index of the header field named name (any letter case, stripped), -1 when absent.
qsizetype Column_Of(const QStringList& header, QLatin1StringView name)
{
    for (qsizetype i = 0; i < header.size(); ++i) {
        if (Strip_View(header[i]).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString Field(const QStringList& fields, qsizetype index)
{
    return index >= 0 && index < fields.size() ? fields[index] : QString();
}

GA_Export Read_Csv(const QString& text)
{
    GA_Export result;
    const QChar separator = Detect_Separator(text);
    const QList<Csv_Record> records = Parse_Csv(text, separator, result.error);
    if (result.error.Failed())
        return result;
    if (records.isEmpty()) {
        result.error = {Lang_Exchange_No_Format, 1, {}};
        return result;
    }
    const QStringList& header = records.front().fields;
    const qsizetype address = Column_Of(header, QLatin1StringView("Address"));
    const qsizetype groupName = Column_Of(header, QLatin1StringView("Group name"));
    const qsizetype sub = Column_Of(header, QLatin1StringView("Sub"));
    const qsizetype main = Column_Of(header, QLatin1StringView("Main"));
    const qsizetype middle = Column_Of(header, QLatin1StringView("Middle"));
    const qsizetype dpt = Column_Of(header, QLatin1StringView("DatapointType"));
    const qsizetype description = Column_Of(header, QLatin1StringView("Description"));
    qsizetype name = -1;
    if (address >= 0 && groupName >= 0) {
        result.format = GA_Export_Format::Csv_One_Name;
        name = groupName;
    } else if (address >= 0 && main >= 0 && middle >= 0 && sub >= 0) {
        result.format = GA_Export_Format::Csv_Three_Names;
        name = sub;
    } else {
        result.error = {Lang_Exchange_No_Format, records.front().line, {}};
        return result;
    }
    result.entries.reserve(records.size() - 1);
    for (qsizetype r = 1; r < records.size(); ++r) {
        const QStringList& fields = records[r].fields;
        const QString text = Field(fields, address);
        if (Is_GA_Range(text))
            continue;
        GA_Entry entry;
        entry.line = records[r].line;
        entry.address = text;
        entry.name = Field(fields, name);
        entry.dpt = Field(fields, dpt);
        entry.description = Field(fields, description);
        result.entries.append(std::move(entry));
    }
    return result;
}

// The element's name without a namespace prefix.
const char* Local_Name(const pugi::xml_node& node)
{
    const char* name = node.name();
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

// Line numbers of byte offsets into the parsed text.
class Line_Index {
public:
    explicit Line_Index(const QByteArray& utf8)
    {
        for (qsizetype i = 0; i < utf8.size(); ++i) {
            const char c = utf8[i];
            if (c == '\n' || (c == '\r' && (i + 1 >= utf8.size() || utf8[i + 1] != '\n')))
                m_ends.push_back(i);
        }
    }
    int Line_Of(std::ptrdiff_t offset) const
    {
        if (offset < 0)
            return 0;
        return int(std::lower_bound(m_ends.begin(), m_ends.end(), qsizetype(offset)) - m_ends.begin()) + 1;
    }

private:
    std::vector<qsizetype> m_ends;
};

QString Attribute_Text(const pugi::xml_node& node, const char* name)
{
    return QString::fromUtf8(node.attribute(name).value());
}

void Collect_Addresses(const pugi::xml_node& parent, const Line_Index& lines, QList<GA_Entry>& entries)
{
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        const char* name = Local_Name(child);
        if (std::strcmp(name, "GroupRange") == 0) {
            Collect_Addresses(child, lines, entries);
        } else if (std::strcmp(name, "GroupAddress") == 0) {
            GA_Entry entry;
            entry.line = lines.Line_Of(child.offset_debug());
            entry.name = Attribute_Text(child, "Name");
            entry.address = Attribute_Text(child, "Address");
            entry.dpt = Attribute_Text(child, "DPTs");
            entry.description = Attribute_Text(child, "Description");
            if (!Is_GA_Range(entry.address))
                entries.append(std::move(entry));
        }
    }
}

GA_Export Read_Xml(QString text)
{
    GA_Export result;
    // The text is decoded already: a declaration naming another encoding must
    // not make the parser decode it again. Its line ends stay.
    qsizetype lead = 0;   // blanks before the first tag
    while (lead < text.size() && text[lead].unicode() <= 32)
        ++lead;
    if (QStringView(text).mid(lead).startsWith(QLatin1StringView("<?xml"))) {
        const qsizetype end = text.indexOf(QLatin1StringView("?>"), lead);
        if (end > 0) {
            QString keep;
            for (qsizetype i = 0; i < end + 2; ++i) {
                if (text[i] == u'\n' || text[i] == u'\r')
                    keep += text[i];
            }
            text = keep + text.mid(end + 2);
        }
    }
    const QByteArray utf8 = text.toUtf8();
    const Line_Index lines(utf8);
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed =
        doc.load_buffer(utf8.constData(), size_t(utf8.size()), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) {
        result.error = {Lang_Exchange_Bad_Xml, lines.Line_Of(parsed.offset), QString::fromUtf8(parsed.description())};
        return result;
    }
    const pugi::xml_node root = doc.document_element();
    if (!root || std::strcmp(Local_Name(root), "GroupAddress-Export") != 0) {
        result.error = {Lang_Exchange_No_Format, root ? lines.Line_Of(root.offset_debug()) : 1, {}};
        return result;
    }
    result.format = GA_Export_Format::Xml;
    Collect_Addresses(root, lines, result.entries);
    return result;
}

} // namespace

bool Is_GA_Range(QStringView address)
{
    for (const QStringView part : address.split(u'/')) {
        if (Strip_View(part) == u"-")
            return true;
    }
    return false;
}

GA_Export Read_GA_Export(const QByteArray& bytes)
{
    GA_Export result;
    const QString text = Decode_Exchange_Text(bytes, result.error);
    if (result.error.Failed())
        return result;
    const QStringView start = Strip_View(text);
    if (start.startsWith(u'<'))
        return Read_Xml(text);
    return Read_Csv(text);
}

GA_Export Read_GA_Export_File(const QString& path)
{
    QByteArray bytes;
    QString reason;
    if (!Read_File(path, bytes, reason, Max_Export_Bytes)) {
        GA_Export result;
        result.error = {Lang_Exchange_Unreadable, 0, reason};
        return result;
    }
    return Read_GA_Export(bytes);
}

} // namespace lw
