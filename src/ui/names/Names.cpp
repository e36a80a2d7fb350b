#include "ui/names/Names.h"

#include "core/store/Schema.h"
#include "ui/common/ListBox.h"
#include "ui/common/Session.h"
#include "ui/names/NameDirectoryView.h"
#include "ui/names/NameFieldBoxes.h"
#include "ui/names/NameListModel.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>

namespace cs42 {

namespace {
constexpr int WindowHeight = 560;
constexpr int Margin = 8;
constexpr int ButtonHeight = 28;
} // namespace

Names::Names(Session& session, const QString& title, const QString& startKey, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Names"));
    setModal(true);

    constexpr int leftWidth = NarrowWidth - 2 * Margin;
    auto* model = new NameListModel(this);
    auto* filter = new QLineEdit(this);
    filter->setObjectName(QStringLiteral("txtFilter"));
    filter->setGeometry(Margin, Margin, leftWidth, 24);
    m_list = new ListBox(model, this);
    m_list->setGeometry(
        Margin, Margin + 28, leftWidth, WindowHeight - 2 * Margin - 28 - 5 * (ButtonHeight + 4));

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

    m_directory = new NameDirectoryView(session,
                                        {.listStyle = NameList::Style::Selection,
                                         .unlistedKeySelectsLast = false,
                                         .blankFillOnLoad = false,
                                         .centreSelection = true,
                                         .protectedRefusal = QStringLiteral("You can't delete this Name!")},
                                        model,
                                        m_list,
                                        m_boxes,
                                        this);

    m_directory->attachFilter(filter);
    connect(m_list, &QListView::doubleClicked, this, &Names::selectName);
    connect(m_list, &ListBox::entryChosen, this, &Names::selectName);
    connect(m_select, &QPushButton::clicked, this, &Names::selectName);
    connect(m_noSelection, &QPushButton::clicked, this, &Names::noSelection);
    connect(m_add, &QPushButton::clicked, m_directory, &NameDirectoryView::addName);
    connect(m_delete, &QPushButton::clicked, m_directory, &NameDirectoryView::deleteName);
    connect(m_moreInfo, &QPushButton::clicked, this, &Names::toggleMoreInfo);

    // Opening.
    m_location->setText(QStringLiteral("DATABASE LOCATION:   ") +
                        joinPath(session.paths.filesLocation, QStringLiteral("NAMES.mdb")));
    setWindowTitle(title.isEmpty() ? QStringLiteral("NAMES Database") : title);
    setWide(false);
    m_directory->rebuild(startKey);
}

Names::~Names()
{
    m_directory->detach();
}

NameChoice Names::pick(Session& session, QWidget* parent, const QString& title, const QString& startKey)
{
    Names window(session, title, startKey, parent);
    window.exec();
    return window.choice();
}

QString Names::currentKey() const
{
    return m_directory->currentKey();
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
    m_directory->saveNameFields();
    setWide(!isWide());
}

void Names::selectName()
{
    const auto record = m_directory->takeSelected();
    if (record) {
        m_choice = {Outcome::Selected, *record};
        accept();
    } else {
        // The name is gone (deleted on another workstation): the party must not get a stale name.
        m_choice = {};
        QDialog::reject();
    }
}

void Names::noSelection()
{
    m_directory->saveNameFields();
    NameRecord empty;
    for (const ColumnDef& column : Schema::namesTable().allColumns())
        empty.setValue(column.name, QString(QLatin1String("")));
    m_choice = {Outcome::NoSelection, empty};
    accept();
}

void Names::reject()
{
    m_directory->saveNameFields();
    m_choice = {};
    QDialog::reject();
}

void Names::closeEvent(QCloseEvent* event)
{
    m_directory->saveNameFields();
    QDialog::closeEvent(event);
}

} // namespace cs42
