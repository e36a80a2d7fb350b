#include "ui/worksheet/EntryDialog.h"

#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/EntryRules.h"
#include "core/worksheet/LeadingNumber.h"
#include "ui/common/Interaction.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace cs42 {

EntryDialog::EntryDialog(QWidget* parent)
    : QDialog(parent)
{
    setModal(true);
    setFont(sansFont(9));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

QFont EntryDialog::sansFont(double points, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont EntryDialog::narrowFont(double points, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans Narrow"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

std::optional<double> EntryDialog::wholeNumber(const QString& text)
{
    return Format::parseNumber(text);
}

QString EntryDialog::formatText(const QString& text, QString (*pattern)(double))
{
    if (text.trimmed().isEmpty())
        return {};
    if (const auto number = wholeNumber(text))
        return pattern(*number);
    return text;
}

double EntryDialog::textValue(const QString& text)
{
    if (const auto number = wholeNumber(text))
        return *number;
    return LeadingNumber(text);
}

void EntryDialog::setAmountCheck(Interaction& interaction, AmountCheck check)
{
    m_interaction = &interaction;
    m_check = std::move(check);
}

std::optional<EntryDialog::CheckedAmount> EntryDialog::checkedAmount(bool) const
{
    return std::nullopt;
}

std::optional<EntryDialog::Refusal> EntryDialog::closingRefusal(bool accepted) const
{
    const std::optional<CheckedAmount> amount = checkedAmount(accepted);
    if (!amount)
        return std::nullopt;
    // The text as typed first: "12abc" hands back the 12 it starts with, and digits beyond reading
    // a 0, that the check would pass.
    QString message = EntryRules::amountTextRefusal(amount->box->text());
    if (message.isEmpty() && m_check)
        message = m_check(amount->handedBack);
    if (message.isEmpty())
        return std::nullopt;
    return Refusal{amount->box, message};
}

void EntryDialog::watchBox(QLineEdit* box, bool selectOnFocus)
{
    box->installEventFilter(this);
    if (selectOnFocus)
        m_selectOnFocus.append(box);
}

void EntryDialog::leftBox(QLineEdit*)
{}

QPushButton* EntryDialog::addButton(const QString& objectName, const QString& text)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setFixedWidth(90);
    return button;
}

QLabel* EntryDialog::addLabel(
    const QString& objectName, const QString& text, const QFont& font, Lines lines, QWidget* parent)
{
    auto* label = new QLabel(text, parent != nullptr ? parent : this);
    label->setObjectName(objectName);
    label->setFont(font);
    label->setWordWrap(lines == Lines::Wrapped);
    return label;
}

QLineEdit* EntryDialog::addAmountBox(const QString& objectName, int width, QWidget* parent)
{
    auto* box = new QLineEdit(parent != nullptr ? parent : this);
    box->setObjectName(objectName);
    box->setFont(sansFont(9.75, true));
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setFixedWidth(width);
    return box;
}

void EntryDialog::fixWidth(int width)
{
    setFixedWidth(width);
    const int height = heightForWidth(width);
    setFixedHeight(height > 0 ? height : sizeHint().height());
}

void EntryDialog::focusBox(QLineEdit* box)
{
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

bool EntryDialog::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box != nullptr && !m_closing) {
        if (event->type() == QEvent::FocusIn && m_selectOnFocus.contains(box)) {
            // A mouse click places the cursor after the focus arrives; select once it has.
            QTimer::singleShot(0, box, [box] {
                if (box->hasFocus())
                    box->selectAll();
            });
        } else if (event->type() == QEvent::FocusOut) {
            // Only a move to another control of this dialog leaves the box: a message box or
            // another application taking the window's focus does not, so a message shown while
            // leaving cannot start the same check again.
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                leftBox(box);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void EntryDialog::keyPressEvent(QKeyEvent* event)
{
    // The buttons take no part in QDialog's default-button handling (Enter in a box must not
    // press one), so Enter on the button that has the focus is passed to it here.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget());
            button != nullptr && button->isEnabled()) {
            button->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void EntryDialog::done(int result)
{
    if (m_closing)
        return;
    m_closing = true;
    if (auto* box = qobject_cast<QLineEdit*>(focusWidget()))
        leftBox(box);
    if (m_interaction != nullptr) {
        if (const std::optional<Refusal> refusal = closingRefusal(result == QDialog::Accepted)) {
            m_interaction->inform(this, QString(), refusal->message);
            if (result == QDialog::Accepted) {
                focusBox(refusal->box);
                m_closing = false;
                return;
            }
            m_refused = true;
        } else if (const std::optional<Refusal> doubt = closingQuestion();
                   doubt && m_interaction->ask(this, QString(), doubt->message) != Interaction::Answer::Yes) {
            focusBox(doubt->box);
            m_closing = false;
            return;
        }
    }
    QDialog::done(result);
    m_closing = false;
}

} // namespace cs42
