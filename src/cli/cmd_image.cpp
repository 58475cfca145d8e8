#include "cli/cli_io.h"

#include "image/image_compile.h"
#include "image/image_inspect.h"
#include "platform/atomic_file.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

namespace lw::cli {

int Cmd_Compile(const QStringList& args, CliIO& io)
{
    QString projectDir;
    QString output;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--output")) {
            if (i + 1 >= args.size())
                return Usage_Error(io, QStringLiteral("--output needs a file name"));
            output = args[++i];
        } else if (a.startsWith(QLatin1String("--"))) {
            return Usage_Error(io, QStringLiteral("unknown option '%1'").arg(a));
        } else if (projectDir.isEmpty()) {
            projectDir = a;
        } else {
            return Usage_Error(io, QStringLiteral("unexpected argument '%1'").arg(a));
        }
    }
    if (projectDir.isEmpty())
        return Usage_Error(io, QStringLiteral("compile needs a project folder"));
    if (!QFileInfo(projectDir).isDir()) {
        io.err << "loomwright-cli: the project folder " << projectDir << " does not exist\n";
        return 2;
    }

    ProgramState state;
    Set_Active_Configuration(state, QDir::cleanPath(projectDir));
    const bool toDefault = output.isEmpty();
    if (toDefault)
        output = image::Image_File(state);
    else if (!QFileInfo(output).absoluteDir().exists()) {
        io.err << "loomwright-cli: cannot write " << output << ": the folder " << QFileInfo(output).absolutePath()
               << " does not exist\n";
        return 2;
    }

    // The whole image is built in memory first: a compile that stops writes nothing.
    image::Image_Buffer buffer;
    const QString compileError = image::Compile_Image(state, buffer);
    if (!compileError.isEmpty()) {
        io.err << "loomwright-cli: " << compileError << "\n";
        return 1;
    }
    const QString saveError = toDefault ? image::Save_Image(state, buffer) : image::Save_Image_File(output, buffer);
    if (!saveError.isEmpty()) {
        io.err << "loomwright-cli: " << saveError << "\n";
        return 2;
    }
    io.out << output << ": " << image::Image_Summary(buffer) << "\n";
    return 0;
}

int Cmd_Inspect(const QStringList& args, CliIO& io)
{
    QString file;
    bool json = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--json"))
            json = true;
        else if (a.startsWith(QLatin1String("--")))
            return Usage_Error(io, QStringLiteral("unknown option '%1'").arg(a));
        else if (file.isEmpty())
            file = a;
        else
            return Usage_Error(io, QStringLiteral("unexpected argument '%1'").arg(a));
    }
    if (file.isEmpty())
        return Usage_Error(io, QStringLiteral("inspect needs a device image file"));

    const QFileInfo info(file);
    if (info.isFile() && info.size() != image::Image_Size) {
        io.err << "loomwright-cli: " << file << " is " << info.size() << " bytes; a device image is "
               << image::Image_Size << " bytes\n";
        return 2;
    }
    QByteArray bytes;
    QString error;
    if (!Read_File(file, bytes, error, image::Image_Size)) {
        io.err << "loomwright-cli: " << error << "\n";
        return 2;
    }
    image::Image_Report report;
    if (!image::Decode_Image(bytes, report, error)) {
        io.err << "loomwright-cli: " << file << " is " << error << "\n";
        return 2;
    }

    if (json)
        io.out << QString::fromUtf8(QJsonDocument(image::Report_Json(report)).toJson(QJsonDocument::Indented));
    else
        io.out << image::Report_Lines(report).join(u'\n') << "\n";
    if (!report.Checksum_Valid()) {
        io.err << "loomwright-cli: " << file << ": the stored checksum " << report.Stored_Checksum
               << " differs from the computed " << report.Computed_Checksum << "\n";
        return 1;
    }
    return 0;
}

} // namespace lw::cli
