#include "ui/worksheet/GetResp.h"

#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/EntryRules.h"
#include "core/worksheet/LeadingNumber.h"
#include "core/worksheet/Schedule.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cs42 {

GetResp::GetResp(const QString& title,
                 const QString& value,
                 const QString& incomeCaption,
                 const QString& otherChildren,
                 const QString& scheduleDbPath,
                 QWidget* parent)
    : EntryDialog(parent)
    , m_scheduleDbPath(scheduleDbPath)
    , m_income(LeadingNumber(incomeCaption)) // an empty line 1 is an income of 0, as everywhere else
{
    setObjectName(QStringLiteral("GetResp"));
    setWindowTitle(title);

    auto* frame1 =
        new QGroupBox(QStringLiteral("Imputed Preexisting Child-Support Obligation Calculator"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setFont(sansFont(9.75, true));
    QLabel* label8 = addLabel(
        QStringLiteral("Label8"),
        QStringLiteral(
            "If a parent is legally responsible for and is actually providing child support for other "
            "children, but not pursuant to an order of child support, a deduction for an \"imputed "
            "preexisting child-support obligation\" may be made from that parent's gross income. The "
            "imputed preexisting child-support obligation shall be that amount specified in the schedule of "
            "basic child-support obligations based on that parent's unadjusted gross income and the number "
            "of other children for whom that parent is legally responsible. \"Other children\" means "
            "children who are not the subject of the particular child-support determination being made. If "
            "this is applicable to this child support order, then enter the number of \"other children\" in "
            "box below, then transfer click the \"Use\" botton to copy to the calculated amount to the box "
            "at the bottom of this window."),
        sansFont(9),
        Lines::Wrapped,
        frame1);
    QLabel* label2 = addLabel(QStringLiteral("Label2"),
                              QStringLiteral("Number of other Children"),
                              sansFont(9.75, true),
                              Lines::One,
                              frame1);
    m_text1 = addAmountBox(QStringLiteral("Text1"), 60, frame1);
    m_label1 = addLabel(QStringLiteral("Label1"), QString(), sansFont(9.75, true), Lines::One, frame1);
    auto* cmdUse = new QPushButton(QStringLiteral("Use"), frame1);
    cmdUse->setObjectName(QStringLiteral("cmdUse"));
    cmdUse->setAutoDefault(false);
    cmdUse->setFixedWidth(70);

    auto* childrenRow = new QHBoxLayout;
    childrenRow->addWidget(label2);
    childrenRow->addWidget(m_text1);
    childrenRow->addStretch();
    auto* resultRow = new QHBoxLayout;
    resultRow->addWidget(m_label1, 1);
    resultRow->addWidget(cmdUse);
    auto* frameLayout = new QVBoxLayout(frame1);
    frameLayout->setSpacing(10);
    frameLayout->addWidget(label8);
    frameLayout->addLayout(childrenRow);
    frameLayout->addLayout(resultRow);

    QLabel* label5 = addLabel(
        QStringLiteral("Label5"),
        QStringLiteral(
            "The amount of child support actually being paid by a parent pursuant to an order for child "
            "support of other children shall be deducted from that parent's \"gross income.\" If this is "
            "applicable to this child support order, then enter the amount in the space provided at the "
            "bottom of this window and click the \"Ok\" button (be sure to review the instructions found in "
            "Rule 32 to see if \"Imputed Preexisting Child Support Obligation\" applies)."),
        sansFont(9),
        Lines::Wrapped);
    QLabel* label3 = addLabel(QStringLiteral("Label3"),
                              QStringLiteral("Amount to be used on Form CS-42, Line 1a:"),
                              sansFont(9.75, true));
    m_text2 = addAmountBox(QStringLiteral("Text2"), 110);
    QPushButton* command1 = addButton(QStringLiteral("Command1"), QStringLiteral("&Ok"));

    auto* amountRow = new QHBoxLayout;
    amountRow->addWidget(label3);
    amountRow->addWidget(m_text2);
    amountRow->addStretch();
    amountRow->addWidget(command1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(12);
    layout->addWidget(frame1);
    layout->addWidget(label5);
    layout->addLayout(amountRow);
    fixWidth(600);

    m_text1->setText(otherChildren);
    m_text2->setText(formatText(value, &Format::whole));
    // Both boxes select their whole text whenever they get the focus.
    watchBox(m_text1, true);
    watchBox(m_text2, true);
    connect(cmdUse, &QPushButton::clicked, this, &GetResp::useImputedAmount);
    connect(command1, &QPushButton::clicked, this, &QDialog::accept);
    runCalculator();
    focusBox(m_text1);
}

std::optional<PreexistingSupport> GetResp::edit(QWidget* parent,
                                                const QString& title,
                                                const QString& value,
                                                const QString& incomeCaption,
                                                const QString& otherChildren,
                                                const QString& scheduleDbPath,
                                                Interaction& interaction,
                                                const AmountCheck& check)
{
    GetResp dialog(title, value, incomeCaption, otherChildren, scheduleDbPath, parent);
    dialog.setAmountCheck(interaction, check);
    dialog.exec();
    if (dialog.refused())
        return std::nullopt;
    return dialog.result();
}

std::optional<EntryDialog::CheckedAmount> GetResp::checkedAmount(bool) const
{
    return CheckedAmount{m_text2, m_text2->text()};
}

PreexistingSupport GetResp::result() const
{
    return {m_text2->text(), m_text1->text()};
}

void GetResp::leftBox(QLineEdit* box)
{
    if (box == m_text1)
        box->setText(EntryRules::otherChildren(box->text()));
    else if (box == m_text2 && EntryRules::amountTextRefusal(box->text()).isEmpty()) // refused text stays
        box->setText(EntryRules::preexistingAmount(box->text()));
    runCalculator();
}

void GetResp::runCalculator()
{
    const double k = LeadingNumber(m_text1->text());
    // The schedule has columns for one to six children; any other number imputes nothing.
    m_imputed = (k > 0.0 && k <= 6.0) ? ImputedAmount(m_scheduleDbPath, m_income, k) : 0.0;
    m_label1->setText(QStringLiteral("Imputed Amount based on Guidelines: $") + Format::whole(m_imputed));
    m_label1->repaint();
}

void GetResp::useImputedAmount()
{
    m_text2->setText(Format::whole(m_imputed));
}

} // namespace cs42
