#include "core/worksheet/Schedule.h"

#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"
#include "core/worksheet/LeadingNumber.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace cs42 {

namespace {
// The children column chosen by a count: 1..6 exactly, else none (0).
int chosenColumn(double children)
{
    for (int k = 1; k <= 6; ++k) {
        if (children == static_cast<double>(k))
            return k;
    }
    return 0;
}

// Reads `income` and the amount columns `columns` (1..6) of every row in stored order (the order
// in which the rows were written); amounts not read stay 0.
std::optional<ScheduleTable>
readTable(const QString& scheduleDbPath, const QList<int>& columns, QString* error, const QString& table)
{
    SqlConnection connection(scheduleDbPath);
    if (!connection.isOpen()) {
        if (error)
            *error = connection.errorText();
        return std::nullopt;
    }
    QStringList selected{QStringLiteral("income")};
    for (int k : columns)
        selected << QStringLiteral("child%1").arg(k); // names from the fixed list child1..child6
    QList<ScheduleRow> rows;
    {
        QSqlQuery query(connection.database());
        query.setForwardOnly(true);
        // The table name comes from the fixed schema, never from input.
        const QString from = Schema::scheduleTable(table).name;
        if (!query.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(selected.join(u','), from))) {
            if (error)
                *error = query.lastError().text();
            return std::nullopt;
        }
        while (query.next()) {
            ScheduleRow row;
            row.income = LeadingNumber(query.value(0).toString());
            for (int i = 0; i < columns.size(); ++i)
                row.amounts[static_cast<std::size_t>(columns[i] - 1)] =
                    LeadingNumber(query.value(i + 1).toString());
            rows.append(row);
        }
    }
    return ScheduleTable(std::move(rows));
}
} // namespace

std::optional<ScheduleTable>
ScheduleTable::load(const QString& scheduleDbPath, QString* error, const QString& table)
{
    return readTable(scheduleDbPath, {1, 2, 3, 4, 5, 6}, error, table);
}

std::optional<ScheduleTable>
ScheduleTable::loadFor(const QString& scheduleDbPath, double children, QString* error, const QString& table)
{
    const int k = chosenColumn(children);
    return readTable(scheduleDbPath, k > 0 ? QList<int>{k} : QList<int>{}, error, table);
}

std::optional<ScheduleTable> ScheduleTable::loadIdentified(const QString& scheduleDbPath,
                                                           double children,
                                                           QString* error,
                                                           const QString& table)
{
    const ScheduleSource source = ScheduleSource::identify(scheduleDbPath, table);
    std::optional<ScheduleTable> loaded =
        source.isUsable() ? loadFor(scheduleDbPath, children, error, table) : ScheduleTable();
    if (loaded)
        loaded->setSource(source);
    return loaded;
}

double ScheduleTable::amountFor(const ScheduleRow& row, double children)
{
    const int k = chosenColumn(children);
    return k > 0 ? row.amounts[static_cast<std::size_t>(k - 1)] : 0.0;
}

bool ScheduleTable::bracketSearch(
    double income, double children, double width, ScheduleLookup* lookup, bool* hasNext) const
{
    ScheduleLookup found;
    bool next = false;
    bool bracketFound = false;
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        const ScheduleRow& row = m_rows[i];
        if (row.income <= income && income < row.income + width) {
            bracketFound = true;
            found.bracketIncome = row.income;
            found.bracketAmount = amountFor(row, children);
            if (i + 1 < m_rows.size()) {
                next = true;
                found.nextIncome = m_rows[i + 1].income;
                found.nextAmount = amountFor(m_rows[i + 1], children);
            }
            break;
        }
    }
    if (lookup)
        *lookup = found;
    if (hasNext)
        *hasNext = next;
    return bracketFound;
}

double ScheduleTable::searchLimit(const ScheduleRules& rules) const
{
    if (m_rows.isEmpty())
        return rules.searchUpTo;
    return std::max(rules.searchUpTo, m_rows.last().income);
}

QString ScheduleTable::rangeProblem(const ScheduleRules& rules) const
{
    if (m_rows.isEmpty())
        return QStringLiteral("the schedule holds no rows");
    const double first = m_rows.first().income;
    const double last = m_rows.last().income;
    if (first > rules.minimumIncome)
        return QStringLiteral("the schedule starts at an income of %1; it must start at %2 or below")
            .arg(first)
            .arg(rules.minimumIncome);
    if (last < rules.searchUpTo)
        return QStringLiteral("the schedule stops at an income of %1; it must reach %2")
            .arg(last)
            .arg(rules.searchUpTo);
    return {};
}

double basicObligation(const ScheduleTable& table,
                       double income,
                       double children,
                       ScheduleLookup* lookup,
                       const ScheduleRules& rules)
{
    ScheduleLookup outcome;
    double amount = 0.0;
    if (income < rules.minimumIncome)
        amount = rules.minimumAmount;
    const double limit = table.searchLimit(rules);
    if (rules.searchFrom < income && income <= limit) {
        bool hasNext = false;
        if (table.bracketSearch(income, children, rules.bracketWidth, &outcome, &hasNext)) {
            if (hasNext) {
                const double below = income - outcome.bracketIncome;
                const double above = outcome.nextIncome - income;
                // Halfway or more towards the next row takes the next (higher) row's amount.
                amount = below >= above ? outcome.nextAmount : outcome.bracketAmount;
            } else {
                amount = outcome.bracketAmount;
            }
        }
    }
    if (income > limit) {
        // No extrapolation above the table: the last stored row's amount. An empty table has no
        // last row and gives 0.
        if (!table.isEmpty()) {
            amount = ScheduleTable::amountFor(table.rows().last(), children);
            outcome.aboveTable = true;
            outcome.topIncome = table.rows().last().income;
        } else {
            amount = 0.0;
        }
    }
    if (lookup)
        *lookup = outcome;
    return amount;
}

double imputedAmount(
    const ScheduleTable& table, double income, double k, ScheduleLookup* lookup, const ScheduleRules& rules)
{
    ScheduleLookup outcome;
    bool hasNext = false;
    double amount = 0.0;
    if (table.bracketSearch(income, k, rules.bracketWidth, &outcome, &hasNext)) {
        if (hasNext) {
            amount = outcome.bracketAmount + (outcome.nextAmount - outcome.bracketAmount) *
                                                 (income - outcome.bracketIncome) / rules.bracketWidth;
        } else {
            // The last row brackets the income: there is no row to interpolate towards, and the
            // schedule's own amount at that level is the one it gives.
            amount = outcome.bracketAmount;
        }
    }
    if (amount < 0)
        amount = rules.minimumAmount;
    if (lookup)
        *lookup = outcome;
    return amount;
}

double BasicObligation(
    const QString& scheduleDbPath, double income, double children, ScheduleLookup* lookup, bool* available)
{
    const std::optional<ScheduleTable> table = ScheduleTable::loadIdentified(scheduleDbPath, children);
    if (available)
        *available = table && !table->isEmpty();
    return basicObligation(table.value_or(ScheduleTable()), income, children, lookup);
}

double
ImputedAmount(const QString& scheduleDbPath, double income, double k, ScheduleLookup* lookup, bool* available)
{
    const std::optional<ScheduleTable> table = ScheduleTable::loadIdentified(scheduleDbPath, k);
    if (available)
        *available = table && !table->isEmpty();
    return imputedAmount(table.value_or(ScheduleTable()), income, k, lookup);
}

} // namespace cs42
