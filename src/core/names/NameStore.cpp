#include "core/names/NameStore.h"

#include "core/names/NameKey.h"
#include "core/store/ChangeHistory.h"
#include "core/store/NullRepair.h"
#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace cs42 {

namespace {
const QString& tableName()
{
    return Schema::namesTable().name;
}

QString quoted(const SqlConnection& connection, const QString& identifier)
{
    return connection.dialect().identifier(identifier);
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// Opens the table and adds the seed record when it has no row. One statement, so that two
// workstations opening an empty directory at once add one seed between them.
bool openTable(SqlConnection& connection, QString* error)
{
    if (!connection.isOpen()) {
        setError(error, connection.errorText());
        return false;
    }
    {
        QSqlQuery probe(connection.database());
        if (!probe.exec(
                QStringLiteral("SELECT keynumber FROM %1 LIMIT 0").arg(quoted(connection, tableName())))) {
            setError(error, probe.lastError().text());
            return false;
        }
    }
    const NameRecord seed = NameRecord::seedRecord();
    QStringList columns;
    QVariantList values;
    for (const ColumnDef& column : Schema::namesTable().allColumns()) {
        columns << quoted(connection, column.name);
        values << seed.value(column.name);
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) SELECT %3 WHERE NOT EXISTS (SELECT 1 FROM %1)")
                            .arg(quoted(connection, tableName()),
                                 columns.join(QStringLiteral(", ")),
                                 QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    if (!connection.exec(sql, values)) {
        setError(error, connection.errorText());
        return false;
    }
    return true;
}

bool rowWithKeyExists(SqlConnection& connection, const QString& key)
{
    QSqlQuery query(connection.database());
    query.prepare(
        QStringLiteral("SELECT 1 FROM %1 WHERE keynumber = ? LIMIT 1").arg(quoted(connection, tableName())));
    query.addBindValue(key);
    return query.exec() && query.next();
}

int columnWidth(const QString& column)
{
    for (const ColumnDef& def : Schema::namesTable().allColumns()) {
        if (def.name.compare(column, Qt::CaseInsensitive) != 0)
            continue;
        const qsizetype open = def.type.indexOf(QLatin1Char('('));
        if (open < 0)
            return 255; // the engine's default text width
        return def.type.mid(open + 1, def.type.size() - open - 2).toInt();
    }
    return 255;
}

QString cutToColumn(const QString& column, const QString& text)
{
    return text.left(columnWidth(column));
}
} // namespace

NameStore::NameStore(QString namesDbPath)
    : m_path(std::move(namesDbPath))
{}

NameStoreStatus NameStore::openNames(QString* error) const
{
    SqlConnection connection(m_path);
    return openTable(connection, error) ? NameStoreStatus::Ok : NameStoreStatus::Failed;
}

void NameStore::repairNulls() const
{
    NullRepair::repairTable(m_path, Schema::namesTable());
}

std::optional<QList<NameListRow>> NameStore::listRows(QString* error) const
{
    SqlConnection connection(m_path);
    if (!openTable(connection, error))
        return std::nullopt;
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT firmname, keynumber FROM %1 ORDER BY rowid")
                        .arg(quoted(connection, tableName())))) {
        setError(error, query.lastError().text());
        return std::nullopt;
    }
    QList<NameListRow> rows;
    while (query.next())
        rows.append({query.value(0).toString(), query.value(1).toString()});
    return rows;
}

std::optional<NameRecord> NameStore::load(const QString& key, NameStoreStatus* status, QString* error) const
{
    auto report = [status](NameStoreStatus s) {
        if (status)
            *status = s;
    };
    SqlConnection connection(m_path);
    if (!openTable(connection, error)) {
        report(NameStoreStatus::Failed);
        return std::nullopt;
    }
    QSqlQuery query(connection.database());
    query.prepare(
        QStringLiteral("SELECT %1 FROM %2 WHERE keynumber = ? ORDER BY rowid DESC LIMIT 1")
            .arg(connection.dialect().rowColumns(Schema::namesTable()), quoted(connection, tableName())));
    query.addBindValue(key);
    if (!query.exec()) {
        setError(error, query.lastError().text());
        report(NameStoreStatus::Failed);
        return std::nullopt;
    }
    if (!query.next()) {
        report(NameStoreStatus::NotFound);
        return std::nullopt;
    }
    NameRecord record;
    const QSqlRecord row = query.record();
    for (int i = 0; i < row.count(); ++i)
        record.setValue(row.fieldName(i), query.value(i).isNull() ? QString() : query.value(i).toString());
    report(NameStoreStatus::Ok);
    return record;
}

NameStoreStatus
NameStore::saveFields(const QString& key, const QHash<QString, QString>& boxTexts, QString* error) const
{
    SqlConnection connection(m_path);
    if (!openTable(connection, error))
        return NameStoreStatus::Failed;
    QSqlDatabase db = connection.database();
    const auto failed = [&](const QSqlError& why) {
        setError(error, why.text());
        db.rollback();
        return NameStoreStatus::Failed;
    };
    QStringList assignments;
    QStringList columns;
    QStringList texts;
    QVariantList values;
    for (const NameField& field : NameRecord::editedFields()) {
        assignments << quoted(connection, field.column) + QStringLiteral(" = ?");
        columns << quoted(connection, field.column);
        texts << NameRecord::storedText(field.column,
                                        boxTexts.value(field.column, QString(QLatin1String(""))));
        values << texts.last();
    }
    values << key;
    if (QSqlError why; !ChangeHistory::beginWrite(connection, &why)) {
        setError(error, why.text());
        return NameStoreStatus::Failed;
    }
    // What the record held before, as the directory shows it (the last row with the key), read
    // under the same write lock: the history's "before".
    QSqlQuery read(db);
    read.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE keynumber = ? ORDER BY rowid DESC LIMIT 1%3")
                     .arg(columns.join(QStringLiteral(", ")),
                          quoted(connection, tableName()),
                          ChangeHistory::lockRows(connection)));
    read.addBindValue(key);
    if (!read.exec())
        return failed(read.lastError());
    if (!read.next()) {
        db.rollback();
        return NameStoreStatus::NotFound;
    }
    QList<ChangeHistory::Entry> entries;
    const QList<NameField>& fields = NameRecord::editedFields();
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString before = read.value(static_cast<int>(i)).toString();
        if (before != texts[i])
            entries.append({key, fields[i].column, before, texts[i]});
    }
    read.finish();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE keynumber = ?")
                      .arg(quoted(connection, tableName()), assignments.join(QStringLiteral(", "))));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return failed(query.lastError());
    query.finish();
    if (QSqlError why; !ChangeHistory::write(connection, ChangeHistory::Of::Names, entries, &why))
        return failed(why);
    if (!db.commit())
        return failed(db.lastError());
    return NameStoreStatus::Ok;
}

QString NameStore::addName(const ComposedName& name, const NameParts& parts, QString* error) const
{
    SqlConnection connection(m_path);
    if (!openTable(connection, error))
        return {};
    QSqlDatabase db = connection.database();
    // A server refuses a key that another workstation took a moment ago: draw another (in a new
    // transaction: a server's transaction ends with its first failed statement).
    for (int attempt = 0;; ++attempt) {
        QSqlError refusal;
        if (!ChangeHistory::beginWrite(connection, &refusal)) {
            setError(error, refusal.text());
            return {};
        }
        const QString key = NameKey::makeUnique(name.sortForm, [&connection](const QString& candidate) {
            return rowWithKeyExists(connection, candidate);
        });
        if (insertName(connection, key, name, parts, &refusal)) {
            const ChangeHistory::Entry added{key,
                                             QStringLiteral("firmname"),
                                             QString(),
                                             cutToColumn(QStringLiteral("firmname"), name.sortForm),
                                             ChangeAction::Added};
            if (!ChangeHistory::write(connection, ChangeHistory::Of::Names, {added}, &refusal)) {
                db.rollback();
                setError(error, refusal.text());
                return {};
            }
            if (db.commit())
                return key;
            setError(error, db.lastError().text());
            db.rollback();
            return {};
        }
        db.rollback();
        if (attempt < 5 && connection.dialect().isDuplicateKey(refusal))
            continue;
        setError(error, connection.errorText());
        return {};
    }
}

bool NameStore::insertName(SqlConnection& connection,
                           const QString& key,
                           const ComposedName& name,
                           const NameParts& parts,
                           QSqlError* refusal)
{

    QList<QPair<QString, QString>> columns = {
        {QStringLiteral("keynumber"), key},
        {QStringLiteral("firmname"), name.sortForm},
        {QStringLiteral("listname"), name.displayForm},
        {QStringLiteral("lastfirstmiddle"), name.lastFirstMiddle},
        {QStringLiteral("firstname"), parts.firstName},
        {QStringLiteral("middlename"), parts.middleName},
        {QStringLiteral("lastname"), parts.lastName},
        {QStringLiteral("suffix"), parts.suffix},
    };
    for (const char* column :
         {"street",    "street2",   "city",       "namestate",  "zipcode",  "namecounty", "email",
          "wphone",    "hphone",    "fphone",     "cphone",     "barno",    "namessn",    "birthdate",
          "deathdate", "employer",  "contact",    "cempaddr",   "cempcity", "cempstate",  "cempzip",
          "clsalary",  "startdate", "placemarrg", "anniversary"})
        columns.append({QString::fromLatin1(column), QString(QLatin1String(""))});

    QStringList names;
    QVariantList values;
    for (const auto& [column, value] : columns) {
        names << quoted(connection, column);
        values << cutToColumn(column, value);
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(quoted(connection, tableName()),
                                 names.join(QStringLiteral(", ")),
                                 QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    QSqlQuery query(connection.database());
    query.prepare(sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (query.exec())
        return true;
    *refusal = query.lastError();
    connection.noteError(*refusal);
    return false;
}

NameStoreStatus NameStore::deleteName(const QString& key, QString* error) const
{
    SqlConnection connection(m_path);
    if (!openTable(connection, error))
        return NameStoreStatus::Failed;
    QSqlDatabase db = connection.database();
    const auto failed = [&](const QSqlError& why) {
        setError(error, why.text());
        db.rollback();
        return NameStoreStatus::Failed;
    };
    if (QSqlError why; !ChangeHistory::beginWrite(connection, &why)) {
        setError(error, why.text());
        return NameStoreStatus::Failed;
    }
    // The name goes into the history with the record, so that who deleted it, and when, is known.
    QSqlQuery read(db);
    read.prepare(QStringLiteral("SELECT rowid, keynumber, firmname FROM %1 WHERE trim(keynumber) = ? "
                                "ORDER BY rowid LIMIT 1%2")
                     .arg(quoted(connection, tableName()), ChangeHistory::lockRows(connection)));
    read.addBindValue(key.trimmed());
    if (!read.exec())
        return failed(read.lastError());
    if (!read.next()) {
        db.rollback();
        return NameStoreStatus::NotFound;
    }
    const qint64 rowId = read.value(0).toLongLong();
    const ChangeHistory::Entry deleted{read.value(1).toString(),
                                       QStringLiteral("firmname"),
                                       read.value(2).toString(),
                                       QString(),
                                       ChangeAction::Deleted};
    read.finish();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(connection, tableName())));
    query.addBindValue(rowId);
    if (!query.exec())
        return failed(query.lastError());
    query.finish();
    if (QSqlError why; !ChangeHistory::write(connection, ChangeHistory::Of::Names, {deleted}, &why))
        return failed(why);
    if (!db.commit())
        return failed(db.lastError());
    return NameStoreStatus::Ok;
}

std::optional<QList<CaseChange>> NameStore::history(const QString& key, QString* error) const
{
    SqlConnection connection(m_path);
    if (!connection.isOpen()) {
        setError(error, connection.errorText());
        return std::nullopt;
    }
    QList<CaseChange> rows;
    if (QSqlError why; !ChangeHistory::read(connection, ChangeHistory::Of::Names, key, &rows, &why)) {
        setError(error, why.text());
        return std::nullopt;
    }
    return rows;
}

bool NameStore::keyExists(const QString& key) const
{
    SqlConnection connection(m_path);
    return connection.isOpen() && rowWithKeyExists(connection, key);
}

int NameStore::count() const
{
    SqlConnection connection(m_path);
    if (!connection.isOpen())
        return 0;
    QSqlQuery query(connection.database());
    if (query.exec(QStringLiteral("SELECT count(*) FROM %1").arg(quoted(connection, tableName()))) &&
        query.next())
        return query.value(0).toInt();
    return 0;
}

} // namespace cs42
