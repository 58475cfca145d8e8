#pragma once
// The thin XML document layer every table file uses. The first top-level node
// is the root whatever its kind; lookups are by exact name; a value read
// returns nothing when it cannot be read, so that each caller gives that value
// its own default. Documents are written without declaration or added
// whitespace, in UTF-8, and always whole.

#include <QByteArray>
#include <QString>
#include <optional>
#include <pugixml.hpp>
#include <vector>

namespace lw::xml {

class Node {
public:
    Node() = default;
    explicit Node(pugi::xml_node node) : m_node(node) {}

    bool Is_Null() const { return !m_node; }
    bool Is_Element() const { return m_node.type() == pugi::node_element; }
    QString Name() const { return QString::fromUtf8(m_node.name()); }

    // First child node whose name equals name exactly; null when absent.
    Node Find(const char* name) const { return Node(m_node.child(name)); }
    std::vector<Node> Children() const;
    int Child_Count() const;

    // The element's text: empty for an element without content; nothing for a
    // null node, a non-element, or an element holding anything but a single
    // text or character-data node.
    std::optional<QString> Text() const;
    // The attribute's text; nothing when the node does not carry it.
    std::optional<QString> Attribute(const char* name) const;

    Node Add_Child(const char* name);
    void Set_Text(const QString& text);
    void Set_Attribute(const char* name, const QString& value);
    // Appends the attribute without looking for one of the same name: for a
    // writer that sets each attribute of a new element once.
    void Add_Attribute(const char* name, const QString& value);

    pugi::xml_node Raw() const { return m_node; }

private:
    pugi::xml_node m_node;
};

class Document {
public:
    // Replaces the content with the file's. Returns an empty text on success,
    // else the reason (unreadable file, not well-formed XML). A file larger than
    // maxBytes is refused.
    QString Load(const QString& path, qint64 maxBytes = qint64(256) << 20);
    QString Load_Bytes(const QByteArray& bytes);

    void Clear()
    {
        m_doc.reset();
        m_bytes.clear();
    }

    // First top-level node, whatever its kind; null when the document is empty.
    Node First_Node() const { return Node(m_doc.first_child()); }
    std::vector<Node> Top_Level() const { return Node(m_doc).Children(); }

    // Appends a root element to the top level and returns it.
    Node Add_Root(const char* name) { return Node(m_doc.append_child(name)); }
    // Appends a comment to the top level (after the root when called after Add_Root).
    void Add_Comment(const QString& text);

    QByteArray Serialize() const;
    // Writes the whole document atomically; empty text on success, else the reason.
    QString Save(const QString& path) const;

private:
    // Empty text for a parse that succeeded; else clears and returns the reason.
    QString Parse(const pugi::xml_parse_result& result);

    // The bytes of a loaded file: the document is parsed in them, in place,
    // and its texts point into them.
    QByteArray m_bytes;
    pugi::xml_document m_doc;
};

// The comment every table file carries after its root.
QString Version_Comment();

} // namespace lw::xml
