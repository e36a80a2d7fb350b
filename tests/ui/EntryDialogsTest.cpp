// The entry dialogs on their own: what each box does when the focus leaves it, and what each
// dialog hands back for each way of closing it; and the keys of the other two windows the
// worksheet opens over itself, the produce notice and the written explanation.

#include "WorksheetFixture.h"
#include "ui/explain/CalcMessageWindow.h"
#include "ui/produce/ProducingFormBox.h"
#include "ui/worksheet/GetCcare.h"
#include "ui/worksheet/GetChA.h"
#include "ui/worksheet/GetIns.h"
#include "ui/worksheet/GetPreAlimony.h"
#include "ui/worksheet/GetResp.h"
#include "ui/worksheet/Income.h"
#include "ui/worksheet/OverRide.h"

#include <QCheckBox>
#include <QGroupBox>
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

    void dialogTexts_data()
    {
        // Every text of the entry dialogs, word for word, with the control that shows it.
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("control"); // empty: the window caption
        QTest::addColumn<QString>("text");
        QTest::newRow("Income Label2") << "Income"
                                       << "Label2" << QStringLiteral("Enter Amount $");
        QTest::newRow("Income Command1") << "Income"
                                         << "Command1" << QStringLiteral("Done");
        QTest::newRow("GetPreAlimony Label5")
            << "GetPreAlimony"
            << "Label5"
            << QStringLiteral(
                   "Enter Preexisting Periodic Alimony Payment in the space below.  This amount will be "
                   "automatically deducted from the Monthly Gross Income.");
        QTest::newRow("GetPreAlimony Label2")
            << "GetPreAlimony"
            << "Label2" << QStringLiteral("Enter amount of Pre-Existing Periodic Alimony Payment");
        QTest::newRow("GetPreAlimony Command1") << "GetPreAlimony"
                                                << "Command1" << QStringLiteral("&Ok");
        QTest::newRow("GetResp Frame1")
            << "GetResp"
            << "Frame1" << QStringLiteral("Imputed Preexisting Child-Support Obligation Calculator");
        QTest::newRow("GetResp Label8")
            << "GetResp"
            << "Label8"
            << QStringLiteral(
                   "If a parent is legally responsible for and is actually providing child support for other "
                   "children, but not pursuant to an order of child support, a deduction for an \"imputed "
                   "preexisting child-support obligation\" may be made from that parent's gross income. The "
                   "imputed preexisting child-support obligation shall be that amount specified in the "
                   "schedule of basic child-support obligations based on that parent's unadjusted gross "
                   "income and the number of other children for whom that parent is legally responsible. "
                   "\"Other children\" means children who are not the subject of the particular "
                   "child-support determination being made. If this is applicable to this child support "
                   "order, then enter the number of \"other children\" in box below, then transfer click the "
                   "\"Use\" botton to copy to the calculated amount to the box at the bottom of this "
                   "window.");
        QTest::newRow("GetResp Label2") << "GetResp"
                                        << "Label2" << QStringLiteral("Number of other Children");
        QTest::newRow("GetResp cmdUse") << "GetResp"
                                        << "cmdUse" << QStringLiteral("Use");
        QTest::newRow("GetResp Label5")
            << "GetResp"
            << "Label5"
            << QStringLiteral(
                   "The amount of child support actually being paid by a parent pursuant to an order for "
                   "child support of other children shall be deducted from that parent's \"gross income.\" "
                   "If this is applicable to this child support order, then enter the amount in the space "
                   "provided at the bottom of this window and click the \"Ok\" button (be sure to review the "
                   "instructions found in Rule 32 to see if \"Imputed Preexisting Child Support Obligation\" "
                   "applies).");
        QTest::newRow("GetResp Label3")
            << "GetResp"
            << "Label3" << QStringLiteral("Amount to be used on Form CS-42, Line 1a:");
        QTest::newRow("GetResp Command1") << "GetResp"
                                          << "Command1" << QStringLiteral("&Ok");
        QTest::newRow("GetCcare Label1") << "GetCcare"
                                         << "Label1" << QStringLiteral("CHILD-CARE COSTS");
        QTest::newRow("GetCcare Label3")
            << "GetCcare"
            << "Label3"
            << QStringLiteral(
                   "Child-care costs, incurred on behalf of the children because of employment or job search "
                   "of either parent, shall be added to the \"basic child-support obligation.\" Child-care "
                   "costs shall not exceed the amount required to provide care from a licensed source for "
                   "the children, based on a schedule of guidelines developed by the Alabama Department of "
                   "Human Resources. Before the Alabama Department of Human Resources implements any "
                   "revision to the schedule of child-care-cost guidelines, it shall provide the "
                   "administrative director of courts (\"the ADC\") a copy of the revised schedule. The ADC "
                   "shall, as soon as reasonably practicable thereafter, disseminate the revised schedule to "
                   "all circuit and district court judges and clerks and the Family Law Section of the "
                   "Alabama State Bar. The clerk shall maintain the current schedule in his or her office, "
                   "shall make it available for review, and shall provide copies of it on request, at the "
                   "customary cost for copies of documents.");
        QTest::newRow("GetCcare Label2")
            << "GetCcare"
            << "Label2" << QStringLiteral("Enter amount paid for work related child care");
        QTest::newRow("GetCcare Command1") << "GetCcare"
                                           << "Command1" << QStringLiteral("&Ok");
        QTest::newRow("GetIns Label1") << "GetIns"
                                       << "Label1" << QStringLiteral("HEALTH INSURANCE ");
        QTest::newRow("GetIns Label3")
            << "GetIns"
            << "Label3"
            << QStringLiteral(
                   "The amount to be added to the \"basic child-support obligation\" and inserted in Line 6 "
                   "(\"Health-Insurance Costs\") of the Child-Support Guidelines form (Form CS-42) shall be "
                   "the pro rata portion of the medical insurance premium attributable to the child or "
                   "children who are the subject of the support order, which shall be calculated by dividing "
                   "the total medical-insurance premium actually paid by, or on behalf of, the parent "
                   "ordered to provide the coverage by the total number of persons (adult and/or children) "
                   "covered and then multiplying the result by the number of children who are the subject of "
                   "the support order.");
        QTest::newRow("GetIns Label5")
            << "GetIns"
            << "Label5" << QStringLiteral("Enter amount to use for Health Insurance:");
        QTest::newRow("GetIns Command1") << "GetIns"
                                         << "Command1" << QStringLiteral("&Ok");
        QTest::newRow("OverRide Label1")
            << "OverRide"
            << "Label1"
            << QStringLiteral(
                   "This software program has calculated the child support amount for this case by cross "
                   "referencing the combined adjusted gross income with the number of children on the "
                   "Schedule of Basic Child Support Obligation. You may override this amount by entering "
                   "your own value in the space provided below and then checking the box for confirmation.");
        QTest::newRow("OverRide Label2") << "OverRide"
                                         << "Label2" << QStringLiteral("Override Amount $");
        QTest::newRow("OverRide Check1") << "OverRide"
                                         << "Check1" << QStringLiteral("Use Override Amount");
        QTest::newRow("OverRide Label4")
            << "OverRide"
            << "Label4"
            << QStringLiteral(
                   "NOTE:  If you override the amount calculated by this software program, be sure to notify "
                   "all parties involved that the worksheet was generated outside the Alabama Child Support "
                   "Guidelines.");
        QTest::newRow("OverRide Command1") << "OverRide"
                                           << "Command1" << QStringLiteral("&Done");
        QTest::newRow("GetChA Label1")
            << "GetChA"
            << "Label1" << QStringLiteral("Child's Name                         Date of Birth ");
        QTest::newRow("GetChA Command1") << "GetChA"
                                         << "Command1" << QStringLiteral("&Ok");
        QTest::newRow("OverRide caption") << "OverRide"
                                          << "" << QStringLiteral("Override Child Support Amount");
        QTest::newRow("GetChA caption") << "GetChA"
                                        << "" << QStringLiteral("Information about Children");
    }

    void dialogTexts()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, control);
        QFETCH(QString, text);
        QTemporaryDir dir;
        ScriptedInteraction interaction;
        std::unique_ptr<QDialog> window;
        if (dialog == QLatin1String("Income"))
            window = std::make_unique<Income>(QStringLiteral("t"), QString());
        else if (dialog == QLatin1String("GetPreAlimony"))
            window = std::make_unique<GetPreAlimony>(QStringLiteral("t"), QString());
        else if (dialog == QLatin1String("GetResp"))
            window = std::make_unique<GetResp>(QStringLiteral("t"),
                                               QString(),
                                               QString(),
                                               QString(),
                                               dir.filePath(QStringLiteral("none.MDB")));
        else if (dialog == QLatin1String("GetCcare"))
            window = std::make_unique<GetCcare>(QStringLiteral("t"), QString());
        else if (dialog == QLatin1String("GetIns"))
            window = std::make_unique<GetIns>(QStringLiteral("t"), QString());
        else if (dialog == QLatin1String("OverRide"))
            window = std::make_unique<OverRide>(QStringLiteral("N"), QString());
        else
            window = std::make_unique<GetChA>(ChildrenInfo{}, interaction, QDate(2024, 3, 15));
        QCOMPARE(window->objectName(), dialog);
        if (control.isEmpty()) {
            QCOMPARE(window->windowTitle(), text);
            return;
        }
        auto* widget = window->findChild<QWidget*>(control);
        QVERIFY(widget != nullptr);
        if (auto* label = qobject_cast<QLabel*>(widget))
            QCOMPARE(label->text(), text);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            QCOMPARE(button->text(), text);
        else
            QCOMPARE(qobject_cast<QGroupBox*>(widget)->title(), text);
    }

    void singleAmountDialogs_data()
    {
        // Income, GetPreAlimony, GetCcare and GetIns: one box each, with its own rule. `entry`
        // is how the amount is typed: "tab" types over the box and leaves it with Tab (then the
        // box shows `shown`), "keys" types where the dialog put the cursor, "none" types nothing.
        // `close` is how the dialog is left: "ok", "enter" in the box, "close" (the close box),
        // or "none". An empty `opensWith` is not checked.
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("initial");
        QTest::addColumn<QString>("opensWith");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("close");
        QTest::addColumn<QString>("value");

        const QString income = QStringLiteral("Plaintiff's Monthly Income");
        // The close box takes the amount as well.
        const auto incomeRow = [&](const char* name, const char* typed, const char* shown) {
            QTest::newRow(name) << "Income" << income << ""
                                << "" << false << "tab" << typed << shown << "close" << shown;
        };
        incomeRow("Income: decimals round half up", "2500.50", "2501");
        incomeRow("Income: thousands separator", "1,234.56", "1235");
        incomeRow("Income: dollar sign", "$612", "612");
        incomeRow("Income: zero", "0", "");
        incomeRow("Income: empty is no amount", "", "");
        QTest::newRow("Income: opens on the caption, the value selected") << "Income"
                                                                          << "Defendant's Monthly Income"
                                                                          << "2501"
                                                                          << "2501" << true << "none"
                                                                          << ""
                                                                          << ""
                                                                          << "none"
                                                                          << "";

        // Alimony keeps only positive amounts.
        const QString alimony = QStringLiteral("Plaintiff's Pre-Existing Periodic Alimony Payment");
        const auto alimonyRow =
            [&](const char* name, const char* typed, const char* shown, const char* value) {
                QTest::newRow(name) << "GetPreAlimony" << alimony << ""
                                    << "" << false << "tab" << typed << shown << "ok" << value;
            };
        alimonyRow("GetPreAlimony: whole", "150", "150.00", "150.00");
        alimonyRow("GetPreAlimony: separator", "1,250.5", "1250.50", "1250.50");
        alimonyRow("GetPreAlimony: zero", "0", "0.00", "");

        // Enter leaves no time for the focus to move: the box's rule still applies to what is stored.
        QTest::newRow("GetPreAlimony: Enter applies the rule") << "GetPreAlimony" << alimony << ""
                                                               << "" << false << "keys"
                                                               << "75"
                                                               << ""
                                                               << "enter"
                                                               << "75.00";
        QTest::newRow("GetIns: Enter applies the rule") << "GetIns"
                                                        << "Health Insurance"
                                                        << ""
                                                        << "" << false << "keys"
                                                        << "45.5"
                                                        << ""
                                                        << "enter"
                                                        << "45.50";

        // The close box keeps child care as it was, and takes the insurance amount as typed.
        QTest::newRow("GetCcare: close box keeps the value in") << "GetCcare"
                                                                << "Work Related Child Care"
                                                                << "200"
                                                                << "200" << true << "keys"
                                                                << "999"
                                                                << ""
                                                                << "close"
                                                                << "200";
        QTest::newRow("GetCcare: zero is no amount") << "GetCcare"
                                                     << "Work Related Child Care"
                                                     << "200"
                                                     << "" << false << "keys"
                                                     << "0"
                                                     << ""
                                                     << "ok"
                                                     << "";
        QTest::newRow("GetIns: close box takes the amount") << "GetIns"
                                                            << "Health Insurance"
                                                            << "46"
                                                            << "46.00" << false << "tab"
                                                            << "$51.5"
                                                            << "51.50"
                                                            << "close"
                                                            << "51.50";
    }

    void singleAmountDialogs()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, caption);
        QFETCH(QString, initial);
        QFETCH(QString, opensWith);
        QFETCH(bool, selected);
        QFETCH(QString, entry);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, close);
        QFETCH(QString, value);

        std::unique_ptr<AmountDialog> window;
        if (dialog == QLatin1String("Income"))
            window = std::make_unique<Income>(caption, initial);
        else if (dialog == QLatin1String("GetPreAlimony"))
            window = std::make_unique<GetPreAlimony>(caption, initial);
        else if (dialog == QLatin1String("GetCcare"))
            window = std::make_unique<GetCcare>(caption, initial);
        else
            window = std::make_unique<GetIns>(caption, initial);
        QCOMPARE(window->objectName(), dialog);
        // Nothing these rows type is refused: a message would fail the row.
        ScriptedInteraction interaction;
        window->setAmountCheck(interaction, {});
        open(*window);
        QCOMPARE(window->windowTitle(), caption);
        QLineEdit* edit = box(*window, "Text1");
        if (!opensWith.isEmpty())
            QCOMPARE(edit->text(), opensWith);
        if (selected)
            QCOMPARE(edit->selectedText(), opensWith);

        if (entry == QLatin1String("tab")) {
            typeAndLeave(*window, "Text1", typed);
            QCOMPARE(edit->text(), shown);
        } else if (entry == QLatin1String("keys")) {
            QTest::keyClicks(edit, typed);
        }

        if (close == QLatin1String("none"))
            return;
        if (close == QLatin1String("ok")) {
            press(*window, "Command1");
        } else if (close == QLatin1String("enter")) {
            QTest::keyClick(edit, Qt::Key_Return);
            QVERIFY(!window->isVisible());
        } else {
            window->close();
        }
        QCOMPARE(window->dialogValue(), value);
    }

    void wrongAmountTextIsRefused_data()
    {
        // Every amount box of the 2009 form: `typed` over its text, then closed by `close`: "ok"
        // after leaving the box with Tab (the box keeps the text as typed), "enter" in the box,
        // or "close" (the close box) after Tab. `told`: the message that refuses it, empty for none.
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("close");
        QTest::addColumn<QString>("told");

        const auto notAnAmount = [](const char* typed) {
            return QStringLiteral("'%1' is not an amount. Enter the amount in dollars and cents, such as "
                                  "1,234.56, or leave the box empty for none.")
                .arg(QLatin1String(typed));
        };
        const QString negative = QStringLiteral("This amount cannot be negative. Enter the amount in "
                                                "dollars and cents, or leave the box empty for none.");
        for (const char* dialog : {"Income", "GetPreAlimony", "GetCcare", "GetIns", "GetResp", "OverRide"}) {
            // GetResp's amount box takes no Enter: its rows close on the button.
            const char* enter = QLatin1String(dialog) == QLatin1String("GetResp") ? "ok" : "enter";
            const auto row =
                [&](const char* what, const char* typed, const char* close, const QString& told) {
                    QTest::addRow("%s: %s", dialog, what) << dialog << typed << close << told;
                };
            row("not a number", "abc", "ok", notAnAmount("abc"));
            row("number then letters", "12abc", enter, notAnAmount("12abc"));
            row("negative", "-150", "ok", negative);
        }
        QTest::newRow("Income: close box, nothing stored") << "Income"
                                                           << "abc"
                                                           << "close" << notAnAmount("abc");
        QTest::newRow("GetIns: close box, nothing stored") << "GetIns"
                                                           << "-45.5"
                                                           << "close" << negative;
        QTest::newRow("OverRide: close box, nothing stored") << "OverRide"
                                                             << "1,2"
                                                             << "close" << notAnAmount("1,2");
        // Child care's close box keeps the value that came in: nothing typed is taken or said.
        QTest::newRow("GetCcare: close box keeps the value") << "GetCcare"
                                                             << "abc"
                                                             << "close"
                                                             << "";
    }

    void wrongAmountTextIsRefused()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, typed);
        QFETCH(QString, close);
        QFETCH(QString, told);
        QTemporaryDir dir;
        const QString title = QStringLiteral("Plaintiff's Monthly Income");
        std::unique_ptr<EntryDialog> window;
        if (dialog == QLatin1String("Income"))
            window = std::make_unique<Income>(title, QStringLiteral("3000"));
        else if (dialog == QLatin1String("GetPreAlimony"))
            window = std::make_unique<GetPreAlimony>(title, QStringLiteral("250"));
        else if (dialog == QLatin1String("GetCcare"))
            window = std::make_unique<GetCcare>(title, QStringLiteral("200"));
        else if (dialog == QLatin1String("GetIns"))
            window = std::make_unique<GetIns>(title, QStringLiteral("46"));
        else if (dialog == QLatin1String("GetResp"))
            window = std::make_unique<GetResp>(
                title, QStringLiteral("400"), QString(), QString(), dir.filePath(QStringLiteral("none.MDB")));
        else
            window = std::make_unique<OverRide>(QStringLiteral("Y"), QStringLiteral("612")); // checked
        ScriptedInteraction interaction;
        window->setAmountCheck(interaction, {});
        if (!told.isEmpty())
            interaction.expectInform(QString(), told);
        open(*window);
        const char* name = dialog == QLatin1String("GetResp") ? "Text2" : "Text1";
        QLineEdit* edit = box(*window, name);

        if (close == QLatin1String("enter")) {
            edit->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, typed);
            QTest::keyClick(edit, Qt::Key_Return);
        } else {
            typeAndLeave(*window, name, typed);
            QCOMPARE(edit->text(), typed); // not rewritten into what it would hand back
            if (close == QLatin1String("ok"))
                press(*window, "Command1");
            else
                window->close();
        }
        QCOMPARE(interaction.prompts.size(), told.isEmpty() ? 0 : 1);
        QVERIFY(interaction.allExpectationsMet());
        if (close == QLatin1String("close")) {
            QVERIFY(!window->isVisible());
            // Refused: the worksheet stores nothing.
            QCOMPARE(window->refused(), !told.isEmpty());
            return;
        }
        // The dialog stays open on the text as typed, selected to be typed over.
        QVERIFY(window->isVisible());
        QCOMPARE(edit->text(), typed);
        QVERIFY(edit->hasFocus());
        QCOMPARE(edit->selectedText(), typed);
        QVERIFY(!window->refused());
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
        // Unchecked, the box is not looked at: no message, and nothing of it is stored.
        QTest::newRow("unchecked, not an amount") << "abc" << false << "N" << 0.0;
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
        ScriptedInteraction interaction;
        dialog.setAmountCheck(interaction, {});
        open(dialog);
        QCOMPARE(box(dialog, "Text1")->text(), QStringLiteral("1000"));
        box(dialog, "Text1")->setText(typed);
        dialog.findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(checked);
        QTest::keyClick(box(dialog, "Text1"), Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.choice().flag, flag);
        QCOMPARE(dialog.choice().amount, amount);
    }

    // An amount typed is meant: Return takes it and ticks the box; Tab runs amount, tick box, button.
    void overrideTakesTheAmountTyped()
    {
        ScriptedInteraction interaction;
        OverRide typedThenReturn(QStringLiteral("N"), QStringLiteral("1313"));
        typedThenReturn.setAmountCheck(interaction, {});
        open(typedThenReturn);
        QTest::keyClicks(box(typedThenReturn, "Text1"), QStringLiteral("1500"));
        QTest::keyClick(box(typedThenReturn, "Text1"), Qt::Key_Return);
        QVERIFY(!typedThenReturn.isVisible());
        QCOMPARE(typedThenReturn.choice().flag, QStringLiteral("Y"));
        QCOMPARE(typedThenReturn.choice().amount, 1500.0);

        OverRide tabbed(QStringLiteral("N"), QStringLiteral("1313"));
        tabbed.setAmountCheck(interaction, {});
        open(tabbed);
        QTest::keyClicks(box(tabbed, "Text1"), QStringLiteral("1500"));
        QTest::keyClick(box(tabbed, "Text1"), Qt::Key_Tab);
        auto* tick = tabbed.findChild<QCheckBox*>(QStringLiteral("Check1"));
        QVERIFY(tick->hasFocus());
        QTest::keyClick(tick, Qt::Key_Space);
        QVERIFY(tick->isChecked());
        QTest::keyClick(tick, Qt::Key_Tab);
        QVERIFY(tabbed.findChild<QPushButton*>(QStringLiteral("Command1"))->hasFocus());
        QCOMPARE(tabbed.choice().flag, QStringLiteral("Y"));
        QCOMPARE(tabbed.choice().amount, 1500.0);
    }

    // Above the schedule the court sets line 4 within the guidelines; below it an override departs
    // from them.
    void overrideNoteSaysWhetherTheAmountIsTheGuidelines()
    {
        OverRide below(QStringLiteral("N"), QStringLiteral("1313"));
        OverRide above(QStringLiteral("N"), QString(), true);
        const auto note = [](const OverRide& dialog) {
            return dialog.findChild<QLabel*>(QStringLiteral("Label4"))->text();
        };
        QVERIFY(
            note(below).contains(QStringLiteral("generated outside the Alabama Child Support Guidelines")));
        QVERIFY(!note(above).contains(QStringLiteral("outside")));
        QVERIFY(note(above).contains(QStringLiteral("within the Alabama Child Support Guidelines")));
    }

    void onlyTheCalculatorSelectsABoxOnEveryFocus()
    {
        // Clicking into a name places the cursor where the user clicked, to correct one letter.
        ScriptedInteraction interaction;
        ChildrenInfo children;
        children[1] = {QStringLiteral("Ben Roe"), QStringLiteral("11/21/2015")};
        GetChA chA(children, interaction, QDate(2024, 3, 15));
        open(chA);
        QTest::mouseClick(box(chA, "Text3"), Qt::LeftButton, {}, QPoint(6, box(chA, "Text3")->height() / 2));
        QTest::qWait(20);
        QVERIFY(box(chA, "Text3")->hasFocus());
        QCOMPARE(box(chA, "Text3")->selectedText(), QString());

        Income income(QStringLiteral("Plaintiff's Monthly Income"), QStringLiteral("2501"));
        open(income);
        QTest::keyClick(box(income, "Text1"), Qt::Key_Tab);
        QTest::mouseClick(
            box(income, "Text1"), Qt::LeftButton, {}, QPoint(6, box(income, "Text1")->height() / 2));
        QTest::qWait(20);
        QCOMPARE(box(income, "Text1")->selectedText(), QString());

        // GetResp's two boxes select their whole text whenever they get the focus.
        QTemporaryDir dir;
        const DataPaths paths = DataStore::startUp(dir.path());
        GetResp resp(QStringLiteral("Plaintiff's Monthly Income"),
                     QStringLiteral("602"),
                     QString(),
                     QStringLiteral("2"),
                     paths.scheduleDbPath());
        open(resp);
        QTest::mouseClick(
            box(resp, "Text2"), Qt::LeftButton, {}, QPoint(6, box(resp, "Text2")->height() / 2));
        QTRY_COMPARE(box(resp, "Text2")->selectedText(), QStringLiteral("602"));
    }

    void enterPressesTheFocusedButton()
    {
        Income income(QStringLiteral("Plaintiff's Monthly Income"), QString());
        open(income);
        QTest::keyClicks(box(income, "Text1"), QStringLiteral("900"));
        QTest::keyClick(box(income, "Text1"), Qt::Key_Tab);
        QVERIFY(income.findChild<QPushButton*>(QStringLiteral("Command1"))->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!income.isVisible());
        QCOMPARE(income.result(), int(QDialog::Accepted));
        QCOMPARE(income.dialogValue(), QStringLiteral("900"));

        // Enter in GetResp's number box presses nothing; on "Use" it copies the imputed amount.
        QTemporaryDir dir;
        const DataPaths paths = DataStore::startUp(dir.path());
        writeTestSchedule(paths.scheduleDbPath());
        GetResp resp(QStringLiteral("Plaintiff's Monthly Income"),
                     QString(),
                     QStringLiteral("3010"),
                     QStringLiteral("2"),
                     paths.scheduleDbPath());
        open(resp);
        QTest::keyClick(box(resp, "Text1"), Qt::Key_Return);
        QVERIFY(resp.isVisible());
        QCOMPARE(box(resp, "Text2")->text(), QString());
        auto* use = resp.findChild<QPushButton*>(QStringLiteral("cmdUse"));
        use->setFocus(Qt::TabFocusReason);
        QTest::keyClick(use, Qt::Key_Enter);
        QVERIFY(resp.isVisible());
        QCOMPARE(box(resp, "Text2")->text(), QStringLiteral("602"));
    }

    void produceNoticeKeys_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<bool>("produce");
        QTest::newRow("Enter on the focused Produce Form Now") << QList<int>{Qt::Key_Return} << true;
        QTest::newRow("Tab to Cancel, then Enter") << QList<int>{Qt::Key_Tab, Qt::Key_Enter} << false;
        QTest::newRow("Escape closes otherwise: produce") << QList<int>{Qt::Key_Escape} << true;
    }

    void produceNoticeKeys()
    {
        QFETCH(QList<int>, keys);
        QFETCH(bool, produce);
        ProducingFormBox notice;
        open(notice);
        QCOMPARE(QApplication::focusWidget(), notice.findChild<QPushButton*>(QStringLiteral("Command1")));
        for (int key : keys)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QVERIFY(!notice.isVisible());
        QCOMPARE(notice.produceConfirmed(), produce);
    }

    void produceNoticeTexts()
    {
        ProducingFormBox notice;
        QCOMPARE(notice.windowTitle(), QStringLiteral("Produce Form"));
        QCOMPARE(notice.size(), QSize(11130 / 15, 6015 / 15));

        const struct
        {
            const char* name;
            double points;
            QRect twips;
            const char* text;
        } labels[] = {
            {"Label2", 18, {360, 315, 10440, 510}, "Producing Form... Please Read!"},
            {"Label1",
             12,
             {360, 975, 10440, 1275},
             "This program merges the data you have entered about your case with the blank court form in "
             "its data folder: the program's own drawing of the court's form, with the fields of the "
             "court's fillable PDF.  The filled form is shown in this program's own preview; no other "
             "software is needed to display it."},
            {"Label3",
             12,
             {360, 2490, 10440, 975},
             "Creating the PDF form takes a fraction of a second.  Once it is displayed on your computer's "
             "screen, it may be printed or saved.  When you are finished, please be sure to CLOSE the PDF "
             "form."},
            {"Label4",
             12,
             {360, 3705, 10440, 975},
             "Keep in mind that any changes you make on the PDF Form itself will be discarded when it is "
             "closed.  To make permanent changes to the database, return to this program, make whatever "
             "changes are needed, then produce the PDF Form again."},
            {"Command1", 9.75, {3585, 5085, 2400, 495}, "&Produce Form Now"},
            {"Command2", 9.75, {6315, 5085, 1215, 495}, "&Cancel"},
        };

        for (const auto& expected : labels) {
            auto* widget = notice.findChild<QWidget*>(QLatin1String(expected.name));
            QVERIFY2(widget != nullptr, expected.name);
            const auto* label = qobject_cast<QLabel*>(widget);
            const auto* button = qobject_cast<QPushButton*>(widget);
            QCOMPARE(label ? label->text() : button->text(), QString::fromUtf8(expected.text));
            QCOMPARE(widget->font().pointSizeF(), expected.points);
            QVERIFY2(widget->font().bold(), expected.name);
            const QRect& t = expected.twips;
            QCOMPARE(widget->geometry(), QRect(t.x() / 15, t.y() / 15, t.width() / 15, t.height() / 15));
        }
        QCOMPARE(notice.findChild<QLabel*>(QStringLiteral("Label4"))->palette().color(QPalette::WindowText),
                 QColor(Qt::red));
        QCOMPARE(notice.palette().color(QPalette::Window), QColor(Qt::white));
    }

    void explanationWindowDoneTakesEnter()
    {
        ScriptedInteraction interaction;
        CalcMessageWindow window(QStringLiteral("Line one.\r\n\r\nLine two."), interaction);
        open(window);
        QCOMPARE(QApplication::focusWidget(), window.findChild<QPushButton*>(QStringLiteral("Command1")));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!window.isVisible());
        QVERIFY(interaction.prompts.isEmpty());
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

        // Text that closing refuses stays as typed; an amount is rewritten in whole dollars.
        typeAndLeave(dialog, "Text2", QStringLiteral("abc"));
        QCOMPARE(box(dialog, "Text2")->text(), QStringLiteral("abc"));
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
        GetChA dialog(children, interaction, QDate(2024, 3, 15));
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

    void wrongBirthDateIsRefused_data()
    {
        // Typed into the second child's date (the third child's name follows it), then: "tab"
        // leaves the box with Tab; "ok" clicks "&Ok" from the box; "tab ok" does both; "close"
        // uses the close box from the box. `told`: how many times the message is shown.
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("close");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("told");

        const auto notADate = [](const char* typed) {
            return QStringLiteral("'%1' is not a date. Enter the date of birth as month/day/year, such as "
                                  "03/07/2012, or leave the box empty.")
                .arg(QLatin1String(typed));
        };
        const QString tomorrow = QStringLiteral("This date of birth, 03/16/2024, is later than today "
                                                "(03/15/2024). Enter a date of birth no later than today, "
                                                "or leave the box empty.");
        QTest::newRow("not a date, Tab") << "13/45/2012"
                                         << "tab" << notADate("13/45/2012") << 1;
        QTest::newRow("not a date, Ok") << "2/30/2012"
                                        << "ok" << notADate("2/30/2012") << 1;
        QTest::newRow("letters, Tab then Ok") << "soon"
                                              << "tab ok" << notADate("soon") << 2;
        QTest::newRow("not a date, close box") << "12/2015"
                                               << "close" << notADate("12/2015") << 1;
        QTest::newRow("future, Tab") << "3/16/2024"
                                     << "tab" << tomorrow << 1;
        QTest::newRow("future, Ok") << "2024-03-16"
                                    << "ok" << tomorrow << 1;
        QTest::newRow("future, close box") << "March 16, 2024"
                                           << "close" << tomorrow << 1;
    }

    void wrongBirthDateIsRefused()
    {
        QFETCH(QString, typed);
        QFETCH(QString, close);
        QFETCH(QString, message);
        QFETCH(int, told);
        ScriptedInteraction interaction;
        for (int i = 0; i < told; ++i)
            interaction.expectInform(QString(), message);
        ChildrenInfo children;
        children[0] = {QStringLiteral("Ann"), QStringLiteral("03/07/2012")};
        children[1] = {QStringLiteral("Ben"), QStringLiteral("11/21/2015")};
        GetChA dialog(children, interaction, QDate(2024, 3, 15));
        open(dialog);
        QLineEdit* date = box(dialog, "Text4");
        date->setFocus();
        date->selectAll();
        QTest::keyClicks(date, typed);
        if (close.startsWith(QLatin1String("tab"))) {
            QTest::keyClick(date, Qt::Key_Tab);
            QCOMPARE(interaction.prompts.size(), 1);
            QCOMPARE(date->text(), typed); // kept to be put right, not cleared
        }
        if (close.endsWith(QLatin1String("ok")))
            press(dialog, "Command1");
        else if (close == QLatin1String("close"))
            dialog.close();
        QCOMPARE(interaction.prompts.size(), told);
        QVERIFY(interaction.allExpectationsMet());
        if (close == QLatin1String("close")) {
            QVERIFY(!dialog.isVisible());
            QVERIFY(dialog.refused()); // the worksheet stores nothing
            return;
        }
        QVERIFY(dialog.isVisible());
        QVERIFY(!dialog.refused());
        QCOMPARE(date->text(), typed);
        if (close != QLatin1String("tab")) {
            QVERIFY(date->hasFocus());
            QCOMPARE(date->selectedText(), typed);
        }
        // Put right, the dialog closes with it.
        date->setFocus();
        date->setText(QStringLiteral("1/2/2016"));
        press(dialog, "Command1");
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.children()[1].birthDate, QStringLiteral("01/02/2016"));
        QCOMPARE(interaction.prompts.size(), told);
    }

    // A child of 19 or more (Alabama's age of majority) is asked about when the date is typed, not
    // each time the dialog opens on a date already stored.
    void aChildOfAgeIsAskedAbout()
    {
        const QString question = QStringLiteral(
            "Ben, born 01/01/2003, is 21 years old. In Alabama a child reaches the age of majority at 19, "
            "and "
            "child support is not ordered for a child of that age unless the court finds a reason to.\r\n\r\n"
            "Keep this date of birth?");
        ChildrenInfo children;
        children[0] = {QStringLiteral("Ann"), QStringLiteral("01/01/1990")}; // stored before: not asked
        children[1] = {QStringLiteral("Ben"), QStringLiteral("11/21/2015")};
        ScriptedInteraction interaction;
        interaction.expectAsk(Interaction::Answer::No, QString(), question);
        GetChA dialog(children, interaction, QDate(2024, 3, 15));
        open(dialog);
        QLineEdit* date = box(dialog, "Text4");
        date->setFocus();
        date->selectAll();
        QTest::keyClicks(date, QStringLiteral("1/1/03"));
        press(dialog, "Command1");
        QVERIFY(dialog.isVisible()); // No: back to the date
        QVERIFY(date->hasFocus());
        QCOMPARE(date->text(), QStringLiteral("01/01/2003"));

        interaction.expectAsk(Interaction::Answer::Yes, QString(), question);
        press(dialog, "Command1");
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.children()[1].birthDate, QStringLiteral("01/01/2003"));
        QVERIFY(interaction.allExpectationsMet());
    }

    void aWrongDateIsReportedOnceWithARealMessageBox()
    {
        const QString notADate =
            QStringLiteral("'13/45/2012' is not a date. Enter the date of birth as "
                           "month/day/year, such as 03/07/2012, or leave the box empty.");
        MessageBoxInteraction interaction;
        interaction.expectInform(QString(), notADate);
        GetChA dialog(ChildrenInfo{}, interaction, QDate(2024, 3, 15));
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
        QCOMPARE(date->text(), QStringLiteral("13/45/2012"));

        // "&Ok" clicked from the box says it once more, and the dialog stays open on the box.
        interaction.expectInform(QString(), notADate);
        date->setFocus();
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        QTest::qWait(100);
        QApplication::setActiveWindow(&dialog);
        QTest::qWait(50);
        QCOMPARE(interaction.prompts.size(), 2);
        QVERIFY(dialog.isVisible());
        QTRY_VERIFY(date->hasFocus());
        QVERIFY(interaction.allExpectationsMet());
    }
};

QTEST_MAIN(EntryDialogsTest)
#include "EntryDialogsTest.moc"
