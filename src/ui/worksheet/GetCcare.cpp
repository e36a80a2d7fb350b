#include "ui/worksheet/GetCcare.h"

#include "core/worksheet/DisplayFormat.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cs42 {

GetCcare::GetCcare(const QString& title, const QString& value, QWidget* parent)
    : EntryDialog(parent)
    , m_valueIn(value)
    , m_text1(new QLineEdit(this))
{
    setObjectName(QStringLiteral("GetCcare"));
    setWindowTitle(title);

    auto* label1 = new QLabel(QStringLiteral("CHILD-CARE COSTS"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setFont(sansFont(12, true));
    label1->setAlignment(Qt::AlignHCenter);
    auto* label3 = new QLabel(
        QStringLiteral(
            "Child-care costs, incurred on behalf of the children because of employment or job search of "
            "either "
            "parent, shall be added to the \"basic child-support obligation.\" Child-care costs shall not "
            "exceed "
            "the amount required to provide care from a licensed source for the children, based on a "
            "schedule of "
            "guidelines developed by the Alabama Department of Human Resources. Before the Alabama "
            "Department of "
            "Human Resources implements any revision to the schedule of child-care-cost guidelines, it shall "
            "provide the administrative director of courts (\"the ADC\") a copy of the revised schedule. The "
            "ADC "
            "shall, as soon as reasonably practicable thereafter, disseminate the revised schedule to all "
            "circuit "
            "and district court judges and clerks and the Family Law Section of the Alabama State Bar. The "
            "clerk "
            "shall maintain the current schedule in his or her office, shall make it available for review, "
            "and "
            "shall provide copies of it on request, at the customary cost for copies of documents."),
        this);
    label3->setObjectName(QStringLiteral("Label3"));
    label3->setWordWrap(true);
    label3->setFont(sansFont(9.75));
    auto* label2 = new QLabel(QStringLiteral("Enter amount paid for work related child care"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setFont(sansFont(9.75, true));
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setFont(sansFont(9.75, true));
    m_text1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_text1->setFixedWidth(120);
    auto* command1 = addButton(QStringLiteral("Command1"), QStringLiteral("&Ok"));
    command1->setFixedWidth(90);

    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(label2);
    row->addWidget(m_text1);
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(12);
    layout->addWidget(label1);
    layout->addWidget(label3);
    layout->addLayout(row);
    layout->addWidget(command1, 0, Qt::AlignHCenter);
    setFixedWidth(600);
    setFixedHeight(heightForWidth(600) > 0 ? heightForWidth(600) : sizeHint().height());

    m_text1->setText(formatText(value, &Format::wholeAtLeastOneDigit));
    watchBox(m_text1);
    // Only "&Ok" and Enter take the amount; the close box keeps the line as it was.
    connect(m_text1, &QLineEdit::returnPressed, this, &QDialog::accept);
    connect(command1, &QPushButton::clicked, this, &QDialog::accept);
    focusBox(m_text1);
}

QString GetCcare::edit(QWidget* parent, const QString& title, const QString& value)
{
    GetCcare dialog(title, value, parent);
    dialog.exec();
    return dialog.dialogValue();
}

QString GetCcare::dialogValue() const
{
    if (closedByCloseBox())
        return m_valueIn;
    // An amount of 0, and a text with no number in it, store the empty text.
    const double amount = textValue(m_text1->text());
    return Format::wholeWide(amount) == QStringLiteral("0") ? QString() : Format::wholeWide(amount);
}

} // namespace cs42
