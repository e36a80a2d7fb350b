#include "ui/worksheet/Income.h"

#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/EntryRules.h"

namespace cs42 {

namespace {
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
    : AmountDialog(incomeForm(),
                   {&Format::whole, &EntryRules::income, &EntryRules::income, false},
                   title,
                   value,
                   parent)
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
