// The entry dialogs on their own: what each box does when the focus leaves it, and what each
// dialog hands back for each way of closing it.

#include "WorksheetFixture.h"
#include "ui/worksheet/GetCcare.h"
#include "ui/worksheet/GetChA.h"
#include "ui/worksheet/GetIns.h"
#include "ui/worksheet/GetPreAlimony.h"
#include "ui/worksheet/GetResp.h"
#include "ui/worksheet/Income.h"
#include "ui/worksheet/OverRide.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace cs42;
using namespace cs42::test;

namespace {
// Shows a dialog as exec() would and makes it the active window, so that focus moves between its
// boxes as on a desktop (the offscreen platform does not activate it by itself).
void open(QDialog& dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
}

QLineEdit* box(QDialog& dialog, const char* name)
{
    return dialog.findChild<QLineEdit*>(QLatin1String(name));
}

// Types over a box's text, then moves the focus on with Tab.
void typeAndLeave(QDialog& dialog, const char* name, const QString& text)
{
    QLineEdit* edit = box(dialog, name);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
}

void press(QDialog& dialog, const char* name)
{
    QTest::mouseClick(dialog.findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
}

// An Interaction whose message box is real: it takes the focus from the dialog, as on a desktop,
// and closes itself.
class MessageBoxInteraction : public ScriptedInteraction
{
public:
    void inform(QWidget* parent, const QString& title, const QString& text, Icon icon) override
    {
        ScriptedInteraction::inform(parent, title, text, icon);
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
        QTimer::singleShot(0, &box, [&box] {
            QApplication::setActiveWindow(&box);
            QTimer::singleShot(20, &box, &QMessageBox::accept);
        });
        box.exec();
    }
};
} // namespace

class EntryDialogsTest : public QObject
{
    Q_OBJECT

private slots:

    void incomeBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("decimals round half up") << "2500.50"
                                                << "2501";
        QTest::newRow("thousands separator") << "1,234.56"
                                             << "1235";
        QTest::newRow("negative kept") << "-500"
                                       << "-500";
        QTest::newRow("zero") << "0"
                              << "";
        QTest::newRow("not a number") << "abc"
                                      << "";
        QTest::newRow("number then letters") << "12abc"
                                             << "12";
    }

    void incomeBox()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Income dialog(QStringLiteral("Plaintiff's Monthly Income"), QString());
        open(dialog);
        typeAndLeave(dialog, "Text1", typed);
        QCOMPARE(box(dialog, "Text1")->text(), shown);
        dialog.close(); // the close box takes the amount as well
        QCOMPARE(dialog.dialogValue(), shown);
    }

    void incomeOpensOnTheCaptionSelected()
    {
        Income dialog(QStringLiteral("Defendant's Monthly Income"), QStringLiteral("2501"));
        open(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Defendant's Monthly Income"));
        QCOMPARE(box(dialog, "Text1")->text(), QStringLiteral("2501"));
        QCOMPARE(box(dialog, "Text1")->selectedText(), QStringLiteral("2501"));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("Label2"))->text(),
                 QStringLiteral("Enter Amount $"));
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("Command1"))->text(), QStringLiteral("Done"));
    }

    void alimonyKeepsOnlyPositiveAmounts_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("value");
        QTest::newRow("whole") << "150"
                               << "150.00"
                               << "150.00";
        QTest::newRow("negative") << "-150"
                                  << "-150.00"
                                  << "";
        QTest::newRow("separator") << "1,250.5"
                                   << "1250.50"
                                   << "1250.50";
        QTest::newRow("not a number") << "abc"
                                      << ""
                                      << "";
    }

    void alimonyKeepsOnlyPositiveAmounts()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, value);
        GetPreAlimony dialog(QStringLiteral("Plaintiff's Pre-Existing Periodic Alimony Payment"), QString());
        open(dialog);
        typeAndLeave(dialog, "Text1", typed);
        QCOMPARE(box(dialog, "Text1")->text(), shown);
        press(dialog, "Command1");
        QCOMPARE(dialog.dialogValue(), value);
    }

    void enterClosesWithTheBoxRuleApplied()
    {
        // Enter leaves no time for the focus to move: the box's rule still applies to what is stored.
        GetPreAlimony alimony(QStringLiteral("Plaintiff's Pre-Existing Periodic Alimony Payment"), QString());
        open(alimony);
        QTest::keyClicks(box(alimony, "Text1"), QStringLiteral("75"));
        QTest::keyClick(box(alimony, "Text1"), Qt::Key_Return);
        QVERIFY(!alimony.isVisible());
        QCOMPARE(alimony.dialogValue(), QStringLiteral("75.00"));

        GetIns insurance(QStringLiteral("Health Insurance"), QString());
        open(insurance);
        QTest::keyClicks(box(insurance, "Text1"), QStringLiteral("45.5"));
        QTest::keyClick(box(insurance, "Text1"), Qt::Key_Return);
        QCOMPARE(insurance.dialogValue(), QStringLiteral("45.50"));
    }

    void childCareCloseBoxKeepsTheValueIn()
    {
        GetCcare dialog(QStringLiteral("Work Related Child Care"), QStringLiteral("200"));
        open(dialog);
        QCOMPARE(box(dialog, "Text1")->selectedText(), QStringLiteral("200"));
        QTest::keyClicks(box(dialog, "Text1"), QStringLiteral("999"));
        dialog.close();
        QCOMPARE(dialog.dialogValue(), QStringLiteral("200"));

        GetCcare zero(QStringLiteral("Work Related Child Care"), QStringLiteral("200"));
        open(zero);
        QTest::keyClicks(box(zero, "Text1"), QStringLiteral("0"));
        press(zero, "Command1");
        QCOMPARE(zero.dialogValue(), QString());
    }

    void healthInsuranceCloseBoxTakesTheAmount()
    {
        GetIns dialog(QStringLiteral("Health Insurance"), QStringLiteral("46"));
        open(dialog);
        QCOMPARE(box(dialog, "Text1")->text(), QStringLiteral("46.00"));
        QTest::keyClicks(box(dialog, "Text1"), QStringLiteral("abc"));
        dialog.close();
        QCOMPARE(dialog.dialogValue(), QString());
    }

    void overrideNeedsTheBoxAndAnAmount_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("flag");
        QTest::addColumn<double>("amount");
        QTest::newRow("checked with amount") << "612" << true << "Y" << 612.0;
        QTest::newRow("amount cleared") << "" << true << "N" << 0.0;
        QTest::newRow("unchecked") << "612" << false << "N" << 0.0;
        QTest::newRow("negative kept, has no effect later") << "-5" << true << "Y" << -5.0;
        // An amount typed with a separator or a dollar sign is the amount the user means, not the
        // digits before the comma.
        QTest::newRow("thousands separator") << "1,200" << true << "Y" << 1200.0;
        QTest::newRow("dollar sign") << "$612" << true << "Y" << 612.0;
    }

    void overrideNeedsTheBoxAndAnAmount()
    {
        QFETCH(QString, typed);
        QFETCH(bool, checked);
        QFETCH(QString, flag);
        QFETCH(double, amount);
        OverRide dialog(QStringLiteral("N"), QStringLiteral("1000"));
        open(dialog);
        QCOMPARE(box(dialog, "Text1")->text(), QStringLiteral("1000"));
        box(dialog, "Text1")->setText(typed);
        dialog.findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(checked);
        QTest::keyClick(box(dialog, "Text1"), Qt::Key_Return);
        QCOMPARE(dialog.choice().flag, flag);
        QCOMPARE(dialog.choice().amount, amount);
    }

    void getRespBoxesAndCalculator()
    {
        QTemporaryDir dir;
        const DataPaths paths = DataStore::startUp(dir.path());
        writeTestSchedule(paths.scheduleDbPath());
        GetResp dialog(QStringLiteral("Defendant's Monthly Income"),
                       QString(),
                       QStringLiteral("3010"),
                       QString(),
                       paths.scheduleDbPath());
        open(dialog);
        auto* result = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
        QCOMPARE(result->text(), QStringLiteral("Imputed Amount based on Guidelines: $0"));

        typeAndLeave(dialog, "Text1", QStringLiteral("2.4"));
        QCOMPARE(box(dialog, "Text1")->text(), QStringLiteral("2"));
        QCOMPARE(result->text(), QStringLiteral("Imputed Amount based on Guidelines: $602"));
        typeAndLeave(dialog, "Text1", QStringLiteral("7"));
        QCOMPARE(result->text(), QStringLiteral("Imputed Amount based on Guidelines: $0"));
        typeAndLeave(dialog, "Text1", QStringLiteral("abc"));
        QCOMPARE(box(dialog, "Text1")->text(), QStringLiteral("0"));

        typeAndLeave(dialog, "Text2", QStringLiteral("abc"));
        QCOMPARE(box(dialog, "Text2")->text(), QStringLiteral("0.00"));
        typeAndLeave(dialog, "Text2", QStringLiteral("1,234.5"));
        QCOMPARE(box(dialog, "Text2")->text(), QStringLiteral("1235"));
        dialog.close();
        QCOMPARE(dialog.result().amount, QStringLiteral("1235"));
        QCOMPARE(dialog.result().otherChildren, QStringLiteral("0"));
    }

    void childrenDatesAndNames()
    {
        ScriptedInteraction interaction;
        ChildrenInfo children;
        children[1] = {QStringLiteral("   "), QStringLiteral("01/02/2010")};
        GetChA dialog(children, interaction);
        open(dialog);
        typeAndLeave(dialog, "Text1", QStringLiteral("Ann "));
        typeAndLeave(dialog, "Text2", QStringLiteral("2012-03-07"));
        QCOMPARE(box(dialog, "Text2")->text(), QStringLiteral("03/07/2012"));
        typeAndLeave(dialog, "Text5", QStringLiteral("Cleo"));
        typeAndLeave(dialog, "Text6", QStringLiteral("  "));
        dialog.close();
        const ChildrenInfo out = dialog.children();
        QCOMPARE(out[0].name, QStringLiteral("Ann ")); // as typed
        QCOMPARE(out[0].birthDate, QStringLiteral("03/07/2012"));
        QCOMPARE(out[1].name, QString()); // a blank name drops its date
        QCOMPARE(out[1].birthDate, QString());
        QCOMPARE(out[2].name, QStringLiteral("Cleo"));
        QCOMPARE(out[2].birthDate, QStringLiteral("  "));
        QVERIFY(interaction.prompts.isEmpty());
    }

    void aWrongDateIsReportedOnceWithARealMessageBox()
    {
        MessageBoxInteraction interaction;
        interaction.expectInform(QString(), GetChA::invalidDateText());
        GetChA dialog(ChildrenInfo{}, interaction);
        open(dialog);
        QLineEdit* date = box(dialog, "Text2");
        date->setFocus();
        QTest::keyClicks(date, QStringLiteral("13/45/2012"));
        QTest::keyClick(date, Qt::Key_Tab);
        // The message took the focus and gave it back; nothing more is reported.
        QTest::qWait(100);
        QApplication::setActiveWindow(&dialog);
        QTest::qWait(50);
        QCOMPARE(interaction.prompts.size(), 1);
        QCOMPARE(date->text(), QString());

        // A wrong date still in the box when the dialog closes is reported and never handed back.
        interaction.expectInform(QString(), GetChA::invalidDateText());
        box(dialog, "Text1")->setText(QStringLiteral("Ann"));
        date->setFocus();
        date->setText(QStringLiteral("2/30/2012"));
        dialog.close();
        QCOMPARE(interaction.prompts.size(), 2);
        QCOMPARE(dialog.children()[0].birthDate, QString());
        QVERIFY(interaction.allExpectationsMet());
    }
};

QTEST_MAIN(EntryDialogsTest)
#include "EntryDialogsTest.moc"
