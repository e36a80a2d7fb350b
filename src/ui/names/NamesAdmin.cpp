#include "ui/names/NamesAdmin.h"

#include "core/store/ProgramSettings.h"
#include "ui/common/ListBox.h"
#include "ui/common/Session.h"
#include "ui/common/WindowHost.h"
#include "ui/names/NameDirectoryView.h"
#include "ui/names/NameFieldBoxes.h"
#include "ui/names/NameListModel.h"

#include <QLabel>
#include <QLineEdit>
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
    , m_host(host)
{
    setObjectName(QStringLiteral("NamesAdmin"));
    session.currentWindowName = QStringLiteral("NamesAdmin");
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
    m_title2->setText(QStringLiteral("CURRENT DATABASE:  ") + session.paths.namesDbPath().toUpper());

    const int top = Margin + 58;
    auto* model = new NameListModel(this);
    auto* filter = new QLineEdit(this);
    filter->setObjectName(QStringLiteral("txtFilter"));
    filter->setGeometry(Margin, top, ListWidth, 24);
    m_list = new ListBox(model, this);
    m_list->setGeometry(Margin, top + 28, ListWidth, height - top - 28 - Margin - ButtonHeight - 8);

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

    m_directory = new NameDirectoryView(
        session,
        {.listStyle = NameList::Style::Administration,
         .unlistedKeySelectsLast = true,
         .blankFillOnLoad = true,
         .centreSelection = false,
         .protectedRefusal = QStringLiteral("Sorry, but this name is protected and cannot be deleted!")},
        model,
        m_list,
        m_boxes,
        this);

    m_directory->attachFilter(filter);
    connect(m_save, &QPushButton::clicked, this, &NamesAdmin::save);
    connect(m_add, &QPushButton::clicked, m_directory, &NameDirectoryView::addName);
    connect(m_delete, &QPushButton::clicked, m_directory, &NameDirectoryView::deleteName);

    // Opening: the first entry of the list with its fields.
    m_directory->rebuild({});
}

NamesAdmin::~NamesAdmin()
{
    m_directory->detach();
}

QString NamesAdmin::currentKey() const
{
    return m_directory->currentKey();
}

void NamesAdmin::save()
{
    m_directory->saveNameFields();
    m_host.showCaseLibrary();
}

void NamesAdmin::hideEvent(QHideEvent* event)
{
    m_directory->saveNameFields();
    QWidget::hideEvent(event);
}

} // namespace cs42
