// The party selection window, the add-name dialog and chooseParty, headless.

#include "ui/names/Names.h"

#include "NamesFixture.h"
#include "core/names/NameStore.h"
#include "core/startup/DataStore.h"
#include "core/store/Schema.h"
#include "support/ScriptedInteraction.h"
#include "ui/common/Palette.h"
#include "ui/common/Session.h"
#include "ui/names/PartySelection.h"
#include "ui/shell/Background.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace cs42;
using namespace cs42::test;

namespace {
QString trimmedKeyFree(const QString& entry)
{
    return entry.left(entry.size() - 8).trimmed();
}

} // namespace

Q_DECLARE_METATYPE(NamesFixture::Damage)

class NamesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnTheStoredPartyOrTheFirstEntry_data();
    void theFilterNarrowsTheListAndKeepsTheBoxesInStep();
    void opensOnTheStoredPartyOrTheFirstEntry();
    void titleAndLocation();
    void moreInfoWidensAndNarrows();
    void focusColoursFollowTheBox();
    void thirtyFiveBoxesInTabOrderWithLabelsAndLengths();
    void editedStreetIsStoredAndHandedBack();
    void leavingABoxWithoutEditingWritesNothing();
    void addNameThenSelectPicksTheNewRecord();
    void addNameWithoutANameAddsNothing();
    void deletingAProtectedNameIsRefused_data();
    void deletingAProtectedNameIsRefused();
    void deletingANameAsksAndShowsTheFirstEntry();
    void longSortFormIsCutInTheList();
    void noSelectionHandsBackEmptyValues();
    void closeBoxAfterPickingThePlaintiffLeavesTheDefendant();
    void nameGoneOrUnreadableIsNotHandedBack_data();
    void nameGoneOrUnreadableIsNotHandedBack();
    void aFailedStepIsReportedAndTheWindowStaysUsable_data();
    void aFailedStepIsReportedAndTheWindowStaysUsable();

private:
    QString add(const QString& first, const QString& last, const QString& firm = {});
    std::unique_ptr<Names> openNames(const QString& startKey, const QString& title = {});
    void activate(QWidget* window);
    void typeInto(QWidget* window, const char* box, const QString& text);
    QStringList reports() const;

    std::unique_ptr<NamesFixture> m_names;
    ScriptedInteraction* m_interaction = nullptr;
    Session* m_session = nullptr;
    QString m_adams;
    QString m_baker;
};

void NamesTest::init()
{
    // Every test starts from a fresh data folder holding the seed and two people.
    m_names = std::make_unique<NamesFixture>();
    QVERIFY(m_names->dir.isValid());
    m_interaction = &m_names->interaction;
    m_session = &m_names->session;
    m_baker = m_names->baker;
    m_adams = m_names->adams;
    QVERIFY(!m_adams.isEmpty() && !m_baker.isEmpty());
}

void NamesTest::cleanup()
{
    QVERIFY2(m_interaction->allExpectationsMet(), "a scripted prompt was not shown");
    m_names.reset();
}

QString NamesTest::add(const QString& first, const QString& last, const QString& firm)
{
    return m_names->add(first, last, firm);
}

std::unique_ptr<Names> NamesTest::openNames(const QString& startKey, const QString& title)
{
    auto window = std::make_unique<Names>(*m_session, title, startKey);
    window->show();
    return window;
}

void NamesTest::activate(QWidget* window)
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

// Types into a box and leaves it, as a user tabbing on would.
void NamesTest::typeInto(QWidget* window, const char* box, const QString& text)
{
    // A closed modal dialog leaves no window active under the offscreen platform.
    activate(window);
    auto* edit = child<QLineEdit>(window, box);
    edit->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    child<QListView>(window, "List1")->setFocus(Qt::TabFocusReason);
}

// The first paragraph of every failure reported so far; the store's reason follows it.
QStringList NamesTest::reports() const
{
    QStringList texts;
    for (const ScriptedInteraction::Prompt& prompt : m_interaction->prompts) {
        if (prompt.kind == ScriptedInteraction::Kind::Inform && prompt.title == QLatin1String("Names"))
            texts << prompt.text.section(QStringLiteral("\n\n"), 0, 0);
    }
    return texts;
}

void NamesTest::opensOnTheStoredPartyOrTheFirstEntry_data()
{
    QTest::addColumn<QString>("selectedKey");
    QTest::addColumn<QString>("expectedName");
    QTest::newRow("stored key") << QStringLiteral("baker") << QStringLiteral("Bob Baker");
    QTest::newRow("key no longer in the directory")
        << QStringLiteral("Z1234567") << QStringLiteral("Ann Adams");
    QTest::newRow("blank party") << QString() << QStringLiteral("Ann Adams");
}

void NamesTest::opensOnTheStoredPartyOrTheFirstEntry()
{
    QFETCH(QString, selectedKey);
    QFETCH(QString, expectedName);
    if (selectedKey == QLatin1String("baker"))
        selectedKey = m_baker;
    auto window = openNames(selectedKey);
    auto* list = child<QListView>(window.get(), "List1");
    QCOMPARE(list->model()->rowCount(), 3);
    // Sorted by the sort form: Adams Ann, Baker Bob, Example Law Office.
    QCOMPARE(trimmedKeyFree(list->model()->index(0, 0).data().toString()), QStringLiteral("Adams Ann"));
    QCOMPARE(trimmedKeyFree(list->model()->index(2, 0).data().toString()),
             QStringLiteral("Example Law Office"));
    QCOMPARE(child<QLineEdit>(window.get(), "Text0")->text(), expectedName);
    QCOMPARE(list->currentIndex().row(), expectedName == QLatin1String("Bob Baker") ? 1 : 0);
    QCOMPARE(window->currentKey(), expectedName == QLatin1String("Bob Baker") ? m_baker : m_adams);
}

void NamesTest::theFilterNarrowsTheListAndKeepsTheBoxesInStep()
{
    auto window = openNames(m_baker);
    auto* list = child<QListView>(window.get(), "List1");
    auto* filter = child<QLineEdit>(window.get(), "txtFilter");
    // An edit in progress is stored before its entry leaves the list.
    typeInto(window.get(), "Text5", QStringLiteral("1 Elm St"));
    QTest::keyClicks(filter, QStringLiteral("ADA"));
    QCOMPARE(list->model()->rowCount(), 1);
    QCOMPARE(window->currentKey(), m_adams);
    QCOMPARE(child<QLineEdit>(window.get(), "Text0")->text(), QStringLiteral("Ann Adams"));
    filter->clear();
    QCOMPARE(list->model()->rowCount(), 3);
    QCOMPARE(window->currentKey(), m_adams); // the record shown stays while it is listed
    QCOMPARE(NameStore(m_session->paths.namesDbPath()).load(m_baker)->value(QStringLiteral("street")),
             QStringLiteral("1 Elm St"));
}

void NamesTest::titleAndLocation()
{
    auto window = openNames({}, QStringLiteral("Select Name of Plaintiff"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Select Name of Plaintiff"));
    const QString location = child<QLabel>(window.get(), "lblLocationOfNamesDatabase")->text();
    QCOMPARE(location,
             QStringLiteral("DATABASE LOCATION:   ") + m_session->paths.filesLocation +
                 QStringLiteral("/NAMES.mdb"));
    window.reset();
    window = openNames({});
    QCOMPARE(window->windowTitle(), QStringLiteral("NAMES Database"));
}

void NamesTest::moreInfoWidensAndNarrows()
{
    auto window = openNames({});
    auto* more = child<QPushButton>(window.get(), "cmdMoreInfo");
    QCOMPARE(more->text(), QStringLiteral("&More Info"));
    QCOMPARE(window->width(), 303);
    QVERIFY(!child(window.get(), "Text5")->isVisible());
    QTest::mouseClick(more, Qt::LeftButton);
    QCOMPARE(more->text(), QStringLiteral("&Less Info"));
    QCOMPARE(window->width(), 1013);
    QVERIFY(child(window.get(), "Text5")->isVisible());
    QTest::mouseClick(more, Qt::LeftButton);
    QCOMPARE(more->text(), QStringLiteral("&More Info"));
    QCOMPARE(window->width(), 303);
}

void NamesTest::focusColoursFollowTheBox()
{
    auto window = openNames({});
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdMoreInfo"), Qt::LeftButton);
    activate(window.get());
    auto* street = child<QLineEdit>(window.get(), "Text5");
    auto* street2 = child<QLineEdit>(window.get(), "Text5a"); // next in the tab order
    QCOMPARE(street->palette().color(QPalette::Base), paletteColor(15));
    street->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(street->palette().color(QPalette::Base), paletteColor(14));
    QCOMPARE(paletteColor(14), QColor(255, 255, 0));
    QTest::keyClick(street, Qt::Key_Tab);
    QTRY_VERIFY(street2->hasFocus());
    QCOMPARE(street->palette().color(QPalette::Base), paletteColor(15));
    QCOMPARE(street2->palette().color(QPalette::Base), paletteColor(14));
}

void NamesTest::thirtyFiveBoxesInTabOrderWithLabelsAndLengths()
{
    struct Box
    {
        const char* name;
        const char* column;
        const char* label; // "" for the second and third boxes of a line
        int stored;
    };

    // In their tab order.
    const QList<Box> boxes = {
        {"Text0", "listname", "Display as", 250},
        {"Text0a", "firmname", "Sort by", 250},
        {"Text5", "street", "Street Address", 250},
        {"Text5a", "street2", "", 250},
        {"Text6", "city", "City/State/Zipcode", 50},
        {"Text7", "namestate", "", 2},
        {"Text8", "zipcode", "", 20},
        {"Text9", "namecounty", "Name of County", 50},
        {"Text10", "email", "EMail Address", 250},
        {"Text19", "employer", "Employer's Name", 250},
        {"Text20", "contact", "Contact Person", 200},
        {"Text21", "cempaddr", "Street Address", 200},
        {"Text22", "cempcity", "City/State/Zipcode", 50},
        {"Text23", "cempstate", "", 2},
        {"Text24", "cempzip", "", 20},
        {"Text1", "firstname", "First Name", 50},
        {"Text2", "middlename", "Middle Name", 50},
        {"Text3", "lastname", "Last Name", 50},
        {"Text4", "suffix", "Suffix", 50},
        {"Text15", "barno", "Bar Number", 20},
        {"Text16", "namessn", "SSN/Tax ID", 20},
        {"Text27", "placemarrg", "Place Married", 50},
        {"Text28", "anniversary", "Date Married", 15},
        {"Text25", "clsalary", "Salary", 20},
        {"Text26", "startdate", "Date Hired", 20},
        {"Text30", "optfield1", "Job Title", 250},
        {"Text11", "wphone", "Work", 15},
        {"Text12", "hphone", "Home", 15},
        {"Text13", "fphone", "Fax", 15},
        {"Text14", "cphone", "Mobile", 15},
        {"Text17", "birthdate", "DOB", 10},
        {"Text18", "deathdate", "DOD", 10},
        {"Text31", "namesex", "Sex", 20},
        {"Text32", "namerace", "Race", 20},
        {"Text29", "notes", "Notes/Comments", 250},
    };
    auto window = openNames(m_baker);
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdMoreInfo"), Qt::LeftButton);
    activate(window.get());

    const QList<QLabel*> labels = window->findChildren<QLabel*>();
    for (const Box& box : boxes) {
        QWidget* editor = child(window.get(), box.name);
        QVERIFY2(editor, box.name);
        QStringList captions;
        for (QLabel* label : labels) {
            if (label->buddy() == editor)
                captions << label->text();
        }
        QCOMPARE(captions.join(QLatin1Char('|')), QString::fromLatin1(box.label));
    }

    // Tab walks the boxes in their order.
    child(window.get(), boxes.first().name)->setFocus(Qt::TabFocusReason);
    for (qsizetype i = 1; i < boxes.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(boxes.at(i).name));
    }

    // Every box holds 300 characters; leaving one stores the leading part of each.
    for (const Box& box : boxes) {
        const QString text = QString(300, QLatin1Char('x'));
        if (auto* line = child<QLineEdit>(window.get(), box.name))
            line->setText(text);
        else
            QMetaObject::invokeMethod(child(window.get(), box.name), "setPlainText", Q_ARG(QString, text));
    }
    auto* last = child<QLineEdit>(window.get(), "Text32");
    last->setFocus(Qt::TabFocusReason);
    QTest::keyClick(last, Qt::Key_End);
    QTest::keyClick(last, Qt::Key_Backspace);
    QTest::keyClick(last, Qt::Key_Tab);
    const auto stored = NameStore(m_session->paths.namesDbPath()).load(m_baker);
    QVERIFY(stored);
    for (const Box& box : boxes)
        QVERIFY2(stored->value(QLatin1String(box.column)).size() == box.stored, box.column);
}

void NamesTest::editedStreetIsStoredAndHandedBack()
{
    QString title;
    auto ran = onNextModal([&title](QWidget* window) {
        title = window->windowTitle();
        QTest::mouseClick(child<QPushButton>(window, "cmdMoreInfo"), Qt::LeftButton);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        auto* street = child<QLineEdit>(window, "Text5");
        street->setFocus(Qt::MouseFocusReason);
        street->selectAll();
        QTest::keyClicks(street, QStringLiteral("9 Elm Road"));
        QTest::mouseClick(child<QPushButton>(window, "cmdSave"), Qt::LeftButton);
    });
    const auto choice = chooseParty(*m_session, nullptr, Party::Plaintiff, m_baker);
    QVERIFY_ANSWERED(ran);
    QVERIFY(choice.has_value());
    QCOMPARE(title, QStringLiteral("Select Name of Plaintiff"));
    QCOMPARE(choice->keyNumber, m_baker);
    QCOMPARE(choice->listName, QStringLiteral("Bob Baker"));
    QCOMPARE(choice->addressBlock, QStringLiteral("Bob Baker\r9 Elm Road \r"));
    const auto stored = NameStore(m_session->paths.namesDbPath()).load(m_baker);
    QCOMPARE(stored->value(QStringLiteral("street")), QStringLiteral("9 Elm Road"));
}

void NamesTest::leavingABoxWithoutEditingWritesNothing()
{
    // A record changed on another workstation must not be overwritten by a box that was only
    // passed through.
    auto window = openNames(m_baker);
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdMoreInfo"), Qt::LeftButton);
    activate(window.get());
    QHash<QString, QString> elsewhere;
    elsewhere.insert(QStringLiteral("listname"), QStringLiteral("Bob Baker"));
    elsewhere.insert(QStringLiteral("city"), QStringLiteral("Mobile"));
    QCOMPARE(NameStore(m_session->paths.namesDbPath()).saveFields(m_baker, elsewhere), NameStoreStatus::Ok);
    auto* street = child<QLineEdit>(window.get(), "Text5");
    street->setFocus(Qt::TabFocusReason);
    QTest::keyClick(street, Qt::Key_Tab);
    QTRY_VERIFY(!street->hasFocus());
    QCOMPARE(NameStore(m_session->paths.namesDbPath()).load(m_baker)->value(QStringLiteral("city")),
             QStringLiteral("Mobile"));
}

void NamesTest::addNameThenSelectPicksTheNewRecord()
{
    auto window = openNames(m_baker);
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdMoreInfo"), Qt::LeftButton);
    auto ran = onNextModal([](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Add a New Name"));
        QTest::keyClicks(child<QLineEdit>(dialog, "txtFirstName"), QStringLiteral("Carl"));
        QTest::keyClicks(child<QLineEdit>(dialog, "txtLastname"), QStringLiteral("Cole "));
        QTest::keyClicks(child<QLineEdit>(dialog, "txtSuffix"), QStringLiteral("Jr."));
        QTest::mouseClick(child<QPushButton>(dialog, "cmdSelect"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdAddNewName"), Qt::LeftButton);
    QVERIFY_ANSWERED(ran);
    const QString key = window->currentKey();
    QVERIFY(key.startsWith(QLatin1Char('C')));
    auto* list = child<QListView>(window.get(), "List1");
    QCOMPARE(list->model()->rowCount(), 4);
    QCOMPARE(list->currentIndex().row(), 2); // Adams, Baker, Cole, Example
    QCOMPARE(child<QLineEdit>(window.get(), "Text0")->text(), QStringLiteral("Carl Cole Jr."));
    QCOMPARE(child<QLineEdit>(window.get(), "Text0a")->text(), QStringLiteral("Cole Carl Jr."));
    QCOMPARE(child<QLineEdit>(window.get(), "Text3")->text(), QStringLiteral("Cole "));
    QCOMPARE(child<QLineEdit>(window.get(), "Text5")->text(), QString());

    QTest::mouseClick(child<QPushButton>(window.get(), "cmdSave"), Qt::LeftButton);
    QCOMPARE(window->outcome(), Names::Outcome::Selected);
    const NameRecord& picked = window->choice().name;
    QCOMPARE(picked.keyNumber(), key);
    QCOMPARE(picked.listName(), QStringLiteral("Carl Cole Jr."));
    // The blank-filling pass of the rebuild left no Null behind.
    QCOMPARE(picked.value(QStringLiteral("notes")), QStringLiteral(" "));
}

void NamesTest::addNameWithoutANameAddsNothing()
{
    auto window = openNames(m_baker);
    auto ran = onNextModal([](QWidget* dialog) {
        QTest::keyClicks(child<QLineEdit>(dialog, "txtFirstName"), QStringLiteral("Carl"));
        QTest::mouseClick(child<QPushButton>(dialog, "cmdSelect"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdAddNewName"), Qt::LeftButton);
    QVERIFY_ANSWERED(ran);
    QCOMPARE(child<QListView>(window.get(), "List1")->model()->rowCount(), 3);
    QCOMPARE(window->currentKey(), m_baker);
    QCOMPARE(NameStore(m_session->paths.namesDbPath()).count(), 3);
}

void NamesTest::deletingAProtectedNameIsRefused_data()
{
    // The same keys as in the administration window, each refused in this window's words.
    QTest::addColumn<QString>("key");
    QTest::newRow("seed") << QStringLiteral("A0000001");
    QTest::newRow("maker's support entry") << QStringLiteral("VTR00001");
}

void NamesTest::deletingAProtectedNameIsRefused()
{
    QFETCH(QString, key);
    QVERIFY(m_names->addWithKey(QStringLiteral("VTR00001"), QStringLiteral("Support Desk")));
    auto window = openNames(key);
    QCOMPARE(window->currentKey(), key);
    m_interaction->expectInform(QStringLiteral("Delete 'Tessaly'"),
                                QStringLiteral("You can't delete this Name!"));
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdDeleteName"), Qt::LeftButton);
    QVERIFY(m_interaction->allExpectationsMet());
    QVERIFY(NameStore(m_session->paths.namesDbPath()).keyExists(key));
    QCOMPARE(child<QListView>(window.get(), "List1")->model()->rowCount(), 4);
}

void NamesTest::deletingANameAsksAndShowsTheFirstEntry()
{
    auto window = openNames(m_baker);
    const QString entry = QStringLiteral(" Baker Bob") + QString(71, QLatin1Char(' ')) + m_baker;
    QCOMPARE(child<QListView>(window.get(), "List1")->currentIndex().data().toString(), entry);
    const QString title =
        QStringLiteral("Delete 'Baker Bob") + QString(71, QLatin1Char(' ')) + m_baker + QLatin1Char('\'');
    m_interaction->expectAsk(
        Interaction::Answer::No, title, QStringLiteral("Are you sure you want to delete this Name?"));
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdDeleteName"), Qt::LeftButton);
    QVERIFY(NameStore(m_session->paths.namesDbPath()).keyExists(m_baker));

    m_interaction->expectAsk(Interaction::Answer::Yes, title);
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdDeleteName"), Qt::LeftButton);
    QVERIFY(!NameStore(m_session->paths.namesDbPath()).keyExists(m_baker));
    auto* list = child<QListView>(window.get(), "List1");
    QCOMPARE(list->model()->rowCount(), 2);
    QCOMPARE(list->currentIndex().row(), 0);
    QCOMPARE(window->currentKey(), m_adams);
    QCOMPARE(child<QLineEdit>(window.get(), "Text0")->text(), QStringLiteral("Ann Adams"));
}

void NamesTest::longSortFormIsCutInTheList()
{
    const QString firm = QStringLiteral("Z") + QString(99, QLatin1Char('y'));
    const QString key = add({}, {}, firm);
    auto window = openNames(key);
    auto* list = child<QListView>(window.get(), "List1");
    const QString entry = list->currentIndex().data().toString();
    QCOMPARE(entry, QLatin1Char(' ') + firm.left(80) + key);
    QCOMPARE(child<QLineEdit>(window.get(), "Text0a")->text(), firm);
    // A double click on the entry picks it, as SELECT NAME does.
    const QRect rect = list->visualRect(list->currentIndex());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(window->outcome(), Names::Outcome::Selected);
    QCOMPARE(window->choice().name.keyNumber(), key);
}

void NamesTest::noSelectionHandsBackEmptyValues()
{
    QString title;
    auto ran = onNextModal([&title](QWidget* window) {
        title = window->windowTitle();
        QTest::mouseClick(child<QPushButton>(window, "Command1"), Qt::LeftButton);
    });
    const auto choice = chooseParty(*m_session, nullptr, Party::Defendant, m_baker);
    QVERIFY_ANSWERED(ran);
    QCOMPARE(title, QStringLiteral("Select Name of Defendant"));
    QVERIFY(choice.has_value());
    QCOMPARE(choice->listName, QString());
    QCOMPARE(choice->keyNumber, QString());
    QCOMPARE(choice->addressBlock, QString());

    // The window hands back every column, each one empty (not missing).
    auto window = openNames(m_baker);
    QTest::mouseClick(child<QPushButton>(window.get(), "Command1"), Qt::LeftButton);
    QCOMPARE(window->outcome(), Names::Outcome::NoSelection);
    const NameRecord& name = window->choice().name;
    QCOMPARE(name.values().size(), Schema::namesTable().allColumns().size());
    for (const QString& value : name.values())
        QVERIFY(value.isEmpty() && !value.isNull());
}

void NamesTest::closeBoxAfterPickingThePlaintiffLeavesTheDefendant()
{
    auto picked = onNextModal(
        [](QWidget* window) { QTest::mouseClick(child<QPushButton>(window, "cmdSave"), Qt::LeftButton); });
    const auto plaintiff = chooseParty(*m_session, nullptr, Party::Plaintiff, m_adams);
    QVERIFY_ANSWERED(picked);
    QCOMPARE(plaintiff->keyNumber, m_adams);

    auto closed = onNextModal([](QWidget* window) { window->close(); });
    QVERIFY(!chooseParty(*m_session, nullptr, Party::Defendant, m_baker).has_value());
    QVERIFY_ANSWERED(closed);

    auto escaped = onNextModal([](QWidget* window) { QTest::keyClick(window, Qt::Key_Escape); });
    QVERIFY(!chooseParty(*m_session, nullptr, Party::Defendant, m_baker).has_value());
    QVERIFY_ANSWERED(escaped);
}

void NamesTest::nameGoneOrUnreadableIsNotHandedBack_data()
{
    QTest::addColumn<bool>("databaseGone");
    QTest::addColumn<QStringList>("expectedReports");
    // Deleted on another workstation: nothing to tell, the party simply keeps its name.
    QTest::newRow("name deleted meanwhile") << false << QStringList();
    QTest::newRow("database gone meanwhile")
        << true << QStringList{QStringLiteral("The name could not be read from the names database.")};
}

void NamesTest::nameGoneOrUnreadableIsNotHandedBack()
{
    QFETCH(bool, databaseGone);
    QFETCH(QStringList, expectedReports);
    auto window = openNames(m_baker);
    if (databaseGone) {
        QVERIFY(m_names->damageNamesDb(NamesFixture::Damage::Missing));
        m_interaction->expectInform(QStringLiteral("Names"));
    } else {
        QCOMPARE(NameStore(m_session->paths.namesDbPath()).deleteName(m_baker), NameStoreStatus::Ok);
    }
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdSave"), Qt::LeftButton);
    QCOMPARE(window->outcome(), Names::Outcome::Closed);
    QVERIFY(window->choice().name.isEmpty());
    QVERIFY(!window->isVisible());
    QCOMPARE(reports(), expectedReports);
}

void NamesTest::aFailedStepIsReportedAndTheWindowStaysUsable_data()
{
    QTest::addColumn<NamesFixture::Damage>("damage");
    QTest::newRow("database moved away") << NamesFixture::Damage::Missing;
    QTest::newRow("database replaced by a folder") << NamesFixture::Damage::Folder;
    QTest::newRow("database replaced by a file that is no database") << NamesFixture::Damage::NotADatabase;
}

void NamesTest::aFailedStepIsReportedAndTheWindowStaysUsable()
{
    QFETCH(NamesFixture::Damage, damage);
    auto window = openNames(m_baker);
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdMoreInfo"), Qt::LeftButton);
    auto* list = child<QListView>(window.get(), "List1");
    QVERIFY(m_names->damageNamesDb(damage));

    // An edit that cannot be stored.
    m_interaction->expectInform(QStringLiteral("Names"));
    typeInto(window.get(), "Text5", QStringLiteral("1 Lost Lane"));
    QVERIFY(m_interaction->allExpectationsMet());

    // A name that cannot be added: the list stays as it was.
    m_interaction->expectInform(QStringLiteral("Names"));
    auto added = onNextModal([](QWidget* dialog) {
        QTest::keyClicks(child<QLineEdit>(dialog, "txtLastname"), QStringLiteral("Cole"));
        QTest::mouseClick(child<QPushButton>(dialog, "cmdSelect"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdAddNewName"), Qt::LeftButton);
    QVERIFY_ANSWERED(added);
    QVERIFY(m_interaction->allExpectationsMet());
    QCOMPARE(list->model()->rowCount(), 3);
    QCOMPARE(window->currentKey(), m_baker);

    // A name that cannot be deleted; the list cannot be read again either.
    m_interaction->expectAsk(Interaction::Answer::Yes,
                             QStringLiteral("Delete 'Baker Bob") + QString(71, QLatin1Char(' ')) + m_baker +
                                 QLatin1Char('\''));
    m_interaction->expectInform(QStringLiteral("Names"));
    m_interaction->expectInform(QStringLiteral("Names"));
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdDeleteName"), Qt::LeftButton);
    QVERIFY(m_interaction->allExpectationsMet());
    QCOMPARE(list->model()->rowCount(), 0);
    QVERIFY(window->isVisible());

    // The words of the administration window, each followed by the store's reason.
    const QString path = m_session->paths.namesDbPath();
    QCOMPARE(reports(),
             (QStringList{
                 QStringLiteral("The changes to this name could not be saved in the names database."),
                 QStringLiteral("The new name could not be added to the names database."),
                 QStringLiteral("The name could not be deleted from the names database."),
                 QStringLiteral("The names database %1 could not be opened.").arg(path),
             }));
    for (const ScriptedInteraction::Prompt& prompt : m_interaction->prompts) {
        if (prompt.kind == ScriptedInteraction::Kind::Inform)
            QVERIFY2(prompt.text.contains(QStringLiteral("\n\n")), qPrintable(prompt.text));
    }

    // Once the file is back, a name added is listed, its edits are stored and it can be picked.
    QVERIFY(m_names->restoreNamesDb());
    auto addedAgain = onNextModal([](QWidget* dialog) {
        QTest::keyClicks(child<QLineEdit>(dialog, "txtFirstName"), QStringLiteral("Carl"));
        QTest::keyClicks(child<QLineEdit>(dialog, "txtLastname"), QStringLiteral("Cole"));
        QTest::mouseClick(child<QPushButton>(dialog, "cmdSelect"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdAddNewName"), Qt::LeftButton);
    QVERIFY_ANSWERED(addedAgain);
    QCOMPARE(list->model()->rowCount(), 4);
    const QString cole = window->currentKey();
    QVERIFY(cole.startsWith(QLatin1Char('C')));
    typeInto(window.get(), "Text5", QStringLiteral("2 Found Lane"));
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdSave"), Qt::LeftButton);
    QCOMPARE(window->outcome(), Names::Outcome::Selected);
    QCOMPARE(window->choice().name.keyNumber(), cole);
    QCOMPARE(window->choice().name.value(QStringLiteral("street")), QStringLiteral("2 Found Lane"));
    // The edit made while the file was away went nowhere.
    QCOMPARE(NameStore(path).load(m_baker)->value(QStringLiteral("street")), QString(QLatin1String("")));
    QCOMPARE(reports().size(), 4);
}

QTEST_MAIN(NamesTest)
#include "NamesTest.moc"
