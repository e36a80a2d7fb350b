#include "ui/cases/GetShort.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cs42 {

GetShort::GetShort(
    const QString& title, const QString& prompt, const QString& initial, int maxLength, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("GetShort"));
    setWindowTitle(title);
    setModal(true);

    m_prompt = new QLabel(prompt, this);
    m_prompt->setObjectName(QStringLiteral("Label1"));
    m_prompt->setWordWrap(true);

    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setMaxLength(maxLength);
    m_text->setText(initial);
    m_text->setSelection(0, static_cast<int>(initial.trimmed().size()));

    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    cancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    setMinimumWidth(460);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_text, &QLineEdit::returnPressed, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString GetShort::text() const
{
    return m_text->text();
}

std::optional<QString> GetShort::getText(
    QWidget* parent, const QString& title, const QString& prompt, const QString& initial, int maxLength)
{
    GetShort dialog(title, prompt, initial, maxLength, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.text();
}

} // namespace cs42
