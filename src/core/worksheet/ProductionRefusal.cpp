#include "core/worksheet/ProductionRefusal.h"

#include "core/worksheet/FormEdition.h"

#include <QStringList>

namespace cs42 {

QString unknownEditionText(const QString& edition)
{
    return QStringLiteral("This case names the form edition '%1', which this program does not know (it "
                          "knows %2); a later version of the program may have stored it.")
        .arg(edition, FormEditions::knownIds());
}

QString productionRefusal(const Worksheet& sheet, const DataPaths& paths)
{
    const WorksheetResult& r = sheet.result;
    // The figures were computed on another form than the case's: nothing else about them counts.
    if (!r.unknownEdition.isEmpty())
        return QStringLiteral("The form was not produced.\r\n\r\n") + unknownEditionText(r.unknownEdition) +
               QStringLiteral(" Choose one of those editions for the case on its worksheet, or produce the "
                              "form with the version that stored it.");
    QStringList reasons;
    // An override sets line 4 whatever the schedule holds, so it makes the form possible.
    if (!r.scheduleAvailable && !r.overrideInForce && r.scheduleSource.missesPre2022Schedule()) {
        reasons << QStringLiteral("The schedule in force before May 1, 2022, which form CS-42 (Rev. 1/09) "
                                  "reads, is not installed: the schedule database '%1' %2, so line 4 is "
                                  "not from a schedule. Install that schedule with 'cs42-admin schedule "
                                  "import FILE.csv' in the program's working directory, or override line 4 "
                                  "with the amount to use.")
                       .arg(paths.scheduleDbPath(), r.scheduleSource.problem());
    } else if (!r.scheduleAvailable && !r.overrideInForce) {
        reasons << QStringLiteral("The schedule of basic child-support obligations '") +
                       paths.scheduleDbPath() + QStringLiteral("' ") + r.scheduleProblem +
                       QStringLiteral(", so line 4 is not the schedule's amount. Install the complete "
                                      "schedule, or override line 4 with the amount to use.");
    }
    if (!r.unusableAmounts.isEmpty()) {
        const bool one = r.unusableAmounts.size() == 1;
        reasons << (one ? QStringLiteral("The amount stored on ")
                        : QStringLiteral("The amounts stored on ")) +
                       r.unusableAmounts.join(QStringLiteral(", ")) +
                       (one ? QStringLiteral(" cannot be used: it is not a plain number (such as 3000 or "
                                             "412.50), has more digits than can be read, or is more than "
                                             "$10,000,000 a month. Enter it again.")
                            : QStringLiteral(" cannot be used: each is not a plain number (such as 3000 or "
                                             "412.50), has more digits than can be read, or is more than "
                                             "$10,000,000 a month. Enter them again."));
    }
    // The later forms print a negative line 2 in parentheses, as the court's workbook does.
    const bool form2009 = r.editionId.isEmpty() || r.editionId == QLatin1String("2009");
    for (const auto& [line2, party] : {std::pair{r.p2, "plaintiff"}, std::pair{r.d2, "defendant"}}) {
        if (form2009 && line2 < 0)
            reasons << QStringLiteral("The adjusted gross income (line 2) of the %1 is less than 0: the "
                                      "pre-existing child support and alimony (lines 1a and 1b) are more "
                                      "than the monthly gross income (line 1). Correct those lines.")
                           .arg(QLatin1String(party));
    }
    if (form2009 && r.childCount == 0)
        reasons << QStringLiteral("No child is named on the worksheet, so line 4 is not for any number of "
                                  "children. Enter the children of this case.");
    if (!form2009) {
        if (!r.numberOfChildrenRefused.isEmpty())
            reasons << QStringLiteral(
                           "The Number of Children box holds \"%1\", which is no number of children: "
                           "it must be 1 to 6. Line 4 would be read for %2. Enter the number "
                           "of children again, or empty the box to use the children named.")
                           .arg(r.numberOfChildrenRefused,
                                r.numberOfChildren == 1 ? QStringLiteral("the 1 child named")
                                : r.numberOfChildren > 1
                                    ? QStringLiteral("the %1 children named").arg(r.numberOfChildren)
                                    : QStringLiteral("no child, as none is named"));
        else if (r.numberOfChildren == 0)
            reasons << QStringLiteral(
                "The number of children is not entered, so line 4 is not for any number "
                "of children. Enter the number of children, or name the children.");
        if (r.aboveSchedule && !r.overrideInForce)
            reasons << QStringLiteral("The combined adjusted gross income (line 2) is above the schedule, "
                                      "whose last row is $30,000: the court sets the basic obligation. Enter "
                                      "it on line 4 as an override.");
        const FormEdition* edition = FormEditions::find(r.editionId);
        if (r.sharesUndefined && edition)
            reasons << QStringLiteral("The combined adjusted gross income (line 2) is 0, so the shares of "
                                      "line 3, and %1 with them, cannot be computed. Enter the "
                                      "incomes of this case.")
                           .arg(edition->linesOfTheShares);
    }
    if (reasons.isEmpty())
        return {};
    return QStringLiteral("The form was not produced.\r\n\r\n") + reasons.join(QStringLiteral("\r\n\r\n"));
}

} // namespace cs42
