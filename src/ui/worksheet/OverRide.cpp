#include "ui/worksheet/OverRide.h"

#include "core/worksheet/DisplayFormat.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cs42 {

OverRide::OverRide(const QString& flag, const QString& amountCaption, bool aboveSchedule, QWidget* parent)
    : EntryDialog(parent)
    , m_check1(new QCheckBox(QStringLiteral("Use Override Amount"), this))
{
    setObjectName(QStringLiteral("OverRide"));
    setWindowTitle(QStringLiteral("Override Child Support Amount"));

    QLabel* label1 = addLabel(
        QStringLiteral("Label1"),
        QStringLiteral(
            "This software program has calculated the child support amount for this case by cross "
            "referencing the combined adjusted gross income with the number of children on the "
            "Schedule of Basic Child Support Obligation. You may override this amount by entering "
            "your own value in the space provided below and then checking the box for confirmation."),
        sansFont(9.75),
        Lines::Wrapped);
    QLabel* label2 =
        addLabel(QStringLiteral("Label2"), QStringLiteral("Override Amount $"), sansFont(9.75, true));
    m_text1 = addAmountBox(QStringLiteral("Text1"), 110);
    m_check1->setObjectName(QStringLiteral("Check1"));
    m_check1->setFont(sansFont(9.75, true));
    // Above the schedule's highest income Rule 32 leaves the basic obligation to the court: the
    // amount entered then is the guidelines' own, not a departure from them.
    QLabel* label4 = addLabel(
        QStringLiteral("Label4"),
        aboveSchedule
            ? QStringLiteral(
                  "NOTE:  The combined adjusted gross income of this case is above the highest income of the "
                  "Schedule of Basic Child Support Obligation. Rule 32 leaves the basic child support "
                  "obligation to the court in such a case: the amount the court sets, entered here, is "
                  "within the Alabama Child Support Guidelines.")
            : QStringLiteral(
                  "NOTE:  If you override the amount calculated by this software program, be sure to notify "
                  "all parties involved that the worksheet was generated outside the Alabama Child Support "
                  "Guidelines."),
        sansFont(9.75),
        Lines::Wrapped);
    QPushButton* command1 = addButton(QStringLiteral("Command1"), QStringLiteral("&Done"));

    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(label2);
    row->addWidget(m_text1);
    row->addSpacing(16);
    row->addWidget(m_check1);
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(14);
    layout->addWidget(label1);
    layout->addLayout(row);
    layout->addWidget(label4);
    layout->addWidget(command1, 0, Qt::AlignHCenter);
    fixWidth(540);

    m_check1->setChecked(flag == QStringLiteral("Y"));
    m_text1->setText(formatText(amountCaption, &Format::whole));
    watchBox(m_text1);
    // Tab runs from the amount to the tick box that confirms it, then to the button.
    setTabOrder(m_text1, m_check1);
    setTabOrder(m_check1, command1);
    // An amount typed is the user's intent: Return takes it, ticking the box. Every other way of
    // closing takes what the dialog shows.
    connect(m_text1, &QLineEdit::textEdited, this, [this] { m_amountTyped = true; });
    connect(m_text1, &QLineEdit::returnPressed, this, [this] {
        if (m_amountTyped && EntryRules::overrideChoice(true, m_text1->text()).amount != 0.0)
            m_check1->setChecked(true);
        accept();
    });
    connect(command1, &QPushButton::clicked, this, &QDialog::accept);
    focusBox(m_text1);
}

std::optional<OverrideChoice> OverRide::edit(QWidget* parent,
                                             const QString& flag,
                                             const QString& amountCaption,
                                             bool aboveSchedule,
                                             Interaction& interaction,
                                             const AmountCheck& check)
{
    OverRide dialog(flag, amountCaption, aboveSchedule, parent);
    dialog.setAmountCheck(interaction, check);
    dialog.exec();
    if (dialog.refused())
        return std::nullopt;
    return dialog.choice();
}

std::optional<EntryDialog::CheckedAmount> OverRide::checkedAmount(bool) const
{
    // Checked, the box's text is the override: text that is no amount must not turn it off unseen.
    if (!m_check1->isChecked())
        return std::nullopt;
    return CheckedAmount{m_text1, QString::number(choice().amount, 'f', 2)};
}

OverrideChoice OverRide::choice() const
{
    return EntryRules::overrideChoice(m_check1->isChecked(), m_text1->text());
}

} // namespace cs42
