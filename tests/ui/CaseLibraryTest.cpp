// The case library: listing, adding, renaming, deleting and selecting cases.

#include "ui/cases/CaseLibrary.h"

#include "ShellFixture.h"
#include "core/store/CaseStore.h"
#include "core/store/SqlConnection.h"
#include "ui/cases/CaseListModel.h"
#include "ui/worksheet/FormCS42.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QRegularExpression>
#include <QTest>

using namespace cs42;
using namespace cs42::test;

namespace {
const QString NoCasesTitle = QStringLiteral("No Cases have been created!");

QString noCasesText(const QString& action)
{
    return QStringLiteral(
               "Before you can %1, you must add a new Case first!  Click on the 'Add New Case' button "
               "below.")
        .arg(action);
}
} // namespace

class CaseLibraryTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ShellFixture> m_shell;

    CaseLibrary* library() const { return m_shell->hosted<CaseLibrary>(); }

    CaseStore store() const { return CaseStore(m_shell->session.paths.casesDbPath()); }

    QListView* list() const { return m_shell->control<QListView>("List1"); }

    QPushButton* button(const char* name) const { return m_shell->control<QPushButton>(name); }

    int selectedRow() const { return list()->currentIndex().row(); }

    bool gettingStartedVisible() const
    {
        return m_shell->control("lblMessage1")->isVisible() && m_shell->control("Shape1")->isVisible() &&
               m_shell->control("Image1")->isVisible();
    }

    // Adds a case through the window, answering its name dialog.
    void addThroughWindow(const QString& name)
    {
        auto run = answerGetShort(name);
        QTest::mouseClick(button("cmdAddNewCase"), Qt::LeftButton);
        QVERIFY_ANSWERED(run);
    }

private slots:

    void init()
    {
        // Every test starts from an empty working folder, as on a first start.
        m_shell = std::make_unique<ShellFixture>();
        m_shell->background->showCaseLibrary();
        QVERIFY(library());
    }

    void cleanup()
    {
        QVERIFY2(m_shell->interaction.allExpectationsMet(), "a scripted prompt was not shown");
        m_shell.reset();
    }

    void firstStartShowsTheSampleCaseAndGettingStarted()
    {
        QCOMPARE(library()->model().rowCount(), 1);
        const QString entry = library()->model().entryAt(0);
        QVERIFY(entry.startsWith(QStringLiteral("Sample Case ")));
        const QString key = entry.mid(100);
        QVERIFY2(QRegularExpression(QStringLiteral("^MO\\d{6}$")).match(key).hasMatch(), qPrintable(key));
        QCOMPARE(entry.size(), 108);
        // A fixed-pitch font, so that the padded names line up as columns.
        QVERIFY(QFontInfo(list()->font()).fixedPitch());
        QCOMPARE(selectedRow(), 0);
        QCOMPARE(m_shell->session.currentCaseId, key);
        QCOMPARE(m_shell->session.currentCaseName, QStringLiteral("Sample Case"));
        QVERIFY(gettingStartedVisible());
        QCOMPARE(m_shell->control<QLabel>("lblCaseLibraryText")->text(), CaseLibrary::introductionText());
        QCOMPARE(m_shell->session.currentWindowName, QStringLiteral("CaseLibrary"));
        QVERIFY(m_shell->session.utilitiesAllowed);

        addThroughWindow(QStringLiteral("Second"));
        QVERIFY(!gettingStartedVisible());
    }

    void introductionHasItsParagraphBreaks()
    {
        const QStringList paragraphs = CaseLibrary::introductionText().split(QStringLiteral("\r\n\r\n"));
        QCOMPARE(paragraphs.size(), 4);
        QVERIFY(paragraphs.at(0).endsWith(QStringLiteral("for actions filed before May 1, 2022.")));
        QVERIFY(
            paragraphs.at(1).endsWith(QStringLiteral("the correct amount of child support to be awarded.")));
        QVERIFY(paragraphs.at(2).startsWith(QStringLiteral("This software program, produced by Tessaly,")));
        QVERIFY(paragraphs.at(2).endsWith(QStringLiteral("greater productivity for your Firm.")));
        QVERIFY(paragraphs.at(3).isEmpty());
        // The rule's amendments of 2022 and 2023, and the forms the program prepares.
        for (const char* said : {"amended effective May 1, 2022",
                                 "effective June 1, 2023, with form CS-42-S",
                                 "form CS-42 (Rev. 1/09) for actions filed before May 1, 2022"})
            QVERIFY2(CaseLibrary::introductionText().contains(QLatin1String(said)), said);
        QVERIFY(!CaseLibrary::introductionText().contains(QStringLiteral("2009")));
    }

    void addingDoeVRoeGivesAKeyStartingDoAndSelectsIt()
    {
        auto run = answerGetShort(QStringLiteral("doe v. roe"));
        QTest::mouseClick(button("cmdAddNewCase"), Qt::LeftButton);
        QVERIFY_ANSWERED(run);
        QCOMPARE(run->title, QStringLiteral("New Case Name"));
        QCOMPARE(run->initialText, QString());

        const QString key = m_shell->session.currentCaseId;
        QVERIFY2(QRegularExpression(QStringLiteral("^DO\\d{6}$")).match(key).hasMatch(), qPrintable(key));
        QCOMPARE(m_shell->session.currentCaseName, QStringLiteral("doe v. roe"));
        QCOMPARE(library()->model().keyAt(selectedRow()), key);
        QString id = key;
        const auto record = store().findCurrentCase(id);
        QVERIFY(record);
        QCOMPARE(record->caseDesc(), QStringLiteral("doe v. roe"));
        QCOMPARE(record->value(QStringLiteral("casefile")), key);
        QCOMPARE(record->value(QStringLiteral("whosecustody")), QStringLiteral("P"));
        QCOMPARE(record->value(QStringLiteral("payshealth")), QStringLiteral("P"));
        QCOMPARE(record->value(QStringLiteral("obligor")), QStringLiteral("D"));
        QCOMPARE(record->value(QStringLiteral("caseopen")), shortDateText(QDate(2024, 3, 15)));
    }

    void aNameTypedWithALeadingBlankKeepsItsCaseReachable()
    {
        // The key is made from the name as typed, so it begins with the blank; the library must
        // still find the case by it, or every save and rename would miss the case.
        addThroughWindow(QStringLiteral(" doe v. roe"));
        const QString key = m_shell->session.currentCaseId;
        QVERIFY2(key.startsWith(QStringLiteral(" D")), qPrintable(key));
        QString id = key;
        const auto record = store().findCurrentCase(id);
        QVERIFY(record);
        QCOMPARE(record->caseDesc(), QStringLiteral(" doe v. roe"));

        auto run = answerGetShort(QStringLiteral("Doe v. Roe"));
        QTest::mouseClick(button("cmdRenameCase"), Qt::LeftButton);
        QVERIFY_ANSWERED(run);
        QCOMPARE(store().findCurrentCase(id)->caseDesc(), QStringLiteral("Doe v. Roe"));
        QCOMPARE(m_shell->session.currentCaseId, key);
    }

    void addingNothingAddsNoCase_data()
    {
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::newRow("cancel") << std::optional<QString>();
        QTest::newRow("blank name") << std::optional<QString>(QStringLiteral("    "));
    }

    void addingNothingAddsNoCase()
    {
        QFETCH(std::optional<QString>, answer);
        const QString before = m_shell->session.currentCaseId;
        auto run = answerGetShort(answer);
        QTest::mouseClick(button("cmdAddNewCase"), Qt::LeftButton);
        QVERIFY_ANSWERED(run);
        QCOMPARE(store().caseCount(), 1);
        QCOMPARE(m_shell->session.currentCaseId, before);
    }

    void entriesAreSortedByTheirWholeText()
    {
        for (const char* name : {"beta", "Alpha", "alpha", "Gamma"})
            store().addCase(QLatin1String(name), QDate(2024, 1, 1));
        library()->rebuildList();
        QStringList names;
        for (int row = 0; row < library()->model().rowCount(); ++row)
            names << library()->model().nameAt(row);
        QCOMPARE(names.size(), 5);
        QCOMPARE(names.mid(0, 2).join(QLatin1Char(',')).toLower(), QStringLiteral("alpha,alpha"));
        QCOMPARE(
            names.mid(2),
            (QStringList{QStringLiteral("beta"), QStringLiteral("Gamma"), QStringLiteral("Sample Case")}));
        QAbstractItemModelTester tester(const_cast<CaseListModel*>(&library()->model()),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
    }

    void theFilterNarrowsTheListAsTheUserTypes()
    {
        for (const char* name : {"Doe v. Roe", "Smith v. Jones", "Roe v. Doe"})
            store().addCase(QLatin1String(name), QDate(2024, 1, 1));
        library()->rebuildList();
        auto* filter = m_shell->control<QLineEdit>("txtFilter");
        QTest::keyClicks(filter, QStringLiteral("ROE"));
        QCOMPARE(library()->model().rowCount(), 2); // anywhere in the name, whatever the case
        QCOMPARE(library()->model().nameAt(selectedRow()), m_shell->session.currentCaseName);
        QTest::keyClicks(filter, QStringLiteral("x"));
        QCOMPARE(library()->model().rowCount(), 0);
        filter->clear();
        QCOMPARE(library()->model().rowCount(), 4);
        QCOMPARE(library()->model().caseCount(), 4);
    }

    void aNameInUseIsQuestionedBeforeItIsUsedAgain()
    {
        store().addCase(QStringLiteral("Doe v. Roe"), QDate(2024, 1, 1));
        library()->rebuildList();
        m_shell->interaction.expectAsk(Interaction::Answer::No,
                                       QStringLiteral("New Case Name"),
                                       CaseLibrary::nameInUseQuestion(QStringLiteral("doe v. roe")));
        addThroughWindow(QStringLiteral("doe v. roe "));
        QCOMPARE(store().caseCount(), 2);
        m_shell->interaction.expectAsk(Interaction::Answer::Yes, QStringLiteral("New Case Name"));
        addThroughWindow(QStringLiteral("Doe v. Roe"));
        QCOMPARE(store().caseCount(), 3);
    }

    void aCurrentCaseThatIsGoneLeavesTheLastEntrySelected()
    {
        store().addCase(QStringLiteral("Zulu"), QDate(2024, 1, 1));
        m_shell->session.currentCaseId = QStringLiteral("XX000000");
        library()->rebuildList();
        QCOMPARE(selectedRow(), 1);
        QCOMPARE(m_shell->session.currentCaseName, QStringLiteral("Zulu"));
    }

    void renamingToTheShortenedNameDoesNothing()
    {
        const QString longName = QStringLiteral("Johnson-Whitfield, Bartholomew v. Smith"); // 39 characters
        addThroughWindow(longName);
        const QString key = m_shell->session.currentCaseId;
        QCOMPARE(m_shell->session.currentCaseName, longName.left(30).trimmed());

        auto run = answerGetShort(longName.left(30).trimmed()); // Ok on the text as shown
        QTest::mouseClick(button("cmdRenameCase"), Qt::LeftButton);
        QVERIFY_ANSWERED(run);
        QCOMPARE(run->title, QStringLiteral("Change Case Name"));
        QCOMPARE(run->initialText, longName.left(30).trimmed());
        QString id = key;
        QCOMPARE(store().findCurrentCase(id)->caseDesc(), longName);

        // Cancel changes nothing either; a new text renames.
        run = answerGetShort(std::nullopt);
        QTest::mouseClick(button("cmdRenameCase"), Qt::LeftButton);
        QVERIFY_ANSWERED(run);
        QCOMPARE(store().findCurrentCase(id)->caseDesc(), longName);

        run = answerGetShort(QStringLiteral("Roe v. Doe"));
        QTest::mouseClick(button("cmdRenameCase"), Qt::LeftButton);
        QVERIFY_ANSWERED(run);
        QCOMPARE(store().findCurrentCase(id)->caseDesc(), QStringLiteral("Roe v. Doe"));
        QCOMPARE(m_shell->session.currentCaseId, key);
        QCOMPARE(m_shell->session.currentCaseName, QStringLiteral("Roe v. Doe"));
    }

    void deleteAsksWithTheShortenedName()
    {
        const QString longName = QStringLiteral("Johnson-Whitfield, Bartholomew v. Smith");
        addThroughWindow(longName);
        m_shell->interaction.expectAsk(Interaction::Answer::No,
                                       QStringLiteral("Delete Case"),
                                       QStringLiteral("Are you sure you want to delete the case named '%1'?")
                                           .arg(longName.left(30).trimmed()));
        QTest::mouseClick(button("cmdDeleteCase"), Qt::LeftButton);
        QCOMPARE(store().caseCount(), 2);

        m_shell->interaction.expectAsk(Interaction::Answer::Yes, QStringLiteral("Delete Case"));
        QTest::mouseClick(button("cmdDeleteCase"), Qt::LeftButton);
        QCOMPARE(store().caseCount(), 1);
        // The first entry is selected again.
        QCOMPARE(m_shell->session.currentCaseName, QStringLiteral("Sample Case"));
        QVERIFY(gettingStartedVisible());
    }

    void deletingTheLastCaseBringsBackASampleCase()
    {
        m_shell->interaction.expectAsk(
            Interaction::Answer::Yes,
            QStringLiteral("Delete Case"),
            QStringLiteral("Are you sure you want to delete the case named 'Sample Case'?"));
        QTest::mouseClick(button("cmdDeleteCase"), Qt::LeftButton);
        QCOMPARE(store().caseCount(), 1);
        QCOMPARE(library()->model().rowCount(), 1);
        QCOMPARE(library()->model().nameAt(0), QStringLiteral("Sample Case"));
        QVERIFY(m_shell->session.currentCaseId.startsWith(QStringLiteral("MO")));
        QCOMPARE(m_shell->session.currentCaseId, library()->model().keyAt(0));
    }

    void aCaseRemovedElsewhereIsNotRenamedOrDeleted_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("title");
        QTest::newRow("rename") << QStringLiteral("cmdRenameCase") << QStringLiteral("Change Case Name");
        QTest::newRow("delete") << QStringLiteral("cmdDeleteCase") << QStringLiteral("Delete Case");
    }

    void aCaseRemovedElsewhereIsNotRenamedOrDeleted()
    {
        QFETCH(QString, button);
        QFETCH(QString, title);
        addThroughWindow(QStringLiteral("Other v. Another"));
        const QString gone = m_shell->session.currentCaseId;
        // Another workstation deletes the case while this one still lists it.
        QCOMPARE(store().deleteCase(gone), CaseStoreStatus::Ok);

        std::shared_ptr<GetShortAnswer> run;
        if (button == QLatin1String("cmdRenameCase"))
            run = answerGetShort(QStringLiteral("Renamed"));
        else
            m_shell->interaction.expectAsk(Interaction::Answer::Yes, title);
        m_shell->interaction.expectInform(
            title,
            QStringLiteral(
                "The case named 'Other v. Another' no longer exists (it may have been deleted at another "
                "workstation).  Nothing was changed."));
        QTest::mouseClick(this->button(button.toLatin1().constData()), Qt::LeftButton);
        if (run)
            QVERIFY_ANSWERED(run);

        const QList<CaseListItem> cases = store().listCases();
        QCOMPARE(cases.size(), 1);
        QCOMPARE(cases.first().caseDesc, QStringLiteral("Sample Case"));
        QCOMPARE(library()->model().rowCount(), 1);
    }

    void anEmptyListShowsTheNoCasesMessages_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("action");
        QTest::newRow("delete") << QStringLiteral("cmdDeleteCase") << QStringLiteral("Delete");
        QTest::newRow("rename") << QStringLiteral("cmdRenameCase") << QStringLiteral("Rename");
        QTest::newRow("select") << QStringLiteral("cmdSelectCase") << QStringLiteral("Select");
    }

    void anEmptyListShowsTheNoCasesMessages()
    {
        QFETCH(QString, button);
        QFETCH(QString, action);
        // A cases file that refuses new rows (so not even the sample case gets in).
        {
            SqlConnection connection(m_shell->session.paths.casesDbPath());
            QVERIFY(connection.exec(QStringLiteral("DELETE FROM Cases")));
            QVERIFY(connection.exec(QStringLiteral(
                "CREATE TRIGGER refuse BEFORE INSERT ON Cases BEGIN SELECT RAISE(ABORT, 'read only'); END")));
        }
        m_shell->session.currentCaseId.clear();
        library()->rebuildList();
        QCOMPARE(library()->model().rowCount(), 0);

        m_shell->interaction.expectInform(NoCasesTitle, noCasesText(action));
        QTest::mouseClick(this->button(button.toLatin1().constData()), Qt::LeftButton);
        QVERIFY(library());
    }

    void selectingOpensTheWorksheetOfTheSelectedCase()
    {
        addThroughWindow(QStringLiteral("Alpha"));
        addThroughWindow(QStringLiteral("Beta"));
        // A click on the first entry makes it the current case; a double click opens it.
        const QRect first = list()->visualRect(library()->model().index(0));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(m_shell->session.currentCaseName, QStringLiteral("Alpha"));
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, first.center());
        QTRY_VERIFY(m_shell->hosted<FormCS42>());
        QCOMPARE(m_shell->session.currentCaseName, QStringLiteral("Alpha"));

        m_shell->background->showCaseLibrary();
        QCOMPARE(m_shell->session.currentCaseName, QStringLiteral("Alpha")); // re-selected after the rebuild
        QTest::mouseClick(button("cmdSelectCase"), Qt::LeftButton);
        QVERIFY(m_shell->hosted<FormCS42>());
    }

    void aCasesFileThatCannotBeOpenedEndsTheProgram_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("cause");
        QTest::newRow("not a database") << QStringLiteral("garbage") << QStringLiteral("not a database");
        QTest::newRow("a folder") << QStringLiteral("folder") << QStringLiteral("is a folder");
    }

    void aCasesFileThatCannotBeOpenedEndsTheProgram()
    {
        QFETCH(QString, fault);
        QFETCH(QString, cause);
        const QString path = m_shell->session.paths.casesDbPath();
        QFile::remove(path);
        if (fault == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(QByteArray(4096, 'x'));
        }
        m_shell->interaction.expectInform(CaseStore::openErrorTitle());
        m_shell->background->showCaseLibrary();
        QVERIFY(m_shell->interaction.ended);
        QCOMPARE(m_shell->interaction.exitCode, 1);
        // The specified words, then the file and the cause.
        const QString text = m_shell->interaction.prompts.last().text;
        QVERIFY(text.startsWith(CaseStore::openErrorText()));
        QVERIFY2(text.contains(QStringLiteral("The file: ") + QDir::toNativeSeparators(path)),
                 qPrintable(text));
        QVERIFY2(text.contains(cause), qPrintable(text));
    }

    // Another workstation's lock is waited out: the user hears why and the program goes on.
    void aBusyCasesFileIsReportedAndTheProgramGoesOn()
    {
        SqlConnection::setBusyTimeoutMs(100);
        {
            SqlConnection holder(m_shell->session.paths.casesDbPath());
            QVERIFY(holder.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            m_shell->interaction.expectInform(QStringLiteral("Cases Database in Use"));
            m_shell->background->showCaseLibrary();
            QVERIFY(!m_shell->interaction.ended);
            QVERIFY(m_shell->interaction.prompts.last().text.contains(QStringLiteral("another workstation")));
            holder.exec(QStringLiteral("ROLLBACK"));
        }
        SqlConnection::setBusyTimeoutMs(15000);
        m_shell->background->showCaseLibrary();
        QCOMPARE(m_shell->interaction.prompts.size(), 1);
        QVERIFY(list()->model()->rowCount() > 0);
    }
};

QTEST_MAIN(CaseLibraryTest)
#include "CaseLibraryTest.moc"
