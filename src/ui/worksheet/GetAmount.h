#pragma once

#include "ui/worksheet/AmountDialog.h"

namespace cs42 {

// An amount of the editions from 2022 on (each parent's lines 1, 1a, 1b, child care and health-care
// coverage). Value in: the stored amount; value out: the amount in cents as typed
// (EntryRules::centsAmount). Text that is not an amount, or a negative amount, gets a message and
// the box stays open; the close box (or Escape) keeps the value that came in.
class GetAmount : public AmountDialog
{
    Q_OBJECT

public:
    GetAmount(const QString& title, const QString& value, QWidget* parent = nullptr);

    // Shows the dialog modally for a line described by `description`; nullopt when it was closed
    // without a new amount.
    static std::optional<QString> edit(QWidget* parent,
                                       const QString& title,
                                       const QString& description,
                                       const QString& value,
                                       Interaction& interaction);
};

} // namespace cs42
