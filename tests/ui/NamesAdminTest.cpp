// The names administration window, headless, with a host that records what it was asked.

#include "ui/names/NamesAdmin.h"

#include "NamesFixture.h"
#include "core/names/NameStore.h"
#include "core/startup/DataStore.h"
#include "support/RecordingHost.h"
#include "support/ScriptedInteraction.h"
#include "ui/common/Session.h"
#include "ui/common/WindowHost.h"
#include "ui/names/Names.h"
#include "ui/shell/Background.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace cs42;
using namespace cs42::test;

class NamesAdminTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnTheFirstEntryWithItsFields();
    void workAndHomeReachTheSelectionWindow();
    void deletingAProtectedNameIsRefused_data();
    void deletingAProtectedNameIsRefused();
    void deletingANameShowsTheFirstEntry();
    void addNameSelectsItThenSaveReturnsToTheLibrary();
    void aFailedStepIsReportedAndTheWindowStaysUsable();

private:
    QString add(const QString& first, const QString& last);
    void openAdmin();
    QString listEntry(int row) const;
    void typeInto(const char* box, const QString& text);

    std::unique_ptr<NamesFixture> m_names;
    ScriptedInteraction* m_interaction = nullptr;
    Session* m_session = nullptr;
    test::RecordingHost m_host;
    std::unique_ptr<NamesAdmin> m_admin;
    QString m_adams;
    QString m_baker;
};

void NamesAdminTest::init()
{
    // A fresh data folder with the seed and two people for every test.
    m_names = std::make_unique<NamesFixture>();
    QVERIFY(m_names->dir.isValid());
    m_interaction = &m_names->interaction;
    m_session = &m_names->session;
    m_host.caseLibraryShown = 0;
    m_baker = m_names->baker;
    m_adams = m_names->adams;
}

void NamesAdminTest::cleanup()
{
    m_admin.reset();
    QVERIFY2(m_interaction->allExpectationsMet(), "a scripted prompt was not shown");
    m_names.reset();
}

QString NamesAdminTest::add(const QString& first, const QString& last)
{
    return m_names->add(first, last);
}

void NamesAdminTest::openAdmin()
{
    m_admin = std::make_unique<NamesAdmin>(*m_session, m_host);
    m_admin->show();
    m_admin->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_admin.get()));
}

QString NamesAdminTest::listEntry(int row) const
{
    auto* list = child<QListView>(m_admin.get(), "List1");
    return list->model()->index(row, 0).data().toString();
}

// Types into a box and leaves it, as a user tabbing on would.
void NamesAdminTest::typeInto(const char* box, const QString& text)
{
    // A closed modal dialog leaves no window active under the offscreen platform.
    m_admin->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_admin.get()));
    auto* edit = child<QLineEdit>(m_admin.get(), box);
    edit->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    child<QListView>(m_admin.get(), "List1")->setFocus(Qt::TabFocusReason);
}

void NamesAdminTest::opensOnTheFirstEntryWithItsFields()
{
    openAdmin();
    QCOMPARE(m_session->currentWindowName, QStringLiteral("NamesAdmin"));
    QCOMPARE(child<QLabel>(m_admin.get(), "lblFormTitle")->text(), QStringLiteral("Names"));
    QCOMPARE(child<QLabel>(m_admin.get(), "lblFormTitle2")->text(),
             QStringLiteral("CURRENT DATABASE:  ") + m_session->paths.namesDbPath().toUpper());
    QCOMPARE(m_admin->size(), QSize(1046, 600));
    // Entries of width 100, the sort form as stored.
    QCOMPARE(listEntry(0), QStringLiteral(" Adams Ann") + QString(91, QLatin1Char(' ')) + m_adams);
    QCOMPARE(child<QListView>(m_admin.get(), "List1")->currentIndex().row(), 0);
    QCOMPARE(m_admin->currentKey(), m_adams);
    QCOMPARE(child<QLineEdit>(m_admin.get(), "Text1")->text(), QStringLiteral("Ann"));
    QCOMPARE(child<QLineEdit>(m_admin.get(), "Text0")->text(), QStringLiteral("Ann Adams"));
    QVERIFY(child(m_admin.get(), "Text29")->isVisible());
}

void NamesAdminTest::workAndHomeReachTheSelectionWindow()
{
    openAdmin();
    typeInto("Text11", QStringLiteral("205-555-0101"));
    typeInto("Text12", QStringLiteral("205-555-0102"));
    const auto stored = NameStore(m_session->paths.namesDbPath()).load(m_adams);
    QCOMPARE(stored->value(QStringLiteral("wphone")), QStringLiteral("205-555-0101"));
    QCOMPARE(stored->value(QStringLiteral("hphone")), QStringLiteral("205-555-0102"));

    Names names(*m_session, {}, m_adams);
    QCOMPARE(child<QLineEdit>(&names, "Text11")->text(), QStringLiteral("205-555-0101"));
    QCOMPARE(child<QLineEdit>(&names, "Text12")->text(), QStringLiteral("205-555-0102"));
}

void NamesAdminTest::deletingAProtectedNameIsRefused_data()
{
    // The same keys as in the party selection window, each refused in this window's words.
    QTest::addColumn<QString>("key");
    QTest::newRow("seed") << QStringLiteral("A0000001");
    QTest::newRow("maker's support entry") << QStringLiteral("VTR00001");
}

void NamesAdminTest::deletingAProtectedNameIsRefused()
{
    QFETCH(QString, key);
    QVERIFY(m_names->addWithKey(QStringLiteral("VTR00001"), QStringLiteral("Support Desk")));
    openAdmin();
    auto* list = child<QListView>(m_admin.get(), "List1");
    QVERIFY(selectEntryOf(list, key));
    QCOMPARE(m_admin->currentKey(), key);
    m_interaction->expectInform(QStringLiteral("Delete 'Tessaly'"),
                                QStringLiteral("Sorry, but this name is protected and cannot be deleted!"));
    QTest::mouseClick(child<QPushButton>(m_admin.get(), "cmdDeleteName"), Qt::LeftButton);
    QVERIFY(m_interaction->allExpectationsMet());
    QVERIFY(NameStore(m_session->paths.namesDbPath()).keyExists(key));
    QCOMPARE(list->model()->rowCount(), 4);
    QCOMPARE(m_admin->currentKey(), key);
}

void NamesAdminTest::deletingANameShowsTheFirstEntry()
{
    openAdmin();
    auto* list = child<QListView>(m_admin.get(), "List1");
    list->setCurrentIndex(list->model()->index(1, 0));
    QCOMPARE(child<QLineEdit>(m_admin.get(), "Text0")->text(), QStringLiteral("Bob Baker"));
    // The title shows the sort form alone: the first 100 characters end before the key.
    m_interaction->expectAsk(Interaction::Answer::Yes,
                             QStringLiteral("Delete 'Baker Bob'"),
                             QStringLiteral("Are you sure you want to delete this Name?"));
    QTest::mouseClick(child<QPushButton>(m_admin.get(), "cmdDeleteName"), Qt::LeftButton);
    QVERIFY(!NameStore(m_session->paths.namesDbPath()).keyExists(m_baker));
    QCOMPARE(list->model()->rowCount(), 2);
    QCOMPARE(list->currentIndex().row(), 0);
    QCOMPARE(m_admin->currentKey(), m_adams);
    QCOMPARE(child<QLineEdit>(m_admin.get(), "Text0")->text(), QStringLiteral("Ann Adams"));
}

void NamesAdminTest::addNameSelectsItThenSaveReturnsToTheLibrary()
{
    openAdmin();
    auto added = onNextModal([](QWidget* dialog) {
        QTest::keyClicks(child<QLineEdit>(dialog, "txtFirmname"), QStringLiteral("  Zenith Supply "));
        QTest::mouseClick(child<QPushButton>(dialog, "cmdSelect"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(m_admin.get(), "cmdAddNewName"), Qt::LeftButton);
    QVERIFY_ANSWERED(added);
    auto* list = child<QListView>(m_admin.get(), "List1");
    QCOMPARE(list->model()->rowCount(), 4);
    QCOMPARE(list->currentIndex().row(), 3);
    QVERIFY(m_admin->currentKey().startsWith(QLatin1Char('Z')));
    QCOMPARE(child<QLineEdit>(m_admin.get(), "Text0")->text(), QStringLiteral("Zenith Supply"));
    QCOMPARE(child<QLineEdit>(m_admin.get(), "Text0a")->text(), QStringLiteral("Zenith Supply"));

    typeInto("Text10", QStringLiteral("orders@zenith.example"));
    QTest::mouseClick(child<QPushButton>(m_admin.get(), "cmdSave"), Qt::LeftButton);
    QCOMPARE(m_host.caseLibraryShown, 1);
    QCOMPARE(
        NameStore(m_session->paths.namesDbPath()).load(m_admin->currentKey())->value(QStringLiteral("email")),
        QStringLiteral("orders@zenith.example"));
}

void NamesAdminTest::aFailedStepIsReportedAndTheWindowStaysUsable()
{
    openAdmin();
    const QString path = m_session->paths.namesDbPath();
    const QString away = path + QStringLiteral(".away");
    QVERIFY(QFile::rename(path, away));

    m_interaction->expectInform(QStringLiteral("Names"));
    typeInto("Text5", QStringLiteral("1 Lost Lane"));
    QVERIFY(m_interaction->allExpectationsMet());
    QVERIFY(m_interaction->prompts.last().text.startsWith(
        QStringLiteral("The changes to this name could not be saved in the names database.")));

    m_interaction->expectAsk(Interaction::Answer::Yes, QStringLiteral("Delete 'Adams Ann'"));
    m_interaction->expectInform(QStringLiteral("Names"),
                                QStringLiteral("The name could not be deleted from the names database.\n\n") +
                                    QStringLiteral("The file %1 does not exist.").arg(path));
    m_interaction->expectInform(QStringLiteral("Names"));
    QTest::mouseClick(child<QPushButton>(m_admin.get(), "cmdDeleteName"), Qt::LeftButton);
    QVERIFY(m_interaction->allExpectationsMet());
    auto* list = child<QListView>(m_admin.get(), "List1");
    QCOMPARE(list->model()->rowCount(), 0);

    // Once the file is back, adding a name lists the directory again and edits are stored.
    QVERIFY(QFile::rename(away, path));
    auto added = onNextModal([](QWidget* dialog) {
        QTest::keyClicks(child<QLineEdit>(dialog, "txtLastname"), QStringLiteral("Cole"));
        QTest::mouseClick(child<QPushButton>(dialog, "cmdSelect"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(m_admin.get(), "cmdAddNewName"), Qt::LeftButton);
    QVERIFY_ANSWERED(added);
    QCOMPARE(list->model()->rowCount(), 4);
    const QString cole = m_admin->currentKey();
    QVERIFY(cole.startsWith(QLatin1Char('C')));
    typeInto("Text5", QStringLiteral("2 Found Lane"));
    QCOMPARE(NameStore(path).load(cole)->value(QStringLiteral("street")), QStringLiteral("2 Found Lane"));
    QCOMPARE(NameStore(path).load(m_adams)->value(QStringLiteral("street")), QString(QLatin1String("")));
}

QTEST_MAIN(NamesAdminTest)
#include "NamesAdminTest.moc"
