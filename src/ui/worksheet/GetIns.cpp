#include "ui/worksheet/GetIns.h"

#include "core/worksheet/DisplayFormat.h"

namespace cs42 {

namespace {
AmountForm healthInsuranceForm()
{
    return {QStringLiteral("GetIns"),
            QStringLiteral("Label1"),
            QStringLiteral("HEALTH INSURANCE "),
            QStringLiteral("Label3"),
            QStringLiteral("The amount to be added to the \"basic child-support obligation\" and inserted in "
                           "Line 6 (\"Health-Insurance Costs\") of the Child-Support Guidelines form (Form "
                           "CS-42) shall be the pro rata portion of the medical insurance premium "
                           "attributable to the child or children who are the subject of the support order, "
                           "which shall be calculated by dividing the total medical-insurance premium "
                           "actually paid by, or on behalf of, the parent ordered to provide the coverage by "
                           "the total number of persons (adult and/or children) covered and then multiplying "
                           "the result by the number of children who are the subject of the support order."),
            QStringLiteral("Label5"),
            QStringLiteral("Enter amount to use for Health Insurance:"),
            EntryDialog::narrowFont(11, true),
            QStringLiteral("&Ok"),
            560};
}
} // namespace

GetIns::GetIns(const QString& title, const QString& value, QWidget* parent)
    : AmountDialog(healthInsuranceForm(), twoDecimalAmountRules(), title, value, parent)
{}

std::optional<QString> GetIns::edit(QWidget* parent,
                                    const QString& title,
                                    const QString& value,
                                    Interaction& interaction,
                                    const AmountCheck& check)
{
    return run<GetIns>(parent, title, value, interaction, check);
}

} // namespace cs42
