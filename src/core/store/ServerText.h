#pragma once

#include <QStringList>

namespace cs42 {

class SqlConnection;
struct TableDef;

// A server keeps texts as UTF-8 without NUL bytes; a database file keeps whatever bytes were
// written into it. Before rows of a file go to a server, the values it could not keep exactly are
// found here: a NUL byte would end the copy half-way, and bytes that are not UTF-8 would arrive
// as U+FFFD without a word.
namespace ServerText {

// One line for each value of `table` in the database file `source` that a server could not keep
// exactly: "case KEY (name), column COLUMN: why". At most `limit` lines; empty when every value can
// go. A server source gives none.
QStringList unsendableValues(SqlConnection& source, const TableDef& table, int limit = 20);

} // namespace ServerText

} // namespace cs42
