// The worksheet's party labels driven through the Names window: what each way of closing the
// window leaves in the case's party columns.

#include "WorksheetFixture.h"
#include "core/names/NameStore.h"
#include "ui/worksheet/FormCS42.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

using namespace cs42;
using namespace cs42::test;

class PartyFieldsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void selectNameStoresTheParty();
    void editedStreetReachesTheAddressBlock();
    void partyWhoseKeyIsGoneStartsAtTheFirstEntry();
    void addNameThenSelectNamePicksTheNewRecord();
    void noSelectionEmptiesTheParty();
    void closeBoxAfterPickingThePlaintiffLeavesTheDefendant_data();
    void closeBoxAfterPickingThePlaintiffLeavesTheDefendant();

private:
    QString addPerson(const QString& first, const QString& last);
    void openWorksheet();

    QLabel* label(const char* name) const { return m_form->findChild<QLabel*>(QLatin1String(name)); }

    // Clicks a party label; `inWindow` works the Names window it opens.
    std::shared_ptr<ModalAnswer> clickParty(const char* name, std::function<void(QWidget*)> inWindow);

    static void press(QWidget* window, const char* name)
    {
        QTest::mouseClick(window->findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
    }

    std::unique_ptr<WorksheetFixture> m_data;
    std::unique_ptr<FormCS42> m_form;
    QString m_smith;
    QString m_jones;
};

void PartyFieldsTest::init()
{
    // A fresh case and names directory: the seed, John Smith of 100 Main St and Mary Jones.
    m_data = std::make_unique<WorksheetFixture>();
    m_smith = addPerson(QStringLiteral("John"), QStringLiteral("Smith"));
    m_jones = addPerson(QStringLiteral("Mary"), QStringLiteral("Jones"));
    const NameStore store(m_data->session.paths.namesDbPath());
    QHash<QString, QString> boxes = store.load(m_smith)->values();
    boxes.insert(QStringLiteral("street"), QStringLiteral("100 Main St"));
    boxes.insert(QStringLiteral("city"), QStringLiteral("Springfield"));
    boxes.insert(QStringLiteral("namestate"), QStringLiteral("IL"));
    boxes.insert(QStringLiteral("zipcode"), QStringLiteral("62701"));
    QCOMPARE(store.saveFields(m_smith, boxes), NameStoreStatus::Ok);
    openWorksheet();
}

void PartyFieldsTest::cleanup()
{
    m_form.reset();
    QVERIFY2(m_data->interaction.allExpectationsMet(), "a scripted prompt was not shown");
    m_data.reset();
}

QString PartyFieldsTest::addPerson(const QString& first, const QString& last)
{
    const NameParts parts{first, {}, last, {}, {}};
    return NameStore(m_data->session.paths.namesDbPath()).addName(*NameForms::compose(parts), parts);
}

void PartyFieldsTest::openWorksheet()
{
    m_form = std::make_unique<FormCS42>(m_data->session, m_data->host);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

std::shared_ptr<ModalAnswer> PartyFieldsTest::clickParty(const char* name,
                                                         std::function<void(QWidget*)> inWindow)
{
    auto run = onNextModal(std::move(inWindow));
    QTest::mouseClick(label(name), Qt::LeftButton);
    return run;
}

void PartyFieldsTest::selectNameStoresTheParty()
{
    QString selected;
    auto run = clickParty("lblName1Name", [&selected](QWidget* window) {
        auto* list = window->findChild<QListView*>(QStringLiteral("List1"));
        list->setCurrentIndex(list->model()->index(2, 0)); // Example, Jones, Smith
        selected = list->currentIndex().data().toString();
        press(window, "cmdSave");
    });
    QVERIFY_ANSWERED(run);
    QCOMPARE(run->title, QStringLiteral("Select Name of Plaintiff"));
    QVERIFY(selected.endsWith(m_smith));
    QCOMPARE(m_data->stored(QStringLiteral("name1name")), QStringLiteral("John Smith"));
    QCOMPARE(m_data->stored(QStringLiteral("name1number")), m_smith);
    // The address block of a name with an empty second street line, byte for byte.
    QCOMPARE(m_data->stored(QStringLiteral("name1field")).toLatin1(),
             QByteArray("John Smith\r100 Main St \rSpringfield    IL   62701"));
    QCOMPARE(label("lblName1Name")->text().trimmed(), QStringLiteral("John Smith"));
    QCOMPARE(m_data->stored(QStringLiteral("name2number")), QString(QLatin1String("")));
}

void PartyFieldsTest::editedStreetReachesTheAddressBlock()
{
    m_data->setStored({{QStringLiteral("name2name"), QStringLiteral("John Smith")},
                       {QStringLiteral("name2number"), m_smith}});
    m_form->RecalculateWorksheet();
    auto run = clickParty("lblName2Name", [](QWidget* window) {
        press(window, "cmdMoreInfo");
        auto* street = window->findChild<QLineEdit*>(QStringLiteral("Text5"));
        QCOMPARE(street->text(), QStringLiteral("100 Main St")); // starts at the stored party
        street->setFocus(Qt::MouseFocusReason);
        street->selectAll();
        QTest::keyClicks(street, QStringLiteral("7 Oak Court"));
        press(window, "cmdSave");
    });
    QVERIFY_ANSWERED(run);
    QCOMPARE(run->title, QStringLiteral("Select Name of Defendant"));
    QCOMPARE(m_data->stored(QStringLiteral("name2field")).toLatin1(),
             QByteArray("John Smith\r7 Oak Court \rSpringfield    IL   62701"));
    QCOMPARE(NameStore(m_data->session.paths.namesDbPath()).load(m_smith)->value(QStringLiteral("street")),
             QStringLiteral("7 Oak Court"));
}

void PartyFieldsTest::partyWhoseKeyIsGoneStartsAtTheFirstEntry()
{
    m_data->setStored({{QStringLiteral("name1name"), QStringLiteral("Gone Person")},
                       {QStringLiteral("name1number"), QStringLiteral("G1234567")}});
    m_form->RecalculateWorksheet();
    int row = -1;
    QString shown;
    auto run = clickParty("lblName1Name", [&](QWidget* window) {
        row = window->findChild<QListView*>(QStringLiteral("List1"))->currentIndex().row();
        shown = window->findChild<QLineEdit*>(QStringLiteral("Text0"))->text();
        window->close();
    });
    QVERIFY_ANSWERED(run);
    QCOMPARE(row, 0);
    QCOMPARE(shown, QStringLiteral("Example Law Office"));
    // Closed with the close box: the party is left as it was.
    QCOMPARE(m_data->stored(QStringLiteral("name1number")), QStringLiteral("G1234567"));
    QCOMPARE(m_data->stored(QStringLiteral("name1name")), QStringLiteral("Gone Person"));
}

void PartyFieldsTest::addNameThenSelectNamePicksTheNewRecord()
{
    auto run = clickParty("lblName2Name", [](QWidget* window) {
        auto added = onNextModal([](QWidget* dialog) {
            QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("txtFirmname")),
                             QStringLiteral("Acme Supply"));
            press(dialog, "cmdSelect");
        });
        press(window, "cmdAddNewName");
        QVERIFY_ANSWERED(added);
        press(window, "cmdSave");
    });
    QVERIFY_ANSWERED(run);
    const QString key = m_data->stored(QStringLiteral("name2number"));
    QVERIFY(key.startsWith(QLatin1Char('A')) && key != QLatin1String("A0000001"));
    QCOMPARE(m_data->stored(QStringLiteral("name2name")), QStringLiteral("Acme Supply"));
    QCOMPARE(m_data->stored(QStringLiteral("name2field")).toLatin1(), QByteArray("Acme Supply\r \r"));
    QCOMPARE(label("lblName2Name")->text().trimmed(), QStringLiteral("Acme Supply"));
}

void PartyFieldsTest::noSelectionEmptiesTheParty()
{
    m_data->setStored({{QStringLiteral("name1name"), QStringLiteral("Mary Jones")},
                       {QStringLiteral("name1number"), m_jones},
                       {QStringLiteral("name1field"), QStringLiteral("Mary Jones\r \r")}});
    m_form->RecalculateWorksheet();
    QCOMPARE(label("lblName1Name")->text().trimmed(), QStringLiteral("Mary Jones"));
    auto run = clickParty("lblName1Name", [](QWidget* window) { press(window, "Command1"); });
    QVERIFY_ANSWERED(run);
    QCOMPARE(label("lblName1Name")->text().trimmed(), QString());
    for (const char* column : {"name1name", "name1number", "name1field"})
        QCOMPARE(m_data->stored(QString::fromLatin1(column)), QString(QLatin1String("")));
}

void PartyFieldsTest::closeBoxAfterPickingThePlaintiffLeavesTheDefendant_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("close box") << false;
    QTest::newRow("Esc") << true;
}

void PartyFieldsTest::closeBoxAfterPickingThePlaintiffLeavesTheDefendant()
{
    QFETCH(bool, escape);
    m_data->setStored({{QStringLiteral("name2name"), QStringLiteral("Mary Jones")},
                       {QStringLiteral("name2number"), m_jones},
                       {QStringLiteral("name2field"), QStringLiteral("Mary Jones\r \r")}});
    m_form->RecalculateWorksheet();
    auto picked = clickParty("lblName1Name", [this](QWidget* window) {
        auto* list = window->findChild<QListView*>(QStringLiteral("List1"));
        list->setCurrentIndex(list->model()->index(2, 0));
        QVERIFY(list->currentIndex().data().toString().endsWith(m_smith));
        press(window, "cmdSave");
    });
    QVERIFY_ANSWERED(picked);
    QCOMPARE(m_data->stored(QStringLiteral("name1number")), m_smith);

    auto closed = clickParty("lblName2Name", [escape](QWidget* window) {
        if (escape)
            QTest::keyClick(window, Qt::Key_Escape);
        else
            window->close();
        QVERIFY(!window->isVisible());
    });
    QVERIFY_ANSWERED(closed);
    QCOMPARE(m_data->stored(QStringLiteral("name2name")), QStringLiteral("Mary Jones"));
    QCOMPARE(m_data->stored(QStringLiteral("name2number")), m_jones);
    QCOMPARE(m_data->stored(QStringLiteral("name2field")), QStringLiteral("Mary Jones\r \r"));
    QCOMPARE(label("lblName2Name")->text().trimmed(), QStringLiteral("Mary Jones"));
}

QTEST_MAIN(PartyFieldsTest)
#include "PartyFieldsTest.moc"
