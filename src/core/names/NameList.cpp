#include "core/names/NameList.h"

#include <algorithm>

namespace cs42::NameList {

QString entry(const QString& sortForm, const QString& key, Style style)
{
    const bool selection = style == Style::Selection;
    const int width = selection ? 80 : 100;
    const QString form = selection ? sortForm.trimmed() : sortForm;
    return QLatin1Char(' ') + form.leftJustified(width, QLatin1Char(' '), true) + key;
}

QString keyOf(const QString& entry)
{
    return entry.right(KeyLength);
}

QStringList entries(const QList<NameListRow>& rows, Style style)
{
    QStringList list;
    list.reserve(rows.size());
    for (const NameListRow& row : rows)
        list.append(entry(row.firmName, row.keyNumber, style));
    std::sort(list.begin(), list.end(), [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return list;
}

int indexOfKey(const QStringList& entries, const QString& key)
{
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (keyOf(entries.at(i)) == key)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace cs42::NameList
