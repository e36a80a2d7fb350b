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

    const QStringList& entries() const { return m_entries; }

    // The entry of a row; empty for a row that does not exist.
    QString entryAt(int row) const;

private:
    QStringList m_entries;
};

} // namespace cs42
