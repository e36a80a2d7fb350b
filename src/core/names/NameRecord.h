#pragma once

#include <QHash>
#include <QList>
#include <QString>

namespace cs42 {

// One of the 35 field boxes of the names windows: the column it edits, the box's control name,
// the label shown beside it (empty for the second and third boxes of a line) and how many leading
// characters of the box text are stored.
struct NameField
{
    QString column;
    QString box;
    QString label;
    int storedLength;
};

// One row of table Names: every value is text, a column never written is Null (a null QString).
// Column names compare without regard to case and are held in lower case.
class NameRecord
{
public:
    NameRecord() = default;
    explicit NameRecord(QHash<QString, QString> values);

    QString value(const QString& column) const { return m_values.value(column.toLower()); }

    bool isNull(const QString& column) const { return value(column).isNull(); }

    void setValue(const QString& column, const QString& value) { m_values.insert(column.toLower(), value); }

    bool isEmpty() const { return m_values.isEmpty(); }

    const QHash<QString, QString>& values() const { return m_values; }

    QString keyNumber() const { return value(QStringLiteral("keynumber")); }

    QString listName() const { return value(QStringLiteral("listname")); }

    QString firmName() const { return value(QStringLiteral("firmname")); }

    // The 35 boxes in their tab order.
    static const QList<NameField>& editedFields();
    // The leading part of `text` that is stored in the edited column `column` (unknown columns
    // keep the whole text).
    static QString storedText(const QString& column, const QString& text);

    // The protected seed record, added to an empty directory.
    static const QString& seedKey();
    static NameRecord seedRecord();
    // Keys that the windows refuse to delete.
    static bool isProtectedKey(const QString& key);

private:
    QHash<QString, QString> m_values;
};

} // namespace cs42
