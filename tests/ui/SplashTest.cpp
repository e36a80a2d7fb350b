// The splash window and File Utilities: the way into the case library and the restores.

#include "ui/shell/Splash.h"

#include "ShellFixture.h"
#include "core/store/Backup.h"
#include "core/store/CaseStore.h"
#include "support/FileContents.h"
#include "ui/cases/CaseLibrary.h"
#include "ui/shell/HiddenUtilities.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

#include <functional>

using namespace cs42;
using namespace cs42::test;

class SplashTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ShellFixture> m_shell;

    Splash* splash() const { return m_shell->hosted<Splash>(); }

    // Presses Esc on the splash; `steps` acts on File Utilities while it is open (nullptr when it
    // never opened). A dialog still open afterwards is closed, so a failing test cannot hang.
    void pressEscape(const std::function<void(QDialog*)>& steps, bool throughTheWindow = false)
    {
        auto run = onNextModal([&](QWidget* dialog) { steps(qobject_cast<QDialog*>(dialog)); });
        if (throughTheWindow) // as a user presses it: to whatever has the focus
            QTest::keyClick(m_shell->background->windowHandle(), Qt::Key_Escape);
        else
            QTest::keyClick(splash(), Qt::Key_Escape);
        // File Utilities runs inside the key press; none open by now means none opened.
        if (!run->ran) {
            run->disarm();
            steps(nullptr);
        }
    }

    static void click(QDialog* dialog, const char* name)
    {
        auto* button = dialog->findChild<QPushButton*>(QLatin1String(name));
        QVERIFY2(button, name);
        button->click();
    }

private slots:

    void init()
    {
        // A first start: fresh data folder, the splash in the main window.
        m_shell = std::make_unique<ShellFixture>();
        m_shell->background->showSplash();
        QVERIFY(splash());
    }

    void cleanup()
    {
        QVERIFY2(m_shell->interaction.allExpectationsMet(), "a scripted prompt was not shown");
        m_shell.reset();
    }

    void splashShowsTheTitles()
    {
        QCOMPARE(m_shell->control<QLabel>("lblTitle1")->text(),
                 QStringLiteral("2017 Quon Child Support Software"));
        QCOMPARE(
            m_shell->control<QLabel>("lblTitle2")->text(),
            QStringLiteral("Forms CS-42 (Rev. 1/09), CS-42 (Rev. 5/2022) and CS-42-S (Effective 6/2023)"));
        QCOMPARE(m_shell->control<QLabel>("lblTitle3")->text(), QStringLiteral("VTR Version 2017.09.20"));
        QCOMPARE(m_shell->control<QLabel>("Label1")->text(),
                 QStringLiteral("CLICK ON THE PICTURE ABOVE TO CONTINUE"));
        QVERIFY(!m_shell->control<QLabel>("Image1")->pixmap().isNull());
    }

    void aClickOnThePictureOrAnyTitleOpensTheLibrary_data()
    {
        QTest::addColumn<QString>("control");
        for (const char* name : {"Image1", "lblTitle1", "lblTitle2", "lblTitle3", "Label1"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void aClickOnThePictureOrAnyTitleOpensTheLibrary()
    {
        QFETCH(QString, control);
        QTest::mouseClick(m_shell->control(control.toLatin1().constData()), Qt::LeftButton);
        QVERIFY(m_shell->hosted<CaseLibrary>());
        QVERIFY(m_shell->item("menuCaseLibrary")->isEnabled());
    }

    void escapeAtStartOpensFileUtilitiesAndContinueOpensTheLibrary()
    {
        QVERIFY(QTest::qWaitForWindowActive(m_shell->background.get()));
        QString title;
        QStringList buttons;
        pressEscape(
            [&](QDialog* dialog) {
                QVERIFY(qobject_cast<HiddenUtilities*>(dialog));
                title = dialog->windowTitle();
                for (const char* name :
                     {"cmdRestoreNames", "cmdRestoreCases", "cmdContinue", "cmdEndProgram"})
                    buttons << dialog->findChild<QPushButton*>(QLatin1String(name))->text();
                click(dialog, "cmdContinue");
            },
            true);
        QCOMPARE(title, QStringLiteral("File Utilities"));
        QCOMPARE(buttons,
                 (QStringList{QStringLiteral("Restore Names Database"),
                              QStringLiteral("Restore Cases Database"),
                              QStringLiteral("Continue"),
                              QStringLiteral("&End Program")}));
        QVERIFY(m_shell->hosted<CaseLibrary>());
        QVERIFY(m_shell->item("menuLocation")->isEnabled());
        QVERIFY(!m_shell->interaction.ended);
    }

    void escapeAfterTheLibraryOpenedContinuesWithoutUtilities()
    {
        m_shell->background->showCaseLibrary();
        m_shell->item("menuAbout")->trigger();
        QVERIFY(splash());
        bool opened = true;
        pressEscape([&](QDialog* dialog) { opened = dialog != nullptr; });
        QVERIFY(!opened);
        // Esc leads back to the library, as the picture does, not to the worksheet.
        QVERIFY(m_shell->hosted<CaseLibrary>());
    }

    void enterOrSpaceContinues_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }

    void enterOrSpaceContinues()
    {
        QFETCH(int, key);
        QTest::keyClick(splash(), Qt::Key(key));
        QVERIFY(m_shell->hosted<CaseLibrary>());
    }

    void endProgramEndsAtOnceWithoutBackups()
    {
        pressEscape([&](QDialog* dialog) { click(dialog, "cmdEndProgram"); });
        QVERIFY(m_shell->interaction.ended);
        QCOMPARE(m_shell->interaction.exitCode, 0);
        QVERIFY(!QFile::exists(m_shell->session.paths.casesBackupPath()));
        QVERIFY(!QFile::exists(m_shell->session.paths.namesBackupPath()));
    }

    void restore_data()
    {
        QTest::addColumn<bool>("cases");
        QTest::addColumn<QString>("backup"); // "none", "sound" or "broken"
        QTest::addColumn<bool>("answer");
        for (const bool cases : {true, false}) {
            const QByteArray db = cases ? "cases: " : "names: ";
            QTest::newRow(db + "no backup") << cases << QStringLiteral("none") << false;
            QTest::newRow(db + "answered No") << cases << QStringLiteral("sound") << false;
            QTest::newRow(db + "restored") << cases << QStringLiteral("sound") << true;
            QTest::newRow(db + "broken backup") << cases << QStringLiteral("broken") << true;
        }
    }

    void restore()
    {
        QFETCH(bool, cases);
        QFETCH(QString, backup);
        QFETCH(bool, answer);
        const DataPaths& paths = m_shell->session.paths;
        const QString live = cases ? paths.casesDbPath() : paths.namesDbPath();
        const QString backupPath = cases ? paths.casesBackupPath() : paths.namesBackupPath();
        const Backup::RestoreTexts texts = cases ? Backup::casesRestoreTexts() : Backup::namesRestoreTexts();
        const Backup::BackupSet set =
            cases ? Backup::BackupSet::cases(paths) : Backup::BackupSet::names(paths);

        // The backup holds a case the live file no longer has.
        CaseStore(paths.casesDbPath()).addCase(QStringLiteral("Backed Up"), QDate(2024, 1, 1));
        if (backup == QLatin1String("sound"))
            QVERIFY(Backup::writeBackup(set).status == Backup::BackupStatus::Written);
        else if (backup == QLatin1String("broken"))
            QVERIFY(writeFile(backupPath, QByteArray("this is not a database").repeated(200)));
        CaseStore(paths.casesDbPath()).addCase(QStringLiteral("Live Only"), QDate(2024, 1, 2));
        const QByteArray liveBefore = contents(live);
        const QByteArray backupBefore = contents(backupPath);

        if (backup == QLatin1String("none")) {
            m_shell->interaction.expectInform(QString(),
                                              QStringLiteral("No Backup Database File can be Found!"));
        } else {
            const QString question = Backup::restoreQuestion(set, texts);
            // A sound backup says where it came from, when, and what it holds before the question.
            QVERIFY(question.endsWith(texts.questionText));
            if (backup == QLatin1String("sound"))
                QVERIFY(question.startsWith(
                    QStringLiteral("The backup %1 was taken from %2 on ")
                        .arg(QDir::toNativeSeparators(backupPath), QDir::toNativeSeparators(live))));
            m_shell->interaction.expectAsk(
                answer ? Interaction::Answer::Yes : Interaction::Answer::No, texts.questionTitle, question);
            if (backup == QLatin1String("broken") || answer)
                m_shell->interaction.expectInform(texts.questionTitle);
        }
        bool stillOpen = false;
        pressEscape([&](QDialog* dialog) {
            click(dialog, cases ? "cmdRestoreCases" : "cmdRestoreNames");
            stillOpen = dialog->isVisible();
        });

        const bool restored = backup == QLatin1String("sound") && answer;
        QCOMPARE(m_shell->interaction.ended, restored);
        QCOMPARE(stillOpen, !restored);
        QCOMPARE(contents(live), restored ? backupBefore : liveBefore);
        QCOMPARE(contents(backupPath), backupBefore); // the backup stays
        if (restored && cases) {
            QStringList names;
            for (const CaseListItem& item : CaseStore(live).listCases())
                names << item.caseDesc;
            QCOMPARE(names, QStringList{QStringLiteral("Backed Up")});
        }
        if (backup == QLatin1String("broken"))
            QVERIFY(m_shell->interaction.prompts.last().text.contains(QStringLiteral("left as it was")));
        if (restored) {
            // The user hears where the replaced file was kept before the program ends.
            QVERIFY(m_shell->interaction.prompts.last().text.contains(
                QDir::toNativeSeparators(set.beforeRestorePath)));
            QCOMPARE(contents(set.beforeRestorePath), liveBefore);
        }
    }
};

QTEST_MAIN(SplashTest)
#include "SplashTest.moc"
