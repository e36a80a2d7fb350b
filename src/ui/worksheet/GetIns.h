#pragma once

#include "ui/worksheet/AmountDialog.h"

namespace cs42 {

// Health-insurance costs (line 6). Value in: the line's caption (whole dollars or empty); value out:
// the amount as shown in the box ("##0.00") when it is greater than 0, otherwise (an empty box or
// 0) the empty text. Text that is no amount, or a negative amount, is refused (setAmountCheck).
// Every way of closing takes the amount.
class GetIns : public AmountDialog
{
    Q_OBJECT

public:
    GetIns(const QString& title, const QString& value, QWidget* parent = nullptr);

    // Shows the dialog modally and returns what the worksheet stores, however it was closed;
    // nullopt when it was closed on an amount `check` refuses (the worksheet then stores nothing).
    static std::optional<QString> edit(QWidget* parent,
                                       const QString& title,
                                       const QString& value,
                                       Interaction& interaction,
                                       const AmountCheck& check);
};

} // namespace cs42
