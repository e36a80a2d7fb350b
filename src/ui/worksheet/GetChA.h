#pragma once

#include "ui/worksheet/EntryDialog.h"

#include <QDate>

#include <array>

class QLineEdit;
class QPushButton;

namespace cs42 {

class Interaction;

// One child slot of the case: `child<i>name` and `child<i>dob`.
struct ChildEntry
{
    QString name;
    QString birthDate;
};

using ChildrenInfo = std::array<ChildEntry, 6>;

// "Information about Children": the names and birth dates of up to six children. A birth date is
// rewritten as mm/dd/yyyy when the focus leaves its box; a text that is no date, or a date after
// today, is said (EntryRules::birthDate) and stays in the box as typed. Closing refuses such a date
// as the amount dialogs refuse an amount: on the button the dialog stays open on its box, on the
// close box it closes with refused() true. Otherwise every way of closing hands back the twelve
// values, a slot without a name losing its date.
class GetChA : public EntryDialog
{
    Q_OBJECT

public:
    // `today` bounds the birth dates, and decides the century of a two-digit year (parseUsDate).
    GetChA(const ChildrenInfo& children,
           Interaction& interaction,
           const QDate& today,
           QWidget* parent = nullptr);

    // nullopt when the dialog was closed on a date it refuses (the worksheet then stores nothing).
    static std::optional<ChildrenInfo>
    edit(QWidget* parent, const ChildrenInfo& children, Interaction& interaction, const QDate& today);

    ChildrenInfo children() const;

protected:
    void leftBox(QLineEdit* box) override;
    std::optional<Refusal> closingRefusal(bool accepted) const override;
    // A date of birth typed in this dialog that makes its child 19 or more is asked about.
    std::optional<Refusal> closingQuestion() const override;

private:
    Interaction& m_interaction;
    QDate m_today;
    std::array<QString, 6> m_openedDates; // the dates as the dialog opened with them
    QPushButton* m_command1 = nullptr;
    std::array<QLineEdit*, 6> m_names{};
    std::array<QLineEdit*, 6> m_dates{};
    bool m_reporting = false;
};

} // namespace cs42
