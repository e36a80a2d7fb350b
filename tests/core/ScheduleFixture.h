#pragma once

#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"
#include "core/worksheet/Schedule.h"

#include <QString>

#include <cmath>
#include <map>
#include <utility>

// Test schedules built in code: rows `first` .. `last` every $50 with the amount for k children
// at income x = floor(x * 9 * k / 100), so $5,000 gives 900 for two children and $5,050 gives 909.
// `cells` replaces single amounts: {{income, k}, amount}.
namespace cs42::test {

using Cells = std::map<std::pair<int, int>, double>;

inline double formulaAmount(double income, int k)
{
    return std::floor(income * 9 * k / 100);
}

inline ScheduleTable makeTable(int first, int last, const Cells& cells = {})
{
    QList<ScheduleRow> rows;
    for (int income = first; income <= last; income += 50) {
        ScheduleRow row;
        row.income = income;
        for (int k = 1; k <= 6; ++k) {
            const auto cell = cells.find({income, k});
            row.amounts[static_cast<std::size_t>(k - 1)] =
                cell != cells.end() ? cell->second : formulaAmount(income, k);
        }
        rows.append(row);
    }
    return ScheduleTable(rows);
}

// $800 .. $20,000 with the imputed example's child2 amounts (300 at $1,200, 310 at $1,250).
inline ScheduleTable standardTable()
{
    return makeTable(800, 20000, {{{1200, 2}, 300}, {{1250, 2}, 310}});
}

// Writes the rows as texts into a new schedule database at `path`, in the given order.
inline void writeScheduleDb(const QString& path, const QList<QStringList>& rows)
{
    Schema::ensureDatabase(path, Schema::scheduleTable());
    SqlConnection connection(path);
    for (const QStringList& row : rows) {
        QVariantList values;
        for (const QString& v : row)
            values << v;
        connection.exec(
            QStringLiteral("INSERT INTO Schedule (income, child1, child2, child3, child4, child5, "
                           "child6) VALUES (?, ?, ?, ?, ?, ?, ?)"),
            values);
    }
}

inline void writeScheduleDb(const QString& path, const ScheduleTable& table)
{
    QList<QStringList> rows;
    for (const ScheduleRow& row : table.rows()) {
        QStringList texts{QString::number(row.income)};
        for (double amount : row.amounts)
            texts << QString::number(amount);
        rows << texts;
    }
    writeScheduleDb(path, rows);
}

} // namespace cs42::test
