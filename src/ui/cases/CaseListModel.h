#pragma once

#include "core/store/CaseStore.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>

namespace cs42 {

// The entries of the case library's list: each case's name padded with blanks and cut to 100
// characters, followed by its key, kept sorted by the whole text. The key and the name of an
// entry are kept beside its text, so they never depend on how the text is cut.
class CaseListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr int NameWidth = 100;
    // The width of the name as the library shows it in questions and in the rename dialog.
    static constexpr int ShortNameWidth = 30;

    explicit CaseListModel(QObject* parent = nullptr);

    // The list text of a case: `caseDesc` ("No Name" when null) padded and cut to 100 characters,
    // then `caseId` trimmed.
    static QString entryText(const QString& caseDesc, const QString& caseId);

    // Replaces every entry; sorted by the whole text without regard to case (ties by exact text).
    void setCases(const QList<CaseListItem>& cases);
    void clear();

    // Shows only the entries whose case name holds `text` anywhere, without regard to case; the
    // empty text shows them all. The rows below count the entries shown.
    void setFilter(const QString& text);

    const QString& filter() const { return m_filter; }

    // Every case, shown or not.
    int caseCount() const { return static_cast<int>(m_all.size()); }

    // Another case (not `exceptKey`) whose name is `name`, trimmed and without regard to case.
    bool hasName(const QString& name, const QString& exceptKey = QString()) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    QString entryAt(int row) const { return m_entries.at(row).text; }

    // The key of an entry: its caseid exactly as stored.
    QString keyAt(int row) const { return m_entries.at(row).key; }

    // The name of an entry as the library uses it: its first 30 characters, trimmed.
    QString nameAt(int row) const { return m_entries.at(row).text.left(ShortNameWidth).trimmed(); }

    // The first row whose key is `key`, or -1.
    int rowOfKey(const QString& key) const;

private:
    struct Entry
    {
        QString text;
        QString key;
    };

    void showFiltered();

    QList<Entry> m_all;     // sorted
    QList<Entry> m_entries; // those the filter shows
    QString m_filter;
    QHash<QString, int> m_rowOfKey;
};

} // namespace cs42
