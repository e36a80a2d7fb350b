#pragma once

#include "core/worksheet/ScheduleSource.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace cs42 {

// The outcome of one search of the schedule: the row that brackets the income and the row stored
// after it, with their amounts in the chosen children column. All 0 when the search did not run
// or found nothing. `aboveTable` and `topIncome` say that the amount came from the last stored
// row because the income lies above every row the search covers (the four values stay 0 then).
struct ScheduleLookup
{
    double bracketIncome = 0;
    double bracketAmount = 0;
    double nextIncome = 0;
    double nextAmount = 0;
    bool aboveTable = false;
    double topIncome = 0;
};

// One row of the Schedule of Basic Child-Support Obligations: a monthly income level and the
// obligations for 1 to 6 children, each read with LeadingNumber from the stored text.
struct ScheduleRow
{
    double income = 0;
    std::array<double, 6> amounts{};
};

// The rules of the edition of the guidelines that goes with a form edition. The figures of the
// Alabama guidelines behind form CS-42 (Rev. 1/09): under $800 the obligation is $50; the table
// is searched from above $799; incomes above $20,000 take the last row's amount (no
// extrapolation).
struct ScheduleRules
{
    double bracketWidth = 50;   // distance between neighbouring rows
    double minimumIncome = 800; // below this the obligation is minimumAmount
    double minimumAmount = 50;
    double searchFrom = 799;   // the search runs for incomes above this ...
    double searchUpTo = 20000; // ... up to this (see ScheduleTable::searchLimit)

    static ScheduleRules cs42Rev0109() { return {}; }
};

// The rows of the Schedule table in stored order (the search relies on that order being
// ascending by income with exactly bracketWidth between neighbours; nothing is sorted here).
class ScheduleTable
{
public:
    ScheduleTable() = default;

    explicit ScheduleTable(QList<ScheduleRow> rows)
        : m_rows(std::move(rows))
    {}

    // Reads the Schedule table of the database at `scheduleDbPath`, opening and closing it.
    // nullopt when the file or its table cannot be read (error says why).
    // `table` names the edition's table (FormEdition::scheduleTable).
    static std::optional<ScheduleTable> load(const QString& scheduleDbPath,
                                             QString* error = nullptr,
                                             const QString& table = QStringLiteral("Schedule"));
    // The same, reading only the incomes and the amounts for `children` (the column a reading
    // for that count uses; none when the count selects no column). The other amounts read 0.
    // A recomputation reads one column in place of six: most of its time is spent reading values.
    static std::optional<ScheduleTable> loadFor(const QString& scheduleDbPath,
                                                double children,
                                                QString* error = nullptr,
                                                const QString& table = QStringLiteral("Schedule"));

    // loadFor with the table's identity (ScheduleSource::identify) set on it. A table that is not
    // installed for its form (ScheduleSource::isUsable) reads as a table without rows, whatever it
    // holds: the 2009 form never reads the 2022 schedule.
    static std::optional<ScheduleTable> loadIdentified(const QString& scheduleDbPath,
                                                       double children,
                                                       QString* error = nullptr,
                                                       const QString& table = QStringLiteral("Schedule"));

    const QList<ScheduleRow>& rows() const { return m_rows; }

    bool isEmpty() const { return m_rows.isEmpty(); }

    // Where the rows come from (ScheduleSource::identify); Unknown for a table built in memory.
    const ScheduleSource& source() const { return m_source; }

    void setSource(ScheduleSource source) { m_source = std::move(source); }

    // The shared bracket search: the first row x (in stored order) with x <= income < x + width,
    // and the row after it. `children` selects column child1..child6 when it is exactly 1..6;
    // any other count reads every amount as 0. Returns whether a bracket row was found;
    // *hasNext says whether a next row exists.
    bool
    bracketSearch(double income, double children, double width, ScheduleLookup* lookup, bool* hasNext) const;

    // The amount of row `row` for `children` (0 when no column is chosen).
    static double amountFor(const ScheduleRow& row, double children);

    // The highest income the worksheet reading searches: the rules' limit, or the last row's
    // income when the installed table reaches further (the 2022 Alabama table runs to $30,000;
    // its rows above $20,000 are real amounts, not to be replaced by the last row's).
    double searchLimit(const ScheduleRules& rules) const;

    // Why the table cannot serve an edition's rules: empty when its rows reach from the minimum
    // income up to the highest income the rules search; otherwise a sentence saying which incomes
    // it lacks (a table cut short would give line 4 = 0 above its last row).
    QString rangeProblem(const ScheduleRules& rules) const;

private:
    QList<ScheduleRow> m_rows;
    ScheduleSource m_source;
};

// Worksheet reading (line 4 before any override): $50 under $800, the bracket row's or next
// row's amount by the halfway rule inside the table, the last row's amount above it. Fills
// *lookup (reset first) when given.
double basicObligation(const ScheduleTable& table,
                       double income,
                       double children,
                       ScheduleLookup* lookup = nullptr,
                       const ScheduleRules& rules = ScheduleRules::cs42Rev0109());

// Imputed pre-existing obligation: straight-line interpolation between the bracket row and the
// next row for k other children; 0 when no row brackets the income; the bracket row's own amount
// when it is the last stored row; 50 when the result is negative. Not rounded.
double imputedAmount(const ScheduleTable& table,
                     double income,
                     double k,
                     ScheduleLookup* lookup = nullptr,
                     const ScheduleRules& rules = ScheduleRules::cs42Rev0109());

// The same two readings on the installed schedule database: open, read, close. A schedule that
// cannot be read counts as an empty table (line 4: $50 under $800, else 0; imputed: 0);
// *available is false then, and also when the table holds no rows or is not installed for the
// 2009 form (ScheduleTable::loadIdentified), so that the caller can say that no schedule stands
// behind the amount.
double BasicObligation(const QString& scheduleDbPath,
                       double income,
                       double children,
                       ScheduleLookup* lookup = nullptr,
                       bool* available = nullptr);
double ImputedAmount(const QString& scheduleDbPath,
                     double income,
                     double k,
                     ScheduleLookup* lookup = nullptr,
                     bool* available = nullptr);

} // namespace cs42
