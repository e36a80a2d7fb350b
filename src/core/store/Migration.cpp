#include "core/store/Migration.h"

#include "core/store/Backup.h"
#include "core/store/ChangeHistory.h"
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

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

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
    if (query.exec() && query.next() && query.value(0).toString() == Schema::namesSeedKey())
        return 0;
    return rows;
}

// What makes two spellings one place: a folder's device and inode (through symlinks, "dir/.",
// bind mounts), a server database's cluster (its system identifier) and name (through
// "localhost" and "127.0.0.1", or a second port of the same server). Empty when it cannot be
// told.
QString identityOf(const Location& place, const QString& spelled)
{
    if (place.server) {
        SqlConnection server(place.cases);
        if (!server.isOpen())
            return {};
        QSqlQuery query(server.database());
        if (query.exec(QStringLiteral(
                "SELECT system_identifier::text, current_database() FROM pg_control_system()")) &&
            query.next())
            return QStringLiteral("server %1 %2").arg(query.value(0).toString(), query.value(1).toString());
        return {};
    }
#ifdef Q_OS_UNIX
    struct stat folder;
    if (::stat(QFile::encodeName(spelled).constData(), &folder) == 0)
        return QStringLiteral("folder %1 %2").arg(quint64(folder.st_dev)).arg(quint64(folder.st_ino));
#endif
    const QString canonical = QFileInfo(spelled).canonicalFilePath();
    return canonical.isEmpty() ? QString() : QStringLiteral("folder ") + canonical;
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

// What is copied: the two tables and the history of each.
struct Contents
{
    TableCopy::Rows cases;
    TableCopy::Rows names;
    TableCopy::Rows casesHistory;
    TableCopy::Rows namesHistory;
};

bool toServer(
    const Location& target, const QString& to, bool replace, const Contents& contents, QString* error)
{
    const TableCopy::Rows& cases = contents.cases;
    const TableCopy::Rows& names = contents.names;
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
    bool done = server.exec(QStringLiteral("LOCK TABLE %1, %2, %3 IN EXCLUSIVE MODE")
                                .arg(dialect.identifier(Schema::casesTable().name),
                                     dialect.identifier(Schema::namesTable().name),
                                     dialect.identifier(Schema::changesTable().name)));
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
           server.exec(QStringLiteral("DELETE FROM %1").arg(dialect.identifier(Schema::namesTable().name))) &&
           server.exec(QStringLiteral("DELETE FROM %1").arg(dialect.identifier(Schema::changesTable().name)));
    if (!done)
        *error = server.errorText();
    done = done && TableCopy::append(server, Schema::casesTable(), cases, error) &&
           TableCopy::append(server, Schema::namesTable(), names, error) &&
           TableCopy::append(server, Schema::changesTable(), contents.casesHistory, error) &&
           TableCopy::append(server, Schema::changesTable(), contents.namesHistory, error);
    if (done && !server.database().commit()) {
        server.noteError(server.database().lastError());
        *error = server.errorText();
        done = false;
    }
    if (!done)
        server.database().rollback();
    return done;
}

// The rows of each table of a folder target: the cases file is the main database of the
// connection, the names file is attached as NamesSchema.
const QString NamesSchema = QStringLiteral("target_names");

int rowsIn(SqlConnection& file, const TableDef& table, const QString& schema)
{
    QSqlQuery query(file.database());
    if (query.exec(
            QStringLiteral("SELECT count(*) FROM %1").arg(TableCopy::qualifiedName(file, table, schema))) &&
        query.next())
        return query.value(0).toInt();
    return -1;
}

// What a folder target holds, as the last line of a message.
QString holding(const QString& to, int cases, int names)
{
    return QStringLiteral("%1 holds %2 cases and %3 names.").arg(shownLocation(to)).arg(cases).arg(names);
}

// The new rows go into the target's own files through SQLite, in one transaction over both (the
// names file attached to the cases file): SQLite's journals, and the super-journal that ties
// them, leave both files all old or all new whenever the copy stops, and a journal a crashed
// workstation left beside a file is rolled back into its own file before anything is written.
// Renaming new files into place could leave new cases beside old names, or a new file under
// an old file's journal.
bool toFolder(
    const Location& target, const QString& to, bool replace, const Contents& contents, QString* error)
{
    const TableCopy::Rows& cases = contents.cases;
    const TableCopy::Rows& names = contents.names;
    if (!QFileInfo(to).isDir()) {
        *error = QStringLiteral("The folder %1 does not exist.").arg(shownLocation(to));
        return false;
    }
    if (Schema::ensureDatabase(target.cases, Schema::casesTable(), error) != SqlFailure::None ||
        Schema::ensureDatabase(target.names, Schema::namesTable(), error) != SqlFailure::None)
        return false;
    SqlConnection file(target.cases);
    if (!file.isOpen() ||
        !file.exec(QStringLiteral("ATTACH DATABASE ? AS %1").arg(NamesSchema), {target.names})) {
        *error = file.errorText();
        return false;
    }
    const TableDef& casesTable = Schema::casesTable();
    const TableDef& namesTable = Schema::namesTable();
    const TableDef& history = Schema::changesTable();
    // Other workstations wait until the copy is in place (their saves would be lost in it).
    if (!file.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        *error = file.errorText();
        return false;
    }
    const auto heldNow = [&file, &casesTable, &namesTable] {
        return std::pair{rowsIn(file, casesTable, QString()),
                         TableCopy::dataCount(file, namesTable, NamesSchema)};
    };
    const auto [heldCases, heldNames] = heldNow();
    if (!replace && (heldCases != 0 || heldNames != 0)) {
        file.exec(QStringLiteral("ROLLBACK"));
        *error = refusal(to, heldCases, heldNames);
        return false;
    }
    bool done =
        file.exec(QStringLiteral("DELETE FROM %1").arg(TableCopy::qualifiedName(file, casesTable))) &&
        file.exec(
            QStringLiteral("DELETE FROM %1").arg(TableCopy::qualifiedName(file, namesTable, NamesSchema))) &&
        file.exec(QStringLiteral("DELETE FROM %1")
                      .arg(TableCopy::qualifiedName(file, history, QStringLiteral("main")))) &&
        file.exec(QStringLiteral("DELETE FROM %1").arg(TableCopy::qualifiedName(file, history, NamesSchema)));
    if (!done)
        *error = file.errorText();
    done = done && TableCopy::append(file, casesTable, cases, error) &&
           TableCopy::append(file, namesTable, names, error, NamesSchema) &&
           TableCopy::append(file, history, contents.casesHistory, error, QStringLiteral("main")) &&
           TableCopy::append(file, history, contents.namesHistory, error, NamesSchema);
    if (done && !file.exec(QStringLiteral("COMMIT"))) {
        *error = file.errorText();
        done = false;
    }
    if (!done) {
        file.exec(QStringLiteral("ROLLBACK"));
        const int keptCases = rowsIn(file, casesTable, QString());
        const int keptNames = rowsIn(file, namesTable, NamesSchema);
        *error = QStringLiteral("%1  Nothing was changed: %2").arg(*error, holding(to, keptCases, keptNames));
        return false;
    }
    // What went in is read back: the counts the user is told are those of the files.
    const int nowCases = rowsIn(file, casesTable, QString());
    const int nowNames = rowsIn(file, namesTable, NamesSchema);
    if (nowCases != cases.values.size() || nowNames != names.values.size() ||
        rowsIn(file, history, QStringLiteral("main")) != contents.casesHistory.values.size() ||
        rowsIn(file, history, NamesSchema) != contents.namesHistory.values.size()) {
        *error = QStringLiteral("The copy does not hold what was read.  Now %1")
                     .arg(holding(to, nowCases, nowNames));
        return false;
    }
    return true;
}
} // namespace

Outcome migrate(const QString& from, const QString& to, bool replace)
{
    Outcome outcome;
    const Location source = locate(from);
    const Location target = locate(to);
    const QString sourceIdentity = identityOf(source, from);
    if (source.cases == target.cases ||
        (!sourceIdentity.isEmpty() && sourceIdentity == identityOf(target, to))) {
        outcome.error = QStringLiteral("The source and the target are the same place.");
        return outcome;
    }
    if (!source.server && !QFileInfo(source.cases).isFile()) {
        outcome.error = QStringLiteral("%1 holds no cases database.").arg(shownLocation(from));
        return outcome;
    }
    std::optional<TableCopy::Rows> cases;
    std::optional<TableCopy::Rows> names;
    std::optional<TableCopy::Rows> casesHistory;
    std::optional<TableCopy::Rows> namesHistory;
    if (source.server) {
        // One database holds both tables: they are read at one moment.
        SqlConnection server(source.cases);
        // A table made by hand may already have changed the values it holds (numbers for texts).
        for (const TableDef* table : {&Schema::casesTable(), &Schema::namesTable()}) {
            if (outcome.error = Schema::serverTableProblem(server, *table); !outcome.error.isEmpty())
                return outcome;
        }
        std::optional<QList<TableCopy::Rows>> both = TableCopy::readTogether(
            server, {&Schema::casesTable(), &Schema::namesTable(), &Schema::changesTable()}, &outcome.error);
        if (both) {
            cases = (*both)[0];
            names = (*both)[1];
            casesHistory = ChangeHistory::rowsOf((*both)[2], ChangeHistory::Of::Cases);
            namesHistory = ChangeHistory::rowsOf((*both)[2], ChangeHistory::Of::Names);
        }
    } else {
        // Both files are read in one transaction, so that they are read at one moment: a
        // workstation's save into either waits until both are read.
        SqlConnection casesDb(source.cases);
        if (target.server && !serverCanKeep(casesDb, source.names, from, &outcome.error))
            return outcome;
        const bool withNames = QFileInfo(source.names).isFile();
        if (withNames && casesDb.isOpen() &&
            !casesDb.exec(QStringLiteral("ATTACH DATABASE ? AS %1").arg(NamesSchema), {source.names})) {
            outcome.error = casesDb.errorText();
            return outcome;
        }
        if (!casesDb.isOpen() || !casesDb.exec(QStringLiteral("BEGIN"))) {
            outcome.error = casesDb.errorText();
            return outcome;
        }
        cases = TableCopy::read(casesDb, Schema::casesTable(), &outcome.error);
        if (cases)
            casesHistory =
                TableCopy::read(casesDb, Schema::changesTable(), &outcome.error, QStringLiteral("main"));
        if (casesHistory && withNames) {
            names = TableCopy::read(casesDb, Schema::namesTable(), &outcome.error, NamesSchema);
            if (names)
                namesHistory = TableCopy::read(casesDb, Schema::changesTable(), &outcome.error, NamesSchema);
        } else if (casesHistory) {
            names = TableCopy::Rows{};
            namesHistory = TableCopy::Rows{casesHistory->columns, {}};
        }
        casesDb.exec(QStringLiteral("COMMIT"));
        // Each file's history is its own table's, whatever its rows say.
        if (casesHistory)
            casesHistory = ChangeHistory::rowsOf(*casesHistory, ChangeHistory::Of::Cases, true);
        if (namesHistory)
            namesHistory = ChangeHistory::rowsOf(*namesHistory, ChangeHistory::Of::Names, true);
    }
    if (!cases || !names || !casesHistory || !namesHistory)
        return outcome;
    // The history cannot be retyped: what a server cannot keep of it is left out, and said.
    if (target.server) {
        outcome.notes << ChangeHistory::keepableOnServer(*casesHistory)
                      << ChangeHistory::keepableOnServer(*namesHistory);
    }
    if (names->columns.isEmpty()) {
        for (const ColumnDef& column : Schema::namesTable().allColumns())
            names->columns << column.name;
    }
    const Contents contents{*cases, *names, *casesHistory, *namesHistory};
    const bool done = target.server ? toServer(target, to, replace, contents, &outcome.error)
                                    : toFolder(target, to, replace, contents, &outcome.error);
    if (!done)
        return outcome;
    outcome.copied = true;
    outcome.cases = int(cases->values.size());
    outcome.names = int(names->values.size());
    outcome.changes = int(casesHistory->values.size() + namesHistory->values.size());
    outcome.error.clear();
    return outcome;
}

} // namespace cs42::Migration
