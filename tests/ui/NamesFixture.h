#pragma once

// A session fixture whose names database holds the seed record and two people (Bob Baker, then
// Ann Adams), for the tests of the names windows.

#include "core/names/NameStore.h"
#include "core/store/SqlConnection.h"
#include "support/ModalAnswer.h"
#include "support/SessionFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QWidget>

namespace cs42::test {

struct NamesFixture : SessionFixture
{
    QString baker;
    QString adams;

    NamesFixture()
    {
        baker = add(QStringLiteral("Bob"), QStringLiteral("Baker"));
        adams = add(QStringLiteral("Ann"), QStringLiteral("Adams"));
    }

    // Adds a name as the add-name dialog would; returns its key.
    QString add(const QString& first, const QString& last, const QString& firm = {}) const
    {
        const NameParts parts{first, {}, last, {}, firm};
        return NameStore(session.paths.namesDbPath()).addName(*NameForms::compose(parts), parts);
    }

    // Adds a firm under a key of the test's choosing; the add-name dialog draws keys at random.
    bool addWithKey(const QString& key, const QString& firm) const
    {
        SqlConnection connection(session.paths.namesDbPath());
        return connection.exec(
            QStringLiteral("INSERT INTO NAMES (listname, firmname, keynumber) VALUES (?, ?, ?)"),
            {firm, firm, key});
    }

    // What can stand where the names database should be while a window is open: nothing (a share
    // gone away), a folder, or a file that is no database (a torn copy).
    enum class Damage
    {
        Missing,
        Folder,
        NotADatabase,
    };

    // Puts the names database aside and leaves `damage` in its place.
    bool damageNamesDb(Damage damage) const
    {
        const QString path = session.paths.namesDbPath();
        if (!QFile::rename(path, path + QStringLiteral(".away")))
            return false;
        switch (damage) {
        case Damage::Missing:
            return true;
        case Damage::Folder:
            return QDir().mkdir(path);
        case Damage::NotADatabase: {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, 'x')) == 4096;
        }
        }
        return false;
    }

    bool restoreNamesDb() const
    {
        const QString path = session.paths.namesDbPath();
        if (QFileInfo(path).isDir())
            QDir(path).removeRecursively();
        else
            QFile::remove(path);
        return QFile::rename(path + QStringLiteral(".away"), path);
    }
};

// Selects the entry of `key` as a click would; false when it is not listed.
inline bool selectEntryOf(QListView* list, const QString& key)
{
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        const QModelIndex index = list->model()->index(row, 0);
        if (index.data().toString().endsWith(key)) {
            list->setCurrentIndex(index);
            return true;
        }
    }
    return false;
}

template <typename T = QWidget> T* child(QWidget* window, const char* name)
{
    return window->findChild<T*>(QLatin1String(name));
}

} // namespace cs42::test
