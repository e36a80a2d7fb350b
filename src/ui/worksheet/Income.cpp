#include "ui/worksheet/Income.h"

#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/LeadingNumber.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cs42 {

namespace {
// The box's rule: a text whose leading number is not 0 becomes that amount in whole dollars (the
// whole text converted, so 1,234.56 gives 1235; 12abc, which is no number as a whole, gives its
// leading 12); anything else becomes empty.
QString incomeText(const QString& text)
{
    if (LeadingNumber(text) == 0.0)
        return {};
    return Format::whole(EntryDialog::textValue(text));
}
} // namespace

Income::Income(const QString& title, const QString& value, QWidget* parent)
    : EntryDialog(parent)
    , m_text1(new QLineEdit(this))
{
    setObjectName(QStringLiteral("Income"));
    setWindowTitle(title);

    auto* label2 = new QLabel(QStringLiteral("Enter Amount $"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setFont(sansFont(9.75, true));
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setFont(sansFont(9.75, true));
    m_text1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_text1->setFixedWidth(130);
    auto* command1 = addButton(QStringLiteral("Command1"), QStringLiteral("Done"));

    auto* row = new QHBoxLayout;
    row->addWidget(label2);
    row->addWidget(m_text1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->setSpacing(12);
    layout->addLayout(row);
    layout->addWidget(command1, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint().expandedTo(QSize(320, 0)));

    m_text1->setText(formatText(value, &Format::whole));
    watchBox(m_text1);
    connect(m_text1, &QLineEdit::returnPressed, this, &QDialog::accept);
    connect(command1, &QPushButton::clicked, this, &QDialog::accept);
    focusBox(m_text1);
}

QString Income::edit(QWidget* parent, const QString& title, const QString& value)
{
    Income dialog(title, value, parent);
    dialog.exec();
    return dialog.dialogValue();
}

QString Income::dialogValue() const
{
    return incomeText(m_text1->text());
}

void Income::leftBox(QLineEdit* box)
{
    box->setText(incomeText(box->text()));
}

} // namespace cs42
