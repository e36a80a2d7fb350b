#pragma once

#include <QString>

namespace cs42 {

struct TableDef;

namespace NullRepair {
// RepairNulls: every Null in a column of the table other than its first becomes the empty text,
// or a single blank in a long-text column. Columns the file has but the schema does not know
// are repaired as text. A failing column is skipped.
void repairTable(const QString& databasePath, const TableDef& table);
} // namespace NullRepair

} // namespace cs42
