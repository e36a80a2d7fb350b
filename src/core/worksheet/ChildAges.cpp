#include "core/worksheet/ChildAges.h"

#include "core/worksheet/UsDate.h"

#include <QStringList>

namespace cs42 {

int ageOn(const QDate& born, const QDate& today)
{
    int age = today.year() - born.year();
    if (today.month() < born.month() || (today.month() == born.month() && today.day() < born.day()))
        --age;
    return age;
}

QString birthDateWarning(const CaseRecord& record, const QDate& today)
{
    QStringList doubts;
    for (int i = 1; i <= 6; ++i) {
        const QString name = record.value(QStringLiteral("child%1name").arg(i)).trimmed();
        if (name.isEmpty())
            continue;
        const auto born = parseUsDate(record.value(QStringLiteral("child%1dob").arg(i)), today);
        if (!born)
            continue;
        if (*born > today)
            doubts << QStringLiteral("%1'S IS IN THE FUTURE").arg(name.toUpper());
        else if (const int age = ageOn(*born, today); age >= AgeOfMajority)
            doubts << QStringLiteral("%1 IS %2").arg(name.toUpper()).arg(age);
    }
    if (doubts.isEmpty())
        return {};
    return QStringLiteral("CHECK THE BIRTH DATES: %1 (THE AGE OF MAJORITY IS %2)!")
        .arg(doubts.join(QStringLiteral("; ")))
        .arg(AgeOfMajority);
}

QString ageOfMajorityQuestion(const QString& name, const QDate& born, const QDate& today)
{
    const int age = ageOn(born, today);
    if (born > today || age < AgeOfMajority)
        return {};
    const QString child = name.trimmed().isEmpty() ? QStringLiteral("This child") : name.trimmed();
    return QStringLiteral(
               "%1, born %2, is %3 years old. In Alabama a child reaches the age of majority at %4, "
               "and child support is not ordered for a child of that age unless the court finds a "
               "reason to.\r\n\r\nKeep this date of birth?")
        .arg(child, formatUsDate(born))
        .arg(age)
        .arg(AgeOfMajority);
}

} // namespace cs42
