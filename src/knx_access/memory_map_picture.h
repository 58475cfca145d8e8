#pragma once
// The picture of the memory map: the array's bytes as a grid of cells, each
// used byte in the colour of its row, bit-mode rows as slices of their byte,
// shared ranges marked, overlapping bytes red, and the legend below. The map
// window paints it on screen; the command-line tool and the report paint the
// same picture into an SVG file or a document.

#include "knx_access/memory_map.h"
#include "base/program_state.h"

#include <QColor>
#include <QRect>
#include <QSize>

class QPainter;

namespace lw {

// Where the picture puts each byte: Bytes_Per_Line cells of Cell pixels per
// line, the line's first byte number on the left, the legend below.
struct Map_Layout {
    static constexpr int Bytes_Per_Line = 48;
    int cell = 14;                 // side of a byte's cell
    int label_width = 40;          // the byte numbers left of each line
    int margin = 8;
    int legend_line = 18;          // height of a legend line

    int Lines(int size) const { return (size + Bytes_Per_Line - 1) / Bytes_Per_Line; }
    QRect Cell_Rect(int byte) const;
    // The byte under point, or -1 outside the array's cells.
    int Byte_At(QPoint point, int size) const;
    // Top of the legend, and the whole picture with its legend.
    int Legend_Top(int size) const;
    QSize Size(const Memory_Map& map) const;
};

// A colour per row number that stays the same whatever the other rows are;
// never close to the overlap's red.
QColor Row_Colour(int row);
QColor Overlap_Colour();

// The legend's lines: bytes used, bytes free, the largest free run, overlaps.
QStringList Map_Legend_Lines(const Memory_Map& map, const ProgramState& state);

// Paints the picture at the painter's origin. The texts come from the
// language table of state.
void Paint_Memory_Map(QPainter& painter, const Memory_Map& map, const Map_Layout& layout, const ProgramState& state);

// Writes the picture as an SVG file (whole, in one step). Empty text on
// success, else the reason. Each used byte is one rect element.
QString Write_Memory_Map_Svg(const Memory_Map& map, const ProgramState& state, const QString& path);
QByteArray Memory_Map_Svg(const Memory_Map& map, const ProgramState& state);

} // namespace lw
