#include "core/worksheet/AmountCheck.h"

#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/LeadingNumber.h"

#include <cmath>

namespace cs42 {

QString amountProblem(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    bool readable = true;
    bool whole = false;
    const double value = LeadingNumber(trimmed, &readable, &whole);
    // Old databases, migrated folders and servers other tools edit hold texts such as "$3,000",
    // "1,000", "(1000)" or "1e3": read from their first digits they would stand for another
    // amount (0, 1, 0, 1), so they are not used at all.
    if (!whole)
        return QStringLiteral("is not a plain number");
    if (!readable || !std::isfinite(value))
        return QStringLiteral("has more digits than can be read");
    if (value > MaximumMonthlyAmount)
        return QStringLiteral("is more than $10,000,000 a month");
    if (value < -MaximumMonthlyAmount)
        return QStringLiteral("is less than -$10,000,000 a month");
    return {};
}

double usableAmount(const QString& text)
{
    return amountProblem(text).isEmpty() ? LeadingNumber(text) : 0.0;
}

QString amountRefusal(const QString& text)
{
    const QString problem = amountProblem(text);
    if (problem.isEmpty())
        return {};
    return QStringLiteral("You have entered an amount that cannot be used: it ") + problem +
           QStringLiteral("... Please try again");
}

QString parentAmountRefusal(const CaseRecord& record, bool plaintiff, ParentLine line, const QString& text)
{
    if (QString refusal = amountRefusal(text); !refusal.isEmpty())
        return refusal;
    const QString side = plaintiff ? QStringLiteral("p") : QStringLiteral("d");
    const auto stored = [&](const char* column) {
        return usableAmount(record.value(side + QLatin1String(column)));
    };
    double income = stored("inc");
    double support = stored("pre");
    double alimony = stored("resp");
    const double typed = usableAmount(text);
    switch (line) {
    case ParentLine::Income:
        income = typed;
        break;
    case ParentLine::PreexistingSupport:
        support = typed;
        break;
    case ParentLine::Alimony:
        alimony = typed;
        break;
    }
    // Line 2 as the worksheet computes it (same order, settled on its decimal figure), so that the
    // check and the line agree to the cent.
    if (Format::roundHalfEven((income - support) - alimony, 9) >= 0)
        return {};
    return QStringLiteral("This amount would make the ") +
           (plaintiff ? QStringLiteral("Plaintiff") : QStringLiteral("Defendant")) +
           QStringLiteral("'s adjusted gross income (line 2) less than 0. The monthly gross income (line "
                          "1), less the pre-existing child support (line 1a) and alimony (line 1b), must "
                          "be 0 or more... Please try again");
}

} // namespace cs42
