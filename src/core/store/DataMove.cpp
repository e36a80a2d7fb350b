#include "core/store/DataMove.h"

#include "core/store/PrivateFiles.h"
#include "core/store/SqlConnection.h"

#include <QFile>
#include <QFileInfo>

namespace cs42::DataMove {

namespace {
DataPaths at(const DataPaths& paths, const QString& folder)
{
    DataPaths moved = paths;
    moved.filesLocation = folder;
    return moved;
}
} // namespace

bool holdsDatabases(const DataPaths& paths, const QString& folder)
{
    const DataPaths target = at(paths, folder);
    return QFileInfo::exists(target.casesDbPath()) || QFileInfo::exists(target.namesDbPath());
}

bool copyDatabases(const DataPaths& paths, const QString& folder, QString* error)
{
    const DataPaths target = at(paths, folder);
    const QPair<QString, QString> files[] = {{paths.casesDbPath(), target.casesDbPath()},
                                             {paths.namesDbPath(), target.namesDbPath()}};
    for (const auto& [from, to] : files) {
        if (QFileInfo::exists(to)) {
            *error = QStringLiteral("%1 is there already").arg(to);
            return false;
        }
    }
    QStringList copied;
    const auto undo = [&copied] {
        for (const QString& path : std::as_const(copied))
            QFile::remove(path);
    };
    for (const auto& [from, to] : files) {
        if (!QFileInfo(from).isFile())
            continue; // nothing to bring along; the program makes an empty one there
        const QString partial = to + QStringLiteral(".copying");
        QFile::remove(partial);
        if (!PrivateFiles::prepare(partial, error)) {
            undo();
            return false;
        }
        {
            SqlConnection source(from);
            if (!source.isOpen() || !source.exec(QStringLiteral("VACUUM INTO ?"), {partial})) {
                *error = QStringLiteral("%1 could not be copied: %2").arg(from, source.errorText());
                QFile::remove(partial);
                undo();
                return false;
            }
        }
        // rename() never replaces a file that appeared meanwhile.
        if (!QFile::rename(partial, to)) {
            *error = QStringLiteral("%1 could not be put in place").arg(to);
            QFile::remove(partial);
            undo();
            return false;
        }
        copied << to;
    }
    return true;
}

} // namespace cs42::DataMove
