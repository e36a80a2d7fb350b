#pragma once

#include "ui/worksheet/EntryDialog.h"

class QLineEdit;

namespace cs42 {

// How a single-amount dialog treats its box, given as plain functions of the text.
struct AmountRules
{
    // How the value handed in (a worksheet caption) is shown when the dialog opens.
    QString (*opening)(double);
    // What the box's text becomes when the focus leaves it; null: it stays as typed.
    QString (*leaving)(const QString&);
    // What the dialog hands back from the box's text.
    QString (*handedBack)(const QString&);
    // True when the close box (or Escape) hands back the value that came in; otherwise every way
    // of closing hands back the box's text.
    bool closeBoxKeepsValueIn;
};

// The rules of the two-decimal amount boxes (alimony, health insurance): the box shows "##0.00" when
// the dialog opens and when the focus leaves it on an amount; every way of closing hands back the
// text as shown when it is greater than 0, otherwise the empty text.
AmountRules twoDecimalAmountRules();

// The controls of a single-amount dialog, from top to bottom: an optional heading, an optional
// paragraph of explanation, the prompt beside the box `Text1`, and the button `Command1`.
struct AmountForm
{
    QString objectName;
    QString headingName; // empty: no heading
    QString heading;
    QString explanationName; // empty: no explanation
    QString explanation;
    QString promptName;
    QString prompt;
    QFont promptFont;
    QString button;
    int width; // of the dialog, in pixels (at least, when there is no explanation)
};

// The worksheet's single-amount entry dialogs (Income, GetPreAlimony, GetCcare, GetIns): the
// worksheet hands in a line's caption and a window title and stores what the dialog hands back.
// The dialogs differ only in their texts (AmountForm) and the rules of their box (AmountRules).
class AmountDialog : public EntryDialog
{
    Q_OBJECT

public:
    AmountDialog(const AmountForm& form,
                 const AmountRules& rules,
                 const QString& title,
                 const QString& value,
                 QWidget* parent = nullptr);

    // What the worksheet stores, according to the way the dialog was closed.
    QString dialogValue() const;

protected:
    // Shows a dialog of type `Dialog` modally, refusing what `check` refuses (setAmountCheck), and
    // returns what it hands back; nullopt when it was closed on an amount it refused.
    template <class Dialog>
    static std::optional<QString> run(QWidget* parent,
                                      const QString& title,
                                      const QString& value,
                                      Interaction& interaction,
                                      const AmountCheck& check)
    {
        Dialog dialog(title, value, parent);
        dialog.setAmountCheck(interaction, check);
        dialog.exec();
        if (dialog.refused())
            return std::nullopt;
        return dialog.dialogValue();
    }

    // A box's text that closing refuses (no amount, a negative amount, digits beyond reading)
    // stays as typed, so that the user sees what is wrong with it rather than what it would become.
    void leftBox(QLineEdit* box) override;
    std::optional<CheckedAmount> checkedAmount(bool accepted) const override;

private:
    AmountRules m_rules;
    QString m_valueIn;
    QLineEdit* m_text1 = nullptr;
};

} // namespace cs42
