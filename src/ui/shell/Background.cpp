#include "ui/shell/Background.h"

#include "core/startup/DataStore.h"
#include "core/store/Backup.h"
#include "core/store/ProgramSettings.h"
#include "ui/cases/CaseLibrary.h"
#include "ui/common/Interaction.h"
#include "ui/common/Palette.h"
#include "ui/common/Session.h"
#include "ui/names/NamesAdmin.h"
#include "ui/produce/PdfPreview.h"
#include "ui/shell/DefaultForm.h"
#include "ui/shell/Location.h"
#include "ui/shell/Splash.h"
#include "ui/worksheet/FormCS42.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>

namespace cs42 {

namespace {
QString missingDocumentText(const QString& lead)
{
    return lead +
           QStringLiteral(" seems to be missing. Please reinstall this program.  If this situation "
                          "continues, please contact ") +
           ProgramSettings::makerContact() + QLatin1Char('.');
}
} // namespace

Background::Background(Session& session, QWidget* parent)
    : QMainWindow(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("Background"));
    setWindowTitle(ProgramSettings::ShortTitle);
    // The normal state, 500 twips wider and 1000 twips taller than a hosted window.
    setWindowState(Qt::WindowNoState);
    // Where the window stood when the program last quit here, when that still fits a screen;
    // never larger than the screen.
    const QSize normal(ProgramSettings::twipsToPixels(ProgramSettings::ChildWindowWidth + 500),
                       ProgramSettings::twipsToPixels(ProgramSettings::ChildWindowHeight + 1000));
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        screens.prepend(primary->availableGeometry());
    m_placement = WindowPlacement::choose(DataStore::windowPlacement(m_session.paths), normal, screens);
    setGeometry(m_placement.geometry);

    m_area = new QScrollArea(this);
    m_area->setObjectName(QStringLiteral("hostArea"));
    // Hosted windows keep their own size at 0, 0; the area scrolls when one is larger (the
    // worksheet is far taller than the screen).
    m_area->setWidgetResizable(false);
    // A hosted window narrower than the main window stands in its middle.
    m_area->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_area->setFrameShape(QFrame::NoFrame);
    setCentralWidget(m_area);

    buildMenus();
}

void Background::showAsPlaced()
{
    if (m_placement.maximized)
        showMaximized();
    else
        show();
}

void Background::applyProgramFont(QApplication& app)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(9);
    app.setFont(font);
}

void Background::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto addItem = [this, bar](const char* name, const QString& caption, auto slot) {
        QAction* action = bar->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, slot);
        m_items.append(action);
        return action;
    };
    // Each caption has an access key (Alt and the underlined letter) and the usual items their
    // shortcuts. The letters differ from those of the case library's buttons (A, S, R, D), which
    // are shown in the window below at the same time.
    addItem("menuCaseLibrary", QStringLiteral("&Case Library"), &Background::showCaseLibrary);
    addItem("menuQUON42", QStringLiteral("CS-42 &Worksheet"), &Background::showWorksheet);
    m_showHide =
        addItem("menuShowHide", QStringLiteral("Show/&Hide Highlighting"), &Background::toggleHighlighting);
    m_produce = addItem("menuProduce", QStringLiteral("&Produce Worksheet"), &Background::produceWorksheet);
    m_produce->setShortcut(QKeySequence::Print);
    m_history = addItem("menuHistory", QStringLiteral("Histor&y"), &Background::showHistory);
    addItem("menuNames", QStringLiteral("&Names"), &Background::showNamesAdmin);
    QAction* rule32 = addItem("menuQUONGuidelines", QStringLiteral("Rule 3&2 (PDF)"), [this] {
        openReferenceDocument(m_session.paths.rule32Path(),
                              QStringLiteral("Child Support Guidelines"),
                              missingDocumentText(QStringLiteral("The Child Support Guidelines document")));
    });
    rule32->setShortcut(QKeySequence::HelpContents);
    addItem("menuSchedule", QStringLiteral("Sch&edule (PDF)"), [this] {
        openReferenceDocument(
            m_session.paths.schedulePdfPath(),
            QStringLiteral("Schedule of Basic Child Support Obligations"),
            missingDocumentText(QStringLiteral("The Schedule of Basic Child Support Obligations")));
    });
    addItem("menuLocation", QStringLiteral("L&ocation"), &Background::showLocation);
    addItem(
        "menuDefaultForm", QStringLiteral("Default &Form"), [this] { DefaultForm::choose(m_session, this); });
    addItem("menuAbout", QStringLiteral("A&bout"), &Background::showSplash);

    m_quitMenu = bar->addMenu(QStringLiteral("&Quit"));
    m_quitMenu->setObjectName(QStringLiteral("menuQuit"));
    m_quitMenu->menuAction()->setObjectName(QStringLiteral("menuQuit"));
    QAction* quitItem = m_quitMenu->addAction(QStringLiteral("&Quit this Program"));
    quitItem->setShortcut(QKeySequence::Quit);
    // The shortcut works wherever the focus is in the main window, not only in the open menu.
    addAction(quitItem);
    quitItem->setObjectName(QStringLiteral("menuQuitThisProgram"));
    connect(quitItem, &QAction::triggered, this, [this] { quitProgram(); });
}

QAction* Background::menuItem(const QString& name) const
{
    for (QAction* action : m_items) {
        if (action->objectName() == name)
            return action;
    }
    if (m_quitMenu->menuAction()->objectName() == name)
        return m_quitMenu->menuAction();
    const auto quitItems = m_quitMenu->actions();
    for (QAction* action : quitItems) {
        if (action->objectName() == name)
            return action;
    }
    return nullptr;
}

void Background::closeWindows()
{
    if (!m_hosted)
        return;
    QWidget* window = m_area->takeWidget();
    if (window) {
        window->hide();
        // The window may be the one whose handler asked for this: delete it once that handler
        // has returned.
        window->deleteLater();
    }
    m_hosted = nullptr;
}

void Background::host(QWidget* window)
{
    m_area->setWidget(window);
    m_hosted = window;
    window->show();
    window->setFocus();
}

void Background::showSplash()
{
    closeWindows();
    host(new Splash(m_session, *this));
}

void Background::showCaseLibrary()
{
    closeWindows();
    host(new CaseLibrary(m_session, *this));
}

void Background::showWorksheet()
{
    closeWindows();
    auto* worksheet = new FormCS42(m_session, *this);
    host(worksheet);
    // The keyboard starts on the form's first entry, not on the form.
    worksheet->focusFirstEntry();
}

void Background::showNamesAdmin()
{
    closeWindows();
    host(new NamesAdmin(m_session, *this));
}

void Background::showLocation()
{
    closeWindows();
    host(new Location(m_session, *this));
}

void Background::setMenuState(MenuState state)
{
    for (QAction* action : std::as_const(m_items)) {
        bool enabled = true;
        if (state == MenuState::QuitOnly)
            enabled = false;
        else if (state == MenuState::LibraryMenus)
            enabled = action != m_showHide && action != m_produce && action != m_history;
        action->setEnabled(enabled);
    }
    m_quitMenu->menuAction()->setEnabled(true);
}

void Background::setBackgroundColorIndex(int index)
{
    m_backgroundColorIndex = index;
    QPalette palette = m_area->viewport()->palette();
    palette.setColor(QPalette::Window, paletteColor(index));
    m_area->viewport()->setPalette(palette);
    m_area->viewport()->setAutoFillBackground(true);
}

void Background::toggleHighlighting()
{
    if (m_session.currentWindowName != QLatin1String("FormCS42"))
        return;
    auto* worksheet = qobject_cast<FormCS42*>(m_hosted.data());
    if (!worksheet)
        return;
    m_session.highlightColorIndex = m_session.highlightColorIndex == 15 ? 14 : 15;
    worksheet->ChangeFieldColors();
}

void Background::showHistory()
{
    if (m_session.currentWindowName != QLatin1String("FormCS42"))
        return;
    if (auto* worksheet = qobject_cast<FormCS42*>(m_hosted.data()))
        worksheet->ShowHistory();
}

void Background::produceWorksheet()
{
    if (m_session.currentWindowName != QLatin1String("FormCS42"))
        return;
    if (auto* worksheet = qobject_cast<FormCS42*>(m_hosted.data()))
        worksheet->ProduceForm();
}

void Background::openReferenceDocument(const QString& path, const QString& title, const QString& missingText)
{
    Interaction& interaction = *m_session.interaction;
    if (!QFileInfo::exists(path)) {
        interaction.inform(this, title, missingText);
        return;
    }
    // The program's preview, or the viewer of the desktop when the preview cannot show the file.
    // Without a desktop (or a viewer for PDF documents) nothing opens: say where the file is, so
    // the user can open it by hand.
    if (interaction.showDocument(this, path, referenceDocumentPreview(m_session.paths, path, title)))
        return;
    if (!interaction.openDocument(path)) {
        interaction.inform(
            this,
            title,
            QStringLiteral("No program on this computer could open the document.  It is the file") +
                QStringLiteral("\r\n\r\n") + QDir::toNativeSeparators(path));
    }
}

bool Background::quitProgram()
{
    Interaction& interaction = *m_session.interaction;
    if (interaction.ask(
            this, QStringLiteral("Quit"), QStringLiteral("Are you sure you want to Quit this Program?")) !=
        Interaction::Answer::Yes)
        return false;
    // The names windows store a box when it is left, and the program ends without that happening:
    // close the hosted window first, so that an edit still in a box is stored (and backed up).
    closeWindows();
    DataStore::saveWindowPlacement(m_session.paths,
                                   {isMaximized() ? normalGeometry() : geometry(), isMaximized()});
    // Exit backups: a failed or refused copy leaves the backups as they were; the user hears of it
    // once, and the program still ends.
    QStringList problems;
    for (const auto& [set, outcome] : Backup::writeBackups(m_session.paths)) {
        const QString report = Backup::quitReport(set, outcome);
        if (!report.isEmpty())
            problems << report;
    }
    if (!problems.isEmpty())
        interaction.inform(this,
                           QStringLiteral("Backup"),
                           problems.join(QStringLiteral("\r\n\r\n")),
                           Interaction::Icon::Warning);
    interaction.endProgram(0);
    return true;
}

void Background::closeEvent(QCloseEvent* event)
{
    if (quitProgram())
        event->accept();
    else
        event->ignore();
}

} // namespace cs42
