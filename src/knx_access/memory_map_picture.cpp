#include "knx_access/memory_map_picture.h"

#include "platform/atomic_file.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace lw {

namespace {

enum : int {
    Txt_Title = 2400,
    Txt_Used = 2402,
    Txt_Free = 2403,
    Txt_Largest = 2404,
    Txt_Overlaps = 2405,
    Txt_Key_Shared = 2406,
    Txt_Key_Overlap = 2407,
    Txt_Key_Free = 2408,
    Txt_Key_Bits = 2409,
};

QFont Map_Font(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferNoShaping);   // no ligatures in the SVG's and the PDF's text
    return font;
}

QPolygonF Box(const QRectF& r)
{
    return QPolygonF({r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()});
}

// The shared mark: a dark triangle in the cell's top right corner.
QPolygonF Shared_Mark(const QRectF& r)
{
    const qreal side = r.width() * 0.45;
    return QPolygonF({r.topRight(), r.topRight() + QPointF(-side, 0), r.topRight() + QPointF(0, side)});
}

} // namespace

QRect Map_Layout::Cell_Rect(int byte) const
{
    const int line = byte / Bytes_Per_Line;
    const int column = byte % Bytes_Per_Line;
    return QRect(margin + label_width + column * cell, margin + line * cell, cell, cell);
}

int Map_Layout::Byte_At(QPoint point, int size) const
{
    const int x = point.x() - margin - label_width;
    const int y = point.y() - margin;
    if (x < 0 || y < 0 || x >= Bytes_Per_Line * cell)
        return -1;
    const int byte = (y / cell) * Bytes_Per_Line + x / cell;
    return byte < size ? byte : -1;
}

int Map_Layout::Legend_Top(int size) const
{
    return margin + Lines(size) * cell + margin;
}

QSize Map_Layout::Size(const Memory_Map& map) const
{
    return QSize(2 * margin + label_width + Bytes_Per_Line * cell, Legend_Top(map.size) + 4 * legend_line + margin);
}

QColor Row_Colour(int row)
{
    // Golden-angle steps spread neighbouring rows around the hue circle; the
    // band around red is left to the overlaps.
    const double turn = std::fmod(row * 0.618033988749895, 1.0);
    const int hue = 30 + int(turn * 300.0);
    return QColor::fromHsv(hue, 110 + (row * 37) % 60, 235 - (row * 53) % 50);
}

QColor Overlap_Colour()
{
    return QColor(220, 30, 30);
}

QStringList Map_Legend_Lines(const Memory_Map& map, const ProgramState& state)
{
    const Map_Free largest = map.Largest_Free();
    return {
        state.Text(Txt_Used).arg(map.Bytes_Used()),
        state.Text(Txt_Free).arg(map.Bytes_Free()),
        state.Text(Txt_Largest).arg(largest.Size()).arg(largest.first_byte).arg(std::max(largest.last_byte, 0)),
        state.Text(Txt_Overlaps).arg(map.overlaps.size()),
    };
}

void Paint_Memory_Map(QPainter& painter, const Memory_Map& map, const Map_Layout& layout, const ProgramState& state)
{
    painter.save();
    const int size = map.size;
    const QColor grid(200, 200, 200);
    const QColor text(40, 40, 40);

    // Who uses each byte, and how.
    std::vector<int> owner(std::size_t(std::max(size, 0)), 0);       // lowest byte-mode row, else lowest row
    std::vector<char> byteMode(owner.size(), 0);
    std::vector<char> shared(owner.size(), 0);
    std::vector<char> overlap(owner.size(), 0);
    for (const Map_Row& row : map.rows) {
        for (int b = row.First_Byte(); b <= row.Last_Byte(); ++b) {
            auto& o = owner[std::size_t(b)];
            if (!row.bit_mode && !byteMode[std::size_t(b)]) {
                o = row.row;
                byteMode[std::size_t(b)] = 1;
            } else if (o == 0) {
                o = row.row;
            }
        }
    }
    for (const Map_Shared& s : map.shared) {
        for (int b = s.first_bit / 8; b <= s.last_bit / 8; ++b)
            shared[std::size_t(b)] = 1;
    }
    for (const Map_Overlap& o : map.overlaps) {
        for (int b = o.first_bit / 8; b <= o.last_bit / 8; ++b)
            overlap[std::size_t(b)] = 1;
    }

    // Free bytes: one outlined path.
    QPainterPath freeCells;
    for (int b = 0; b < size; ++b) {
        if (owner[std::size_t(b)] == 0)
            freeCells.addRect(QRectF(layout.Cell_Rect(b)).adjusted(0.5, 0.5, -0.5, -0.5));
    }
    painter.setPen(QPen(grid, 1));
    painter.setBrush(Qt::white);
    painter.drawPath(freeCells);

    // Used bytes: one rectangle each, in the colour of their byte-mode row;
    // bytes only bit-mode rows use stay light under their slices.
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    for (int b = 0; b < size; ++b) {
        const int row = owner[std::size_t(b)];
        if (row == 0)
            continue;
        QColor fill = byteMode[std::size_t(b)] ? Row_Colour(row) : QColor(245, 245, 245);
        if (overlap[std::size_t(b)])
            fill = Overlap_Colour();
        painter.setBrush(fill);
        painter.drawRect(QRectF(layout.Cell_Rect(b)).adjusted(0.5, 0.5, -0.5, -0.5));
    }

    // Bit-mode rows: a slice of each byte they touch, an eighth of the cell per bit.
    painter.setPen(Qt::NoPen);
    for (const Map_Row& row : map.rows) {
        if (!row.bit_mode)
            continue;
        painter.setBrush(Row_Colour(row.row));
        for (int b = row.First_Byte(); b <= row.Last_Byte(); ++b) {
            if (overlap[std::size_t(b)])
                continue;
            const int first = std::max(row.first_bit, 8 * b) - 8 * b;
            const int last = std::min(row.last_bit, 8 * b + 7) - 8 * b;
            const QRectF cell = QRectF(layout.Cell_Rect(b)).adjusted(1, 1, -1, -1);
            const qreal w = cell.width() / 8.0;
            painter.drawPolygon(Box(QRectF(cell.left() + first * w, cell.top(), (last - first + 1) * w, cell.height())));
        }
    }

    // Shared ranges: a dark corner mark.
    painter.setBrush(QColor(30, 30, 30));
    for (int b = 0; b < size; ++b) {
        if (shared[std::size_t(b)] && !overlap[std::size_t(b)])
            painter.drawPolygon(Shared_Mark(QRectF(layout.Cell_Rect(b))));
    }

    // Byte numbers of the lines.
    painter.setPen(text);
    painter.setFont(Map_Font(std::max(9, layout.cell - 4)));
    for (int line = 0; line < layout.Lines(size); ++line) {
        const QRect first = layout.Cell_Rect(line * Map_Layout::Bytes_Per_Line);
        painter.drawText(QRect(layout.margin, first.top(), layout.label_width - 6, first.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(line * Map_Layout::Bytes_Per_Line));
    }

    // Legend: the totals on the left, the key on the right.
    const int top = layout.Legend_Top(size);
    const int left = layout.margin + layout.label_width;
    const QStringList lines = Map_Legend_Lines(map, state);
    const int keyLeft = left + 300;
    painter.setFont(Map_Font(12));
    for (int i = 0; i < lines.size(); ++i) {
        painter.setPen(i == 3 && !map.overlaps.isEmpty() ? Overlap_Colour().darker(130) : text);
        painter.drawText(QRect(left, top + i * layout.legend_line, keyLeft - left - 8, layout.legend_line),
                         Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    }
    const int s = layout.legend_line - 6;
    const auto keyBox = [&](int i) { return QRectF(keyLeft, top + i * layout.legend_line + 3, s, s); };
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    painter.setBrush(Qt::white);
    painter.drawPolygon(Box(keyBox(0)));
    painter.setBrush(QColor(245, 245, 245));
    painter.drawPolygon(Box(keyBox(1)));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Row_Colour(1));
    painter.drawPolygon(Box(keyBox(1).adjusted(s / 4.0, 1, -s / 4.0, -1)));
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    painter.setBrush(Row_Colour(2));
    painter.drawPolygon(Box(keyBox(2)));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 30, 30));
    painter.drawPolygon(Shared_Mark(keyBox(2)));
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    painter.setBrush(Overlap_Colour());
    painter.drawPolygon(Box(keyBox(3)));
    painter.setPen(text);
    const int keys[] = {Txt_Key_Free, Txt_Key_Bits, Txt_Key_Shared, Txt_Key_Overlap};
    for (int i = 0; i < 4; ++i) {
        const int textLeft = keyLeft + s + 8;
        painter.drawText(QRect(textLeft, top + i * layout.legend_line, layout.Size(map).width() - textLeft,
                               layout.legend_line),
                         Qt::AlignLeft | Qt::AlignVCenter, state.Text(keys[i]));
    }
    painter.restore();
}

QByteArray Memory_Map_Svg(const Memory_Map& map, const ProgramState& state)
{
    const Map_Layout layout;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(layout.Size(map));
    svg.setViewBox(QRect(QPoint(0, 0), layout.Size(map)));
    svg.setTitle(state.Text(Txt_Title));
    {
        QPainter painter(&svg);
        // The background as a polygon: rect elements are the used bytes only.
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawPolygon(Box(QRectF(QPoint(0, 0), layout.Size(map))));
        Paint_Memory_Map(painter, map, layout, state);
    }
    return buffer.data();
}

QString Write_Memory_Map_Svg(const Memory_Map& map, const ProgramState& state, const QString& path)
{
    return Write_File_Atomic(path, Memory_Map_Svg(map, state));
}

} // namespace lw
