#include "ui/cases/CaseLibrary.h"

#include "core/startup/DataStore.h"
#include "core/store/CaseStore.h"
#include "core/store/ChangeWatch.h"
#include "core/store/ProgramSettings.h"
#include "ui/cases/CaseListModel.h"
#include "ui/cases/GetShort.h"
#include "ui/common/Interaction.h"
#include "ui/common/ListBox.h"
#include "ui/common/Session.h"
#include "ui/common/WindowHost.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace cs42 {

namespace {
constexpr int CaseNameMaxLength = 40;
const QString NoCasesTitle = QStringLiteral("No Cases have been created!");

QString casePromptTail()
{
    return QStringLiteral(
        "or perhaps the name of the plaintiff and defendant (ie., Doe, John vs. Jane).  The maximum "
        "number of characters allowed in this field is 40.");
}

QString addPrompt()
{
    return QStringLiteral(
               "Enter a Name for this new Case in the space below.  You may enter the name of your "
               "client, ") +
           casePromptTail();
}

QString renamePrompt()
{
    return QStringLiteral(
               "Enter a new Name for this new Case in the space below.  You may enter the name of your "
               "client, ") +
           casePromptTail();
}

// The form edition of a case about to be added. A default the settings name but this program does
// not know is said, never applied silently.
QString newCaseEdition(Session& session, QWidget* parent)
{
    QString problem;
    const QString edition = DataStore::defaultEdition(session.paths, &problem);
    if (!problem.isEmpty())
        session.interaction->inform(
            parent, QStringLiteral("Default Form"), problem, Interaction::Icon::Warning);
    return edition;
}

// The small picture of the getting-started group: a case folder with a plus.
QPixmap gettingStartedPicture()
{
    QPixmap pixmap(64, 56);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath folder;
    folder.moveTo(4, 14);
    folder.lineTo(22, 14);
    folder.lineTo(27, 8);
    folder.lineTo(50, 8);
    folder.lineTo(50, 48);
    folder.lineTo(4, 48);
    folder.closeSubpath();
    painter.setPen(QPen(QColor(150, 110, 30), 1.5));
    painter.setBrush(QColor(240, 200, 90));
    painter.drawPath(folder);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 130, 60));
    painter.drawEllipse(QRectF(36, 30, 24, 24));
    painter.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(48, 35), QPointF(48, 49));
    painter.drawLine(QPointF(41, 42), QPointF(55, 42));
    painter.end();
    return pixmap;
}
} // namespace

QString CaseLibrary::introductionText()
{
    static const QString text = [] {
        const QStringList parts = {
            QStringLiteral(
                "Child Support in the State of Alabama is governed by Rule 32 of the Alabama Rules of "
                "Judicial Administration, "),
            QStringLiteral(
                "which was amended effective May 1, 2022, with a new Schedule of Basic Child Support "
                "Obligations and form CS-42 (Rev. 5/2022), and effective June 1, 2023, with form CS-42-S "
                "for parents who share physical custody equally. "),
            QStringLiteral(
                "This program prepares each of these forms, and form CS-42 (Rev. 1/09) for actions filed "
                "before May 1, 2022."),
            QStringLiteral(
                "The Rule 32 Guidelines for child support are for use in any action to establish or "
                "modify child support, "),
            QStringLiteral(
                "whether temporary or permanent. There shall be a rebuttable presumption, in any judicial "
                "or administrative proceeding for "),
            QStringLiteral(
                "the establishment or modification of child support, that the amount of the award that "
                "would result from the application of these guidelines is the correct amount of child "
                "support to be awarded."),
            QStringLiteral("This software program, produced by Tessaly, was designed to enhance "),
            QStringLiteral(
                "the use of the 'fillable' legal forms by providing the ability to Enter, Save and "
                "Retrieve case information.  Essentially, "),
            QStringLiteral(
                "this software program adds a DATABASE to this process, which has the ability to save "
                "the "),
            QStringLiteral(
                "case information for future use. Additionally, this software program performs whatever "
                "calculations are needed to complete the form. "),
            QStringLiteral(
                "Using this software program will reduce administrative time and effort, resulting in "),
            QStringLiteral("greater productivity for your Firm."),
        };
        const QString paragraphBreak = QStringLiteral("\r\n\r\n");
        QString joined;
        for (int i = 0; i < parts.size(); ++i) {
            joined += parts.at(i);
            if (i == 2 || i == 5 || i == 11)
                joined += paragraphBreak;
        }
        return joined;
    }();
    return text;
}

CaseLibrary::CaseLibrary(Session& session, WindowHost& host, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_host(host)
{
    setObjectName(QStringLiteral("CaseLibrary"));
    m_session.currentWindowName = QStringLiteral("CaseLibrary");
    m_session.utilitiesAllowed = true;
    m_host.setMenuState(MenuState::LibraryMenus);
    m_host.setBackgroundColorIndex(15);
    resize(ProgramSettings::twipsToPixels(ProgramSettings::ChildWindowWidth),
           ProgramSettings::twipsToPixels(ProgramSettings::ChildWindowHeight));
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);

    auto* welcome = new QLabel(ProgramSettings::LongTitle, this);
    welcome->setObjectName(QStringLiteral("lblWelcome1"));
    welcome->setAlignment(Qt::AlignCenter);
    QFont welcomeFont = welcome->font();
    welcomeFont.setPointSize(18);
    welcomeFont.setBold(true);
    welcome->setFont(welcomeFont);
    welcome->setStyleSheet(QStringLiteral("color: #12306a;"));

    auto* heading = new QLabel(QStringLiteral("Case Library"), this);
    heading->setObjectName(QStringLiteral("Label1"));
    QFont headingFont = heading->font();
    headingFont.setPointSize(13);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    heading->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    // Narrows the list as the user types, anywhere in the case name. Made before
    // the list, which it stands above, so that Tab reaches it first.
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("txtFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Find a case"));
    m_filter->setClearButtonEnabled(true);
    m_filter->setAccessibleName(QStringLiteral("Find a case by its name"));

    m_model = new CaseListModel(this);
    m_list = new ListBox(m_model, this);
    // The key stands beyond the padded name, out of sight, as in a plain list box.
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont fixed(QStringLiteral("Liberation Mono"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPointSize(10);
    m_list->setFont(fixed);
    m_list->setMinimumWidth(470);

    auto makeButton = [this](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->setMinimumHeight(30);
        // Enter presses the button that has the focus, as Space does.
        button->setAutoDefault(true);
        return button;
    };
    QPushButton* add = makeButton("cmdAddNewCase", QStringLiteral("&ADD NEW CASE"));
    QPushButton* select = makeButton("cmdSelectCase", QStringLiteral("&SELECT CASE"));
    QPushButton* rename = makeButton("cmdRenameCase", QStringLiteral("&Rename"));
    QPushButton* remove = makeButton("cmdDeleteCase", QStringLiteral("&Delete"));

    auto* introduction = new QLabel(introductionText(), this);
    introduction->setObjectName(QStringLiteral("lblCaseLibraryText"));
    introduction->setWordWrap(true);
    introduction->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_shape = new QFrame(this);
    m_shape->setObjectName(QStringLiteral("Shape1"));
    m_shape->setFrameShape(QFrame::Box);
    m_shape->setStyleSheet(
        QStringLiteral("QFrame#Shape1 { border: 2px solid #1a5a2a; background: #f3fbf4; }"));
    m_image = new QLabel(m_shape);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setPixmap(gettingStartedPicture());
    m_image->setAlignment(Qt::AlignTop);
    m_message = new QLabel(
        QStringLiteral("To get started, click on the ADD NEW CASE button.  You will be prompted to "
                       "name your new case.  Next, click once on the button labeled SELECT CASE.  "
                       "Doing so will display the form and you may begin entering data relative "
                       "the selected case."),
        m_shape);
    m_message->setObjectName(QStringLiteral("lblMessage1"));
    m_message->setWordWrap(true);
    QFont messageFont = m_message->font();
    messageFont.setBold(true);
    m_message->setFont(messageFont);
    auto* shapeLayout = new QHBoxLayout(m_shape);
    shapeLayout->setContentsMargins(10, 10, 10, 10);
    shapeLayout->setSpacing(12);
    shapeLayout->addWidget(m_image, 0, Qt::AlignTop);
    shapeLayout->addWidget(m_message, 1);

    auto* buttons = new QGridLayout;
    buttons->setSpacing(8);
    buttons->addWidget(add, 0, 0);
    buttons->addWidget(select, 0, 1);
    buttons->addWidget(rename, 1, 0);
    buttons->addWidget(remove, 1, 1);

    auto* left = new QVBoxLayout;
    left->setSpacing(8);
    left->addWidget(heading);
    left->addWidget(m_filter);
    left->addWidget(m_list, 1);
    left->addLayout(buttons);

    auto* right = new QVBoxLayout;
    right->addWidget(introduction);
    right->addStretch(1);
    right->addWidget(m_shape);

    auto* columns = new QHBoxLayout;
    columns->setSpacing(24);
    columns->addLayout(left, 10);
    columns->addLayout(right, 11);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 14, 20, 16);
    layout->setSpacing(12);
    layout->addWidget(welcome);
    layout->addLayout(columns, 1);

    // Arrow keys move through the cases as soon as the library opens.
    setFocusProxy(m_list);

    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, &CaseLibrary::caseSelected);
    connect(m_list, &QListView::doubleClicked, this, &CaseLibrary::selectCase);
    connect(m_list, &ListBox::entryChosen, this, &CaseLibrary::selectCase);
    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_model->setFilter(text);
        selectCurrentRow();
    });
    // Enter in the filter opens the case it found; Down goes to the list.
    connect(m_filter, &QLineEdit::returnPressed, this, [this] {
        if (m_model->rowCount() > 0)
            selectCase();
    });
    connect(add, &QPushButton::clicked, this, &CaseLibrary::addNewCase);
    connect(select, &QPushButton::clicked, this, &CaseLibrary::selectCase);
    connect(rename, &QPushButton::clicked, this, &CaseLibrary::renameCase);
    connect(remove, &QPushButton::clicked, this, &CaseLibrary::deleteCase);

    // A files location saved meanwhile (the Location window) takes effect here.
    DataStore::loadSettings(m_session.paths);
    rebuildList();

    m_refreshRetry.setSingleShot(true);
    m_refreshRetry.setInterval(500);
    connect(&m_refreshRetry, &QTimer::timeout, this, &CaseLibrary::refreshList);
    m_watch = new ChangeWatch(m_session.paths.casesDbPath(), this);
    connect(m_watch, &ChangeWatch::casesChanged, this, &CaseLibrary::refreshList);
}

bool CaseLibrary::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && m_watch)
        m_watch->checkNow();
    return QWidget::event(event);
}

void CaseLibrary::refreshList()
{
    if (m_buildingList || m_cases.isEmpty())
        return;
    if (QApplication::activeModalWidget() != nullptr) {
        m_refreshRetry.start();
        return;
    }
    CaseStoreStatus status = CaseStoreStatus::Ok;
    const QList<CaseListItem> cases = CaseStore(m_session.paths.casesDbPath()).listCases(&status);
    if (status != CaseStoreStatus::Ok) {
        m_refreshRetry.start();
        return;
    }
    if (cases == m_cases || cases.isEmpty())
        return;
    m_cases = cases;
    const bool gettingStarted = cases.size() < 2;
    m_shape->setVisible(gettingStarted);
    m_image->setVisible(gettingStarted);
    m_message->setVisible(gettingStarted);
    m_buildingList = true;
    m_model->setCases(cases);
    m_buildingList = false;
    selectCurrentRow();
}

void CaseLibrary::rebuildList()
{
    m_buildingList = true;
    m_model->clear();
    m_list->hide();

    QString problem;
    const bool usable = DataStore::setDataPaths(m_session.paths, &problem) || !m_session.paths.onServer();
    CaseStore store(m_session.paths.casesDbPath());
    CaseStoreStatus status = store.open();
    // A server table that would change what is stored (made by hand) cannot be used.
    if (status == CaseStoreStatus::Ok && !usable) {
        store = CaseStore(m_session.paths.casesDbPath(), problem);
        status = CaseStoreStatus::OpenFailed;
    }
    QList<CaseListItem> cases;
    if (status == CaseStoreStatus::Ok) {
        store.repairNulls();
        cases = store.listCases(&status);
    }
    // The sample case starts an empty library, never one that could not be read.
    if (status == CaseStoreStatus::Ok && cases.isEmpty()) {
        store.addSampleCase(m_session.today(), newCaseEdition(m_session, this));
        cases = store.listCases(&status);
    }
    if (status != CaseStoreStatus::Ok) {
        m_buildingList = false;
        m_list->show();
        reportStoreFailure(store, status);
        return;
    }
    const bool gettingStarted = cases.size() < 2;
    m_shape->setVisible(gettingStarted);
    m_image->setVisible(gettingStarted);
    m_message->setVisible(gettingStarted);

    m_cases = cases;
    m_model->setCases(cases);
    m_buildingList = false;
    m_list->show();
    selectCurrentRow();
}

void CaseLibrary::selectCurrentRow()
{
    const int count = m_model->rowCount();
    if (count == 0)
        return;
    int row = 0;
    if (!m_session.currentCaseId.isEmpty()) {
        row = m_model->rowOfKey(m_session.currentCaseId);
        if (row < 0) // the current case is gone or filtered out: the last entry shown is selected
            row = m_model->filter().trimmed().isEmpty() ? count - 1 : 0;
    }
    const QModelIndex index = m_model->index(row);
    m_buildingList = true;
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_buildingList = false;
    m_list->scrollTo(index);
    caseSelected();
}

bool CaseLibrary::confirmNameInUse(const QString& title, const QString& name, const QString& exceptKey)
{
    if (!m_model->hasName(name, exceptKey))
        return true;
    return m_session.interaction->ask(this, title, nameInUseQuestion(name), Interaction::Icon::Warning) ==
           Interaction::Answer::Yes;
}

QString CaseLibrary::nameInUseQuestion(const QString& name)
{
    return QStringLiteral("A case named '") + name.trimmed() +
           QStringLiteral("' is already in the Case Library.  Two cases with one name are easily confused.  "
                          "Use this name anyway?");
}

void CaseLibrary::caseSelected()
{
    if (m_buildingList || m_model->rowCount() == 0)
        return;
    const int row = m_list->currentIndex().row();
    if (row < 0)
        return;
    m_session.currentCaseId = m_model->keyAt(row);
    m_session.currentCaseName = m_model->nameAt(row);
    DataStore::ensureCasesDatabase(m_session.paths);
    CaseStoreStatus status = CaseStoreStatus::Ok;
    const CaseStore store(m_session.paths.casesDbPath());
    store.findCurrentCase(m_session.currentCaseId, &status);
    if (status != CaseStoreStatus::Ok && status != CaseStoreStatus::CaseRemoved)
        reportStoreFailure(store, status);
}

void CaseLibrary::addNewCase()
{
    const std::optional<QString> name =
        GetShort::getText(this, QStringLiteral("New Case Name"), addPrompt(), QString(), CaseNameMaxLength);
    if (!name || name->trimmed().isEmpty())
        return;
    if (!confirmNameInUse(QStringLiteral("New Case Name"), *name))
        return;
    const CaseStore store(m_session.paths.casesDbPath());
    const QString key = store.addCase(*name, m_session.today(), newCaseEdition(m_session, this));
    if (key.isEmpty()) {
        if (const CaseStoreStatus status = store.open(); status != CaseStoreStatus::Ok) {
            reportStoreFailure(store, status);
            return;
        }
        // The file opens but took no row (read-only, disk full): say so rather than show nothing.
        m_session.interaction->inform(
            this,
            QStringLiteral("New Case Name"),
            QStringLiteral("The new Case could not be added to the CASES database."),
            Interaction::Icon::Warning);
        return;
    }
    DataStore::ensureCasesDatabase(m_session.paths);
    m_session.currentCaseId = key;
    rebuildList();
}

void CaseLibrary::selectCase()
{
    if (m_model->caseCount() == 0) {
        showNoCasesMessage(QStringLiteral("Select"));
        return;
    }
    // The filter shows no case to open.
    if (m_model->rowCount() == 0)
        return;
    m_host.showWorksheet();
}

void CaseLibrary::renameCase()
{
    if (m_model->rowCount() == 0) {
        showNoCasesMessage(QStringLiteral("Rename"));
        return;
    }
    const QString title = QStringLiteral("Change Case Name");
    const std::optional<QString> name =
        GetShort::getText(this, title, renamePrompt(), m_session.currentCaseName, CaseNameMaxLength);
    if (!name || name->trimmed().isEmpty() || *name == m_session.currentCaseName)
        return;
    if (!confirmNameInUse(title, *name, m_session.currentCaseId))
        return;
    const CaseStore store(m_session.paths.casesDbPath());
    const CaseStoreStatus status = store.renameCase(m_session.currentCaseId, *name);
    if (status != CaseStoreStatus::Ok && status != CaseStoreStatus::CaseRemoved) {
        reportStoreFailure(store, status);
        return;
    }
    if (status == CaseStoreStatus::CaseRemoved)
        reportCaseRemoved(title);
    rebuildList();
}

void CaseLibrary::deleteCase()
{
    if (m_session.currentCaseId.isEmpty()) {
        showNoCasesMessage(QStringLiteral("Delete"));
        return;
    }
    const QString title = QStringLiteral("Delete Case");
    if (m_session.interaction->ask(this,
                                   title,
                                   QStringLiteral("Are you sure you want to delete the case named '") +
                                       m_session.currentCaseName + QStringLiteral("'?")) !=
        Interaction::Answer::Yes)
        return;
    const CaseStore store(m_session.paths.casesDbPath());
    const CaseStoreStatus status = store.deleteCase(m_session.currentCaseId);
    if (status != CaseStoreStatus::Ok && status != CaseStoreStatus::CaseRemoved) {
        reportStoreFailure(store, status);
        return;
    }
    if (status == CaseStoreStatus::CaseRemoved)
        reportCaseRemoved(title);
    m_session.currentCaseId.clear();
    rebuildList();
}

void CaseLibrary::reportStoreFailure(const CaseStore& store, CaseStoreStatus status)
{
    const CaseStoreMessage message = store.messageFor(status);
    m_session.interaction->inform(this,
                                  message.title,
                                  message.text,
                                  message.endsProgram ? Interaction::Icon::Critical
                                                      : Interaction::Icon::Warning);
    // Only a database that cannot be opened at all ends the program; a busy one can be waited out.
    if (message.endsProgram)
        m_session.interaction->endProgram(1);
}

void CaseLibrary::reportCaseRemoved(const QString& title)
{
    m_session.interaction->inform(
        this,
        title,
        QStringLiteral("The case named '") + m_session.currentCaseName +
            QStringLiteral("' no longer exists (it may have been deleted at another "
                           "workstation).  Nothing was changed."),
        Interaction::Icon::Information);
}

void CaseLibrary::showNoCasesMessage(const QString& action)
{
    m_session.interaction->inform(
        this,
        NoCasesTitle,
        QStringLiteral("Before you can ") + action +
            QStringLiteral(", you must add a new Case first!  Click on the 'Add New Case' "
                           "button below."));
}

} // namespace cs42
