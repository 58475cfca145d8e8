#include "xml/xml_document.h"

#include "platform/atomic_file.h"
#include "shell/program_state.h"

#include <sstream>

namespace lw::xml {

namespace {

// Comments, declarations, processing instructions and the document type are
// kept as nodes, so that the first top-level node is what the file holds.
// Entities other than the predefined ones are never expanded. A text of
// blanks alone is kept when it is an element's only content. Line ends are
// kept as they stand, so that every text the program writes reads back the same.
constexpr unsigned Parse_Flags = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_comments
    | pugi::parse_declaration | pugi::parse_pi | pugi::parse_doctype | pugi::parse_ws_pcdata_single;

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
        m_node.append_child(pugi::node_pcdata).set_value(text.toUtf8().constData());
}

void Node::Set_Attribute(const char* name, const QString& value)
{
    pugi::xml_attribute attr = m_node.attribute(name);
    if (!attr)
        attr = m_node.append_attribute(name);
    attr.set_value(value.toUtf8().constData());
}

QString Document::Load(const QString& path, qint64 maxBytes)
{
    QByteArray bytes;
    QString error;
    if (!Read_File(path, bytes, error, maxBytes)) {
        m_doc.reset();
        return error;
    }
    const QString parseError = Load_Bytes(bytes);
    if (!parseError.isEmpty())
        return QStringLiteral("%1: %2").arg(path, parseError);
    return {};
}

QString Document::Load_Bytes(const QByteArray& bytes)
{
    m_doc.reset();
    const pugi::xml_parse_result result =
        m_doc.load_buffer(bytes.constData(), size_t(bytes.size()), Parse_Flags, pugi::encoding_auto);
    if (!result) {
        m_doc.reset();
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
    std::ostringstream out;
    m_doc.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    const std::string s = out.str();
    return QByteArray(s.data(), qsizetype(s.size()));
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
