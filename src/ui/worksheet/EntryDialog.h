#pragma once

#include <QDialog>
#include <QFont>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace cs42 {

class Interaction;

// What the worksheet's entry dialogs share: a text box reformats its text when the user moves the
// focus elsewhere. Closing the dialog counts as leaving the box that has the focus, so what is
// handed back has always been through the box's own rule, whether the user clicked the button,
// pressed Enter or used the close box. Escape counts as the close box. Enter presses the button
// that has the focus; in a text box it does only what the dialog itself makes of it.
class EntryDialog : public QDialog
{
    Q_OBJECT

public:
    explicit EntryDialog(QWidget* parent = nullptr);

    // True when the dialog was closed with the close box (or Escape) rather than its button.
    bool closedByCloseBox() const { return result() == QDialog::Rejected; }

    // The check of an amount the dialog is about to hand back: the message that refuses it (a core
    // rule such as amountRefusal), or the empty text when it may be stored.
    using AmountCheck = std::function<QString(const QString& amount)>;
    // From now on the dialog refuses an amount whose text, as typed, is wrong (text that is no
    // amount, a negative amount, digits beyond reading: EntryRules::amountTextRefusal), and what
    // `check` (when set) refuses of the amount it would hand back, and tells the user through
    // `interaction`. Refused on its button (or Enter), the dialog stays open on the amount as
    // typed; refused on the close box, it closes with refused() true, and the caller stores
    // nothing.
    void setAmountCheck(Interaction& interaction, AmountCheck check);

    bool refused() const { return m_refused; }

    // The fonts of these windows: Arial and MS Sans Serif are Liberation Sans here, Arial Narrow is
    // Liberation Sans Narrow.
    static QFont sansFont(double points, bool bold = false);
    static QFont narrowFont(double points, bool bold = false);

    // The whole text read as a number in the United States convention ("1,234.56", "-500",
    // "$75"); nullopt when the text as a whole is not a number (the empty text included).
    static std::optional<double> wholeNumber(const QString& text);
    // A text shown through a display pattern: a text that is a number as a whole is shown in the
    // pattern; the empty text stays empty; any other text is kept as it is.
    static QString formatText(const QString& text, QString (*pattern)(double));
    // The value a box's text stands for: the whole text as a number, or else the number it starts
    // with (0 when it starts with none).
    static double textValue(const QString& text);

protected:
    // The amount a check looks at when the dialog closes: the text of its box as typed and the
    // text the dialog would hand back from it. nullopt: nothing to check for this way of closing.
    struct CheckedAmount
    {
        QLineEdit* box;
        QString handedBack;
    };

    virtual std::optional<CheckedAmount> checkedAmount(bool accepted) const;

    // Why the dialog may not be closed this way, with the box to put right; nullopt when it may.
    // By default: the amount checkedAmount() names, as setAmountCheck describes. Asked only once
    // the dialog has an Interaction to tell the user through.
    struct Refusal
    {
        QLineEdit* box;
        QString message;
    };

    virtual std::optional<Refusal> closingRefusal(bool accepted) const;

    // A doubt about what the dialog is about to hand back (the box and the Yes/No question that
    // voices it), asked once nothing is refused; answered No, the dialog stays open on that box.
    // nullopt when nothing is in doubt.
    virtual std::optional<Refusal> closingQuestion() const { return std::nullopt; }

    // The Interaction the dialog tells the user through when it refuses to close.
    void setInteraction(Interaction& interaction) { m_interaction = &interaction; }

    // True while the dialog is being closed (the focused box is left, then its text checked).
    bool closing() const { return m_closing; }

    // Starts watching a text box for focus changes. With `selectOnFocus` the box selects its whole
    // text whenever it gets the focus, a mouse click included; otherwise a click places the cursor
    // where it falls, as in any text box.
    void watchBox(QLineEdit* box, bool selectOnFocus = false);
    // Called when the focus leaves a watched box (and for the focused box when the dialog closes).
    virtual void leftBox(QLineEdit* box);
    // A push button, 90 pixels wide, that Enter in a box does not press: Enter is handled by each
    // dialog's own rule.
    QPushButton* addButton(const QString& objectName, const QString& text);
    enum class Lines
    {
        One,
        Wrapped, // the paragraphs of explanation
    };
    // A label in `parent` (the dialog when null).
    QLabel* addLabel(const QString& objectName,
                     const QString& text,
                     const QFont& font,
                     Lines lines = Lines::One,
                     QWidget* parent = nullptr);
    // An amount box in `parent` (the dialog when null): bold, right-aligned, `width` pixels wide.
    QLineEdit* addAmountBox(const QString& objectName, int width, QWidget* parent = nullptr);
    // Fixes the dialog's width, and its height to what its wrapped texts need at that width.
    void fixWidth(int width);
    // Gives the focus to a box with its whole text selected.
    void focusBox(QLineEdit* box);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    bool m_closing = false;
    QList<QLineEdit*> m_selectOnFocus;
    Interaction* m_interaction = nullptr;
    AmountCheck m_check;
    bool m_refused = false;
};

} // namespace cs42
