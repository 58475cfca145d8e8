#include "shell/data_folder.h"

#include "platform/atomic_file.h"
#include "base/program_state.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QMap>

namespace lw {

namespace {

const QString Language_Folder = QStringLiteral("LANGUAGE");
constexpr char Shipped_Manifest_Name[] = ".shipped";

QByteArray Sha256_Hex(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

bool Is_Dir(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace

QString User_Data_Home()
{
    // An unset, empty or relative XDG_DATA_HOME is ignored, as the XDG base
    // directory rules ask.
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    return QDir::cleanPath(QDir::homePath() + QStringLiteral("/.local/share"));
}

QString Installed_Languages_Folder(const QString& programFolder)
{
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/loomwright/") + Language_Folder);
}

Data_Folder_Choice Choose_Data_Folder(const QString& programFolder, const QString& userDataHome)
{
    Data_Folder_Choice choice;
    choice.Program_Folder = QDir::cleanPath(programFolder);
    const QString besideLanguages = Join_Path(choice.Program_Folder, Language_Folder);
    // QFileInfo::isWritable asks the system (access), so a read-only mount and
    // the folder's owner and mode are all taken into account.
    const QFileInfo program(choice.Program_Folder);
    choice.Beside_Program = Is_Dir(besideLanguages) && program.isDir() && program.isWritable();
    if (choice.Beside_Program) {
        choice.Folder = choice.Program_Folder;
        choice.Shipped_Languages = besideLanguages;
        return choice;
    }
    choice.Folder = Join_Path(QDir::cleanPath(userDataHome), QString::fromLatin1(Data_Folder_Name));
    const QString installed = Installed_Languages_Folder(choice.Program_Folder);
    if (Is_Dir(installed))
        choice.Shipped_Languages = installed;
    else if (Is_Dir(besideLanguages))
        choice.Shipped_Languages = besideLanguages;
    return choice;
}

QStringList Copy_Shipped_Languages(const QString& from, const QString& to, QStringList& errors)
{
    // The copies made so far: "<sha256 hex> <name>" a line.
    const QString manifestPath = Join_Path(to, QString::fromLatin1(Shipped_Manifest_Name));
    QMap<QString, QByteArray> manifest;
    QByteArray manifestBytes;
    QString error;
    if (QFileInfo(manifestPath).isFile() && Read_File(manifestPath, manifestBytes, error, 1 << 20)) {
        for (const QByteArray& line : manifestBytes.split('\n')) {
            const qsizetype blank = line.indexOf(' ');
            if (blank > 0)
                manifest.insert(QString::fromUtf8(line.mid(blank + 1)), line.left(blank));
        }
    }

    QStringList written;
    bool manifestChanged = false;
    const QStringList names = QDir(from).entryList({QStringLiteral("*.lng"), QStringLiteral("*.bmp")},
                                                   QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : names) {
        QByteArray shipped;
        if (!Read_File(Join_Path(from, name), shipped, error)) {
            errors << error;
            continue;
        }
        const QByteArray shippedSum = Sha256_Hex(shipped);
        const QString target = Join_Path(to, name);
        const QFileInfo existing(target);
        if (existing.exists() || existing.isSymLink()) {
            // Only an unchanged earlier copy of an older shipped file is replaced.
            const auto recorded = manifest.constFind(name);
            if (existing.isSymLink() || !existing.isFile() || recorded == manifest.constEnd() || *recorded == shippedSum)
                continue;
            QByteArray current;
            if (!Read_File(target, current, error) || Sha256_Hex(current) != *recorded)
                continue;
        }
        error = Write_File_Atomic(target, shipped);
        if (!error.isEmpty()) {
            errors << error;
            continue;
        }
        manifest.insert(name, shippedSum);
        manifestChanged = true;
        written << name;
    }

    if (manifestChanged) {
        QByteArray bytes;
        for (auto it = manifest.constBegin(); it != manifest.constEnd(); ++it)
            bytes += it.value() + ' ' + it.key().toUtf8() + '\n';
        error = Write_File_Atomic(manifestPath, bytes);
        if (!error.isEmpty())
            errors << error;
    }
    return written;
}

Data_Folder_Choice Prepare_Data_Folder(const QString& programFolder, const QString& userDataHome)
{
    Data_Folder_Choice choice = Choose_Data_Folder(programFolder, userDataHome);
    if (choice.Beside_Program)
        return choice;
    const QString languages = Join_Path(choice.Folder, Language_Folder);
    if (!QDir().mkpath(languages)) {
        choice.Errors << QStringLiteral("Cannot create the folder %1").arg(languages);
        return choice;
    }
    if (!choice.Shipped_Languages.isEmpty())
        choice.Copied = Copy_Shipped_Languages(choice.Shipped_Languages, languages, choice.Errors);
    return choice;
}

QString Data_Folder_In_Use()
{
    return Prepare_Data_Folder(Executable_Folder(), User_Data_Home()).Folder;
}

} // namespace lw
