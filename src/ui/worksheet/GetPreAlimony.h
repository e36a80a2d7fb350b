#pragma once

#include "ui/worksheet/EntryDialog.h"

class QLineEdit;

namespace cs42 {

// A parent's pre-existing periodic alimony payment (line 1b). Value in: the line's caption (whole
// dollars or empty); value out: the amount with two decimals when it is greater than 0, otherwise
// the empty text.
class GetPreAlimony : public EntryDialog
{
    Q_OBJECT

public:
    GetPreAlimony(const QString& title, const QString& value, QWidget* parent = nullptr);

    // Shows the dialog modally and returns what the worksheet stores, however it was closed.
    static QString edit(QWidget* parent, const QString& title, const QString& value);

    QString dialogValue() const;

protected:
    void leftBox(QLineEdit* box) override;

private:
    QLineEdit* m_text1;
};

// The rule of the two-decimal amount boxes (alimony, health insurance): a number becomes "##0.00";
// the empty text stays empty; a text that starts with a number becomes that number; any other text
// becomes empty.
QString twoDecimalBoxText(const QString& text);

} // namespace cs42
