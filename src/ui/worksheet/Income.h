#pragma once

#include "ui/worksheet/EntryDialog.h"

class QLineEdit;

namespace cs42 {

// A parent's monthly gross income (line 1). Value in: the line's caption (whole dollars or empty);
// value out: the amount in whole dollars, or the empty text when it is 0 or not a number.
class Income : public EntryDialog
{
    Q_OBJECT

public:
    Income(const QString& title, const QString& value, QWidget* parent = nullptr);

    // Shows the dialog modally and returns what the worksheet stores, however it was closed.
    static QString edit(QWidget* parent, const QString& title, const QString& value);

    QString dialogValue() const;

protected:
    void leftBox(QLineEdit* box) override;

private:
    QLineEdit* m_text1;
};

} // namespace cs42
