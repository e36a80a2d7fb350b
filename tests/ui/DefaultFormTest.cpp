// Menu "Default Form": the office chooses the form every new case takes, and a default the
// settings name but the program does not know is said whenever it is read, never applied.

#include "ui/shell/DefaultForm.h"

#include "ShellFixture.h"
#include "core/startup/DataStore.h"
#include "core/store/CaseStore.h"
#include "core/store/SqlConnection.h"
#include "ui/cases/CaseLibrary.h"

#include <QSqlQuery>
#include <QTest>

using namespace cs42;
using namespace cs42::test;

class DefaultFormTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ShellFixture> m_shell;
    int m_added = 0;

    QString storedDefault() const
    {
        SqlConnection connection(m_shell->session.paths.settingsDbPath());
        QSqlQuery query(connection.database());
        query.exec(QStringLiteral("SELECT defaultedition FROM Main ORDER BY rowid LIMIT 1"));
        return query.next() ? query.value(0).toString() : QStringLiteral("<no row>");
    }

    // The form edition of a case added through the case library.
    QString editionOfANewCase()
    {
        // Each case a name of its own, so that no name in use is questioned.
        auto run = answerGetShort(QStringLiteral("Case %1").arg(++m_added));
        QTest::mouseClick(m_shell->control<QPushButton>("cmdAddNewCase"), Qt::LeftButton);
        [&] {
            QVERIFY_ANSWERED(run);
        }();
        const auto record =
            CaseStore(m_shell->session.paths.casesDbPath()).findCurrentCase(m_shell->session.currentCaseId);
        return record ? record->value(QStringLiteral("formedition")) : QStringLiteral("<no case>");
    }

private slots:

    void init()
    {
        // A fresh data folder with the case library open, whose sample case is already added.
        m_shell = std::make_unique<ShellFixture>();
        m_shell->background->showCaseLibrary();
        QVERIFY(m_shell->hosted<CaseLibrary>());
    }

    void cleanup()
    {
        QVERIFY2(m_shell->interaction.allExpectationsMet(), "a scripted prompt was not shown");
        m_shell.reset();
    }

    void theOfficeChoosesTheFormOfNewCases()
    {
        ScriptedInteraction& interaction = m_shell->interaction;
        interaction.expectChoice(2, DefaultForm::title(), DefaultForm::prompt());
        m_shell->item("menuDefaultForm")->trigger();
        QVERIFY(interaction.allExpectationsMet());
        QCOMPARE(interaction.offeredItems.value(0),
                 QStringList({"Form CS-42 (Rev. 1/09), for actions filed before May 1, 2022",
                              "Form CS-42 (Rev. 5/2022), for actions filed on or after May 1, 2022",
                              "Form CS-42-S (Effective 6/2023), shared 50 % physical custody, actions filed "
                              "on or after June 1, 2023"}));
        QCOMPARE(interaction.itemsChosenAtFirst.value(0), 1); // the form new cases took until now
        QCOMPARE(storedDefault(), QStringLiteral("2023S"));
        QCOMPARE(editionOfANewCase(), QStringLiteral("2023S"));

        // Cancel changes nothing; the list starts on the stored default.
        interaction.expectChoice(std::nullopt, DefaultForm::title());
        m_shell->item("menuDefaultForm")->trigger();
        QCOMPARE(interaction.itemsChosenAtFirst.value(1), 2);
        QCOMPARE(storedDefault(), QStringLiteral("2023S"));
        QCOMPARE(m_shell->item("menuDefaultForm")->text(), QStringLiteral("Default &Form"));
    }

    void aDefaultTheProgramDoesNotKnowIsSaidAndNotApplied()
    {
        const QString problem =
            QStringLiteral("The settings name the form edition 'xyz' for new cases, which this program does "
                           "not know (it knows 2009, 2022, 2023S). New cases take form CS-42 (Rev. 5/2022) "
                           "meanwhile; choose the default form with the menu \"Default Form\".");
        QVERIFY(DataStore::saveDefaultEdition(m_shell->session.paths, QStringLiteral("xyz")));
        ScriptedInteraction& interaction = m_shell->interaction;

        interaction.expectInform(QStringLiteral("Default Form"), problem);
        QCOMPARE(editionOfANewCase(), QStringLiteral("2022"));

        // The menu says so too, offers the form new cases take meanwhile, and the choice mends it.
        interaction.expectInform(DefaultForm::title(), problem);
        interaction.expectChoice(1, DefaultForm::title());
        m_shell->item("menuDefaultForm")->trigger();
        QVERIFY(interaction.allExpectationsMet());
        QCOMPARE(interaction.itemsChosenAtFirst.value(0), 1);
        QCOMPARE(storedDefault(), QStringLiteral("2022"));
        QCOMPARE(editionOfANewCase(), QStringLiteral("2022"));
    }
};

QTEST_MAIN(DefaultFormTest)
#include "DefaultFormTest.moc"
