#include "ui/names/NameDirectoryView.h"

#include "ui/common/Interaction.h"
#include "ui/common/Session.h"
#include "ui/names/AddNewName.h"
#include "ui/names/NameDeletion.h"
#include "ui/names/NameFieldBoxes.h"
#include "ui/names/NameListModel.h"

#include <QLineEdit>
#include <QListView>

namespace cs42 {

NameDirectoryView::NameDirectoryView(Session& session,
                                     Options options,
                                     NameListModel* model,
                                     QListView* list,
                                     NameFieldBoxes* boxes,
                                     QWidget* window)
    : QObject(window)
    , m_session(session)
    , m_options(std::move(options))
    , m_store(session.paths.namesDbPath())
    , m_model(model)
    , m_list(list)
    , m_boxes(boxes)
    , m_window(window)
{
    connect(m_list->selectionModel(),
            &QItemSelectionModel::currentChanged,
            this,
            &NameDirectoryView::listClicked);
    connect(m_boxes, &NameFieldBoxes::boxLeft, this, &NameDirectoryView::saveNameFields);
}

void NameDirectoryView::detach()
{
    m_boxes->disconnect(this);
}

void NameDirectoryView::report(const QString& text, const QString& reason) const
{
    QString message = text;
    if (!reason.trimmed().isEmpty())
        message += QStringLiteral("\n\n") + reason.trimmed();
    m_session.interaction->inform(m_window, QStringLiteral("Names"), message, Interaction::Icon::Warning);
}

QString NameDirectoryView::selectedEntry() const
{
    return m_model->entryAt(m_list->currentIndex().row());
}

void NameDirectoryView::selectRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    m_list->setCurrentIndex(index);
    m_list->scrollTo(index,
                     m_options.centreSelection ? QAbstractItemView::PositionAtCenter
                                               : QAbstractItemView::EnsureVisible);
}

void NameDirectoryView::attachFilter(QLineEdit* box)
{
    box->setPlaceholderText(QStringLiteral("Find a name"));
    box->setClearButtonEnabled(true);
    box->setAccessibleName(QStringLiteral("Find a name in the directory"));
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) {
        // An edit in the boxes is stored before its entry may leave the list.
        saveNameFields();
        m_buildingList = true;
        m_model->setFilter(text);
        const QStringList& shown = m_model->entries();
        int row = NameList::indexOfKey(shown, m_currentKey);
        if (row < 0 && !shown.isEmpty())
            row = 0;
        if (row >= 0)
            selectRow(row);
        m_buildingList = false;
        const QString key = NameList::keyOf(selectedEntry());
        if (key != m_currentKey) {
            m_currentKey = key;
            loadNameFields();
        }
    });
}

void NameDirectoryView::rebuild(const QString& key)
{
    QString error;
    const auto rows = m_store.listRows(&error);
    if (!rows)
        report(QStringLiteral("The names database %1 could not be opened.").arg(m_store.path()), error);
    if (!m_options.blankFillOnLoad)
        m_store.repairNulls();
    m_buildingList = true;
    const QStringList entries = rows ? NameList::entries(*rows, m_options.listStyle) : QStringList();
    m_model->setEntries(entries);
    const QStringList& shown = m_model->entries();
    if (!shown.isEmpty()) {
        int row = key.isEmpty() ? 0 : NameList::indexOfKey(shown, key);
        if (row < 0)
            row = m_options.unlistedKeySelectsLast ? static_cast<int>(shown.size()) - 1 : 0;
        selectRow(row);
    }
    m_buildingList = false;
    // The boxes always belong to the selected entry, so an edit never goes to a record not listed.
    m_currentKey = NameList::keyOf(selectedEntry());
    loadNameFields();
}

std::optional<NameRecord> NameDirectoryView::loadCurrent() const
{
    if (m_options.blankFillOnLoad)
        m_store.repairNulls();
    NameStoreStatus status = NameStoreStatus::Ok;
    QString error;
    auto record = m_store.load(m_currentKey, &status, &error);
    if (status == NameStoreStatus::Failed)
        report(QStringLiteral("The name could not be read from the names database."), error);
    return record;
}

void NameDirectoryView::loadNameFields()
{
    if (m_currentKey.isEmpty())
        return;
    if (const auto record = loadCurrent())
        m_boxes->showRecord(*record);
}

void NameDirectoryView::saveNameFields()
{
    if (!m_boxes->isEdited() || m_currentKey.isEmpty())
        return;
    m_boxes->markStored(); // before anything is reported, so that a message cannot save twice
    QString error;
    const NameStoreStatus status = m_store.saveFields(m_currentKey, m_boxes->texts(), &error);
    if (status == NameStoreStatus::Failed)
        report(QStringLiteral("The changes to this name could not be saved in the names database."), error);
    else if (status == NameStoreStatus::NotFound)
        report(QStringLiteral(
                   "This name is no longer in the names database, so the changes to it were not saved."),
               {});
}

void NameDirectoryView::listClicked()
{
    if (m_buildingList)
        return;
    saveNameFields();
    m_currentKey = NameList::keyOf(selectedEntry());
    loadNameFields();
}

std::optional<NameRecord> NameDirectoryView::takeSelected()
{
    saveNameFields();
    m_currentKey = NameList::keyOf(selectedEntry());
    return loadCurrent();
}

void NameDirectoryView::addName()
{
    saveNameFields();
    QString failure;
    const auto key = AddNewName::add(m_store.path(), m_window, &failure);
    if (!failure.isEmpty())
        report(QStringLiteral("The new name could not be added to the names database."), failure);
    if (key)
        rebuild(*key);
}

void NameDirectoryView::deleteName()
{
    saveNameFields();
    if (!NameDeletion::confirm(*m_session.interaction,
                               m_window,
                               NameRecord::isProtectedKey(m_currentKey),
                               m_options.protectedRefusal,
                               selectedEntry()))
        return;
    QString error;
    if (m_store.deleteName(m_currentKey, &error) == NameStoreStatus::Failed)
        report(QStringLiteral("The name could not be deleted from the names database."), error);
    m_currentKey.clear();
    rebuild({});
}

} // namespace cs42
