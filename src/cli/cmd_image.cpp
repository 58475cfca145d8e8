#include "cli/cli_io.h"

#include "image/image_compile.h"
#include "image/image_inspect.h"
#include "lang/language_table.h"
#include "platform/atomic_file.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

namespace lw::cli {

int Cmd_Compile(const QStringList& args, CliIO& io)
{
    QString projectDir;
    QString output;
    bool haveOutput = false;
    bool check = true;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--output")) {
            if (i + 1 >= args.size())
                return Usage_Error(io, QStringLiteral("--output needs a file name"));
            output = args[++i];
            if (output.isEmpty())
                return Usage_Error(io, QStringLiteral("--output needs a file name, not an empty text"));
            haveOutput = true;
        } else if (a == QLatin1String("--no-check")) {
            check = false;
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
    Set_Default_Texts(state);
    Set_Active_Configuration(state, QDir::cleanPath(projectDir));
    const bool toDefault = !haveOutput;
    if (toDefault)
        output = image::Image_File(state);
    else if (!QFileInfo(output).absoluteDir().exists()) {
        io.err << "loomwright-cli: cannot write " << output << ": the folder " << QFileInfo(output).absolutePath()
               << " does not exist\n";
        return 2;
    }

    // The data checks first, as the check command runs them and on every
    // further row the compile takes: values they refuse would wrap silently
    // into the image. --no-check compiles what the files hold, for service work.
    // The whole image is built in memory first: a compile that stops writes nothing.
    image::Image_Buffer buffer;
    QString warning;
    const QString compileError = check ? image::Check_And_Compile(state, buffer, &warning)
                                       : image::Compile_Image(state, buffer, &warning);
    if (!warning.isEmpty())
        io.err << "loomwright-cli: warning: " << warning << "\n";
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
        io.out << Terminal_Json(QJsonDocument(image::Report_Json(report)).toJson(QJsonDocument::Indented));
    else {
        // The texts of an image (the station name) are bytes from a file:
        // no control character of theirs reaches the terminal.
        for (const QString& line : image::Report_Lines(report))
            io.out << Terminal_Text(line) << "\n";
    }
    if (!report.Checksum_Valid()) {
        io.err << "loomwright-cli: " << file << ": the stored checksum " << report.Stored_Checksum
               << " differs from the computed " << report.Computed_Checksum << "\n";
        return 1;
    }
    return 0;
}

} // namespace lw::cli
