#include "ui/worksheet/HistoryWindow.h"

#include "core/session/WorksheetSession.h"
#include "core/worksheet/FormEdition.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace cs42 {

QString HistoryWindow::columnWords(const FormEdition& edition, const QString& column)
{
    const QString label = edition.labelOf(column);
    if (label.isEmpty())
        return column;
    // describeChanges words a change as "what: before -> after"; the window wants the "what".
    return WorksheetSession::describeChanges(edition, {{label, QStringLiteral("x"), QStringLiteral("y")}})
        .section(QStringLiteral(": "), 0, 0);
}

QString HistoryWindow::whatWords(const FormEdition& edition, const CaseChange& change)
{
    if (change.action == ChangeAction::Added)
        return QStringLiteral("Case added");
    if (change.action == ChangeAction::Deleted)
        return QStringLiteral("Case deleted");
    if (change.column.compare(QLatin1String("casedesc"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Case renamed");
    return columnWords(edition, change.column);
}

HistoryWindow::HistoryWindow(const QString& caseName,
                             const FormEdition& edition,
                             const QList<CaseChange>& changes,
                             QWidget* parent)
    : QDialog(parent)
    , m_table(new QTableWidget(static_cast<int>(changes.size()), 6, this))
{
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("History of %1").arg(caseName));

    auto* caption = new QLabel(changes.isEmpty()
                                   ? QStringLiteral("No change has been saved to this case since its history "
                                                    "began to be kept.")
                                   : QStringLiteral("Every change saved to this case, the newest first."),
                               this);
    caption->setObjectName(QStringLiteral("lblHistoryCaption"));

    m_table->setObjectName(QStringLiteral("tblHistory"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("When"),
                                        QStringLiteral("What"),
                                        QStringLiteral("Before"),
                                        QStringLiteral("After"),
                                        QStringLiteral("User"),
                                        QStringLiteral("Workstation")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < changes.size(); ++row) {
        const CaseChange& change = changes[row];
        const QDateTime when = QDateTime::fromString(change.time, Qt::ISODateWithMs);
        const QStringList cells{
            when.isValid() ? when.toLocalTime().toString(QStringLiteral("MM/dd/yyyy hh:mm:ss")) : change.time,
            whatWords(edition, change),
            change.oldValue,
            change.newValue,
            change.user,
            change.host};
        for (int column = 0; column < cells.size(); ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_table->resizeColumnsToContents();
    if (!changes.isEmpty())
        m_table->selectRow(0);
    m_table->setAccessibleName(QStringLiteral("Changes saved to this case"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setText(QStringLiteral("&Close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(760, 420);
    setTabOrder(m_table, close);
    m_table->setFocus(Qt::OtherFocusReason);
}

} // namespace cs42
