#include "ui/cases/CaseListModel.h"

#include <algorithm>

namespace cs42 {

CaseListModel::CaseListModel(QObject* parent)
    : QAbstractListModel(parent)
{}

QString CaseListModel::entryText(const QString& caseDesc, const QString& caseId)
{
    const QString name = caseDesc.isNull() ? QStringLiteral("No Name") : caseDesc;
    return name.leftJustified(NameWidth, QLatin1Char(' '), true) + caseId.trimmed();
}

void CaseListModel::setCases(const QList<CaseListItem>& cases)
{
    struct Keyed
    {
        QString folded;
        Entry entry;
    };

    std::vector<Keyed> keyed;
    keyed.reserve(static_cast<size_t>(cases.size()));
    for (const CaseListItem& item : cases) {
        QString text = entryText(item.caseDesc, item.caseId);
        // The key is kept exactly as stored: a name typed with a leading blank makes a key that
        // begins with one, and a trimmed key would find no row (every save would miss the case).
        keyed.push_back({text.toCaseFolded(), {std::move(text), item.caseId}});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        const int folded = a.folded.compare(b.folded);
        return folded != 0 ? folded < 0 : a.entry.text < b.entry.text;
    });

    beginResetModel();
    m_entries.clear();
    m_entries.reserve(cases.size());
    m_rowOfKey.clear();
    m_rowOfKey.reserve(cases.size());
    for (Keyed& k : keyed)
        m_entries.append(std::move(k.entry));
    // Two rows with one key (only in files written elsewhere): the first entry counts.
    for (int row = static_cast<int>(m_entries.size()) - 1; row >= 0; --row)
        m_rowOfKey.insert(m_entries.at(row).key, row);
    endResetModel();
}

void CaseListModel::clear()
{
    beginResetModel();
    m_entries.clear();
    m_rowOfKey.clear();
    endResetModel();
}

int CaseListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

QVariant CaseListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_entries.at(index.row()).text;
    if (role == Qt::UserRole)
        return m_entries.at(index.row()).key;
    return {};
}

int CaseListModel::rowOfKey(const QString& key) const
{
    return m_rowOfKey.value(key, -1);
}

} // namespace cs42
