#pragma once

#include <QHash>
#include <QString>

namespace cs42 {

// One row of table Cases: every value is text. A column never written is Null, which reads as a
// null QString (isNull()), distinct from the empty text. Column names compare without regard
// to case.
class CaseRecord
{
public:
    CaseRecord() = default;

    QString value(const QString& column) const { return m_values.value(column.toLower()); }

    bool isNull(const QString& column) const { return value(column).isNull(); }

    void setValue(const QString& column, const QString& value) { m_values.insert(column.toLower(), value); }

    bool isEmpty() const { return m_values.isEmpty(); }

    QString caseId() const { return value(QStringLiteral("caseid")); }

    QString caseDesc() const { return value(QStringLiteral("casedesc")); }

private:
    QHash<QString, QString> m_values;
};

} // namespace cs42
