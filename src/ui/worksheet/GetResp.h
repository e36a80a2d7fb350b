#pragma once

#include "ui/worksheet/EntryDialog.h"

class QLabel;
class QLineEdit;

namespace cs42 {

// What GetResp hands back: the line-1a amount (`ppre` / `dpre`) and the number of other children
// (`poc` / `doc`), both stored as shown.
struct PreexistingSupport
{
    QString amount;
    QString otherChildren;
};

// A parent's pre-existing child support (line 1a), with the calculator of the imputed obligation
// from the schedule for the parent's own income and number of other children.
class GetResp : public EntryDialog
{
    Q_OBJECT

public:
    // `value`: the line-1a caption; `incomeCaption`: the parent's line-1 caption;
    // `otherChildren`: the stored number of other children.
    GetResp(const QString& title,
            const QString& value,
            const QString& incomeCaption,
            const QString& otherChildren,
            const QString& scheduleDbPath,
            QWidget* parent = nullptr);

    // nullopt when the dialog was closed on an amount `check` refuses (setAmountCheck).
    static std::optional<PreexistingSupport> edit(QWidget* parent,
                                                  const QString& title,
                                                  const QString& value,
                                                  const QString& incomeCaption,
                                                  const QString& otherChildren,
                                                  const QString& scheduleDbPath,
                                                  Interaction& interaction,
                                                  const AmountCheck& check);

    PreexistingSupport result() const;

    double imputedAmount() const { return m_imputed; }

protected:
    void leftBox(QLineEdit* box) override;
    std::optional<CheckedAmount> checkedAmount(bool accepted) const override;

private:
    void runCalculator();
    void useImputedAmount();

    QString m_scheduleDbPath;
    double m_income;
    double m_imputed = 0.0;
    QLineEdit* m_text1 = nullptr;
    QLineEdit* m_text2 = nullptr;
    QLabel* m_label1 = nullptr;
};

} // namespace cs42
