#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace cs42 {

// The entries of a names list (see NameList), shown one per row. The entries come sorted from
// the core; the model only holds and shows them, so a directory of thousands of names is
// replaced in one reset.
class NameListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit NameListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void setEntries(QStringList entries);

    // The entries shown: those that hold the filter anywhere, without regard to case.
    const QStringList& entries() const { return m_entries; }

    // Shows only the entries that hold `text`; the empty text shows them all.
    void setFilter(const QString& text);

    // The entry of a row; empty for a row that does not exist.
    QString entryAt(int row) const;

private:
    void showFiltered();

    QStringList m_all;
    QStringList m_entries;
    QString m_filter;
};

} // namespace cs42
