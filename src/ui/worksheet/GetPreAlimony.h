#pragma once

#include "ui/worksheet/AmountDialog.h"

namespace cs42 {

// A parent's pre-existing periodic alimony payment (line 1b). Value in: the line's caption (whole
// dollars or empty); value out: the amount with two decimals when it is greater than 0, otherwise
// the empty text.
class GetPreAlimony : public AmountDialog
{
    Q_OBJECT

public:
    GetPreAlimony(const QString& title, const QString& value, QWidget* parent = nullptr);

    // Shows the dialog modally and returns what the worksheet stores, however it was closed.
    static QString edit(QWidget* parent, const QString& title, const QString& value);
};

} // namespace cs42
