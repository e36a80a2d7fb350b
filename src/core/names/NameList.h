#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace cs42 {

// What a list needs of one name record.
struct NameListRow
{
    QString firmName; // the sort form, as stored
    QString keyNumber;
};

// The entries of the names lists: a blank, the sort form padded with blanks or cut to a fixed
// width, then the key. The key is read back as the last 8 characters of an entry.
namespace NameList {
enum class Style
{
    Selection,     // party selection: width 80, the sort form trimmed first
    Administration // names administration: width 100, the sort form as stored
};

constexpr int KeyLength = 8;

QString entry(const QString& sortForm, const QString& key, Style style);
QString keyOf(const QString& entry);
// The entries of every row, in list order: alphabetical by the whole entry without regard to
// case, entries equal but for case in the order of their exact text.
QStringList entries(const QList<NameListRow>& rows, Style style);
// Index of the first entry whose key is `key`, or -1.
int indexOfKey(const QStringList& entries, const QString& key);
} // namespace NameList

} // namespace cs42
