// Compile_Image with Save_Image of the 512-row project, and its parts: the
// compile (XML reading included), the reading of both files alone, the layout
// of the image in memory, and the save. The save syncs the file's data to the
// disk, renames it into place and syncs the folder; the same bytes written and
// renamed without the syncs are timed as a reference, to show their share of
// the wall time.

#include "bench_parts.h"

#include "image/image_compile.h"
#include "xml/xml_document.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace lw::bench {

namespace {

// The reference only: a write that is not synced, which the program never does.
bool Write_Without_Sync(const QString& path, const image::Image_Buffer& buffer)
{
    const QString temporary = path + QStringLiteral(".nosync");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const qint64 size = qint64(buffer.Image_Length);
    if (file.write(reinterpret_cast<const char*>(buffer.Data()), size) != size)
        return false;
    file.close();
    return std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) == 0;
}

// The timed action, kept out of line for a profiler (callgrind --toggle-collect).
[[gnu::noipa]] QString Compile_And_Save(const ProgramState& state, image::Image_Buffer& buffer)
{
    QString error = image::Compile_Image(state, buffer);
    if (error.isEmpty())
        error = image::Save_Image(state, buffer);
    return error;
}

} // namespace

bool Bench_Image(const Bench_Options& options, std::vector<Figure>& figures)
{
    ProgramState state;
    Set_Active_Configuration(state, Join_Path(Join_Path(options.dirApp, QStringLiteral("PROJECTS")), Bench_Project));
    const int rounds = options.rounds * 4;

    image::Image_Buffer buffer;
    QString error;
    const Series whole = Repeat(rounds, 2, [&] { error = Compile_And_Save(state, buffer); });
    if (!error.isEmpty() || buffer.Image_Length != std::uint32_t(image::Image_Size)) {
        std::fprintf(stderr, "benchmark set-up failed: %s\n", qPrintable(error));
        return false;
    }
    const Series compile = Repeat(rounds, 2, [&] { image::Compile_Image(state, buffer); });
    const Series parse = Repeat(rounds, 2, [&] {
        xml::Document settings;
        xml::Document access;
        settings.Load(state.File_ParGen);
        access.Load(state.File_KNX_Access);
    });

    // The layout alone: both areas and the parameter block written into the buffer.
    image::Device_Params params;
    image::Image_Tables tables;
    image::Init_Params(params);
    image::Clear_Tables(tables);
    image::Compile_ParGen(state.File_ParGen, params);
    image::Compile_KNX_Access(state.File_KNX_Access, tables, params);
    const Series layout = Repeat(rounds, 2, [&] {
        buffer.Image_Length = 0;
        image::Write_Tables(tables, buffer);
        image::Write_Param_Block(params, buffer, buffer.Image_Length);
        buffer.Image_Length += image::Block_Size;
    });

    const Series save = Repeat(rounds, 2, [&] { image::Save_Image(state, buffer); });
    bool written = true;
    const Series unsynced = Repeat(rounds, 2, [&] { written = Write_Without_Sync(image::Image_File(state), buffer) && written; });
    image::Save_Image(state, buffer);
    if (!written) {
        std::fprintf(stderr, "benchmark set-up failed: the reference write failed\n");
        return false;
    }

    figures.push_back({QStringLiteral("Compile_Image + Save_Image, 512 rows"), Unit::Ms, whole, 2, {}});
    figures.push_back({QStringLiteral("  part: Compile_Image (files read)"), Unit::Ms, compile, 0, {}});
    figures.push_back({QStringLiteral("  part: both XML files loaded"), Unit::Ms, parse, 0, {}});
    figures.push_back({QStringLiteral("  part: layout in memory"), Unit::Ms, layout, 0, {}});
    figures.push_back({QStringLiteral("  part: Save_Image (synced, folder synced)"), Unit::Ms, save, 0, {}});
    figures.push_back({QStringLiteral("  reference: same write, no sync"), Unit::Ms, unsynced, 0,
                       QStringLiteral("not what the program does; Save_Image minus this is the sync's share")});
    return true;
}

} // namespace lw::bench
