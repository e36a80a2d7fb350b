#include "ui/worksheet/GetPreAlimony.h"

#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/LeadingNumber.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cs42 {

QString twoDecimalBoxText(const QString& text)
{
    if (text.trimmed().isEmpty())
        return {};
    if (const auto number = EntryDialog::wholeNumber(text))
        return Format::twoDecimals(*number);
    const double leading = LeadingNumber(text);
    return leading == 0.0 ? QString() : Format::twoDecimals(leading);
}

GetPreAlimony::GetPreAlimony(const QString& title, const QString& value, QWidget* parent)
    : EntryDialog(parent)
    , m_text1(new QLineEdit(this))
{
    setObjectName(QStringLiteral("GetPreAlimony"));
    setWindowTitle(title);

    auto* label5 =
        new QLabel(QStringLiteral("Enter Preexisting Periodic Alimony Payment in the space below.  This "
                                  "amount will be automatically deducted from the Monthly Gross Income."),
                   this);
    label5->setObjectName(QStringLiteral("Label5"));
    label5->setWordWrap(true);
    label5->setFont(sansFont(9.75));
    auto* label2 = new QLabel(QStringLiteral("Enter amount of Pre-Existing Periodic Alimony Payment"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setFont(sansFont(9.75, true));
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setFont(sansFont(9.75, true));
    m_text1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_text1->setFixedWidth(120);
    auto* command1 = addButton(QStringLiteral("Command1"), QStringLiteral("&Ok"));
    command1->setFixedWidth(90);

    auto* row = new QHBoxLayout;
    row->addWidget(label2);
    row->addWidget(m_text1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->setSpacing(14);
    layout->addWidget(label5);
    layout->addLayout(row);
    layout->addWidget(command1, 0, Qt::AlignHCenter);
    setFixedWidth(520);
    setFixedHeight(heightForWidth(520) > 0 ? heightForWidth(520) : sizeHint().height());

    m_text1->setText(formatText(value, &Format::twoDecimals));
    watchBox(m_text1);
    connect(m_text1, &QLineEdit::returnPressed, this, &QDialog::accept);
    connect(command1, &QPushButton::clicked, this, &QDialog::accept);
    focusBox(m_text1);
}

QString GetPreAlimony::edit(QWidget* parent, const QString& title, const QString& value)
{
    GetPreAlimony dialog(title, value, parent);
    dialog.exec();
    return dialog.dialogValue();
}

QString GetPreAlimony::dialogValue() const
{
    const QString text = m_text1->text();
    return LeadingNumber(text) > 0.0 ? text : QString();
}

void GetPreAlimony::leftBox(QLineEdit* box)
{
    box->setText(twoDecimalBoxText(box->text()));
}

} // namespace cs42
