// The worksheet window on form CS-42 (Rev. 5/2022): the case's own edition is the picture, its
// amounts keep their cents, wrong input is refused with a message, a case changes edition after a
// question, and production fills the 2022 template by field name.

#include "WorksheetFixture.h"
#include "core/explain/EditionExplanation.h"
#include "core/produce/TerminalFormFields.h"
#include "core/worksheet/ProductionRefusal.h"
#include "core/worksheet/ScheduleCsv.h"
#include "ui/worksheet/FormCS42.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <qpdf/QPDF.hh>

using namespace cs42;
using namespace cs42::test;

class Worksheet2022Test : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WorksheetFixture> m_data;
    std::unique_ptr<FormCS42> m_form;

    QLabel* label(const QString& name) const { return m_form->findChild<QLabel*>(name); }

    QString caption(const QString& name) const
    {
        QLabel* l = label(name);
        return l ? l->text() : QStringLiteral("<no label %1>").arg(name);
    }

    void openWorksheet()
    {
        m_form = std::make_unique<FormCS42>(m_data->session, m_data->host);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void clickLine(const QString& name, std::function<void(QWidget*)> answer)
    {
        auto run = onNextModal(std::move(answer));
        QTest::mouseClick(label(name), Qt::LeftButton);
        QVERIFY_ANSWERED(run);
    }

    // Chooses the edition `choice` (FormEditions::all() order) on a click on the edition, answers
    // the switch question `text` Yes, and the question whether to replace each parent's amounts
    // `replace`, when given.
    void switchTo(int choice, const QString& text, std::optional<QString> replace = {}, bool agree = false)
    {
        m_data->interaction.expectChoice(choice, QStringLiteral("Form Edition"));
        m_data->interaction.expectAsk(Interaction::Answer::Yes, QStringLiteral("Form Edition"), text);
        if (replace)
            m_data->interaction.expectAsk(agree ? Interaction::Answer::Yes : Interaction::Answer::No,
                                          QStringLiteral("Form Edition"),
                                          *replace);
        QTest::mouseClick(label(QStringLiteral("lblEdition")), Qt::LeftButton);
    }

    static void typeAndPress(QWidget* dialog, const QString& text)
    {
        auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("Text1"));
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    }

private slots:

    void init()
    {
        m_data = std::make_unique<WorksheetFixture>();
        QFile::copy(QStringLiteral(FORMS_DIR "/CS42_2022.PDF"),
                    m_data->session.paths.formTemplatePath(QStringLiteral("CS42_2022.PDF")));
        QString error;
        QVERIFY2(ScheduleCsv::replaceRows(m_data->session.paths.scheduleDbPath(),
                                          testSchedule2022Rows(),
                                          &error,
                                          QStringLiteral("Schedule2022")),
                 qPrintable(error));
        m_data->setStored({{QStringLiteral("formedition"), QStringLiteral("2022")},
                           {QStringLiteral("pinc"), QStringLiteral("3000")},
                           {QStringLiteral("dinc"), QStringLiteral("2000")},
                           {QStringLiteral("numchildren"), QStringLiteral("2")},
                           {QStringLiteral("whosecustody"), QStringLiteral("P")}});
    }

    void cleanup()
    {
        m_form.reset();
        m_data.reset();
    }

    void aCaseOfTheNewFormShowsItsLines()
    {
        openWorksheet();
        QCOMPARE(&m_form->edition(), &FormEditions::cs42Rev0522());
        QCOMPARE(caption("lblEdition"), QStringLiteral("Form CS-42 (Rev. 5/2022)"));
        // 5,000 combined, 2 children: the $5,000 row, 1,000; 60 % of it is 600, the rest 400.
        QCOMPARE(caption("lblC2"), QStringLiteral("5,000"));
        QCOMPARE(caption("lblP3"), QStringLiteral("60")); // the form prints the "%"
        QCOMPARE(caption("lblC4"), QStringLiteral("1,000"));
        QCOMPARE(caption("lblP8"), QStringLiteral("600"));
        QCOMPARE(caption("lblD8"), QStringLiteral("400"));
        QCOMPARE(caption("lblD11"), QStringLiteral("1,019"));
        QCOMPARE(caption("lblD12"), QStringLiteral("866"));
        QCOMPARE(caption("lblD13"), QStringLiteral("400"));
        QVERIFY(label("lblHealthInsurance") == nullptr); // each parent enters his or her own coverage
        // Each line lies on its field of the 2022 picture, inside the page.
        const QRect page = label("Image1")->geometry();
        for (const char* name : {"lblP1", "lblD13", "lblC4", "lblNumberOfChildren", "lblComments"})
            QVERIFY2(page.contains(label(QString::fromLatin1(name))->geometry()), name);
        QVERIFY(label("lblP1")->geometry().top() < label("lblP13")->geometry().top());
    }

    void aScheduleThatIsNotTheOfficialOneIsMarkedOnTheWorksheet()
    {
        // The test schedule is not the official one of May 1, 2022: line 4 is read from it, and
        // the worksheet says so over the form, on both forms that read it.
        openWorksheet();
        const QString mark =
            QStringLiteral("LINE 4 IS READ FROM A SCHEDULE THAT IS NOT THE OFFICIAL ONE OF MAY 1, 2022!");
        QCOMPARE(caption("lblC4"), QStringLiteral("1,000"));
        QVERIFY(label("lblScheduleWarning")->isVisible());
        QCOMPARE(caption("lblScheduleWarning"), mark);
        const Worksheet& sheet = *m_form->worksheet();
        QVERIFY(explainWorksheet(m_form->edition(), sheet.captions, sheet.result, QDate(2024, 3, 5))
                    .contains(QStringLiteral("using a schedule whose origin was not recorded (SHA-256 ")));
        m_form.reset();
        m_data->setStored({{QStringLiteral("formedition"), QStringLiteral("2023S")}});
        openWorksheet();
        QCOMPARE(caption("lblScheduleWarning"), mark);
        // An override sets line 4 without the schedule: nothing to mark then.
        m_data->setStored({{QStringLiteral("override"), QStringLiteral("Y")},
                           {QStringLiteral("overamount"), QStringLiteral("900")}});
        m_form->RecalculateWorksheet();
        QVERIFY(!label("lblScheduleWarning")->isVisible());
    }

    void theKeyboardReachesEveryEntryInReadingOrder()
    {
        openWorksheet();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        QCOMPARE(QApplication::focusWidget(), label("lblCourtFile"));
        QStringList order;
        for (int i = 0; i < 12; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order,
                 QStringList({"lblCourtFile",
                              "lblCourtType",
                              "lblCounty",
                              "lblName1Name",
                              "lblName2Name",
                              "GetChildInfoHot",
                              "lblNumberOfChildren",
                              "lblP1",
                              "lblD1",
                              "lblP1a",
                              "lblD1a",
                              "lblP1b"}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), label("lblP1b"));
        // The foot reads down the page: comments, the signature line, then custody and the
        // explanation beside it, and last the edition.
        label("lblD6")->setFocus();
        QStringList foot;
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            foot << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(foot,
                 QStringList({"lblComments",
                              "lblPreparedBy",
                              "lblDateSigned",
                              "lblCustody",
                              "lblExplaination",
                              "lblEdition"}));
        label("lblP1b")->setFocus();
        // The arrows move to the neighbouring cells.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), label("lblP1a"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget(), label("lblD1a"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), label("lblD1"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        QCOMPARE(QApplication::focusWidget(), label("lblP1"));
        QCOMPARE(label("lblP1")->frameShape(), QFrame::Box); // the focus is seen
        QCOMPARE(label("lblP1")->accessibleName(),
                 QStringLiteral("Line 1, Monthly Gross Income, plaintiff: 3,000"));

        // Enter opens the line's dialog.
        auto run = onNextModal([](QWidget* dialog) { typeAndPress(dialog, QStringLiteral("3100")); });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY_ANSWERED(run);
        QCOMPARE(m_data->stored(QStringLiteral("pinc")), QStringLiteral("3100"));
    }

    void amountsKeepTheirCentsAndWrongInputIsRefused()
    {
        openWorksheet();
        clickLine(QStringLiteral("lblP5"),
                  [](QWidget* dialog) { typeAndPress(dialog, QStringLiteral("1,234.56")); });
        QCOMPARE(m_data->stored(QStringLiteral("pchildcare")), QStringLiteral("1234.56"));
        QCOMPARE(caption("lblP5"), QStringLiteral("1,235"));
        QCOMPARE(caption("lblC5"), QStringLiteral("1,235"));

        for (const QString& wrong : {QStringLiteral("12abc"), QStringLiteral("-40")}) {
            m_data->interaction.expectInform();
            bool stillOpen = false;
            clickLine(QStringLiteral("lblD6"), [&](QWidget* dialog) {
                typeAndPress(dialog, wrong);
                stillOpen = dialog->isVisible();
                QTest::keyClick(dialog, Qt::Key_Escape);
            });
            QVERIFY2(stillOpen, qPrintable(wrong));
            QVERIFY(m_data->interaction.allExpectationsMet());
            QCOMPARE(m_data->stored(QStringLiteral("dhealthins")), QString());
        }
        const QString told = m_data->interaction.prompts.value(0).text;
        QVERIFY2(told.contains(QLatin1String("'12abc' is not an amount")), qPrintable(told));
        QVERIFY(m_data->interaction.prompts.value(1).text.contains(QLatin1String("cannot be negative")));
    }

    void theNumberOfChildrenIsAskedAgainUntilItIsOne()
    {
        openWorksheet();
        m_data->interaction.expectInput(QStringLiteral("7"), QStringLiteral("Number of Children"));
        m_data->interaction.expectInform(QStringLiteral("Number of Children"),
                                         FormCS42::numberOfChildrenRefusal(QStringLiteral("7")));
        m_data->interaction.expectInput(QStringLiteral("3"), QStringLiteral("Number of Children"));
        QTest::mouseClick(label(QStringLiteral("lblNumberOfChildren")), Qt::LeftButton);
        QVERIFY(m_data->interaction.allExpectationsMet());
        QCOMPARE(m_data->interaction.inputInitialTexts, QStringList({"2", "7"}));
        QCOMPARE(m_data->stored(QStringLiteral("numchildren")), QStringLiteral("3"));
        QCOMPARE(caption("lblC4"), QStringLiteral("1,500"));
    }

    void switchingEditionsAsksAndCarriesTheCostsOver()
    {
        // A 2009 case whose child care the custodial plaintiff pays and whose insurance the
        // defendant pays.
        m_data->setStored({{QStringLiteral("formedition"), QString()},
                           {QStringLiteral("child1name"), QStringLiteral("Ann")},
                           {QStringLiteral("child2name"), QStringLiteral("Ben")},
                           {QStringLiteral("childcare"), QStringLiteral("300")},
                           {QStringLiteral("healthins"), QStringLiteral("120")},
                           {QStringLiteral("payshealth"), QStringLiteral("D")}});
        openWorksheet();
        QCOMPARE(&m_form->edition(), &FormEditions::cs42Rev0109());
        QVERIFY(label("lblHealthInsurance") != nullptr);

        // Cancelled at the question, nothing changes.
        m_data->interaction.expectChoice(1, QStringLiteral("Form Edition"));
        m_data->interaction.expectAsk(Interaction::Answer::No, QStringLiteral("Form Edition"));
        QTest::mouseClick(label(QStringLiteral("lblEdition")), Qt::LeftButton);
        QCOMPARE(m_data->stored(QStringLiteral("formedition")), QString());
        QCOMPARE(
            m_data->interaction.offeredItems.value(0),
            QStringList({"Form CS-42 (Rev. 1/09), for actions filed before May 1, 2022",
                         "Form CS-42 (Rev. 5/2022), for actions filed on or after May 1, 2022",
                         "Form CS-42-S (Effective 6/2023), shared 50 % physical custody, actions filed on or "
                         "after June 1, 2023"}));

        m_data->interaction.expectChoice(1, QStringLiteral("Form Edition"));
        m_data->interaction.expectAsk(Interaction::Answer::Yes, QStringLiteral("Form Edition"));
        QTest::mouseClick(label(QStringLiteral("lblEdition")), Qt::LeftButton);
        QVERIFY(m_data->interaction.allExpectationsMet());
        QVERIFY(m_data->interaction.prompts.last().text.contains(QLatin1String("Check lines 5 and 6")));
        QCOMPARE(m_data->stored(QStringLiteral("formedition")), QStringLiteral("2022"));
        QCOMPARE(m_data->stored(QStringLiteral("pchildcare")), QStringLiteral("300"));
        QCOMPARE(m_data->stored(QStringLiteral("dchildcare")), QString());
        QCOMPARE(m_data->stored(QStringLiteral("dhealthins")), QStringLiteral("120"));
        QCOMPARE(&m_form->edition(), &FormEditions::cs42Rev0522());
        QCOMPARE(caption("lblP5"), QStringLiteral("300"));
        QCOMPARE(caption("lblD6"), QStringLiteral("120"));
        QCOMPARE(caption("lblEdition"), QStringLiteral("Form CS-42 (Rev. 5/2022)"));
        QVERIFY(label("lblHealthInsurance") == nullptr);

        // And back: the two parents' costs are summed into the 2009 lines.
        m_data->setStored({{QStringLiteral("dchildcare"), QStringLiteral("50.40")}});
        m_data->interaction.expectChoice(0, QStringLiteral("Form Edition"));
        m_data->interaction.expectAsk(Interaction::Answer::Yes, QStringLiteral("Form Edition"));
        QTest::mouseClick(label(QStringLiteral("lblEdition")), Qt::LeftButton);
        QCOMPARE(m_data->stored(QStringLiteral("formedition")), QStringLiteral("2009"));
        QCOMPARE(m_data->stored(QStringLiteral("childcare")), QStringLiteral("350"));
        QCOMPARE(m_data->stored(QStringLiteral("payshealth")), QStringLiteral("D"));
        QCOMPARE(caption("lblC5"), QStringLiteral("350"));
    }

    // 2022 -> 2009 -> 2022 with nothing changed keeps each parent's child care and coverage to
    // the cent; a cost changed on the 2009 form is asked about before it replaces them.
    void aRoundTripThroughThe2009FormKeepsEveryFigure()
    {
        // The plaintiff has custody; the defendant pays child care and coverage in cents.
        m_data->setStored({{QStringLiteral("pchildcare"), QStringLiteral("120.40")},
                           {QStringLiteral("dchildcare"), QStringLiteral("215.35")},
                           {QStringLiteral("dhealthins"), QStringLiteral("96.55")}});
        openWorksheet();
        const Captions before = m_form->displayedCaptions();
        const FormEdition& old = FormEditions::cs42Rev0109();
        const FormEdition& later = FormEditions::cs42Rev0522();

        switchTo(0, FormCS42::editionSwitchQuestion(later, old));
        QCOMPARE(caption("lblC5"), QStringLiteral("336"));
        switchTo(1, FormCS42::editionSwitchQuestion(old, later, true));
        QVERIFY(m_data->interaction.allExpectationsMet());
        QVERIFY2(m_data->interaction.prompts.last().text.endsWith(
                     QLatin1String("stay as they are: they already match this form's.")),
                 qPrintable(m_data->interaction.prompts.last().text));
        QCOMPARE(m_form->displayedCaptions(), before);
        QCOMPARE(m_data->stored(QStringLiteral("dchildcare")), QStringLiteral("215.35"));
        QCOMPARE(m_data->stored(QStringLiteral("dhealthins")), QStringLiteral("96.55"));

        // Line 5 changed on the 2009 form: the user keeps each parent's amounts.
        switchTo(0, FormCS42::editionSwitchQuestion(later, old, true));
        m_data->setStored({{QStringLiteral("childcare"), QStringLiteral("400")}});
        m_form->RecalculateWorksheet();
        switchTo(
            1, FormCS42::editionSwitchQuestion(old, later), FormCS42::replaceAmountsQuestion(old, later));
        QVERIFY(m_data->interaction.allExpectationsMet());
        QCOMPARE(m_data->stored(QStringLiteral("formedition")), QStringLiteral("2022"));
        QCOMPARE(m_form->displayedCaptions(), before);

        // And agrees the next time: the child care goes to the plaintiff, who has custody.
        switchTo(0, FormCS42::editionSwitchQuestion(later, old));
        m_data->setStored({{QStringLiteral("childcare"), QStringLiteral("400")}});
        m_form->RecalculateWorksheet();
        switchTo(1,
                 FormCS42::editionSwitchQuestion(old, later),
                 FormCS42::replaceAmountsQuestion(old, later),
                 true);
        QVERIFY(m_data->interaction.allExpectationsMet());
        QCOMPARE(caption("lblP5"), QStringLiteral("400"));
        QCOMPARE(caption("lblD5"), QString());
        QCOMPARE(caption("lblD6"), QStringLiteral("97"));
    }

    // A case stored with an edition this program does not know is shown on form CS-42 (Rev.
    // 5/2022) with a warning, is never produced, and takes a known edition when one is chosen.
    void aCaseOfAnUnknownEditionIsShownButNeverProduced()
    {
        m_data->setStored({{QStringLiteral("formedition"), QStringLiteral("2024")}});
        openWorksheet();
        QCOMPARE(&m_form->edition(), &FormEditions::cs42Rev0522());
        QCOMPARE(m_form->windowTitle(),
                 QStringLiteral("Worksheet A, Child Support Obligation, Sole Custody"));
        QVERIFY(label("lblEditionWarning")->isVisible());
        QCOMPARE(
            caption("lblEditionWarning"),
            QStringLiteral(
                "UNKNOWN FORM EDITION (2024): SHOWN ON FORM CS-42 (REV. 5/2022), IT CANNOT BE PRODUCED!"));

        m_data->interaction.expectInform(ProductionRefusalTitle);
        auto notice = onNextModal([](QWidget* dialog) {
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        });
        m_form->ProduceForm();
        QVERIFY_ANSWERED(notice);
        QVERIFY(m_data->interaction.allExpectationsMet());
        QVERIFY(m_data->interaction.prompts.last().text.startsWith(
            QStringLiteral("The form was not produced.\r\n\r\nThis case names the form edition '2024', which "
                           "this program does not know (it knows 2009, 2022, 2023S)")));
        QVERIFY(!QFile::exists(m_data->session.paths.producedFormPath()));

        // The form it is shown on may be chosen for it.
        switchTo(
            1,
            QStringLiteral("Prepare this case on Form CS-42 (Rev. 5/2022) (for actions filed on or after "
                           "May 1, 2022) in place of the form edition '2024', which this program does not "
                           "know?\r\n\r\nEvery entry stays as it is stored."));
        QVERIFY(m_data->interaction.allExpectationsMet());
        QCOMPARE(m_data->stored(QStringLiteral("formedition")), QStringLiteral("2022"));
        QVERIFY(!label("lblEditionWarning")->isVisible());
    }

    void theSharedCustodyFormNeedsNoCustody()
    {
        // Switched from CS-42 (Rev. 5/2022): the two forms read the same columns, nothing moves.
        m_data->setStored({{QStringLiteral("pchildcare"), QStringLiteral("200")}});
        openWorksheet();
        m_data->interaction.expectChoice(2, QStringLiteral("Form Edition"));
        m_data->interaction.expectAsk(Interaction::Answer::Yes, QStringLiteral("Form Edition"));
        QTest::mouseClick(label(QStringLiteral("lblEdition")), Qt::LeftButton);
        QVERIFY(m_data->interaction.allExpectationsMet());
        QCOMPARE(m_data->stored(QStringLiteral("formedition")), QStringLiteral("2023S"));
        QCOMPARE(m_data->stored(QStringLiteral("pchildcare")), QStringLiteral("200"));
        QCOMPARE(&m_form->edition(), &FormEditions::cs42S2023());
        QCOMPARE(caption("lblEdition"), QStringLiteral("Form CS-42-S (Effective 6/2023)"));

        // 5,000 combined, 2 children: 1,000, 150 % of it 1,500, plus the plaintiff's 200 of child
        // care: 1,700. The defendant's 40 % is 680 and the plaintiff's 60 % 1,020; each has a
        // cross-credit of 750; the plaintiff's 200 of costs are a credit too.
        QCOMPARE(caption("lblD3"), QStringLiteral("40"));
        QCOMPARE(caption("lblC5"), QStringLiteral("1,500"));
        QCOMPARE(caption("lblC9"), QStringLiteral("1,700"));
        QCOMPARE(caption("lblP13"), QStringLiteral("70"));
        QCOMPARE(caption("lblD13"), QStringLiteral("(70)"));
        QCOMPARE(caption("lblP14"), QStringLiteral("70"));
        QCOMPARE(caption("lblD14"), QString());
        QVERIFY(label("lblCustody") == nullptr);
        QCOMPARE(caption("lblCustodyCaption"), QStringLiteral("SHARED CUSTODY (50 %)"));
        QCOMPARE(m_form->windowTitle(),
                 QStringLiteral("Worksheet, Child Support Obligation, Shared 50 % Physical Custody"));

        // Back on the sole-custody form, its title again.
        switchTo(1, {});
        QCOMPARE(m_form->windowTitle(),
                 QStringLiteral("Worksheet A, Child Support Obligation, Sole Custody"));
    }

    void productionFillsTheNewTemplateByName()
    {
        m_data->setStored({{QStringLiteral("courtfile"), QStringLiteral("DR-2024-7")},
                           {QStringLiteral("phealthins"), QStringLiteral("100")}});
        openWorksheet();
        auto notice = onNextModal([](QWidget* dialog) {
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        });
        m_form->ProduceForm();
        QVERIFY_ANSWERED(notice);
        const QString output = m_data->session.paths.producedFormPath();
        QCOMPARE(m_data->interaction.shownDocuments.size(), 1);
        QCOMPARE(m_data->interaction.shownDocuments[0].path, output);
        QCOMPARE(m_data->interaction.shownDocuments[0].options.saveName,
                 QStringLiteral("Doe v Roe - CS-42 - 2024-03-15.pdf"));

        QPDF pdf;
        pdf.processFile(QFile::encodeName(output).constData());
        QHash<QString, QString> values;
        for (TerminalFormField field : terminalFormFields(pdf))
            values.insert(field.name, QString::fromStdString(field.field.getKey("/V").getUTF8Value()));
        QCOMPARE(values.value(QStringLiteral("Case Number")), QStringLiteral("DR-2024-7"));
        QCOMPARE(values.value(QStringLiteral("PGI")), QStringLiteral("3,000"));
        QCOMPARE(values.value(QStringLiteral("CBCSA")), caption("lblC4"));
        QCOMPARE(values.value(QStringLiteral("PHCCC")), QStringLiteral("100"));
        QCOMPARE(values.value(QStringLiteral("Defendant Recommended Child Support Amount")),
                 caption("lblD13"));
        QCOMPARE(values.value(QStringLiteral("Number of Children")), QStringLiteral("2"));
    }
};

QTEST_MAIN(Worksheet2022Test)
#include "Worksheet2022Test.moc"
