#include "ui/worksheet/Income.h"

#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/LeadingNumber.h"

namespace cs42 {

namespace {
// The box's rule: a text whose leading number is not 0 becomes that amount in whole dollars (the
// whole text converted, so 1,234.56 gives 1235; 12abc, which is no number as a whole, gives its
// leading 12); anything else becomes empty. What the dialog hands back follows the same rule.
QString incomeText(const QString& text)
{
    if (LeadingNumber(text) == 0.0)
        return {};
    return Format::whole(EntryDialog::textValue(text));
}

AmountForm incomeForm()
{
    return {QStringLiteral("Income"),
            {},
            {},
            {},
            {},
            QStringLiteral("Label2"),
            QStringLiteral("Enter Amount $"),
            EntryDialog::sansFont(9.75, true),
            QStringLiteral("Done"),
            320};
}
} // namespace

Income::Income(const QString& title, const QString& value, QWidget* parent)
    : AmountDialog(incomeForm(), {&Format::whole, &incomeText, &incomeText, false}, title, value, parent)
{}

std::optional<QString> Income::edit(QWidget* parent,
                                    const QString& title,
                                    const QString& value,
                                    Interaction& interaction,
                                    const AmountCheck& check)
{
    return run<Income>(parent, title, value, interaction, check);
}

} // namespace cs42
