#include "ui/worksheet/AmountDialog.h"

#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/EntryRules.h"
#include "core/worksheet/LeadingNumber.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cs42 {

AmountRules twoDecimalAmountRules()
{
    return {&Format::twoDecimals, &EntryRules::twoDecimalBox, &EntryRules::positiveAmount, false};
}

AmountDialog::AmountDialog(const AmountForm& form,
                           const AmountRules& rules,
                           const QString& title,
                           const QString& value,
                           QWidget* parent)
    : EntryDialog(parent)
    , m_rules(rules)
    , m_valueIn(value)
{
    setObjectName(form.objectName);
    setWindowTitle(title);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(12);
    if (!form.headingName.isEmpty()) {
        QLabel* heading = addLabel(form.headingName, form.heading, sansFont(12, true));
        heading->setAlignment(Qt::AlignHCenter);
        layout->addWidget(heading);
    }
    if (!form.explanationName.isEmpty())
        layout->addWidget(addLabel(form.explanationName, form.explanation, sansFont(9.75), Lines::Wrapped));
    m_text1 = addAmountBox(QStringLiteral("Text1"), 120);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(addLabel(form.promptName, form.prompt, form.promptFont));
    row->addWidget(m_text1);
    row->addStretch();
    layout->addLayout(row);
    QPushButton* command1 = addButton(QStringLiteral("Command1"), form.button);
    layout->addWidget(command1, 0, Qt::AlignHCenter);
    // A paragraph wraps at the width given; without one the dialog is as wide as its row needs.
    fixWidth(form.explanationName.isEmpty() ? qMax(form.width, sizeHint().width()) : form.width);

    m_text1->setText(formatText(value, m_rules.opening));
    watchBox(m_text1);
    connect(m_text1, &QLineEdit::returnPressed, this, &QDialog::accept);
    connect(command1, &QPushButton::clicked, this, &QDialog::accept);
    focusBox(m_text1);
}

QString AmountDialog::dialogValue() const
{
    if (m_rules.closeBoxKeepsValueIn && closedByCloseBox())
        return m_valueIn;
    return m_rules.handedBack(m_text1->text());
}

void AmountDialog::leftBox(QLineEdit* box)
{
    if (m_rules.leaving != nullptr && EntryRules::amountTextRefusal(box->text()).isEmpty())
        box->setText(m_rules.leaving(box->text()));
}

std::optional<EntryDialog::CheckedAmount> AmountDialog::checkedAmount(bool accepted) const
{
    // A close box that keeps the value that came in hands back nothing new to check.
    if (!accepted && m_rules.closeBoxKeepsValueIn)
        return std::nullopt;
    return CheckedAmount{m_text1, m_rules.handedBack(m_text1->text())};
}

} // namespace cs42
