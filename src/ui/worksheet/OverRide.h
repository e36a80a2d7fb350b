#pragma once

#include "core/worksheet/EntryRules.h"
#include "ui/worksheet/EntryDialog.h"

class QCheckBox;
class QLineEdit;

namespace cs42 {

// "Override Child Support Amount": an amount of the user's own for line 4. In: the override flag as
// last read and the line-4 caption; out: the flag and amount, whichever way it was closed: "Y" and
// the amount typed when the box is checked and the amount is not 0, otherwise "N" and 0. Checked,
// text that is no amount, or a negative amount, is refused (setAmountCheck).
class OverRide : public EntryDialog
{
    Q_OBJECT

public:
    // `aboveSchedule`: the combined adjusted gross income is above the schedule's highest income,
    // where the court sets line 4 within the guidelines; the note says so in place of its warning.
    OverRide(const QString& flag,
             const QString& amountCaption,
             bool aboveSchedule = false,
             QWidget* parent = nullptr);

    // nullopt when the dialog was closed on an amount `check` refuses (setAmountCheck).
    static std::optional<OverrideChoice> edit(QWidget* parent,
                                              const QString& flag,
                                              const QString& amountCaption,
                                              bool aboveSchedule,
                                              Interaction& interaction,
                                              const AmountCheck& check);

    OverrideChoice choice() const;

protected:
    // The amount is looked at only when "Use Override Amount" is ticked (an empty box then turns
    // the override off); unticked, the amount is not stored.
    std::optional<CheckedAmount> checkedAmount(bool accepted) const override;

private:
    QLineEdit* m_text1 = nullptr;
    QCheckBox* m_check1;
    bool m_amountTyped = false; // the user typed into the amount box
};

} // namespace cs42
