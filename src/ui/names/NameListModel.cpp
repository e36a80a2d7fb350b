#include "ui/names/NameListModel.h"

namespace cs42 {

NameListModel::NameListModel(QObject* parent)
    : QAbstractListModel(parent)
{}

int NameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

QVariant NameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    return role == Qt::DisplayRole ? QVariant(m_entries.at(index.row())) : QVariant();
}

void NameListModel::setEntries(QStringList entries)
{
    m_all = std::move(entries);
    showFiltered();
}

void NameListModel::setFilter(const QString& text)
{
    if (text == m_filter)
        return;
    m_filter = text;
    showFiltered();
}

void NameListModel::showFiltered()
{
    const QString wanted = m_filter.trimmed();
    beginResetModel();
    if (wanted.isEmpty()) {
        m_entries = m_all;
    } else {
        m_entries.clear();
        for (const QString& entry : m_all) {
            if (entry.contains(wanted, Qt::CaseInsensitive))
                m_entries.append(entry);
        }
    }
    endResetModel();
}

QString NameListModel::entryAt(int row) const
{
    return row >= 0 && row < m_entries.size() ? m_entries.at(row) : QString();
}

} // namespace cs42
