// The main window: its menus, the windows it hosts, the reference documents and the quit sequence.

#include "ShellFixture.h"
#include "core/names/NameForms.h"
#include "core/names/NameStore.h"
#include "core/store/CaseStore.h"
#include "support/DamagedFiles.h"
#include "support/FileContents.h"
#include "ui/cases/CaseLibrary.h"
#include "ui/names/NamesAdmin.h"
#include "ui/shell/Location.h"
#include "ui/shell/Splash.h"
#include "ui/shell/StartUpQuestions.h"
#include "ui/worksheet/FormCS42.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace cs42;
using namespace cs42::test;

namespace {
const char* const MenuNames[] = {"menuCaseLibrary",
                                 "menuQUON42",
                                 "menuShowHide",
                                 "menuProduce",
                                 "menuHistory",
                                 "menuNames",
                                 "menuQUONGuidelines",
                                 "menuSchedule",
                                 "menuLocation",
                                 "menuDefaultForm",
                                 "menuAbout"};

QString missingText(const QString& lead)
{
    return lead + QStringLiteral(
                      " seems to be missing. Please reinstall this program.  If this situation continues, "
                      "please contact Tessaly (www.tessaly.example).");
}
} // namespace

class BackgroundTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ShellFixture> m_shell;

    // The names of the enabled items below the menu bar's Quit.
    QStringList enabledItems() const
    {
        QStringList enabled;
        for (const char* name : MenuNames) {
            if (m_shell->item(name)->isEnabled())
                enabled << QLatin1String(name);
        }
        return enabled;
    }

    QStringList allBut(std::initializer_list<const char*> excluded) const
    {
        QStringList names;
        for (const char* name : MenuNames) {
            if (std::find_if(excluded.begin(), excluded.end(), [name](const char* e) {
                    return qstrcmp(e, name) == 0;
                }) == excluded.end())
                names << QLatin1String(name);
        }
        return names;
    }

private slots:

    void init()
    {
        // Each test gets a fresh data folder and main window, starting at the splash.
        m_shell = std::make_unique<ShellFixture>();
        m_shell->background->showSplash();
    }

    void cleanup()
    {
        QVERIFY2(m_shell->interaction.allExpectationsMet(), "a scripted prompt was not shown");
        m_shell.reset();
    }

    void theWindowFitsTheScreenAndComesBackWhereItWas()
    {
        // Never larger than the screen's available area (the test screen is smaller than the
        // window's normal size).
        const QRect available = m_shell->background->screen()->availableGeometry();
        QVERIFY(available.contains(m_shell->background->geometry()));
        QVERIFY(m_shell->background->width() <= 1080);

        // Quitting keeps the place; the next start opens there, and a place off every screen is
        // not used.
        m_shell->background->setGeometry(QRect(available.topLeft() + QPoint(10, 20), QSize(400, 300)));
        m_shell->interaction.expectAsk(Interaction::Answer::Yes, QStringLiteral("Quit"));
        QVERIFY(m_shell->background->quitProgram());
        const auto kept = DataStore::windowPlacement(m_shell->session.paths);
        QVERIFY(kept);
        QCOMPARE(kept->geometry.size(), QSize(400, 300));
        Background next(m_shell->session);
        QCOMPARE(next.placement().geometry, kept->geometry);

        DataStore::saveWindowPlacement(m_shell->session.paths, {QRect(-5000, -5000, 400, 300), false});
        Background moved(m_shell->session);
        QVERIFY(available.contains(moved.placement().geometry));
    }

    void menuBarHasItsItemsInOrder()
    {
        QCOMPARE(m_shell->background->windowTitle(), QStringLiteral("2017 QN Child Support Software"));
        QStringList captions;
        // The captions with their access keys taken out.
        for (QAction* action : m_shell->background->menuBar()->actions())
            captions << QString(action->text()).remove(QLatin1Char('&'));
        QCOMPARE(captions,
                 (QStringList{QStringLiteral("Case Library"),
                              QStringLiteral("CS-42 Worksheet"),
                              QStringLiteral("Show/Hide Highlighting"),
                              QStringLiteral("Produce Worksheet"),
                              QStringLiteral("History"),
                              QStringLiteral("Names"),
                              QStringLiteral("Rule 32 (PDF)"),
                              QStringLiteral("Schedule (PDF)"),
                              QStringLiteral("Location"),
                              QStringLiteral("Default Form"),
                              QStringLiteral("About"),
                              QStringLiteral("Quit")}));
        QMenu* quit = m_shell->item("menuQuit")->menu();
        QVERIFY(quit);
        QCOMPARE(quit->actions().size(), 1);
        QCOMPARE(quit->actions().first()->objectName(), QStringLiteral("menuQuitThisProgram"));
        QCOMPARE(quit->actions().first()->text(), QStringLiteral("&Quit this Program"));
        QCOMPARE(m_shell->item("menuProduce")->shortcut(), QKeySequence(QKeySequence::Print));
        QCOMPARE(m_shell->item("menuQUONGuidelines")->shortcut(), QKeySequence(QKeySequence::HelpContents));
        QCOMPARE(quit->actions().first()->shortcut(), QKeySequence(QKeySequence::Quit));
    }

    void menuEnablingFollowsTheWindowThatLoaded()
    {
        // Splash: only Quit.
        QVERIFY(m_shell->hosted<Splash>());
        QCOMPARE(enabledItems(), QStringList());
        QVERIFY(m_shell->item("menuQuit")->isEnabled());
        QVERIFY(m_shell->item("menuQuitThisProgram")->isEnabled());

        // Case library: all but highlighting and production; white background.
        QTest::mouseClick(m_shell->control("Image1"), Qt::LeftButton);
        QVERIFY(m_shell->hosted<CaseLibrary>());
        QCOMPARE(enabledItems(), allBut({"menuShowHide", "menuProduce", "menuHistory"}));
        QCOMPARE(m_shell->background->backgroundColorIndex(), 15);

        // Worksheet: everything.
        m_shell->item("menuQUON42")->trigger();
        QVERIFY(m_shell->hosted<FormCS42>());
        QCOMPARE(enabledItems(), allBut({}));
        // The worksheet is taller than the main window: the area scrolls instead of cutting it.
        auto* area = m_shell->background->findChild<QScrollArea*>(QStringLiteral("hostArea"));
        QVERIFY(m_shell->background->hostedWindow()->height() > area->viewport()->height());
        QTRY_VERIFY(area->verticalScrollBar()->maximum() > 0);

        // Names administration and the files location leave the menu as it was.
        m_shell->item("menuNames")->trigger();
        QVERIFY(m_shell->hosted<NamesAdmin>());
        QCOMPARE(enabledItems(), allBut({}));
        m_shell->item("menuLocation")->trigger();
        QVERIFY(m_shell->hosted<Location>());
        QCOMPARE(enabledItems(), allBut({}));

        // About: the splash again, only Quit.
        m_shell->item("menuAbout")->trigger();
        QVERIFY(m_shell->hosted<Splash>());
        QCOMPARE(enabledItems(), QStringList());
    }

    void oneWindowIsHostedAtATime()
    {
        m_shell->background->showCaseLibrary();
        QPointer<QWidget> library = m_shell->background->hostedWindow();
        m_shell->item("menuLocation")->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(library.isNull());
        QCOMPARE(m_shell->background->findChildren<CaseLibrary*>().size(), 0);
        QCOMPARE(m_shell->session.currentWindowName, QStringLiteral("Location"));
    }

    // With the keyboard alone: the filter comes before the list, Enter on the list opens the
    // case, the worksheet starts on its first entry, and an arrow brings the entry into view.
    void theKeyboardGoesFromTheLibraryToTheWorksheetsFirstEntry()
    {
        m_shell->background->showCaseLibrary();
        m_shell->background->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_shell->background.get()));
        auto* list = m_shell->control<QListView>("List1");
        auto* filter = m_shell->control<QLineEdit>("txtFilter");
        filter->setFocus();
        QTest::keyClick(filter, Qt::Key_Tab);
        QCOMPARE(m_shell->background->focusWidget(), list);
        list->setCurrentIndex(list->model()->index(0, 0));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(m_shell->session.currentWindowName, QStringLiteral("FormCS42"));
        QWidget* first = m_shell->background->focusWidget();
        QVERIFY(first);
        QCOMPARE(first->objectName(), QStringLiteral("lblCourtFile"));

        auto* area = m_shell->background->findChild<QScrollArea*>();
        QVERIFY(area);
        area->resize(area->width(), 300);
        auto* entry = m_shell->control<QLabel>("lblP1");
        entry->setFocus();
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(m_shell->background->focusWidget(), Qt::Key_Down);
        QWidget* below = m_shell->background->focusWidget();
        QVERIFY(below != entry);
        const QRect shown(area->viewport()->mapToGlobal(QPoint()), area->viewport()->size());
        QVERIFY2(shown.contains(below->mapToGlobal(below->rect().center())), qPrintable(below->objectName()));
    }

    void highlightingAndProductionActOnlyOnTheWorksheet()
    {
        m_shell->background->showCaseLibrary();
        m_shell->item("menuQUON42")->trigger();
        QCOMPARE(m_shell->session.highlightColorIndex, 14);
        const auto shade = [this] {
            return m_shell->control<QLabel>("lblP1")->palette().color(QPalette::Window);
        };
        QCOMPARE(shade(), QColor(255, 255, 0));
        m_shell->item("menuShowHide")->trigger();
        QCOMPARE(m_shell->session.highlightColorIndex, 15);
        QCOMPARE(shade(), QColor(255, 255, 255)); // the worksheet repainted its labels
        m_shell->item("menuShowHide")->trigger();
        QCOMPARE(m_shell->session.highlightColorIndex, 14);
        QCOMPARE(shade(), QColor(255, 255, 0));

        // "Produce Worksheet" on the worksheet opens the produce notice; Cancel produces nothing.
        auto notice = onNextModal([](QWidget* dialog) {
            if (auto* cancel = dialog->findChild<QPushButton*>(QStringLiteral("Command2")))
                cancel->click();
        });
        m_shell->item("menuProduce")->trigger();
        QVERIFY_ANSWERED(notice);
        QCOMPARE(notice->title, QStringLiteral("Produce Form"));
        QVERIFY(!QFile::exists(m_shell->session.paths.producedFormPath()));
        QVERIFY(m_shell->hosted<FormCS42>());

        // The names window is current: both items are enabled but do nothing.
        m_shell->item("menuNames")->trigger();
        QCOMPARE(m_shell->session.currentWindowName, QStringLiteral("NamesAdmin"));
        m_shell->item("menuShowHide")->trigger();
        m_shell->item("menuProduce")->trigger();
        QCOMPARE(m_shell->session.highlightColorIndex, 14);
        QVERIFY(m_shell->hosted<NamesAdmin>());
        QVERIFY(m_shell->interaction.prompts.isEmpty());
    }

    void referenceDocuments_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("missing");
        QTest::newRow("rule 32") << QStringLiteral("menuQUONGuidelines") << QStringLiteral("QUONRule32.pdf")
                                 << QStringLiteral("Child Support Guidelines")
                                 << missingText(QStringLiteral("The Child Support Guidelines document"));
        QTest::newRow("schedule") << QStringLiteral("menuSchedule") << QStringLiteral("QUONSchedule.pdf")
                                  << QStringLiteral("Schedule of Basic Child Support Obligations")
                                  << missingText(
                                         QStringLiteral("The Schedule of Basic Child Support Obligations"));
    }

    void referenceDocuments()
    {
        QFETCH(QString, item);
        QFETCH(QString, file);
        QFETCH(QString, title);
        QFETCH(QString, missing);
        m_shell->background->showCaseLibrary();
        QAction* action = m_shell->item(item.toLatin1().constData());

        // Not installed: the message, and nothing is shown or opened.
        m_shell->interaction.expectInform(title, missing);
        action->trigger();
        QVERIFY(m_shell->interaction.shownDocuments.isEmpty());
        QVERIFY(m_shell->interaction.openedDocuments.isEmpty());

        // Installed: shown in the program's preview, under its title; Save As offers its own name.
        const QString path = QDir(m_shell->session.paths.vtrFormsDir()).filePath(file);
        QFile document(path);
        QVERIFY(document.open(QIODevice::WriteOnly));
        document.write("%PDF-1.4\n%%EOF\n");
        document.close();
        action->trigger();
        QCOMPARE(m_shell->interaction.shownDocuments.size(), 1);
        QCOMPARE(m_shell->interaction.shownDocuments[0].path, path);
        QCOMPARE(m_shell->interaction.shownDocuments[0].options.title, title);
        QCOMPARE(m_shell->interaction.shownDocuments[0].options.saveName, file);
        QVERIFY(m_shell->interaction.openedDocuments.isEmpty());

        // What the preview cannot show opens with the viewer.
        m_shell->interaction.showDocumentResult = false;
        action->trigger();
        QCOMPARE(m_shell->interaction.openedDocuments, QStringList{path});

        // No viewer: the user learns where the file is.
        m_shell->interaction.openDocumentResult = false;
        m_shell->interaction.expectInform(title);
        action->trigger();
        QVERIFY(m_shell->interaction.prompts.last().text.contains(QDir::toNativeSeparators(path)));
    }

    void quit_data()
    {
        QTest::addColumn<bool>("byClosing");
        QTest::addColumn<bool>("yes");
        QTest::newRow("menu, No") << false << false;
        QTest::newRow("menu, Yes") << false << true;
        QTest::newRow("close, No") << true << false;
        QTest::newRow("close, Yes") << true << true;
    }

    void quit()
    {
        QFETCH(bool, byClosing);
        QFETCH(bool, yes);
        m_shell->background->showCaseLibrary();
        QWidget* library = m_shell->background->hostedWindow();
        const DataPaths& paths = m_shell->session.paths;
        CaseStore(paths.casesDbPath()).addCase(QStringLiteral("Kept v. Safe"), QDate(2024, 1, 1));

        m_shell->interaction.expectAsk(yes ? Interaction::Answer::Yes : Interaction::Answer::No,
                                       QStringLiteral("Quit"),
                                       QStringLiteral("Are you sure you want to Quit this Program?"));
        if (byClosing)
            QCOMPARE(m_shell->background->close(), yes);
        else
            m_shell->item("menuQuitThisProgram")->trigger();

        QCOMPARE(m_shell->interaction.ended, yes);
        QCOMPARE(QFile::exists(paths.casesBackupPath()), yes);
        QCOMPARE(QFile::exists(paths.namesBackupPath()), yes);
        if (yes) {
            QCOMPARE(CaseStore(paths.casesBackupPath()).caseCount(), 2);
        } else {
            // No: every window as it was.
            QVERIFY(m_shell->background->isVisible());
            QCOMPARE(m_shell->background->hostedWindow(), library);
        }
    }

    void aSecondQuitReplacesTheBackups()
    {
        const DataPaths& paths = m_shell->session.paths;
        for (int round = 1; round <= 2; ++round) {
            CaseStore(paths.casesDbPath()).addCase(QStringLiteral("Round %1").arg(round), QDate(2024, 1, 1));
            const NameParts parts{QStringLiteral("Round"), {}, QStringLiteral("Name %1").arg(round), {}, {}};
            const NameStore names(paths.namesDbPath());
            const QString key = names.addName(*NameForms::compose(parts), parts);
            QVERIFY(!key.isEmpty());
            m_shell->interaction.expectAsk(Interaction::Answer::Yes, QStringLiteral("Quit"));
            m_shell->item("menuQuitThisProgram")->trigger();
            QCOMPARE(CaseStore(paths.casesBackupPath()).caseCount(), round);
            // The names backup is replaced as well: it holds the name added in this round.
            QVERIFY(NameStore(paths.namesBackupPath()).keyExists(key));
            QCOMPARE(NameStore(paths.namesBackupPath()).count(), names.count());
        }
    }

    // A damaged live file is not backed up: the good backup stays, the user hears it once at quit,
    // and the program still ends.
    void quitWithADamagedCasesFileKeepsTheGoodBackupAndSaysSo()
    {
        const DataPaths& paths = m_shell->session.paths;
        CaseStore(paths.casesDbPath()).addCase(QStringLiteral("Good"), QDate(2024, 1, 1));
        m_shell->interaction.expectAsk(Interaction::Answer::Yes, QStringLiteral("Quit"));
        m_shell->item("menuQuitThisProgram")->trigger();
        const QByteArray goodBackup = contents(paths.casesBackupPath());
        QVERIFY(!goodBackup.isEmpty());

        QVERIFY(test::damageCaseIdIndex(paths.casesDbPath()));
        m_shell->interaction.expectAsk(Interaction::Answer::Yes, QStringLiteral("Quit"));
        m_shell->interaction.expectInform(QStringLiteral("Backup"));
        m_shell->item("menuQuitThisProgram")->trigger();
        QVERIFY(m_shell->interaction.ended);
        QCOMPARE(contents(paths.casesBackupPath()), goodBackup);
        const QString text = m_shell->interaction.prompts.last().text;
        QVERIFY2(text.contains(QStringLiteral("is damaged")) &&
                     text.contains(QDir::toNativeSeparators(paths.casesBackupPath()) +
                                   QStringLiteral(" is sound")),
                 qPrintable(text));
        QVERIFY2(!text.contains(QStringLiteral("Names database")), "the names were backed up");
    }

    void unreadableSettingsAreTheUsersCall_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No ends the program") << false;
        QTest::newRow("Yes starts with new settings") << true;
    }

    void unreadableSettingsAreTheUsersCall()
    {
        QFETCH(bool, yes);
        QTemporaryDir work;
        test::ScriptedInteraction interaction;
        Session session;
        session.interaction = &interaction;
        DataStore::startUp(work.path());
        const DataPaths defaults = DataPaths::forWorkingDirectory(work.path());
        QFile::remove(defaults.casesDbPath());
        QVERIFY(writeFile(defaults.settingsDbPath(), QByteArray("not settings").repeated(300)));

        StartUpReport report;
        session.paths = DataStore::startUp(work.path(), &report);
        interaction.expectAsk(yes ? Interaction::Answer::Yes : Interaction::Answer::No,
                              QStringLiteral("Program Settings"),
                              unreadableSettingsQuestion(session.paths, report.settingsProblem));
        QCOMPARE(settleStartUp(session, report), yes);
        QVERIFY(interaction.allExpectationsMet());
        QVERIFY(
            interaction.prompts.last().text.contains(QDir::toNativeSeparators(defaults.settingsDbPath())));
        QCOMPARE(QFile::exists(defaults.casesDbPath()), yes);
        QCOMPARE(QFile::exists(DataStore::damagedSettingsPath(defaults)), yes);
    }

    void quitStoresANameStillBeingEdited()
    {
        // A street typed into the names window and not yet left when Quit is chosen.
        m_shell->background->showCaseLibrary();
        m_shell->item("menuNames")->trigger();
        QVERIFY(m_shell->hosted<NamesAdmin>());
        auto* street = m_shell->control<QLineEdit>("Text5");
        QVERIFY(street);
        street->selectAll();
        QTest::keyClicks(street, QStringLiteral("1 Typed Lane"));

        m_shell->interaction.expectAsk(Interaction::Answer::Yes, QStringLiteral("Quit"));
        m_shell->item("menuQuitThisProgram")->trigger();
        QVERIFY(m_shell->interaction.ended);
        const DataPaths& paths = m_shell->session.paths;
        for (const QString& file : {paths.namesDbPath(), paths.namesBackupPath()}) {
            const auto seed = NameStore(file).load(NameRecord::seedKey());
            QVERIFY2(seed, qPrintable(file));
            QCOMPARE(seed->value(QStringLiteral("street")), QStringLiteral("1 Typed Lane"));
        }
    }
};

QTEST_MAIN(BackgroundTest)
#include "BackgroundTest.moc"
