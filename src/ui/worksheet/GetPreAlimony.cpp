#include "ui/worksheet/GetPreAlimony.h"

#include "core/worksheet/DisplayFormat.h"

namespace cs42 {

namespace {
AmountForm alimonyForm()
{
    return {QStringLiteral("GetPreAlimony"),
            {},
            {},
            QStringLiteral("Label5"),
            QStringLiteral("Enter Preexisting Periodic Alimony Payment in the space below.  This amount will "
                           "be automatically deducted from the Monthly Gross Income."),
            QStringLiteral("Label2"),
            QStringLiteral("Enter amount of Pre-Existing Periodic Alimony Payment"),
            EntryDialog::sansFont(9.75, true),
            QStringLiteral("&Ok"),
            520};
}
} // namespace

GetPreAlimony::GetPreAlimony(const QString& title, const QString& value, QWidget* parent)
    : AmountDialog(alimonyForm(), twoDecimalAmountRules(), title, value, parent)
{}

std::optional<QString> GetPreAlimony::edit(QWidget* parent,
                                           const QString& title,
                                           const QString& value,
                                           Interaction& interaction,
                                           const AmountCheck& check)
{
    return run<GetPreAlimony>(parent, title, value, interaction, check);
}

} // namespace cs42
