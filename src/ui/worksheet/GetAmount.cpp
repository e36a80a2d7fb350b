#include "ui/worksheet/GetAmount.h"

#include "core/worksheet/EntryRules.h"

#include <QLabel>

namespace cs42 {

namespace {
QString shownAmount(double value)
{
    return EntryRules::overrideAmountText(value);
}

AmountForm amountForm()
{
    return {QStringLiteral("GetAmount"),
            QStringLiteral("Label1"),
            QString(),
            QString(),
            QString(),
            QStringLiteral("Label2"),
            QStringLiteral("Monthly amount in dollars and cents:"),
            EntryDialog::sansFont(10, true),
            QStringLiteral("&Ok"),
            380};
}
} // namespace

GetAmount::GetAmount(const QString& title, const QString& value, QWidget* parent)
    : AmountDialog(
          amountForm(), {&shownAmount, nullptr, &EntryRules::centsAmount, true}, title, value, parent)
{}

std::optional<QString> GetAmount::edit(QWidget* parent,
                                       const QString& title,
                                       const QString& description,
                                       const QString& value,
                                       Interaction& interaction)
{
    GetAmount dialog(title, value, parent);
    if (auto* heading = dialog.findChild<QLabel*>(QStringLiteral("Label1")))
        heading->setText(description.toUpper());
    dialog.setAmountCheck(interaction, {});
    dialog.exec();
    if (dialog.refused() || dialog.closedByCloseBox())
        return std::nullopt;
    const QString amount = dialog.dialogValue();
    return amount == EntryRules::centsAmount(value) ? std::nullopt : std::optional<QString>(amount);
}

} // namespace cs42
