#include "xml/xml_document.h"

#include "base/product.h"
#include "platform/atomic_file.h"


namespace lw::xml {

namespace {

// Comments, declarations, processing instructions and the document type are
// kept as nodes, so that the first top-level node is what the file holds.
// Entities other than the predefined ones are never expanded. A text of
// blanks alone is kept when it is an element's only content. Line ends are
// kept as they stand, so that every text the program writes reads back the same.
constexpr unsigned Parse_Flags = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_comments
    | pugi::parse_declaration | pugi::parse_pi | pugi::parse_doctype | pugi::parse_ws_pcdata_single;

// Calls use with the text in UTF-8, NUL-terminated (a text holding a NUL
// character ends there, as pugixml takes it). A short ASCII text, which most
// cell texts are, is narrowed on the stack instead of converted into a new array.
template <class Use>
void With_Utf8(const QString& text, Use use)
{
    char narrow[128];
    const qsizetype n = text.size();
    if (n < qsizetype(sizeof narrow)) {
        const char16_t* chars = reinterpret_cast<const char16_t*>(text.utf16());
        qsizetype i = 0;
        for (; i < n && chars[i] < 0x80 && chars[i] != 0; ++i)
            narrow[i] = char(chars[i]);
        if (i == n) {
            narrow[n] = 0;
            use(narrow);
            return;
        }
    }
    const QByteArray utf8 = text.toUtf8();
    use(utf8.constData());
}

// Serialises straight into a byte array.
class Byte_Writer : public pugi::xml_writer {
public:
    explicit Byte_Writer(QByteArray& out) : m_out(out) {}
    void write(const void* data, size_t size) override
    {
        m_out.append(static_cast<const char*>(data), qsizetype(size));
    }

private:
    QByteArray& m_out;
};

} // namespace

std::vector<Node> Node::Children() const
{
    std::vector<Node> out;
    for (pugi::xml_node child = m_node.first_child(); child; child = child.next_sibling())
        out.emplace_back(child);
    return out;
}

int Node::Child_Count() const
{
    int count = 0;
    for (pugi::xml_node child = m_node.first_child(); child; child = child.next_sibling())
        ++count;
    return count;
}

std::optional<QString> Node::Text() const
{
    if (!m_node || m_node.type() != pugi::node_element)
        return std::nullopt;
    const pugi::xml_node first = m_node.first_child();
    if (!first)
        return QString();
    if (first.next_sibling())
        return std::nullopt;
    if (first.type() != pugi::node_pcdata && first.type() != pugi::node_cdata)
        return std::nullopt;
    return QString::fromUtf8(first.value());
}

std::optional<QString> Node::Attribute(const char* name) const
{
    if (!m_node)
        return std::nullopt;
    const pugi::xml_attribute attr = m_node.attribute(name);
    if (!attr)
        return std::nullopt;
    return QString::fromUtf8(attr.value());
}

Node Node::Add_Child(const char* name)
{
    return Node(m_node.append_child(name));
}

void Node::Set_Text(const QString& text)
{
    while (pugi::xml_node child = m_node.first_child())
        m_node.remove_child(child);
    if (!text.isEmpty())
        With_Utf8(text, [this](const char* utf8) { m_node.append_child(pugi::node_pcdata).set_value(utf8); });
}

void Node::Set_Attribute(const char* name, const QString& value)
{
    pugi::xml_attribute attr = m_node.attribute(name);
    if (!attr)
        attr = m_node.append_attribute(name);
    With_Utf8(value, [&attr](const char* utf8) { attr.set_value(utf8); });
}

void Node::Add_Attribute(const char* name, const QString& value)
{
    pugi::xml_attribute attr = m_node.append_attribute(name);
    With_Utf8(value, [&attr](const char* utf8) { attr.set_value(utf8); });
}

QString Document::Load(const QString& path, qint64 maxBytes)
{
    QByteArray bytes;
    QString error;
    if (!Read_File(path, bytes, error, maxBytes)) {
        Clear();
        return error;
    }
    // Parsed where it was read: no second copy of a file that may be large.
    m_doc.reset();
    m_bytes = std::move(bytes);
    const QString parseError = Parse(m_doc.load_buffer_inplace(m_bytes.data(), size_t(m_bytes.size()), Parse_Flags,
                                                               pugi::encoding_auto));
    if (!parseError.isEmpty())
        return QStringLiteral("%1: %2").arg(path, parseError);
    return {};
}

QString Document::Load_Bytes(const QByteArray& bytes)
{
    Clear();
    return Parse(m_doc.load_buffer(bytes.constData(), size_t(bytes.size()), Parse_Flags, pugi::encoding_auto));
}

QString Document::Parse(const pugi::xml_parse_result& result)
{
    if (!result) {
        Clear();
        return QStringLiteral("not well-formed XML (%1 at offset %2)")
            .arg(QString::fromUtf8(result.description()))
            .arg(qlonglong(result.offset));
    }
    return {};
}

void Document::Add_Comment(const QString& text)
{
    m_doc.append_child(pugi::node_comment).set_value(text.toUtf8().constData());
}

QByteArray Document::Serialize() const
{
    QByteArray out;
    Byte_Writer writer(out);
    m_doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return out;
}

QString Document::Save(const QString& path) const
{
    return Write_File_Atomic(path, Serialize());
}

QString Version_Comment()
{
    return QStringLiteral("SW_VERSION = ") + QLatin1String(lw::SW_Version);
}

} // namespace lw::xml
