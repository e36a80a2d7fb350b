#include "ui/worksheet/GetChA.h"

#include "core/worksheet/ChildAges.h"
#include "core/worksheet/EntryRules.h"
#include "core/worksheet/UsDate.h"
#include "ui/common/Interaction.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace cs42 {

GetChA::GetChA(const ChildrenInfo& children, Interaction& interaction, const QDate& today, QWidget* parent)
    : EntryDialog(parent)
    , m_interaction(interaction)
    , m_today(today)
{
    setInteraction(interaction);
    setObjectName(QStringLiteral("GetChA"));
    setWindowTitle(QStringLiteral("Information about Children"));

    QLabel* label1 = addLabel(QStringLiteral("Label1"),
                              QStringLiteral("Child's Name                         Date of Birth "),
                              sansFont(9.75, true));
    // The header's blanks line its second heading up over the date column.
    label1->setTextFormat(Qt::PlainText);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    for (int i = 0; i < 6; ++i) {
        auto* name = new QLineEdit(children[static_cast<size_t>(i)].name, this);
        name->setObjectName(QStringLiteral("Text%1").arg(2 * i + 1));
        name->setFixedWidth(172);
        auto* date = new QLineEdit(children[static_cast<size_t>(i)].birthDate, this);
        m_openedDates[static_cast<size_t>(i)] = date->text();
        date->setObjectName(QStringLiteral("Text%1").arg(2 * i + 2));
        date->setFixedWidth(110);
        for (QLineEdit* box : {name, date}) {
            box->setFont(sansFont(9.75));
            watchBox(box);
        }
        grid->addWidget(name, i, 0);
        grid->addWidget(date, i, 1);
        m_names[static_cast<size_t>(i)] = name;
        m_dates[static_cast<size_t>(i)] = date;
    }
    QPushButton* command1 = addButton(QStringLiteral("Command1"), QStringLiteral("&Ok"));
    m_command1 = command1;

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(8);
    layout->addWidget(label1);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(command1, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint());

    // Tab order runs row by row: name, date, next name.
    QWidget* previous = nullptr;
    for (size_t i = 0; i < 6; ++i) {
        for (QWidget* box : {static_cast<QWidget*>(m_names[i]), static_cast<QWidget*>(m_dates[i])}) {
            if (previous != nullptr)
                setTabOrder(previous, box);
            previous = box;
        }
    }
    setTabOrder(previous, command1);

    connect(command1, &QPushButton::clicked, this, &QDialog::accept);
    focusBox(m_names[0]);
}

std::optional<ChildrenInfo>
GetChA::edit(QWidget* parent, const ChildrenInfo& children, Interaction& interaction, const QDate& today)
{
    GetChA dialog(children, interaction, today, parent);
    dialog.exec();
    if (dialog.refused())
        return std::nullopt;
    return dialog.children();
}

ChildrenInfo GetChA::children() const
{
    ChildrenInfo result;
    for (size_t i = 0; i < 6; ++i) {
        const QString name = m_names[i]->text();
        // A birth date without a name is dropped; a name is kept as typed.
        if (!name.trimmed().isEmpty())
            result[i] = {name, m_dates[i]->text()};
    }
    return result;
}

void GetChA::leftBox(QLineEdit* box)
{
    if (m_reporting || std::find(m_dates.begin(), m_dates.end(), box) == m_dates.end())
        return;
    const EntryRules::BirthDate date = EntryRules::birthDate(box->text(), m_today);
    if (date.stored) {
        box->setText(*date.stored);
        return;
    }
    // The date stays as typed, to be put right. Closing, or the focus going to "&Ok" (which closes
    // next), says it once when the dialog checks its dates.
    if (closing() || QApplication::focusWidget() == m_command1)
        return;
    m_reporting = true;
    m_interaction.inform(this, QString(), date.refusal);
    m_reporting = false;
}

std::optional<EntryDialog::Refusal> GetChA::closingRefusal(bool) const
{
    for (QLineEdit* box : m_dates) {
        const EntryRules::BirthDate date = EntryRules::birthDate(box->text(), m_today);
        if (!date.stored)
            return Refusal{box, date.refusal};
    }
    return std::nullopt;
}

std::optional<EntryDialog::Refusal> GetChA::closingQuestion() const
{
    for (size_t i = 0; i < 6; ++i) {
        QLineEdit* box = m_dates[i];
        if (m_names[i]->text().trimmed().isEmpty() || box->text() == m_openedDates[i])
            continue;
        const auto born = parseUsDate(box->text(), m_today);
        if (!born)
            continue;
        if (const QString question = ageOfMajorityQuestion(m_names[i]->text(), *born, m_today);
            !question.isEmpty())
            return Refusal{box, question};
    }
    return std::nullopt;
}

} // namespace cs42
