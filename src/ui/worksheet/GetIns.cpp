#include "ui/worksheet/GetIns.h"

#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/LeadingNumber.h"
#include "ui/worksheet/GetPreAlimony.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cs42 {

GetIns::GetIns(const QString& title, const QString& value, QWidget* parent)
    : EntryDialog(parent)
    , m_text1(new QLineEdit(this))
{
    setObjectName(QStringLiteral("GetIns"));
    setWindowTitle(title);

    auto* label1 = new QLabel(QStringLiteral("HEALTH INSURANCE "), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setFont(sansFont(12, true));
    label1->setAlignment(Qt::AlignHCenter);
    auto* label3 = new QLabel(
        QStringLiteral(
            "The amount to be added to the \"basic child-support obligation\" and inserted in Line 6 "
            "(\"Health-Insurance Costs\") of the Child-Support Guidelines form (Form CS-42) shall be the pro "
            "rata "
            "portion of the medical insurance premium attributable to the child or children who are the "
            "subject "
            "of the support order, which shall be calculated by dividing the total medical-insurance premium "
            "actually paid by, or on behalf of, the parent ordered to provide the coverage by the total "
            "number of "
            "persons (adult and/or children) covered and then multiplying the result by the number of "
            "children "
            "who are the subject of the support order."),
        this);
    label3->setObjectName(QStringLiteral("Label3"));
    label3->setWordWrap(true);
    label3->setFont(sansFont(9.75));
    auto* label5 = new QLabel(QStringLiteral("Enter amount to use for Health Insurance:"), this);
    label5->setObjectName(QStringLiteral("Label5"));
    label5->setFont(narrowFont(11, true));
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setFont(sansFont(9.75, true));
    m_text1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_text1->setFixedWidth(120);
    auto* command1 = addButton(QStringLiteral("Command1"), QStringLiteral("&Ok"));
    command1->setFixedWidth(90);

    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(label5);
    row->addWidget(m_text1);
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(12);
    layout->addWidget(label1);
    layout->addWidget(label3);
    layout->addLayout(row);
    layout->addWidget(command1, 0, Qt::AlignHCenter);
    setFixedWidth(560);
    setFixedHeight(heightForWidth(560) > 0 ? heightForWidth(560) : sizeHint().height());

    m_text1->setText(formatText(value, &Format::twoDecimals));
    watchBox(m_text1);
    connect(m_text1, &QLineEdit::returnPressed, this, &QDialog::accept);
    connect(command1, &QPushButton::clicked, this, &QDialog::accept);
    focusBox(m_text1);
}

QString GetIns::edit(QWidget* parent, const QString& title, const QString& value)
{
    GetIns dialog(title, value, parent);
    dialog.exec();
    return dialog.dialogValue();
}

QString GetIns::dialogValue() const
{
    const QString text = m_text1->text();
    return LeadingNumber(text) > 0.0 ? text : QString();
}

void GetIns::leftBox(QLineEdit* box)
{
    box->setText(twoDecimalBoxText(box->text()));
}

} // namespace cs42
