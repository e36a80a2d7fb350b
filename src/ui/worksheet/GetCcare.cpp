#include "ui/worksheet/GetCcare.h"

#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/EntryRules.h"

namespace cs42 {

namespace {
// Only "&Ok" and Enter take the amount (EntryRules::childCare); the close box keeps the value.
AmountForm childCareForm()
{
    return {QStringLiteral("GetCcare"),
            QStringLiteral("Label1"),
            QStringLiteral("CHILD-CARE COSTS"),
            QStringLiteral("Label3"),
            QStringLiteral("Child-care costs, incurred on behalf of the children because of employment or "
                           "job search of either parent, shall be added to the \"basic child-support "
                           "obligation.\" Child-care costs shall not exceed the amount required to provide "
                           "care from a licensed source for the children, based on a schedule of guidelines "
                           "developed by the Alabama Department of Human Resources. Before the Alabama "
                           "Department of Human Resources implements any revision to the schedule of "
                           "child-care-cost guidelines, it shall provide the administrative director of "
                           "courts (\"the ADC\") a copy of the revised schedule. The ADC shall, as soon as "
                           "reasonably practicable thereafter, disseminate the revised schedule to all "
                           "circuit and district court judges and clerks and the Family Law Section of the "
                           "Alabama State Bar. The clerk shall maintain the current schedule in his or her "
                           "office, shall make it available for review, and shall provide copies of it on "
                           "request, at the customary cost for copies of documents."),
            QStringLiteral("Label2"),
            QStringLiteral("Enter amount paid for work related child care"),
            EntryDialog::sansFont(9.75, true),
            QStringLiteral("&Ok"),
            600};
}
} // namespace

GetCcare::GetCcare(const QString& title, const QString& value, QWidget* parent)
    : AmountDialog(childCareForm(),
                   {&Format::wholeAtLeastOneDigit, nullptr, &EntryRules::childCare, true},
                   title,
                   value,
                   parent)
{}

std::optional<QString> GetCcare::edit(QWidget* parent,
                                      const QString& title,
                                      const QString& value,
                                      Interaction& interaction,
                                      const AmountCheck& check)
{
    return run<GetCcare>(parent, title, value, interaction, check);
}

} // namespace cs42
