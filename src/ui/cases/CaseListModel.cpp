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

    m_all.clear();
    m_all.reserve(cases.size());
    for (Keyed& k : keyed)
        m_all.append(std::move(k.entry));
    showFiltered();
}

void CaseListModel::setFilter(const QString& text)
{
    if (text == m_filter)
        return;
    m_filter = text;
    showFiltered();
}

void CaseListModel::showFiltered()
{
    const QString wanted = m_filter.trimmed();
    beginResetModel();
    m_entries.clear();
    m_rowOfKey.clear();
    for (const Entry& entry : m_all) {
        if (wanted.isEmpty() || entry.text.left(NameWidth).contains(wanted, Qt::CaseInsensitive))
            m_entries.append(entry);
    }
    // Two rows with one key (only in files written elsewhere): the first entry counts.
    for (int row = static_cast<int>(m_entries.size()) - 1; row >= 0; --row)
        m_rowOfKey.insert(m_entries.at(row).key, row);
    endResetModel();
}

bool CaseListModel::hasName(const QString& name, const QString& exceptKey) const
{
    const QString wanted = name.trimmed();
    for (const Entry& entry : m_all) {
        if (entry.key != exceptKey &&
            entry.text.left(NameWidth).trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void CaseListModel::clear()
{
    beginResetModel();
    m_all.clear();
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
