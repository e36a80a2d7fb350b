#include "ui/names/Names.h"

#include "core/names/NameList.h"
#include "core/names/NameStore.h"
#include "core/store/Schema.h"
#include "ui/app/ListBox.h"
#include "ui/app/Session.h"
#include "ui/names/AddNewName.h"
#include "ui/names/NameDeletion.h"
#include "ui/names/NameFieldBoxes.h"
#include "ui/names/NameListModel.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScreen>

namespace cs42 {

namespace {
constexpr int WindowHeight = 560;
constexpr int Margin = 8;
constexpr int ButtonHeight = 28;
} // namespace

Names::Names(Session& session, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("Names"));
    setModal(true);

    constexpr int leftWidth = NarrowWidth - 2 * Margin;
    m_model = new NameListModel(this);
    m_list = new ListBox(m_model, this);
    m_list->setGeometry(Margin, Margin, leftWidth, WindowHeight - 2 * Margin - 5 * (ButtonHeight + 4));

    auto makeButton = [this](const char* name, const QString& caption, int index) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        button->setGeometry(
            Margin, WindowHeight - Margin - (5 - index) * (ButtonHeight + 4) + 4, leftWidth, ButtonHeight);
        return button;
    };
    m_select = makeButton("cmdSave", QStringLiteral("SELECT NAME"), 0);
    m_noSelection = makeButton("Command1", QStringLiteral("&No Selection"), 1);
    m_add = makeButton("cmdAddNewName", QStringLiteral("&ADD NAME"), 2);
    m_delete = makeButton("cmdDeleteName", QStringLiteral("&Delete"), 3);
    m_moreInfo = makeButton("cmdMoreInfo", QStringLiteral("&More Info"), 4);

    const int rightLeft = NarrowWidth + Margin;
    const int rightWidth = WideWidth - rightLeft - Margin;
    m_location = new QLabel(this);
    m_location->setObjectName(QStringLiteral("lblLocationOfNamesDatabase"));
    m_location->setGeometry(rightLeft, Margin, rightWidth, 18);
    m_boxes = new NameFieldBoxes(this);
    m_boxes->setGeometry(rightLeft, Margin + 24, rightWidth, WindowHeight - 2 * Margin - 24);

    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, &Names::listClicked);
    connect(m_list, &QListView::doubleClicked, this, &Names::selectName);
    connect(m_select, &QPushButton::clicked, this, &Names::selectName);
    connect(m_noSelection, &QPushButton::clicked, this, &Names::noSelection);
    connect(m_add, &QPushButton::clicked, this, &Names::addNewName);
    connect(m_delete, &QPushButton::clicked, this, &Names::deleteName);
    connect(m_moreInfo, &QPushButton::clicked, this, &Names::toggleMoreInfo);
    connect(m_boxes, &NameFieldBoxes::boxLeft, this, &Names::saveNameFields);

    // Opening.
    m_location->setText(QStringLiteral("DATABASE LOCATION:   ") +
                        joinPath(m_session.paths.filesLocation, QStringLiteral("NAMES.mdb")));
    setWindowTitle(m_session.dialogTitle.isEmpty() ? QStringLiteral("NAMES Database")
                                                   : m_session.dialogTitle);
    m_session.currentNameKey = m_session.selectedKey;
    setWide(false);
    buildNameList();
}

Names::~Names()
{
    m_boxes->disconnect(this);
}

bool Names::isWide() const
{
    return m_moreInfo->text() == QLatin1String("&Less Info");
}

void Names::setWide(bool wide)
{
    m_moreInfo->setText(wide ? QStringLiteral("&Less Info") : QStringLiteral("&More Info"));
    const int width = wide ? WideWidth : NarrowWidth;
    // The boxes are seen only in the wide window; hidden, they cannot take the focus either.
    m_boxes->setVisible(wide);
    m_location->setVisible(wide);
    setFixedSize(width, WindowHeight);
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width) / 2, area.top() + (area.height() - WindowHeight) / 2);
    }
}

void Names::toggleMoreInfo()
{
    saveNameFields();
    setWide(!isWide());
}

QString Names::selectedEntry() const
{
    return m_model->entryAt(m_list->currentIndex().row());
}

void Names::selectRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    m_list->setCurrentIndex(index);
    m_list->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void Names::buildNameList()
{
    m_buildingList = true;
    const NameStore store(m_session.paths.namesDbPath());
    const auto rows = store.listRows();
    store.repairNulls();
    const QStringList entries = rows ? NameList::entries(*rows, NameList::Style::Selection) : QStringList();
    m_model->setEntries(entries);
    int row = m_session.selectedKey.isEmpty() ? 0 : NameList::indexOfKey(entries, m_session.selectedKey);
    if (row < 0)
        row = 0;
    if (!entries.isEmpty())
        selectRow(row);
    m_buildingList = false;
    // The boxes always show the selected entry, so an edit never goes to a record not listed.
    m_session.currentNameKey = NameList::keyOf(selectedEntry());
    loadNameFields();
}

void Names::loadNameFields()
{
    const auto record = NameStore(m_session.paths.namesDbPath()).load(m_session.currentNameKey);
    if (record)
        m_boxes->showRecord(*record);
}

void Names::saveNameFields()
{
    if (!m_boxes->isEdited() || m_session.currentNameKey.isEmpty())
        return;
    m_boxes->markStored();
    NameStore(m_session.paths.namesDbPath()).saveFields(m_session.currentNameKey, m_boxes->texts());
}

void Names::listClicked()
{
    if (m_buildingList)
        return;
    saveNameFields();
    m_session.currentNameKey = NameList::keyOf(selectedEntry());
    loadNameFields();
}

void Names::selectName()
{
    saveNameFields();
    m_session.currentNameKey = NameList::keyOf(selectedEntry());
    m_session.selectedKey = m_session.currentNameKey;
    const auto record = NameStore(m_session.paths.namesDbPath()).load(m_session.currentNameKey);
    if (record) {
        m_session.selectedName = record->values();
        m_outcome = Outcome::Selected;
        accept();
    } else {
        // The name is gone (deleted on another workstation): the party must not get a stale name.
        m_outcome = Outcome::Closed;
        QDialog::reject();
    }
}

void Names::noSelection()
{
    saveNameFields();
    m_session.selectedKey.clear();
    m_session.currentNameKey.clear();
    QHash<QString, QString> empty;
    for (const ColumnDef& column : Schema::namesTable().allColumns())
        empty.insert(column.name.toLower(), QString(QLatin1String("")));
    m_session.selectedName = empty;
    m_outcome = Outcome::NoSelection;
    accept();
}

void Names::addNewName()
{
    saveNameFields();
    const QString selectedKey = NameList::keyOf(selectedEntry());
    m_session.currentNameKey = selectedKey;
    AddNewName dialog(m_session, this);
    dialog.exec();
    if (!m_session.currentNameKey.isEmpty() && m_session.currentNameKey != selectedKey) {
        m_session.selectedKey = m_session.currentNameKey;
        buildNameList();
    }
}

void Names::deleteName()
{
    saveNameFields();
    if (!NameDeletion::confirm(*m_session.interaction,
                               this,
                               NameRecord::isProtectedKey(m_session.currentNameKey),
                               QStringLiteral("You can't delete this Name!"),
                               selectedEntry()))
        return;
    NameStore(m_session.paths.namesDbPath()).deleteName(m_session.currentNameKey);
    m_session.currentNameKey.clear();
    m_session.selectedKey.clear();
    buildNameList();
}

void Names::reject()
{
    saveNameFields();
    m_outcome = Outcome::Closed;
    QDialog::reject();
}

void Names::closeEvent(QCloseEvent* event)
{
    saveNameFields();
    QDialog::closeEvent(event);
}

} // namespace cs42
