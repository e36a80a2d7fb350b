#include "core/store/Schema.h"

#include "core/store/SqlConnection.h"

#include <QSqlError>
#include <QSqlQuery>

namespace cs42 {

namespace {
ColumnDef text(const QString& name, int width = 0)
{
    return {name, width > 0 ? QStringLiteral("TEXT(%1)").arg(width) : QStringLiteral("TEXT")};
}

TableDef makeMain()
{
    TableDef t{QStringLiteral("Main"), text(QStringLiteral("fileslocation"), 200), {}, {}, {}};
    t.additions << text(QStringLiteral("categoryfilename"), 20);
    for (int i = 1; i <= 9; ++i)
        t.additions << text(QStringLiteral("optfield%1").arg(i));
    t.additions << text(QStringLiteral("defaultedition"), 10);
    t.additions << text(QStringLiteral("windowplacement"), 60);
    // The folder this workstation last saved a copy of a document in (the preview's Save As).
    t.additions << text(QStringLiteral("savefolder"));
    return t;
}

TableDef makeNames()
{
    TableDef t{QStringLiteral("NAMES"),
               text(QStringLiteral("listname")),
               {},
               QStringLiteral("keynumber"),
               QStringLiteral("NamesKeyNumber")};
    const QList<QPair<const char*, int>> columns = {
        {"firmname", 250},    {"keynumber", 250}, {"lastfirstmiddle", 250}, {"firstname", 50},
        {"middlename", 50},   {"Lastname", 50},   {"suffix", 50},           {"street", 250},
        {"street2", 250},     {"city", 50},       {"namestate", 2},         {"zipcode", 20},
        {"wphone", 15},       {"hphone", 15},     {"fphone", 15},           {"cphone", 15},
        {"birthdate", 10},    {"deathdate", 10},  {"shortnote", 200},       {"namecounty", 50},
        {"namessn", 20},      {"namesex", 20},    {"namerace", 20},         {"barno", 20},
        {"notes", -1},        {"email", 250},     {"employer", 250},        {"anniversary", 15},
        {"placemarrg", 50},   {"startdate", 20},  {"enddate", 20},          {"contact", 200},
        {"cresdate", 20},     {"cempaddr", 200},  {"cempaddr2", 200},       {"cempcity", 50},
        {"cempstate", 2},     {"cempzip", 20},    {"clsalary", 20},         {"optfield1", 250},
        {"optfield2", 250},   {"optfield3", 250}, {"optfield4", 250},       {"photofile", 100},
        {"photocaption", 100}};
    for (const auto& [name, width] : columns) {
        if (width < 0)
            t.additions << ColumnDef{QString::fromLatin1(name), QStringLiteral("LONGTEXT")};
        else
            t.additions << text(QString::fromLatin1(name), width);
    }
    return t;
}

TableDef makeCases()
{
    // Finding the current case by its key is done on every recomputation of the worksheet; with
    // thousands of cases a scan of the table is too slow. The index only speeds up the search:
    // every query that depends on the stored order still orders by rowid.
    TableDef t{QStringLiteral("Cases"),
               text(QStringLiteral("casedesc")),
               {},
               QStringLiteral("caseid"),
               QStringLiteral("CasesCaseId")};
    QStringList names = {QStringLiteral("caseid"),
                         QStringLiteral("caseopen"),
                         QStringLiteral("courtfile"),
                         QStringLiteral("courttype"),
                         QStringLiteral("county"),
                         QStringLiteral("casefile"),
                         QStringLiteral("casecode"),
                         QStringLiteral("ivdfile"),
                         QStringLiteral("uresa"),
                         QStringLiteral("SetFormEditable"),
                         QStringLiteral("name1number"),
                         QStringLiteral("name1field"),
                         QStringLiteral("name1name"),
                         QStringLiteral("name2number"),
                         QStringLiteral("name2field"),
                         QStringLiteral("name2name")};
    for (int n = 1; n <= 6; ++n) {
        names << QStringLiteral("child%1name").arg(n) << QStringLiteral("child%1dob").arg(n)
              << QStringLiteral("child%1cust").arg(n) << QStringLiteral("child%1nights").arg(n);
    }
    for (const char* name : {"pinc",        "ppre",        "presp",
                             "poc",         "pover",       "pspinc",
                             "psplive",     "ptaxcredit",  "poverdays",
                             "povernights", "psplitkids",  "dinc",
                             "dpre",        "dresp",       "doc",
                             "dover",       "dspinc",      "dsplive",
                             "dtaxcredit",  "doverdays",   "dovernights",
                             "dsplitkids",  "childcare",   "healthins",
                             "obligor",     "payshealth",  "forceobligor",
                             "override",    "overamount",  "whosecustody",
                             "chkzeros",    "chkbox1",     "chkbox2",
                             "chkbox3",     "chkbox4",     "textblock1",
                             "datesigned",  "preparedby",  "preparedbyphone",
                             "notaryday",   "notarymonth", "notaryyear",
                             "notaryname",  "formedition", "numchildren",
                             "pchildcare",  "dchildcare",  "phealthins",
                             "dhealthins"})
        names << QString::fromLatin1(name);
    for (const QString& name : names)
        t.additions << text(name);
    return t;
}

// The history of the cases and names: one row per column a save changed (or per row added or
// deleted), beside the rows themselves (ChangeHistory). `caseid` holds the row's key, `tablename`
// the table ("cases", "names"; empty in rows written before the names had a history) and
// `action` what happened ("changed", "added", "deleted").
TableDef makeChanges()
{
    TableDef t{QStringLiteral("Changes"), text(QStringLiteral("caseid")), {}, {}, {}};
    t.additions = {text(QStringLiteral("columnname")),
                   ColumnDef{QStringLiteral("oldvalue"), QStringLiteral("LONGTEXT")},
                   ColumnDef{QStringLiteral("newvalue"), QStringLiteral("LONGTEXT")},
                   text(QStringLiteral("osuser")),
                   text(QStringLiteral("host")),
                   text(QStringLiteral("changedat")),
                   text(QStringLiteral("tablename")),
                   text(QStringLiteral("action"))};
    return t;
}

TableDef makeSchedule(const QString& name)
{
    TableDef t{name, text(QStringLiteral("income")), {}, {}, {}};
    for (int k = 1; k <= 6; ++k)
        t.additions << text(QStringLiteral("child%1").arg(k));
    return t;
}

} // namespace

QList<ColumnDef> TableDef::allColumns() const
{
    QList<ColumnDef> columns{first};
    columns << additions;
    return columns;
}

bool TableDef::hasColumn(const QString& column) const
{
    for (const ColumnDef& c : allColumns()) {
        if (c.name.compare(column, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

namespace Schema {
const TableDef& mainTable()
{
    static const TableDef table = makeMain();
    return table;
}

const TableDef& namesTable()
{
    static const TableDef table = makeNames();
    return table;
}

const QString& namesSeedKey()
{
    static const QString key = QStringLiteral("A0000001");
    return key;
}

const TableDef& casesTable()
{
    static const TableDef table = makeCases();
    return table;
}

const TableDef& changesTable()
{
    static const TableDef table = makeChanges();
    return table;
}

const TableDef& scheduleTable(const QString& name)
{
    static const TableDef table2009 = makeSchedule(QStringLiteral("Schedule"));
    static const TableDef table2022 = makeSchedule(QStringLiteral("Schedule2022"));
    static const TableDef kept2009 = makeSchedule(keptScheduleTableName(table2009.name));
    static const TableDef kept2022 = makeSchedule(keptScheduleTableName(table2022.name));
    for (const TableDef* table : {&table2022, &kept2009, &kept2022}) {
        if (name == table->name)
            return *table;
    }
    return table2009;
}

QString keptScheduleTableName(const QString& name)
{
    return name + QStringLiteral("_Previous");
}

const TableDef& scheduleSourceTable()
{
    static const TableDef table = [] {
        TableDef t{QStringLiteral("ScheduleSource"), text(QStringLiteral("tablename")), {}, {}, {}};
        for (const char* column : {"kind", "file", "recorded", "sha256"})
            t.additions << text(QString::fromLatin1(column));
        return t;
    }();
    return table;
}

QStringList scheduleTableNames()
{
    return {QStringLiteral("Schedule"), QStringLiteral("Schedule2022")};
}

void createTable(SqlConnection& connection, const TableDef& table)
{
    // Identifiers come from the fixed definitions above, never from user input.
    connection.exec(connection.dialect().createTable(table));
}

namespace {
// Adds, inside the caller's transaction, every column the table lacks.
void addMissingColumns(SqlConnection& connection, const TableDef& table)
{
    const SqlDialect& dialect = connection.dialect();
    const QStringList existing = dialect.existingColumnNames(connection.database(), table.name);
    for (const ColumnDef& column : table.additions) {
        if (!existing.contains(column.name.toLower()))
            connection.exec(dialect.addColumn(table, column));
    }
}
} // namespace

void addColumns(SqlConnection& connection, const TableDef& table)
{
    // One transaction: a new file costs one sync, not one per column. On a file a failing
    // addition fails alone and the others still go in.
    connection.database().transaction();
    addMissingColumns(connection, table);
    connection.database().commit();
}

namespace {
// One change a server table needs, and how the user is told that it could not be made.
struct Change
{
    QString statement;
    QString failure; // "... could not be made", completed with the server's reason
};

// The changes that bring a server table to the program's shape: none when nothing is missing.
QList<Change> missingOnServer(SqlConnection& connection, const TableDef& table)
{
    const SqlDialect& dialect = connection.dialect();
    const QString name = table.name.toLower();
    QList<Change> changes;
    const QStringList existing = dialect.existingColumnNames(connection.database(), table.name);
    if (existing.isEmpty())
        changes.append({dialect.createTable(table),
                        QStringLiteral("The server holds no table %1, and it could not be made").arg(name)});
    for (const ColumnDef& column : table.additions) {
        if (!existing.contains(column.name.toLower()))
            changes.append({dialect.addColumn(table, column),
                            QStringLiteral("The table %1 on the server has no column %2, and it could not "
                                           "be added")
                                .arg(name, column.name.toLower())});
    }
    const QString index = dialect.keyIndex(table);
    if (!index.isEmpty() && (existing.isEmpty() || !dialect.hasUniqueKeyIndex(connection.database(), table)))
        changes.append({index,
                        QStringLiteral("The table %1 on the server has no unique index on %2, and it could "
                                       "not be made")
                            .arg(name, table.keyColumn.toLower())});
    return changes;
}

SqlFailure failWith(SqlConnection& connection, const QString& lead, QString* error)
{
    if (error)
        *error = lead.isEmpty() ? connection.errorText()
                                : QStringLiteral("%1 (%2).").arg(lead, connection.errorText());
    return connection.failure() == SqlFailure::None ? SqlFailure::Other : connection.failure();
}

// A role that may only read and write rows (the usual set-up for the workstations) can use
// tables that are complete: the schema is changed only when something is missing, and the first
// statement that fails is the one reported.
SqlFailure ensureServerTable(SqlConnection& connection, const TableDef& table, QString* error)
{
    if (!missingOnServer(connection, table).isEmpty()) {
        QSqlDatabase& db = connection.database();
        if (!db.transaction()) {
            connection.noteError(db.lastError());
            return failWith(connection, QString(), error);
        }
        // Several workstations starting at once upgrade one after the other, each in one step;
        // under the lock, what is missing is read again.
        if (!connection.exec(connection.dialect().schemaLock())) {
            db.rollback();
            return failWith(connection, QString(), error);
        }
        for (const Change& change : missingOnServer(connection, table)) {
            if (!connection.exec(change.statement)) {
                db.rollback();
                return failWith(connection, change.failure, error);
            }
        }
        if (!db.commit()) {
            connection.noteError(db.lastError());
            db.rollback();
            return failWith(connection, QString(), error);
        }
    }
    if (const QStringList problems = connection.dialect().shapeProblems(connection.database(), table);
        !problems.isEmpty()) {
        if (error)
            *error = unusableTableText(table, problems);
        return SqlFailure::Other;
    }
    return SqlFailure::None;
}
} // namespace

QString unusableTableText(const TableDef& table, const QStringList& problems)
{
    return QStringLiteral("The table %1 on the server was not made as this program makes it, and it would "
                          "change what is stored: %2. Nothing was read or written; whoever looks after the "
                          "server can make it anew (every column text, a serial rowid, a unique index on "
                          "%3).")
        .arg(table.name.toLower(), problems.join(QStringLiteral("; ")), table.keyColumn.toLower());
}

QString serverTableProblem(SqlConnection& connection, const TableDef& table)
{
    if (connection.engine() != SqlEngine::PostgreSQL)
        return {};
    const QStringList problems = connection.dialect().shapeProblems(connection.database(), table);
    return problems.isEmpty() ? QString() : unusableTableText(table, problems);
}

SqlFailure ensureDatabase(const QString& path, const TableDef& table, QString* error)
{
    SqlConnection connection(path, SqlConnection::Mode::OpenOrCreate);
    if (!connection.isOpen()) {
        if (error)
            *error = connection.errorText();
        return connection.failure();
    }
    // The history lives beside the cases and the names: every database that holds either holds it.
    QList<const TableDef*> tables{&table};
    if (&table == &casesTable() || &table == &namesTable())
        tables << &changesTable();
    for (const TableDef* each : tables) {
        if (connection.engine() == SqlEngine::PostgreSQL) {
            if (const SqlFailure failure = ensureServerTable(connection, *each, error);
                failure != SqlFailure::None)
                return failure;
            continue;
        }
        createTable(connection, *each);
        addColumns(connection, *each);
        if (const QString index = connection.dialect().keyIndex(*each); !index.isEmpty())
            connection.exec(index);
    }
    return SqlFailure::None;
}
} // namespace Schema

} // namespace cs42
