#pragma once

#include "core/store/SqlConnection.h"

#include <QString>

namespace cs42::test {

// Damages the caseid index of a cases database the way a torn write can: the index is rebuilt
// over casedesc while the schema still says caseid. Queries by key then miss rows that are there,
// PRAGMA quick_check still answers "ok" and only integrity_check sees the damage.
inline bool damageCaseIdIndex(const QString& casesDbPath)
{
    {
        SqlConnection connection(casesDbPath);
        if (!connection.exec(QStringLiteral("DROP INDEX IF EXISTS CasesCaseId")) ||
            !connection.exec(QStringLiteral("CREATE INDEX CasesCaseId ON Cases (casedesc)")))
            return false;
    }
    SqlConnection connection(casesDbPath);
    return connection.exec(QStringLiteral("PRAGMA writable_schema = ON")) &&
           connection.exec(QStringLiteral("UPDATE sqlite_master SET sql = "
                                          "'CREATE INDEX CasesCaseId ON Cases (caseid)' "
                                          "WHERE name = 'CasesCaseId'"));
}

} // namespace cs42::test
