#pragma once

#include "core/names/NameForms.h"
#include "core/names/NameList.h"
#include "core/names/NameRecord.h"
#include "core/store/ChangeHistory.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

class QSqlError;

namespace cs42 {

class SqlConnection;

enum class NameStoreStatus
{
    Ok,
    NotFound, // no row has the key (removed, perhaps from another workstation)
    Failed,   // the database or its table cannot be opened, or a statement failed
};

// The names directory in the names database at one path (a file or a server URI). Every call opens the file,
// does its work and closes it again, so names added or changed on another workstation show at once. Keys are
// compared as exact texts except by deleteName. Failing calls put a reason into `error`.
class NameStore
{
public:
    explicit NameStore(QString namesDbPath);

    // OpenNames: can the table be opened? Adds the seed record when the table holds no row.
    NameStoreStatus openNames(QString* error = nullptr) const;
    // RepairNulls over Names: Null text columns (all but listname) become the empty text, a Null
    // notes a single blank.
    void repairNulls() const;

    // OpenNames, then the sort form and key of every row in stored order.
    std::optional<QList<NameListRow>> listRows(QString* error = nullptr) const;
    // Every column of the row with `key` (the last one, should there be several).
    std::optional<NameRecord>
    load(const QString& key, NameStoreStatus* status = nullptr, QString* error = nullptr) const;
    // SaveNameFields: stores the 35 edited columns of every row with `key`, each cut to its stored
    // length. `boxTexts` maps a column name to its box's text; a column it lacks is stored empty.
    // Each column whose value changed from what the directory showed (the last row with the key)
    // adds a row to the directory's history, in the same transaction, as adding and deleting a
    // name add one (Added / Deleted, with the name's `firmname`).
    NameStoreStatus
    saveFields(const QString& key, const QHash<QString, QString>& boxTexts, QString* error = nullptr) const;
    // Adds a record for a composed name with a key no other record has, and returns the key
    // (empty when nothing was added). The name parts are stored as typed, cut to their columns'
    // widths; the address, phone and personal columns hold the empty text, the other columns
    // stay Null until the next blank-filling pass.
    QString addName(const ComposedName& name, const NameParts& parts, QString* error = nullptr) const;
    // Removes the first row whose key, with leading and trailing blanks removed, is `key` (also
    // trimmed).
    NameStoreStatus deleteName(const QString& key, QString* error = nullptr) const;
    // The history of the name with `key` (of every name with an empty key), newest first; each
    // row's caseId holds the name's key. nullopt, with `error`, when it cannot be read.
    std::optional<QList<CaseChange>> history(const QString& key, QString* error = nullptr) const;
    bool keyExists(const QString& key) const;
    int count() const;

    const QString& path() const { return m_path; }

private:
    static bool insertName(SqlConnection& connection,
                           const QString& key,
                           const ComposedName& name,
                           const NameParts& parts,
                           QSqlError* refusal);

    QString m_path;
};

} // namespace cs42
