#pragma once

#include "ui/worksheet/EntryDialog.h"

#include <QDate>

#include <array>

class QLineEdit;

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
// rewritten as mm/dd/yyyy when the focus leaves its box; a text that is no date is reported once
// and cleared. Every way of closing hands back the twelve values, a slot without a name losing its
// date.
class GetChA : public EntryDialog
{
    Q_OBJECT

public:
    // `today` bounds the birth dates: a date after it is reported and cleared, as a text that is no
    // date is, and it decides the century of a two-digit year (parseUsDate).
    GetChA(const ChildrenInfo& children,
           Interaction& interaction,
           const QDate& today,
           QWidget* parent = nullptr);

    static ChildrenInfo
    edit(QWidget* parent, const ChildrenInfo& children, Interaction& interaction, const QDate& today);

    ChildrenInfo children() const;

    static QString invalidDateText()
    {
        return QStringLiteral("You have entered an invalid date... Please try again");
    }

    static QString futureDateText()
    {
        return QStringLiteral(
            "You have entered a date of birth that is later than today... Please try again");
    }

protected:
    void leftBox(QLineEdit* box) override;

private:
    Interaction& m_interaction;
    QDate m_today;
    std::array<QLineEdit*, 6> m_names{};
    std::array<QLineEdit*, 6> m_dates{};
    bool m_reporting = false;
};

} // namespace cs42
