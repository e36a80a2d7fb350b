#pragma once

#include "core/store/CaseStore.h"

#include <QDialog>

class QTableWidget;

namespace cs42 {

struct FormEdition;

// "History": every change saved to the current case, newest first, with the line it changed, the
// value before and after, the user, the workstation and the time. Modal and read-only; the table
// takes the keyboard (arrows, Page Up/Down), Escape or "&Close" closes it.
class HistoryWindow : public QDialog
{
    Q_OBJECT

public:
    HistoryWindow(const QString& caseName,
                  const FormEdition& edition,
                  const QList<CaseChange>& changes,
                  QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }

    // How a stored column is named in the window: the worksheet line it is on ("Line 1, defendant"),
    // else the column's own name.
    static QString columnWords(const FormEdition& edition, const QString& column);
    // The window's "What" of a row: "Case added", "Case renamed", "Case deleted", else the column's
    // words.
    static QString whatWords(const FormEdition& edition, const CaseChange& change);

private:
    QTableWidget* m_table;
};

} // namespace cs42
