// Times Compile_Image + Save_Image of a project with a settings file and 512
// enabled rows, and its parts: the compile (XML reading included), the layout
// of the image in memory alone, and the save alone. Prints the median and the
// fastest of each over the runs.

#include "image/image_compile.h"
#include "xml/xml_document.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray Settings()
{
    return "<Par_Gen><KNX_TYPE>0</KNX_TYPE><KNX_ID_DEV>1.1.200</KNX_ID_DEV><PROFINET_IP1>192</PROFINET_IP1>"
           "<PROFINET_IP2>168</PROFINET_IP2><PROFINET_IP3>0</PROFINET_IP3><PROFINET_IP4>5</PROFINET_IP4>"
           "<PROFINET_SM1>255</PROFINET_SM1><PROFINET_SM2>255</PROFINET_SM2><PROFINET_SM3>255</PROFINET_SM3>"
           "<PROFINET_SM4>0</PROFINET_SM4><PROFINET_GAT1>192</PROFINET_GAT1><PROFINET_GAT2>168</PROFINET_GAT2>"
           "<PROFINET_GAT3>0</PROFINET_GAT3><PROFINET_GAT4>1</PROFINET_GAT4><PROFINET_EN_GAT>1</PROFINET_EN_GAT>"
           "<PROFINET_NAME_STA>devicename1</PROFINET_NAME_STA></Par_Gen><!--SW_VERSION = 1.002-->";
}

QByteArray Rows(int count)
{
    QByteArray xml = "<BACnet_to_KNX><KNX_in_Read/><KNX_in_Write>";
    for (int i = 0; i < count; ++i) {
        xml += QStringLiteral("<row Enable=\"Y\" Source_Address=\"1.1.%1\" Destination_Address=\"%2/%3/%4\" "
                              "APCI=\"Write\" Priority=\"Low\" Format=\"Swap16\" Extended=\"N\" ReTest=\"Y\" "
                              "On_Command=\"Y\" On_Change=\"N\" On_Timer=\"Y\" Poll_Time=\"%5\" Position=\"%6\" "
                              "Bit_Mode=\"%7\" Length=\"2\" Mnemonic=\"command %8\"/>")
                   .arg(i % 256)
                   .arg(i % 32)
                   .arg(i % 8)
                   .arg(i % 256)
                   .arg(500 + i)
                   .arg(i % 1400)
                   .arg(i % 2 ? QStringLiteral("No") : QString::number(i % 8))
                   .arg(i)
                   .toUtf8();
    }
    return xml + "</KNX_in_Write></BACnet_to_KNX><!--SW_VERSION = 1.002-->";
}

struct Timing {
    double median_us;
    double fastest_us;
};

Timing Measure(int runs, const std::function<void()>& step)
{
    std::vector<double> times;
    times.reserve(std::size_t(runs));
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        step();
        times.push_back(double(timer.nsecsElapsed()) / 1000.0);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int runs = 200;

    QTemporaryDir tmp;
    lw::ProgramState state;
    state.Dir_Project = tmp.path() + QStringLiteral("/Bench");
    QDir().mkpath(state.Dir_Project + QStringLiteral("/bin"));
    lw::Set_Files(state);
    if (!Write(state.File_ParGen, Settings()) || !Write(state.File_KNX_Access, Rows(512))) {
        err << "cannot write the project files in " << tmp.path() << "\n";
        return 1;
    }

    lw::image::Image_Buffer buffer;
    QString error;
    const Timing whole = Measure(runs, [&] {
        error = lw::image::Compile_Image(state, buffer);
        if (error.isEmpty())
            error = lw::image::Save_Image(state, buffer);
    });
    if (!error.isEmpty()) {
        err << error << "\n";
        return 1;
    }
    const Timing compile = Measure(runs, [&] { lw::image::Compile_Image(state, buffer); });
    const Timing parse = Measure(runs, [&] {
        lw::xml::Document settings;
        lw::xml::Document access;
        settings.Load(state.File_ParGen);
        access.Load(state.File_KNX_Access);
    });
    const Timing save = Measure(runs, [&] { lw::image::Save_Image(state, buffer); });

    // The layout alone: the two areas and the block written into the buffer.
    lw::image::Device_Params params;
    lw::image::Image_Tables tables;
    lw::image::Init_Params(params);
    lw::image::Clear_Tables(tables);
    lw::image::Compile_ParGen(state.File_ParGen, params);
    lw::image::Compile_KNX_Access(state.File_KNX_Access, tables, params);
    const Timing layout = Measure(runs, [&] {
        buffer.Image_Length = 0;
        lw::image::Write_Tables(tables, buffer);
        lw::image::Write_Param_Block(params, buffer, buffer.Image_Length);
        buffer.Image_Length += lw::image::Block_Size;
    });

    out << "512-row project, " << runs << " runs each (" << lw::image::Image_Summary(buffer) << ")\n";
    auto line = [&](const char* what, const Timing& t) {
        out << QStringLiteral("  %1 median %2 us, fastest %3 us\n")
                   .arg(QLatin1String(what), -34)
                   .arg(t.median_us, 0, 'f', 1)
                   .arg(t.fastest_us, 0, 'f', 1);
    };
    line("Compile_Image + Save_Image:", whole);
    line("Compile_Image (XML reading incl.):", compile);
    line("  of which loading both XML files:", parse);
    line("layout in memory only:", layout);
    line("Save_Image only:", save);
    return 0;
}
