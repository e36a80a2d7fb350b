#include "core/store/Migration.h"

#include "core/names/NameRecord.h"
#include "core/store/Backup.h"
#include "core/store/DataPaths.h"
#include "core/store/Schema.h"
#include "core/store/ServerLocation.h"
#include "core/store/ServerText.h"
#include "core/store/SqlConnection.h"
#include "core/store/TableCopy.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace cs42::Migration {

namespace {
struct Location
{
    QString cases; // the database of each table: a file, or the server URI for both
    QString names;
    bool server = false;
};

Location locate(const QString& place)
{
    DataPaths paths;
    paths.filesLocation = place;
    return {paths.casesDbPath(), paths.namesDbPath(), paths.onServer()};
}

// How many rows of a table count as data: a names table holding only the directory's seed record
// is as good as empty.
int dataRows(SqlConnection& connection, const TableDef& table)
{
    const int rows = TableCopy::count(connection, table);
    if (rows != 1 || &table != &Schema::namesTable())
        return rows;
    QSqlQuery query(connection.database());
    query.prepare(
        QStringLiteral("SELECT keynumber FROM %1").arg(connection.dialect().identifier(table.name)));
    if (query.exec() && query.next() &&
        query.value(0).toString() == NameRecord::seedRecord().value(QStringLiteral("keynumber")))
        return 0;
    return rows;
}

QString refusal(const QString& to, int cases, int names)
{
    return QStringLiteral("%1 already holds %2 cases and %3 names; nothing was copied. Give --replace to "
                          "replace them.")
        .arg(shownLocation(to))
        .arg(qMax(cases, 0))
        .arg(qMax(names, 0));
}

// Values of the folder's files that a server could not keep exactly are named, and nothing is
// copied: the office corrects them in the program first.
bool serverCanKeep(SqlConnection& cases, const QString& namesPath, const QString& from, QString* error)
{
    QStringList found = ServerText::unsendableValues(cases, Schema::casesTable());
    if (QFileInfo(namesPath).isFile()) {
        SqlConnection names(namesPath);
        found << ServerText::unsendableValues(names, Schema::namesTable());
    }
    if (found.isEmpty())
        return true;
    *error =
        QStringLiteral("%1 holds values a server cannot keep as they are, so nothing was copied. Correct "
                       "them (retype the text) and copy again:\n%2")
            .arg(shownLocation(from), found.join(QLatin1Char('\n')));
    return false;
}

bool toServer(const Location& target,
              const QString& to,
              bool replace,
              const TableCopy::Rows& cases,
              const TableCopy::Rows& names,
              QString* error)
{
    for (const TableDef* table : {&Schema::casesTable(), &Schema::namesTable()}) {
        if (Schema::ensureDatabase(target.cases, *table, error) != SqlFailure::None)
            return false;
    }
    SqlConnection server(target.cases);
    if (!server.isOpen()) {
        *error = server.errorText();
        return false;
    }
    const SqlDialect& dialect = server.dialect();
    if (!server.database().transaction()) {
        *error = server.errorText();
        return false;
    }
    // Other workstations must not add a case between the check and the copy.
    bool done = server.exec(QStringLiteral("LOCK TABLE %1, %2 IN EXCLUSIVE MODE")
                                .arg(dialect.identifier(Schema::casesTable().name),
                                     dialect.identifier(Schema::namesTable().name)));
    if (done && !replace) {
        const int held = dataRows(server, Schema::casesTable());
        const int heldNames = dataRows(server, Schema::namesTable());
        if (held != 0 || heldNames != 0) {
            server.database().rollback();
            *error = refusal(to, held, heldNames);
            return false;
        }
    }
    done = done &&
           server.exec(QStringLiteral("DELETE FROM %1").arg(dialect.identifier(Schema::casesTable().name))) &&
           server.exec(QStringLiteral("DELETE FROM %1").arg(dialect.identifier(Schema::namesTable().name)));
    if (!done)
        *error = server.errorText();
    done = done && TableCopy::append(server, Schema::casesTable(), cases, error) &&
           TableCopy::append(server, Schema::namesTable(), names, error);
    if (done && !server.database().commit()) {
        server.noteError(server.database().lastError());
        *error = server.errorText();
        done = false;
    }
    if (!done)
        server.database().rollback();
    return done;
}

bool toFolder(const Location& target,
              const QString& to,
              bool replace,
              const TableCopy::Rows& cases,
              const TableCopy::Rows& names,
              QString* error)
{
    if (!QFileInfo(to).isDir()) {
        *error = QStringLiteral("The folder %1 does not exist.").arg(shownLocation(to));
        return false;
    }
    if (!replace) {
        int held = 0;
        int heldNames = 0;
        if (QFileInfo::exists(target.cases)) {
            SqlConnection file(target.cases);
            held = TableCopy::count(file, Schema::casesTable());
        }
        if (QFileInfo::exists(target.names)) {
            SqlConnection file(target.names);
            heldNames = dataRows(file, Schema::namesTable());
        }
        if (held != 0 || heldNames != 0) {
            *error = refusal(to, held, heldNames);
            return false;
        }
    }
    const QString casesTemporary = Backup::temporaryBeside(target.cases);
    const QString namesTemporary = Backup::temporaryBeside(target.names);
    const bool written = TableCopy::writeFile(casesTemporary, Schema::casesTable(), cases, error) &&
                         TableCopy::writeFile(namesTemporary, Schema::namesTable(), names, error) &&
                         Backup::replaceFile(casesTemporary, target.cases, error) &&
                         Backup::replaceFile(namesTemporary, target.names, error);
    QFile::remove(casesTemporary);
    QFile::remove(namesTemporary);
    return written;
}
} // namespace

Outcome migrate(const QString& from, const QString& to, bool replace)
{
    Outcome outcome;
    const Location source = locate(from);
    const Location target = locate(to);
    if (source.cases == target.cases) {
        outcome.error = QStringLiteral("The source and the target are the same place.");
        return outcome;
    }
    if (!source.server && !QFileInfo(source.cases).isFile()) {
        outcome.error = QStringLiteral("%1 holds no cases database.").arg(shownLocation(from));
        return outcome;
    }
    std::optional<TableCopy::Rows> cases;
    std::optional<TableCopy::Rows> names;
    if (source.server) {
        // One database holds both tables: they are read at one moment.
        SqlConnection server(source.cases);
        // A table made by hand may already have changed the values it holds (numbers for texts).
        for (const TableDef* table : {&Schema::casesTable(), &Schema::namesTable()}) {
            if (outcome.error = Schema::serverTableProblem(server, *table); !outcome.error.isEmpty())
                return outcome;
        }
        std::optional<QList<TableCopy::Rows>> both =
            TableCopy::readTogether(server, {&Schema::casesTable(), &Schema::namesTable()}, &outcome.error);
        if (both) {
            cases = (*both)[0];
            names = (*both)[1];
        }
    } else {
        SqlConnection casesDb(source.cases);
        if (target.server && !serverCanKeep(casesDb, source.names, from, &outcome.error))
            return outcome;
        cases = TableCopy::read(casesDb, Schema::casesTable(), &outcome.error);
        if (cases && QFileInfo(source.names).isFile()) {
            SqlConnection namesDb(source.names);
            names = TableCopy::read(namesDb, Schema::namesTable(), &outcome.error);
        } else if (cases) {
            names = TableCopy::Rows{};
        }
    }
    if (!cases || !names)
        return outcome;
    if (names->columns.isEmpty()) {
        for (const ColumnDef& column : Schema::namesTable().allColumns())
            names->columns << column.name;
    }
    const bool done = target.server ? toServer(target, to, replace, *cases, *names, &outcome.error)
                                    : toFolder(target, to, replace, *cases, *names, &outcome.error);
    if (!done)
        return outcome;
    outcome.copied = true;
    outcome.cases = int(cases->values.size());
    outcome.names = int(names->values.size());
    outcome.error.clear();
    return outcome;
}

} // namespace cs42::Migration
