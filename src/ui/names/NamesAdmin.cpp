#include "ui/names/NamesAdmin.h"

#include "core/names/NameList.h"
#include "core/store/ProgramSettings.h"
#include "ui/app/Interaction.h"
#include "ui/app/ListBox.h"
#include "ui/app/Session.h"
#include "ui/app/WindowHost.h"
#include "ui/names/AddNewName.h"
#include "ui/names/NameDeletion.h"
#include "ui/names/NameFieldBoxes.h"
#include "ui/names/NameListModel.h"

#include <QLabel>
#include <QListView>
#include <QPushButton>

namespace cs42 {

namespace {
constexpr int Margin = 8;
constexpr int ListWidth = 330;
constexpr int ButtonHeight = 28;
} // namespace

NamesAdmin::NamesAdmin(Session& session, WindowHost& host, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_host(host)
    , m_store(session.paths.namesDbPath())
{
    setObjectName(QStringLiteral("NamesAdmin"));
    m_session.currentWindowName = QStringLiteral("NamesAdmin");
    const int width = ProgramSettings::twipsToPixels(ProgramSettings::ChildWindowWidth);
    const int height = ProgramSettings::twipsToPixels(ProgramSettings::ChildWindowHeight);
    setFixedSize(width, height);
    setAutoFillBackground(true);

    m_title = new QLabel(QStringLiteral("Names"), this);
    m_title->setObjectName(QStringLiteral("lblFormTitle"));
    QFont titleFont = m_title->font();
    titleFont.setPointSize(titleFont.pointSize() + 6);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_title->setGeometry(Margin, Margin, width - 2 * Margin, 30);

    m_title2 = new QLabel(this);
    m_title2->setObjectName(QStringLiteral("lblFormTitle2"));
    m_title2->setGeometry(Margin, Margin + 32, width - 2 * Margin, 18);
    m_title2->setText(QStringLiteral("CURRENT DATABASE:  ") + m_session.paths.namesDbPath().toUpper());

    const int top = Margin + 58;
    m_model = new NameListModel(this);
    m_list = new ListBox(m_model, this);
    m_list->setGeometry(Margin, top, ListWidth, height - top - Margin - ButtonHeight - 8);

    constexpr int buttonTop = height - Margin - ButtonHeight;
    constexpr int buttonWidth = (ListWidth - 2 * 6) / 3;
    auto makeButton = [this](const char* name, const QString& caption, int index) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(Margin + index * (buttonWidth + 6), buttonTop, buttonWidth, ButtonHeight);
        return button;
    };
    m_save = makeButton("cmdSave", QStringLiteral("SAVE"), 0);
    m_add = makeButton("cmdAddNewName", QStringLiteral("&Add Name"), 1);
    m_delete = makeButton("cmdDeleteName", QStringLiteral("&Delete Name"), 2);

    m_boxes = new NameFieldBoxes(this);
    const int boxesLeft = Margin + ListWidth + 16;
    m_boxes->setGeometry(boxesLeft, top, width - boxesLeft - Margin, height - top - Margin);

    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, &NamesAdmin::listClicked);
    connect(m_save, &QPushButton::clicked, this, &NamesAdmin::save);
    connect(m_add, &QPushButton::clicked, this, &NamesAdmin::addName);
    connect(m_delete, &QPushButton::clicked, this, &NamesAdmin::deleteName);
    connect(m_boxes, &NameFieldBoxes::boxLeft, this, &NamesAdmin::saveNameFields);

    // Opening: the first entry of the list with its fields.
    m_session.currentNameKey.clear();
    buildNameList();
    loadNameFields();
}

NamesAdmin::~NamesAdmin()
{
    m_boxes->disconnect(this);
}

void NamesAdmin::report(const QString& text, const QString& reason)
{
    QString message = text;
    if (!reason.trimmed().isEmpty())
        message += QStringLiteral("\n\n") + reason.trimmed();
    m_session.interaction->inform(this, QStringLiteral("Names"), message, Interaction::Icon::Warning);
}

QString NamesAdmin::selectedEntry() const
{
    return m_model->entryAt(m_list->currentIndex().row());
}

void NamesAdmin::selectRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    m_list->setCurrentIndex(index);
    m_list->scrollTo(index);
}

void NamesAdmin::buildNameList()
{
    QString error;
    const auto rows = m_store.listRows(&error);
    if (!rows)
        report(QStringLiteral("The names database %1 could not be opened.").arg(m_store.path()), error);
    m_buildingList = true;
    const QStringList entries =
        rows ? NameList::entries(*rows, NameList::Style::Administration) : QStringList();
    m_model->setEntries(entries);
    if (!entries.isEmpty()) {
        int row = 0;
        if (!m_session.currentNameKey.isEmpty()) {
            row = NameList::indexOfKey(entries, m_session.currentNameKey);
            if (row < 0)
                row = static_cast<int>(entries.size()) - 1;
        }
        selectRow(row);
    }
    // The boxes always belong to the selected entry, so an edit never goes to a record not listed.
    m_session.currentNameKey = NameList::keyOf(selectedEntry());
    m_buildingList = false;
}

void NamesAdmin::loadNameFields()
{
    if (m_session.currentNameKey.isEmpty())
        return;
    m_store.repairNulls();
    NameStoreStatus status = NameStoreStatus::Ok;
    QString error;
    const auto record = m_store.load(m_session.currentNameKey, &status, &error);
    if (record)
        m_boxes->showRecord(*record);
    else if (status == NameStoreStatus::Failed)
        report(QStringLiteral("The name could not be read from the names database."), error);
}

void NamesAdmin::saveNameFields()
{
    if (!m_boxes->isEdited() || m_session.currentNameKey.isEmpty())
        return;
    m_boxes->markStored(); // before anything is reported, so that a message cannot save twice
    QString error;
    const NameStoreStatus status = m_store.saveFields(m_session.currentNameKey, m_boxes->texts(), &error);
    if (status == NameStoreStatus::Failed)
        report(QStringLiteral("The changes to this name could not be saved in the names database."), error);
    else if (status == NameStoreStatus::NotFound)
        report(QStringLiteral(
                   "This name is no longer in the names database, so the changes to it were not saved."),
               {});
}

void NamesAdmin::listClicked()
{
    if (m_buildingList)
        return;
    saveNameFields();
    m_session.currentNameKey = NameList::keyOf(selectedEntry());
    loadNameFields();
}

void NamesAdmin::save()
{
    saveNameFields();
    m_host.showCaseLibrary();
}

void NamesAdmin::addName()
{
    saveNameFields();
    const QString selectedKey = NameList::keyOf(selectedEntry());
    m_session.currentNameKey = selectedKey;
    AddNewName dialog(m_session, this);
    dialog.exec();
    if (!dialog.failure().isEmpty())
        report(QStringLiteral("The new name could not be added to the names database."), dialog.failure());
    if (!m_session.currentNameKey.isEmpty() && m_session.currentNameKey != selectedKey) {
        buildNameList();
        loadNameFields();
    }
}

void NamesAdmin::deleteName()
{
    saveNameFields();
    if (!NameDeletion::confirm(*m_session.interaction,
                               this,
                               m_session.currentNameKey == NameRecord::seedKey(),
                               QStringLiteral("Sorry, but this name is protected and cannot be deleted!"),
                               selectedEntry()))
        return;
    QString error;
    if (m_store.deleteName(m_session.currentNameKey, &error) == NameStoreStatus::Failed)
        report(QStringLiteral("The name could not be deleted from the names database."), error);
    m_session.currentNameKey.clear();
    buildNameList();
    loadNameFields();
}

void NamesAdmin::hideEvent(QHideEvent* event)
{
    saveNameFields();
    QWidget::hideEvent(event);
}

} // namespace cs42
