#include "core/produce/OutputPath.h"

#include "core/worksheet/FormEdition.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace cs42 {

namespace {

// The folder part resolved as the file system sees it, the name part as given.
struct PathKey
{
    QString folder;
    QString fileName;
};

PathKey keyOf(const QString& path)
{
    const QFileInfo info(path);
    // An existing path resolves through symbolic links to the file it reaches.
    const QFileInfo target(info.exists() ? info.canonicalFilePath() : info.absoluteFilePath());
    const QString folder = target.absolutePath();
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    return {canonicalFolder.isEmpty() ? QDir::cleanPath(folder) : canonicalFolder, target.fileName()};
}

bool sameFile(const PathKey& a, const PathKey& b)
{
    return a.folder == b.folder && a.fileName.compare(b.fileName, Qt::CaseInsensitive) == 0;
}

QString refusal(const QString& outputPath, const QString& reason)
{
    return QStringLiteral("The form was not saved as '") + outputPath + QStringLiteral("', because ") +
           reason;
}

} // namespace

QStringList producedFormProtectedFiles(const DataPaths& paths)
{
    QStringList files = paths.dataFiles() << paths.rule32Path() << paths.schedulePdfPath();
    for (const FormEdition* edition : FormEditions::all())
        files << paths.formTemplatePath(edition->templateFile);
    return files;
}

QString outputPathProblem(const QString& outputPath, const QStringList& protectedFiles)
{
    const PathKey output = keyOf(outputPath);
    for (const QString& file : protectedFiles) {
        if (sameFile(output, keyOf(file)))
            return refusal(outputPath,
                           QStringLiteral("that is one of the program's own files, which a produced "
                                          "form must never replace."));
    }

    std::error_code error;
    const std::filesystem::file_status status =
        std::filesystem::status(std::filesystem::path(QFile::encodeName(outputPath).toStdString()), error);
    if (error || !std::filesystem::exists(status))
        return {};
    if (!std::filesystem::is_regular_file(status))
        return refusal(outputPath, QStringLiteral("that is not a file but a folder, a device or a pipe."));

    QFile existing(outputPath);
    if (!existing.open(QIODevice::ReadOnly))
        return {}; // saving will say why the file cannot be replaced
    if (!existing.read(5).startsWith("%PDF-"))
        return refusal(outputPath,
                       QStringLiteral("a file that is not a PDF file already has that name; it was "
                                      "left as it was."));
    return {};
}

} // namespace cs42
