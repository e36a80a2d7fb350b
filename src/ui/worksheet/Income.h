#pragma once

#include "ui/worksheet/AmountDialog.h"

namespace cs42 {

// A parent's monthly gross income (line 1). Value in: the line's caption (whole dollars or empty);
// value out: the amount in whole dollars, or the empty text for an empty box or 0. Text that is
// no amount, or a negative amount, is refused (setAmountCheck).
class Income : public AmountDialog
{
    Q_OBJECT

public:
    Income(const QString& title, const QString& value, QWidget* parent = nullptr);

    // Shows the dialog modally and returns what the worksheet stores, however it was closed;
    // nullopt when it was closed on an amount `check` refuses (the worksheet then stores nothing).
    static std::optional<QString> edit(QWidget* parent,
                                       const QString& title,
                                       const QString& value,
                                       Interaction& interaction,
                                       const AmountCheck& check);
};

} // namespace cs42
