#include "report/report_writer.h"

#include "knx_access/memory_map_picture.h"
#include "platform/atomic_file.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextObjectInterface>

namespace lw {

namespace {

constexpr int Pdf_Resolution = 300;
const QString Map_Marker = QStringLiteral("@@MEMORY-MAP@@");
constexpr int Map_Object_Type = QTextFormat::UserObject + 1;

// The memory map as an object inside the document's text: it takes the
// page's width and paints the same picture as the map window, as vectors.
class Map_Object : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    Map_Object(const Memory_Map& map, const ProgramState& state, qreal width)
        : m_map(map), m_state(state), m_width(width) {}

    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat&) override
    {
        const QSize size = m_layout.Size(m_map);
        return QSizeF(m_width, m_width * size.height() / size.width());
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int, const QTextFormat&) override
    {
        // A page draws only what falls inside it.
        if (painter->hasClipping() && !painter->clipBoundingRect().intersects(rect))
            return;
        const QSize size = m_layout.Size(m_map);
        painter->save();
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / size.width(), rect.width() / size.width());
        Paint_Memory_Map(*painter, m_map, m_layout, m_state);
        painter->restore();
    }

private:
    const Memory_Map& m_map;
    const ProgramState& m_state;
    qreal m_width;
    Map_Layout m_layout;
};

// Replaces the marker paragraph's text by the map object.
void Insert_Map(QTextDocument& doc)
{
    QTextCursor cursor = doc.find(Map_Marker);
    if (cursor.isNull())
        return;
    QTextCharFormat format;
    format.setObjectType(Map_Object_Type);
    cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
}

} // namespace

QByteArray Report_Pdf(const Report_Data& data, const ProgramState& state)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(Pdf_Resolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 10),
                                     QPageLayout::Millimeter));
    writer.setTitle(state.Text(2420) + QStringLiteral(" - ") + data.project_name);
    writer.setCreator(QStringLiteral("Loomwright %1").arg(data.version));

    const QRect page = writer.pageLayout().paintRectPixels(Pdf_Resolution);
    const qreal footer = Pdf_Resolution * 0.3;   // room for the page number
    const QSizeF body(page.width(), page.height() - footer);

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&writer);
    doc.setDocumentMargin(0);
    Map_Object mapObject(data.map, state, body.width() * 0.72);
    doc.documentLayout()->registerHandler(Map_Object_Type, &mapObject);
    doc.setHtml(Report_Html(data, state, QStringLiteral("<p>%1</p>").arg(Map_Marker)));
    Insert_Map(doc);
    doc.setPageSize(body);

    QPainter painter(&writer);
    const int pages = doc.pageCount();
    QFont footerFont(QStringLiteral("DejaVu Sans"));
    footerFont.setPointSizeF(8);
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            writer.newPage();
        painter.save();
        painter.translate(0, -p * body.height());
        doc.drawContents(&painter, QRectF(QPointF(0, p * body.height()), body));
        painter.restore();
        painter.setFont(footerFont);
        painter.setPen(Qt::black);
        const QString left = data.project_name + QStringLiteral(" - ") + data.when.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        const QRectF foot(0, body.height(), body.width(), footer);
        painter.drawText(foot, Qt::AlignLeft | Qt::AlignBottom, left);
        painter.drawText(foot, Qt::AlignRight | Qt::AlignBottom, state.Text(2439).arg(p + 1).arg(pages));
    }
    painter.end();
    return buffer.data();
}

QByteArray Report_Html_Page(const Report_Data& data, const ProgramState& state)
{
    QByteArray svg = Memory_Map_Svg(data.map, state);
    const qsizetype start = svg.indexOf("<svg");
    if (start > 0)
        svg.remove(0, start);
    return Report_Html(data, state, QStringLiteral("<div>%1</div>").arg(QString::fromUtf8(svg))).toUtf8();
}

QString Write_Report_Pdf(const Report_Data& data, const ProgramState& state, const QString& path)
{
    return Write_File_Atomic(path, Report_Pdf(data, state));
}

QString Write_Report_Html(const Report_Data& data, const ProgramState& state, const QString& path)
{
    return Write_File_Atomic(path, Report_Html_Page(data, state));
}

QString Write_Report_File(const Report_Data& data, const ProgramState& state, const QString& path)
{
    const bool html = path.endsWith(QLatin1String(".html"), Qt::CaseInsensitive)
        || path.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive);
    return html ? Write_Report_Html(data, state, path) : Write_Report_Pdf(data, state, path);
}

QString Write_Project_Report(const QString& projectDir, const Text_Table* table, const ProgramState& state,
                             const QString& path)
{
    Report_Data data;
    const QString error = Gather_Report(projectDir, table, state, data);
    return error.isEmpty() ? Write_Report_File(data, state, path) : error;
}

} // namespace lw

#include "report_writer.moc"
