#include "report/report_writer.h"

#include "knx_access/knx_access_file.h"
#include "knx_access/memory_map_picture.h"
#include "platform/atomic_file.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontMetricsF>
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

// Relative widths of the command table's seventeen columns: the grid's, with room for the mnemonic.
constexpr int Column_Weights[KNX_Table_Column_Count] = {36, 44, 66, 72, 50, 60, 120, 60, 50, 52, 64, 58, 62, 56, 58, 52, 190};

QFont Report_Font(qreal points, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    // No ligatures: "office" must stay six letters for a search in the PDF.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// The command table's pages, painted directly: a text document lays a table
// of thousands of cells out far too slowly for a report of 512 rows.
struct Table_Pages {
    qreal title_height = 0;
    qreal row_height = 0;
    int rows_per_page = 1;
    int pages = 1;

    Table_Pages(const Report_Data& data, QPaintDevice* device, const QSizeF& body)
    {
        title_height = QFontMetricsF(Report_Font(12, true), device).height() * 1.8;
        row_height = QFontMetricsF(Report_Font(7), device).height() * 1.45;
        rows_per_page = std::max(1, int((body.height() - title_height) / row_height) - 1);
        pages = std::max(1, (data.last_row + rows_per_page - 1) / rows_per_page);
    }

    void Paint(QPainter& painter, const Report_Data& data, const ProgramState& state, const QSizeF& body, int page) const
    {
        painter.setPen(Qt::black);
        painter.setFont(Report_Font(12, true));
        painter.drawText(QRectF(0, 0, body.width(), title_height), Qt::AlignLeft | Qt::AlignVCenter, state.Text(2431));
        if (data.last_row == 0) {
            painter.setFont(Report_Font(10));
            painter.drawText(QRectF(0, title_height, body.width(), row_height * 2), Qt::AlignLeft | Qt::AlignTop,
                             state.Text(2446));
            return;
        }
        qreal x[KNX_Table_Column_Count + 1];
        int total = 0;
        for (int w : Column_Weights)
            total += w;
        x[0] = 0;
        for (int c = 0; c < KNX_Table_Column_Count; ++c)
            x[c + 1] = x[c] + body.width() * Column_Weights[c] / total;
        const int first = 1 + page * rows_per_page;
        const int last = std::min(data.last_row, first + rows_per_page - 1);
        const qreal pad = row_height * 0.15;
        const QFont plain = Report_Font(7);
        const QFont bold = Report_Font(7, true);
        const QFontMetricsF metrics(plain, painter.device());
        qreal y = title_height;
        const auto paintRow = [&](int r) {
            const bool header = r == 0;
            if (header)
                painter.fillRect(QRectF(0, y, body.width(), row_height), QColor(232, 232, 232));
            painter.setFont(header ? bold : plain);
            for (int c = 0; c < KNX_Table_Column_Count; ++c) {
                const QRectF cell(x[c] + pad, y, x[c + 1] - x[c] - 2 * pad, row_height);
                const QString text = header ? data.table.Cell(r, c)
                                            : metrics.elidedText(data.table.Cell(r, c), Qt::ElideRight, cell.width());
                painter.drawText(cell, (header ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter, text);
            }
            y += row_height;
        };
        paintRow(0);
        for (int r = first; r <= last; ++r)
            paintRow(r);
        painter.setPen(QPen(QColor(150, 150, 150), 0));
        for (qreal line = title_height; line <= y + 0.5; line += row_height)
            painter.drawLine(QPointF(0, line), QPointF(body.width(), line));
        for (qreal at : x)
            painter.drawLine(QPointF(at, title_height), QPointF(at, y));
    }
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
    doc.setDefaultFont(Report_Font(10));
    Map_Object mapObject(data.map, state, body.width() * 0.72);
    doc.documentLayout()->registerHandler(Map_Object_Type, &mapObject);
    doc.setHtml(Report_Html(data, state, QStringLiteral("<p>%1</p>").arg(Map_Marker), false));
    Insert_Map(doc);
    doc.setPageSize(body);

    QPainter painter(&writer);
    const int textPages = doc.pageCount();
    const Table_Pages table(data, &writer, body);
    const int pages = textPages + table.pages;
    const QFont footerFont = Report_Font(8);
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            writer.newPage();
        painter.save();
        if (p < textPages) {
            painter.translate(0, -p * body.height());
            doc.drawContents(&painter, QRectF(QPointF(0, p * body.height()), body));
        } else {
            table.Paint(painter, data, state, body, p - textPages);
        }
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
