// The worksheet window driven as a user drives it: click a line, answer the dialog, and check
// the stored column and the recomputed captions.

#include "ui/worksheet/FormCS42.h"

#include "WorksheetFixture.h"
#include "core/explain/Explanation.h"
#include "core/produce/FormFiller.h"
#include "core/produce/FormTemplate.h"
#include "core/worksheet/Cs42Form.h"
#include "core/worksheet/ProductionRefusal.h"
#include "support/DamagedFiles.h"
#include "ui/common/Palette.h"
#include "ui/explain/CalcMessageWindow.h"
#include "ui/produce/PdfPreview.h"
#include "ui/worksheet/GetChA.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QTableWidget>
#include <QTest>

#include <cmath>

using namespace cs42;
using namespace cs42::test;

class FormCS42Test : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WorksheetFixture> m_data;
    std::unique_ptr<FormCS42> m_form;

    QLabel* label(const QString& name) const
    {
        auto* l = m_form->findChild<QLabel*>(name);
        if (l == nullptr)
            qWarning("no label %s", qPrintable(name));
        return l;
    }

    QString caption(const QString& name) const { return label(name)->text(); }

    void openWorksheet()
    {
        m_form = std::make_unique<FormCS42>(m_data->session, m_data->host);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    // Clicks a line of the worksheet; `answer` fills the dialog it opens.
    void clickLine(const QString& name, std::function<void(QWidget*)> answer, QString* title = nullptr)
    {
        auto run = onNextModal(std::move(answer));
        QTest::mouseClick(label(name), Qt::LeftButton);
        QVERIFY_ANSWERED(run);
        if (title != nullptr)
            *title = run->title;
    }

    static QLineEdit* box(QWidget* dialog, const char* name)
    {
        auto* edit = dialog->findChild<QLineEdit*>(QLatin1String(name));
        if (edit == nullptr)
            qWarning("no box %s", name);
        return edit;
    }

    static void press(QWidget* dialog, const char* name)
    {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
    }

    // Types over a box's text (the box selects it on entry, as the user finds it).
    static void typeInto(QWidget* dialog, const char* name, const QString& text)
    {
        QLineEdit* edit = box(dialog, name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    // A case that warns of everything at once: no schedule rows, an amount that cannot be used,
    // the plaintiff's line 2 below 0, the plaintiff's insurance credit above her share, no child.
    void showEveryWarning()
    {
        QVERIFY(SqlConnection(m_data->session.paths.scheduleDbPath())
                    .exec(QStringLiteral("DELETE FROM Schedule")));
        m_data->setStored({{QStringLiteral("pinc"), QStringLiteral("100")},
                           {QStringLiteral("ppre"), QStringLiteral("150")},
                           {QStringLiteral("dinc"), QStringLiteral("2000")},
                           {QStringLiteral("childcare"), QString(400, u'9')},
                           {QStringLiteral("healthins"), QStringLiteral("900")},
                           {QStringLiteral("payshealth"), QStringLiteral("P")},
                           {QStringLiteral("whosecustody"), QStringLiteral("D")}});
        m_form->RecalculateWorksheet();
    }

private slots:

    void init()
    {
        m_data = std::make_unique<WorksheetFixture>();
        openWorksheet();
    }

    void cleanup()
    {
        m_form.reset();
        QVERIFY2(m_data->interaction.allExpectationsMet(), "a scripted prompt was not shown");
        m_data.reset();
    }

    void openingShowsTheCaseAndAnEmptyWorksheet()
    {
        QCOMPARE(m_data->session.currentWindowName, QStringLiteral("FormCS42"));
        QCOMPARE(m_data->host.menuState, MenuState::AllMenus);
        QCOMPARE(m_form->size(), QSize(15500 / 15, 20800 / 15));
        QCOMPARE(caption("lblExplaination"), QStringLiteral("Click HERE for a\r\nWRITTEN EXPLANATION"));
        QCOMPARE(caption("lblSelectedCaseName"),
                 QStringLiteral("Doe v. Roe  (") + m_data->session.paths.casesDbPath().toUpper() +
                     QLatin1Char(')'));
        // All money blank: every line empty but line 4, which shows the $50 under $800.
        QCOMPARE(caption("lblC4"), QStringLiteral("50"));
        for (const char* name : {"lblP1", "lblD1", "lblP2", "lblC2", "lblP3", "lblP8", "lblP10", "lblD10"})
            QCOMPARE(caption(QLatin1String(name)), QString());
        QCOMPARE(caption("lblHealthInsurance"), QStringLiteral("N/A"));
        QCOMPARE(caption("lblCustody"), QStringLiteral("PLAINTIFF")); // a new case's default
        QVERIFY(!label("lblOverrideWarning")->isVisible());
        // Null repair ran: a column never written reads as the empty text.
        QVERIFY(!m_data->stored(QStringLiteral("pinc")).isNull());
    }

    void aScheduleWithoutRowsIsSaidOnTheWorksheet()
    {
        QVERIFY(!label("lblScheduleWarning")->isVisible());
        // A data folder whose 2009 schedule was never installed: start-up created it without rows.
        m_form.reset();
        QVERIFY(SqlConnection(m_data->session.paths.scheduleDbPath())
                    .exec(QStringLiteral("DELETE FROM Schedule")));
        openWorksheet();
        QVERIFY(label("lblScheduleWarning")->isVisible());
        QCOMPARE(caption("lblScheduleWarning"),
                 QStringLiteral("the schedule in force before May 1, 2022 is not installed"));
        // A schedule database that cannot be read is another fault, and says so.
        m_form.reset();
        QFile damaged(m_data->session.paths.scheduleDbPath());
        QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write(QByteArray(4096, 'z'));
        damaged.close();
        openWorksheet();
        QCOMPARE(caption("lblScheduleWarning"),
                 QStringLiteral("NO SCHEDULE COULD BE READ: LINE 4 IS NOT FROM THE SCHEDULE!"));
    }

    void warningsShowOnTheFormWithoutCoveringItsLines()
    {
        // A new case has no child yet, and warns of that alone.
        for (const QString& name : worksheetWarnings(WorksheetResult()).keys())
            QVERIFY2(label(name)->isVisible() == (name == QStringLiteral("lblChildrenWarning")),
                     qPrintable(name));
        showEveryWarning();
        const Captions warnings = worksheetWarnings(m_form->worksheet()->result);
        QCOMPARE(caption("lblP10"), QString()); // no order below 0
        QCOMPARE(caption("lblC5"), QStringLiteral("INVALID"));
        QStringList shown;
        // A share below 0 (the plaintiff's line 2) is no credit that exceeds it: the credit warning is
        // looked at last, on a case of its own.
        QCOMPARE(warnings.value(QStringLiteral("lblCreditWarning")), QString());
        QVERIFY(!label("lblCreditWarning")->isVisible());
        QStringList names = warnings.keys();
        names.removeOne(QStringLiteral("lblCreditWarning"));
        names << QStringLiteral("lblCreditWarning");
        for (const QString& name : names) {
            QLabel* warning = label(name);
            if (name == QStringLiteral("lblCreditWarning")) {
                m_data->setStored(
                    {{QStringLiteral("pinc"), QStringLiteral("1000")}, {QStringLiteral("ppre"), QString()}});
                m_form->RecalculateWorksheet();
            }
            const QString shownText = worksheetWarnings(m_form->worksheet()->result).value(name);
            QVERIFY2(!shownText.isEmpty(), qPrintable(name));
            QVERIFY2(warning->isVisible(), qPrintable(name));
            QCOMPARE(warning->text(), shownText);
            shown << name;
            // Readable, whole, on the picture, and clear of every line of the form and of the other
            // warnings.
            QVERIFY2(warning->font().pixelSize() >= 7, qPrintable(name));
            const QRect text =
                QFontMetrics(warning->font())
                    .boundingRect(warning->rect(),
                                  Qt::AlignCenter | (warning->wordWrap() ? Qt::TextWordWrap : 0),
                                  warning->text());
            QVERIFY2(warning->rect().contains(text), qPrintable(name));
            QVERIFY2(label("Image1")->geometry().contains(warning->geometry()), qPrintable(name));
            for (const QString& line : Cs42Form::formFieldLabels())
                QVERIFY2(!warning->geometry().intersects(label(line)->geometry()),
                         qPrintable(name + QStringLiteral(" covers ") + line));
            for (const QString& other : shown.mid(0, shown.size() - 1))
                QVERIFY2(!warning->geometry().intersects(label(other)->geometry()),
                         qPrintable(name + QStringLiteral(" covers ") + other));
        }
        QCOMPARE(shown.size(), 5);
        QVERIFY(label("lblCustody")->isVisible());
        QVERIFY(!label("lblChildrenWarning")->geometry().intersects(label("lblExplaination")->geometry()));
        QVERIFY(!label("lblChildrenWarning")->geometry().intersects(label("lblCustody")->geometry()));
    }

    void productionIsRefusedWhileTheFiguresCannotStand()
    {
        // Told after the notice, every reason in one message; nothing is written or opened.
        showEveryWarning();
        m_data->interaction.expectInform(ProductionRefusalTitle,
                                         productionRefusal(*m_form->worksheet(), m_data->session.paths));
        auto run = onNextModal([](QWidget* notice) { press(notice, "Command1"); });
        m_form->ProduceForm();
        QVERIFY_ANSWERED(run);
        const QString told = m_data->interaction.prompts.value(0).text;
        for (const char* reason : {"The schedule in force before May 1, 2022, which form CS-42 (Rev. 1/09) "
                                   "reads, is not installed",
                                   "'cs42-admin schedule import FILE.csv'",
                                   "or override line 4",
                                   "line 5 cannot be used",
                                   "line 2) of the plaintiff is less than 0",
                                   "No child is named"})
            QVERIFY2(told.contains(QLatin1String(reason)), reason);
        QVERIFY(told.contains(m_data->session.paths.scheduleDbPath()));
        QVERIFY(!QFile::exists(m_data->session.paths.producedFormPath()));
        QVERIFY(m_data->interaction.shownDocuments.isEmpty());
        QVERIFY(m_data->interaction.openedDocuments.isEmpty());

        // Put right but for the schedule: an override sets line 4 without it, and the form is made.
        QVERIFY2(QFile::exists(m_data->session.paths.templatePath()), "the build makes the template");
        m_data->setStored({{QStringLiteral("ppre"), QString()},
                           {QStringLiteral("childcare"), QString()},
                           {QStringLiteral("child1name"), QStringLiteral("Ann")},
                           {QStringLiteral("override"), QStringLiteral("Y")},
                           {QStringLiteral("overamount"), QStringLiteral("700")}});
        m_form->RecalculateWorksheet();
        QVERIFY(label("lblScheduleWarning")->isVisible());
        auto produce = onNextModal([](QWidget* notice) { press(notice, "Command1"); });
        m_form->ProduceForm();
        QVERIFY_ANSWERED(produce);
        QCOMPARE(m_data->interaction.shownDocuments.size(), 1);
        QCOMPARE(m_data->interaction.shownDocuments[0].path, m_data->session.paths.producedFormPath());
    }

    void aBirthDateLaterThanTodayIsRefusedAndNothingIsStored()
    {
        m_data->setStored({{QStringLiteral("child2name"), QStringLiteral("Ben")},
                           {QStringLiteral("child2dob"), QStringLiteral("11/21/2015")}});
        // Today is 03/15/2024 in the fixture; "01/01/29" is 1929, never 2029.
        const QString future = QStringLiteral("This date of birth, 03/16/2024, is later than today "
                                              "(03/15/2024). Enter a date of birth no later than today, or "
                                              "leave the box empty.");
        for (int i = 0; i < 3; ++i) // leaving the box, "&Ok", the close box
            m_data->interaction.expectInform(QString(), future);
        QString twoDigits;
        QString kept;
        bool stillOpen = false;
        auto run = onNextModal([&](QWidget* dialog) {
            typeInto(dialog, "Text1", QStringLiteral("Ann"));
            typeInto(dialog, "Text2", QStringLiteral("01/01/29"));
            typeInto(dialog, "Text3", QStringLiteral("Ben"));
            twoDigits = box(dialog, "Text2")->text();
            typeInto(dialog, "Text4", QStringLiteral("03/16/2024"));
            typeInto(dialog, "Text5", QString());
            kept = box(dialog, "Text4")->text();
            press(dialog, "Command1");
            stillOpen = dialog->isVisible();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QTest::mouseClick(label("GetChildInfoHot"), Qt::LeftButton);
        QVERIFY_ANSWERED(run);
        QCOMPARE(twoDigits, QStringLiteral("01/01/1929"));
        QCOMPARE(kept, QStringLiteral("03/16/2024"));
        QVERIFY(stillOpen);
        QVERIFY(m_data->interaction.allExpectationsMet());
        QCOMPARE(m_data->stored(QStringLiteral("child1name")), QString());
        QCOMPARE(m_data->stored(QStringLiteral("child2dob")), QStringLiteral("11/21/2015"));
    }

    void labelsSitInsideThePicture()
    {
        const QRect picture = label("Image1")->geometry();
        for (const QString& name : Cs42Form::formFieldLabels()) {
            const QRect r = label(name)->geometry();
            QVERIFY2(picture.contains(r), qPrintable(name));
            QVERIFY2(r.height() >= 14, qPrintable(name));
        }
        QVERIFY(m_form->rect().contains(label("lblExplaination")->geometry()));
        QVERIFY(m_form->rect().contains(label("lblCustody")->geometry()));
    }

    void labelsLieOnTheTemplatesOwnFieldRectangles()
    {
        // The picture is the template rendered, and each of the 41 labels covers the rectangle of
        // its own field in it, so the worksheet and the produced form can never disagree.
        QString error;
        const auto info = readFormTemplate(m_data->session.paths.templatePath(), &error);
        QVERIFY2(info, qPrintable(error));
        QCOMPARE(info->fields.size(), Cs42Form::formFieldLabels().size());
        const QLabel* image = label(QStringLiteral("Image1"));
        const QImage picture = image->pixmap().toImage();
        int dark = 0;
        for (int y = 0; y < picture.height(); y += 2) {
            for (int x = 0; x < picture.width(); x += 2)
                dark += qGray(picture.pixel(x, y)) < 128 ? 1 : 0;
        }
        QVERIFY2(dark > 2000, "the picture shows the printed form");

        const QRect picturePlace = image->geometry();
        const double scale = picturePlace.width() / info->pageSize.width();
        QCOMPARE(qRound(info->pageSize.height() * scale), picturePlace.height());
        for (const FormFieldInfo& field : info->fields) {
            const QString name = Cs42Form::formFieldLabels().at(field.index - 1);
            const QRectF r = field.rect.normalized();
            const QRectF expected(picturePlace.left() + r.left() * scale,
                                  picturePlace.top() + (info->pageSize.height() - r.bottom()) * scale,
                                  r.width() * scale,
                                  r.height() * scale);
            // Whole pixels of a rounded scale: each edge within a pixel and a half of the field's.
            const QRectF placed(label(name)->geometry());
            const auto near = [](double a, double b) {
                return std::abs(a - b) <= 1.5;
            };
            QVERIFY2(near(placed.left(), expected.left()) && near(placed.top(), expected.top()) &&
                         near(placed.left() + placed.width(), expected.right()) &&
                         near(placed.top() + placed.height(), expected.bottom()),
                     qPrintable(name));
        }
    }

    void incomeIsStoredInWholeDollars()
    {
        QString title;
        clickLine(
            "lblP1",
            [](QWidget* dialog) {
                typeInto(dialog, "Text1", QStringLiteral("2500.50"));
                QTest::keyClick(box(dialog, "Text1"), Qt::Key_Return);
            },
            &title);
        QCOMPARE(title, QStringLiteral("Plaintiff's Monthly Income"));
        QCOMPARE(m_data->stored(QStringLiteral("pinc")), QStringLiteral("2501"));
        QCOMPARE(caption("lblP1"), QStringLiteral("2501"));
        QCOMPARE(caption("lblP2"), QStringLiteral("2501"));
        QCOMPARE(caption("lblC2"), QStringLiteral("2501"));

        // The defendant's line: an income is never negative, so "Done" refuses it and keeps the
        // dialog open on it.
        m_data->interaction.expectInform(
            QString(),
            QStringLiteral("This amount cannot be negative. Enter the amount in "
                           "dollars and cents, or leave the box empty for none."));
        bool stayedOpen = false;
        clickLine("lblD1", [&stayedOpen](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Defendant's Monthly Income"));
            typeInto(dialog, "Text1", QStringLiteral("-300"));
            press(dialog, "Command1");
            stayedOpen = dialog->isVisible();
            typeInto(dialog, "Text1", QStringLiteral("300"));
            press(dialog, "Command1");
        });
        QVERIFY(stayedOpen);
        QCOMPARE(m_data->stored(QStringLiteral("dinc")), QStringLiteral("300"));
        QCOMPARE(caption("lblC2"), QStringLiteral("2801"));
    }

    void entryDialogsRefuseWhatWouldMakeTheFiguresWrong()
    {
        m_data->setStored({{QStringLiteral("pinc"), QStringLiteral("1000")},
                           {QStringLiteral("ppre"), QStringLiteral("400")}});
        m_form->RecalculateWorksheet();
        const QString lineTwo = QStringLiteral(
            "This amount would make the Plaintiff's adjusted gross income (line 2) less than 0. "
            "The monthly gross income (line 1), less the pre-existing child support (line 1a) "
            "and alimony (line 1b), must be 0 or more... Please try again");
        const QString tooLarge = QStringLiteral("You have entered an amount that cannot be used: it is more "
                                                "than $10,000,000 a month... Please try "
                                                "again");
        const QString unreadable = QStringLiteral(
            "You have entered an amount that cannot be used: it has more digits than can be read... Please "
            "try again");

        // Closed with the close box on a refused amount: told, and nothing is stored.
        m_data->interaction.expectInform(QString(), lineTwo);
        clickLine("lblP1b", [](QWidget* dialog) {
            typeInto(dialog, "Text1", QStringLiteral("600.01"));
            dialog->close();
        });
        QCOMPARE(m_data->stored(QStringLiteral("presp")), QString());

        m_data->interaction.expectInform(QString(), lineTwo);
        clickLine("lblP1a", [](QWidget* dialog) {
            typeInto(dialog, "Text2", QStringLiteral("1001"));
            dialog->close();
        });
        QCOMPARE(m_data->stored(QStringLiteral("ppre")), QStringLiteral("400"));

        // Digits beyond reading stay in the box when the focus leaves it, and are refused.
        m_data->interaction.expectInform(QString(), unreadable);
        QString keptAfterTab;
        clickLine("lblP1", [&keptAfterTab](QWidget* dialog) {
            typeInto(dialog, "Text1", QString(400, u'9'));
            QTest::keyClick(box(dialog, "Text1"), Qt::Key_Tab);
            keptAfterTab = box(dialog, "Text1")->text();
            dialog->close();
        });
        QCOMPARE(keptAfterTab, QString(400, u'9'));
        QCOMPARE(m_data->stored(QStringLiteral("pinc")), QStringLiteral("1000"));

        m_data->interaction.expectInform(QString(), tooLarge);
        clickLine("lblC6", [](QWidget* dialog) {
            typeInto(dialog, "Text1", QStringLiteral("12,000,000"));
            dialog->close();
        });
        QCOMPARE(m_data->stored(QStringLiteral("healthins")), QString());

        m_data->interaction.expectInform(QString(), tooLarge);
        clickLine("lblC4", [](QWidget* dialog) {
            typeInto(dialog, "Text1", QStringLiteral("20000000"));
            dialog->findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(true);
            dialog->close();
        });
        QCOMPARE(m_data->stored(QStringLiteral("override")), QString());
        QCOMPARE(m_data->interaction.prompts.size(), 5);
    }

    void wrongTextInAnAmountBoxIsSaidAndNothingIsStored()
    {
        const ColumnValues before{{QStringLiteral("pinc"), QStringLiteral("3000")},
                                  {QStringLiteral("ppre"), QStringLiteral("100")},
                                  {QStringLiteral("presp"), QStringLiteral("50.00")},
                                  {QStringLiteral("override"), QStringLiteral("Y")},
                                  {QStringLiteral("overamount"), QStringLiteral("612")},
                                  {QStringLiteral("childcare"), QStringLiteral("200")},
                                  {QStringLiteral("healthins"), QStringLiteral("46")}};
        m_data->setStored(before);
        m_form->RecalculateWorksheet();
        const QString told =
            QStringLiteral("'12abc' is not an amount. Enter the amount in dollars and cents, "
                           "such as 1,234.56, or leave the box empty for none.");

        const struct
        {
            const char* line;
            const char* box;
            bool closeBoxKeepsTheValue;
        } lines[] = {{"lblP1", "Text1", false},
                     {"lblP1a", "Text2", false},
                     {"lblP1b", "Text1", false},
                     {"lblC4", "Text1", false},
                     {"lblC5", "Text1", true},
                     {"lblC6", "Text1", false}};

        for (const auto& l : lines) {
            // Said on "&Ok" (the dialog stays open), and again on the close box that would take it.
            m_data->interaction.expectInform(QString(), told);
            if (!l.closeBoxKeepsTheValue)
                m_data->interaction.expectInform(QString(), told);
            bool stillOpen = false;
            clickLine(l.line, [&](QWidget* dialog) {
                typeInto(dialog, l.box, QStringLiteral("12abc"));
                press(dialog, "Command1");
                stillOpen = dialog->isVisible();
                QTest::keyClick(dialog, Qt::Key_Escape);
            });
            QVERIFY2(stillOpen, l.line);
            QVERIFY2(m_data->interaction.allExpectationsMet(), l.line);
        }
        for (const auto& [column, value] : before)
            QCOMPARE(m_data->stored(column), value);
    }

    void alimonyIsStoredWithTwoDecimalsAndReopensFromTheCaption()
    {
        // Incomes from which the alimony can be deducted.
        m_data->setStored({{QStringLiteral("pinc"), QStringLiteral("1000")},
                           {QStringLiteral("dinc"), QStringLiteral("1000")}});
        m_form->RecalculateWorksheet();
        clickLine("lblP1b", [](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(),
                     QStringLiteral("Plaintiff's Pre-Existing Periodic Alimony Payment"));
            typeInto(dialog, "Text1", QStringLiteral("150"));
            press(dialog, "Command1");
        });
        QCOMPARE(m_data->stored(QStringLiteral("presp")), QStringLiteral("150.00"));
        QCOMPARE(caption("lblP1b"), QStringLiteral("150"));

        m_data->setStored({{QStringLiteral("dresp"), QStringLiteral("250.50")}});
        m_form->RecalculateWorksheet();
        QCOMPARE(caption("lblD1b"), QStringLiteral("251"));
        QString shown;
        clickLine("lblD1b", [&shown](QWidget* dialog) {
            shown = box(dialog, "Text1")->text();
            press(dialog, "Command1");
        });
        QCOMPARE(shown, QStringLiteral("251.00"));
        QCOMPARE(m_data->stored(QStringLiteral("dresp")), QStringLiteral("251.00"));
    }

    void childCareIsRoundedAndTheCloseBoxKeepsIt()
    {
        clickLine("lblC5", [](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Work Related Child Care"));
            typeInto(dialog, "Text1", QStringLiteral("199.6"));
            QTest::keyClick(box(dialog, "Text1"), Qt::Key_Return);
        });
        QCOMPARE(m_data->stored(QStringLiteral("childcare")), QStringLiteral("200"));
        QCOMPARE(caption("lblC5"), QStringLiteral("200"));

        clickLine("lblC5", [](QWidget* dialog) {
            QCOMPARE(box(dialog, "Text1")->text(), QStringLiteral("200"));
            typeInto(dialog, "Text1", QStringLiteral("75"));
            dialog->close(); // the close box
        });
        QCOMPARE(m_data->stored(QStringLiteral("childcare")), QStringLiteral("200"));
        QCOMPARE(caption("lblC5"), QStringLiteral("200"));
    }

    void healthInsuranceIsRoundedAndShowsThePayer()
    {
        QCOMPARE(caption("lblHealthInsurance"), QStringLiteral("N/A"));
        QString afterFocusMove;
        clickLine("lblC6", [&afterFocusMove](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Health Insurance"));
            typeInto(dialog, "Text1", QStringLiteral("45.5"));
            QTest::keyClick(box(dialog, "Text1"), Qt::Key_Tab);
            afterFocusMove = box(dialog, "Text1")->text();
            press(dialog, "Command1");
        });
        QCOMPARE(afterFocusMove, QStringLiteral("45.50"));
        QCOMPARE(m_data->stored(QStringLiteral("healthins")), QStringLiteral("46"));
        QCOMPARE(caption("lblC6"), QStringLiteral("46"));
        QCOMPARE(caption("lblHealthInsurance"), QStringLiteral("PLAINTIFF")); // a new case's payer
        QCOMPARE(caption("lblP9"), QStringLiteral("46"));
    }

    void overrideIsSetAndTakenOffAgain()
    {
        m_data->setStored({{QStringLiteral("pinc"), QStringLiteral("3000")},
                           {QStringLiteral("dinc"), QStringLiteral("2000")},
                           {QStringLiteral("child1name"), QStringLiteral("Ann")},
                           {QStringLiteral("child2name"), QStringLiteral("Ben")}});
        m_form->RecalculateWorksheet();
        QCOMPARE(caption("lblC4"), QStringLiteral("1000"));

        clickLine("lblC4", [](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Override Child Support Amount"));
            QVERIFY(!dialog->findChild<QCheckBox*>(QStringLiteral("Check1"))->isChecked());
            QCOMPARE(box(dialog, "Text1")->text(), QStringLiteral("1000"));
            typeInto(dialog, "Text1", QStringLiteral("612"));
            dialog->findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(true);
            press(dialog, "Command1");
        });
        QCOMPARE(m_data->stored(QStringLiteral("override")), QStringLiteral("Y"));
        QCOMPARE(m_data->stored(QStringLiteral("overamount")), QStringLiteral("612"));
        QCOMPARE(caption("lblC4"), QStringLiteral("612"));
        QVERIFY(label("lblOverrideWarning")->isVisible());
        QVERIFY(label("lblOverrideWarning2")->isVisible());
        QCOMPARE(caption("lblOverrideWarning"), QStringLiteral("USING OVERRIDE!"));
        QCOMPARE(caption("lblOverrideWarning2"), QStringLiteral("WARNING!"));

        // Line 4 stays whatever the incomes become.
        clickLine("lblP1", [](QWidget* dialog) {
            typeInto(dialog, "Text1", QStringLiteral("4000"));
            press(dialog, "Command1");
        });
        QCOMPARE(caption("lblC4"), QStringLiteral("612"));

        // Reopened: checked with 612; unchecking turns it off.
        clickLine("lblC4", [](QWidget* dialog) {
            auto* check = dialog->findChild<QCheckBox*>(QStringLiteral("Check1"));
            QVERIFY(check->isChecked());
            QCOMPARE(box(dialog, "Text1")->text(), QStringLiteral("612"));
            check->setChecked(false);
            dialog->close();
        });
        QCOMPARE(m_data->stored(QStringLiteral("override")), QStringLiteral("N"));
        QCOMPARE(m_data->stored(QStringLiteral("overamount")), QStringLiteral("0"));
        QVERIFY(!label("lblOverrideWarning")->isVisible());
        QVERIFY(!label("lblOverrideWarning2")->isVisible());
        QCOMPARE(caption("lblC4"), QStringLiteral("1200")); // $6,000 combined, two children
    }

    void useCopiesTheImputedAmountAndStoresTheOtherChildren()
    {
        m_data->setStored({{QStringLiteral("pinc"), QStringLiteral("3010")}});
        m_form->RecalculateWorksheet();
        QString imputedLine;
        clickLine("lblP1a", [&imputedLine](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Plaintiff's Monthly Income"));
            typeInto(dialog, "Text1", QStringLiteral("2"));
            QTest::keyClick(box(dialog, "Text1"), Qt::Key_Tab);
            imputedLine = dialog->findChild<QLabel*>(QStringLiteral("Label1"))->text();
            press(dialog, "cmdUse");
            press(dialog, "Command1");
        });
        // Between the $3,000 row (600) and the $3,050 row (610): 600 + 10 x 10 / 50 = 602.
        QCOMPARE(imputedLine, QStringLiteral("Imputed Amount based on Guidelines: $602"));
        QCOMPARE(m_data->stored(QStringLiteral("ppre")), QStringLiteral("602"));
        QCOMPARE(m_data->stored(QStringLiteral("poc")), QStringLiteral("2"));
        QCOMPARE(caption("lblP1a"), QStringLiteral("602"));
        QCOMPARE(caption("lblP2"), QStringLiteral("2408"));

        // Reopened, the dialog starts from the stored number of other children.
        clickLine("lblP1a", [](QWidget* dialog) {
            QCOMPARE(box(dialog, "Text1")->text(), QStringLiteral("2"));
            QCOMPARE(box(dialog, "Text2")->text(), QStringLiteral("602"));
            press(dialog, "Command1");
        });
        QCOMPARE(m_data->stored(QStringLiteral("ppre")), QStringLiteral("602"));
    }

    void childrenDatesAreReformattedAndAWrongDateIsPutRight()
    {
        const QString notADate =
            QStringLiteral("'13/45/2012' is not a date. Enter the date of birth as "
                           "month/day/year, such as 03/07/2012, or leave the box empty.");
        m_data->interaction.expectInform(QString(), notADate); // leaving the box
        m_data->interaction.expectInform(QString(), notADate); // "&Ok"
        QString title;
        QString firstDate;
        QString secondDate;
        bool stillOpen = false;
        auto run = onNextModal([&](QWidget* dialog) {
            title = dialog->windowTitle();
            typeInto(dialog, "Text1", QStringLiteral("Ann"));
            typeInto(dialog, "Text2", QStringLiteral("3/7/2012"));
            typeInto(dialog, "Text3", QStringLiteral("Ben"));
            firstDate = box(dialog, "Text2")->text();
            typeInto(dialog, "Text4", QStringLiteral("13/45/2012"));
            typeInto(dialog, "Text5", QStringLiteral("   "));
            secondDate = box(dialog, "Text4")->text();
            typeInto(dialog, "Text6", QStringLiteral("5/1/2015"));
            press(dialog, "Command1");
            stillOpen = dialog->isVisible() && box(dialog, "Text4")->hasFocus();
            typeInto(dialog, "Text4", QStringLiteral("1/3/2013"));
            press(dialog, "Command1");
        });
        QTest::mouseClick(label("GetChildInfoHot"), Qt::LeftButton);
        QVERIFY_ANSWERED(run);
        QCOMPARE(title, QStringLiteral("Information about Children"));
        QCOMPARE(firstDate, QStringLiteral("03/07/2012"));
        QCOMPARE(secondDate, QStringLiteral("13/45/2012"));
        QVERIFY(stillOpen);
        QCOMPARE(m_data->interaction.prompts.size(), 2);

        QCOMPARE(m_data->stored(QStringLiteral("child1name")), QStringLiteral("Ann"));
        QCOMPARE(m_data->stored(QStringLiteral("child1dob")), QStringLiteral("03/07/2012"));
        QCOMPARE(m_data->stored(QStringLiteral("child2name")), QStringLiteral("Ben"));
        QCOMPARE(m_data->stored(QStringLiteral("child2dob")), QStringLiteral("01/03/2013"));
        // A slot with a blank name loses its date.
        QCOMPARE(m_data->stored(QStringLiteral("child3name")), QString());
        QCOMPARE(m_data->stored(QStringLiteral("child3dob")), QString());
        QCOMPARE(caption("lblChild1DOB"), QStringLiteral("03/07/2012"));
        QCOMPARE(m_form->worksheet()->result.childCount, 2);
    }

    void custodyTogglesFromBlank()
    {
        m_data->setStored(
            {{QStringLiteral("whosecustody"), QString()}, {QStringLiteral("payshealth"), QString()}});
        m_form->RecalculateWorksheet();
        QCOMPARE(caption("lblCustody"), QStringLiteral("DEFENDANT"));
        QTest::mouseClick(label("lblCustody"), Qt::LeftButton);
        QCOMPARE(m_data->stored(QStringLiteral("whosecustody")), QStringLiteral("P"));
        QCOMPARE(caption("lblCustody"), QStringLiteral("PLAINTIFF"));
        QTest::mouseClick(label("lblCustody"), Qt::LeftButton);
        QCOMPARE(m_data->stored(QStringLiteral("whosecustody")), QStringLiteral("D"));
        QCOMPARE(caption("lblCustody"), QStringLiteral("DEFENDANT"));

        // The payer toggles while line 6 is empty; the label still shows N/A until it is not.
        QTest::mouseClick(label("lblHealthInsurance"), Qt::LeftButton);
        QCOMPARE(m_data->stored(QStringLiteral("payshealth")), QStringLiteral("P"));
        QCOMPARE(caption("lblHealthInsurance"), QStringLiteral("N/A"));
    }

    void headerFieldsUseInputBoxesAndCancelKeepsTheText()
    {
        m_data->setStored({{QStringLiteral("courtfile"), QStringLiteral("CV-2024-1")}});
        m_form->RecalculateWorksheet();

        m_data->interaction.expectInput(std::nullopt,
                                        QStringLiteral("Court File Number"),
                                        QStringLiteral("Enter the court file number in the space below:"));
        QTest::mouseClick(label("lblCourtFile"), Qt::LeftButton);
        QCOMPARE(m_data->interaction.inputInitialTexts.value(0), QStringLiteral("CV-2024-1"));
        QCOMPARE(m_data->stored(QStringLiteral("courtfile")), QStringLiteral("CV-2024-1"));
        QCOMPARE(caption("lblCourtFile"), QStringLiteral("CV-2024-1"));

        m_data->interaction.expectInput(QStringLiteral("Jefferson"),
                                        QStringLiteral("Name of County"),
                                        QStringLiteral("Enter the name of the County in the space below:"));
        QTest::mouseClick(label("lblCounty"), Qt::LeftButton);
        QCOMPARE(m_data->stored(QStringLiteral("county")), QStringLiteral("Jefferson"));
        QCOMPARE(caption("lblCounty"), QStringLiteral("Jefferson"));

        // An empty answer from OK clears the field.
        m_data->interaction.expectInput(QString(), QStringLiteral("Name of County"));
        QTest::mouseClick(label("lblCounty"), Qt::LeftButton);
        QCOMPARE(m_data->stored(QStringLiteral("county")), QString());
        QCOMPARE(caption("lblCounty"), QString());
    }

    void headerSignatureAndCommentBoxes_data()
    {
        QTest::addColumn<QString>("labelName");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("court type") << "lblCourtType"
                                    << "courttype"
                                    << "Court Type"
                                    << "Enter the court type (Circuit or District) in the space below:";
        QTest::newRow("county") << "lblCounty"
                                << "county"
                                << "Name of County"
                                << "Enter the name of the County in the space below:";
        QTest::newRow("court file") << "lblCourtFile"
                                    << "courtfile"
                                    << "Court File Number"
                                    << "Enter the court file number in the space below:";
        QTest::newRow("date signed") << "lblDateSigned"
                                     << "datesigned"
                                     << "Date Signed"
                                     << "Enter the date signed in the space below:";
        QTest::newRow("prepared by")
            << "lblPreparedBy"
            << "preparedby"
            << "Prepared by"
            << "Enter the name of the person preparing this worksheet in the space below:";
        QTest::newRow("comments") << "lblComments"
                                  << "textblock1"
                                  << "Comments"
                                  << "Enter Comments in the space below:";
    }

    void headerSignatureAndCommentBoxes()
    {
        QFETCH(QString, labelName);
        QFETCH(QString, column);
        QFETCH(QString, title);
        QFETCH(QString, prompt);
        const QString stored = QStringLiteral("  Old text  ");
        m_data->setStored({{column, stored}});
        m_form->RecalculateWorksheet();

        // The box starts from the trimmed caption; the same text back writes nothing.
        m_data->interaction.expectInput(QStringLiteral("Old text"), title, prompt);
        QTest::mouseClick(label(labelName), Qt::LeftButton);
        QCOMPARE(m_data->interaction.inputInitialTexts.value(0), QStringLiteral("Old text"));
        QCOMPARE(m_data->stored(column), stored);

        // Cancel keeps the field.
        m_data->interaction.expectInput(std::nullopt, title, prompt);
        QTest::mouseClick(label(labelName), Qt::LeftButton);
        QCOMPARE(m_data->stored(column), stored);

        // A new text is stored as typed and shown; the date signed is not checked for a date.
        const QString typed = QStringLiteral("New text, not a date 13/45");
        m_data->interaction.expectInput(typed, title, prompt);
        QTest::mouseClick(label(labelName), Qt::LeftButton);
        QCOMPARE(m_data->stored(column), typed);
        QCOMPARE(caption(labelName), typed);
        QCOMPARE(m_data->interaction.prompts.size(), 3);
    }

    void aTextLongerThanTheFormHoldsIsRefusedAndTheStoredOneKept_data()
    {
        QTest::addColumn<QString>("labelName");
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("limit");
        QTest::newRow("comments") << "lblComments"
                                  << "textblock1" << 2000;
        QTest::newRow("county") << "lblCounty"
                                << "county" << 255;
    }

    void aTextLongerThanTheFormHoldsIsRefusedAndTheStoredOneKept()
    {
        QFETCH(QString, labelName);
        QFETCH(QString, column);
        QFETCH(int, limit);
        m_data->setStored({{column, QStringLiteral("Stored text")}});
        m_form->RecalculateWorksheet();

        const QString tooLong(limit + 1, QLatin1Char('x'));
        m_data->interaction.expectInput(tooLong);
        m_data->interaction.expectInform(QString(), FormCS42::textTooLongText(limit + 1, limit));
        QTest::mouseClick(label(labelName), Qt::LeftButton);
        QCOMPARE(m_data->stored(column), QStringLiteral("Stored text"));
        QCOMPARE(caption(labelName), QStringLiteral("Stored text"));

        const QString longest(limit, QLatin1Char('y'));
        m_data->interaction.expectInput(longest);
        QTest::mouseClick(label(labelName), Qt::LeftButton);
        QCOMPARE(m_data->stored(column), longest);
        QCOMPARE(m_data->interaction.prompts.size(), 3);
        QCOMPARE(FormCS42::textTooLongText(2001, 2000),
                 QStringLiteral("The text you entered is 2,001 characters long, but this box holds at most "
                                "2,000 characters. It was not saved; please enter a shorter text."));
    }

    void partiesComeFromTheNamesWindow()
    {
        // SELECT NAME on the directory's first entry stores its list name, key and address block.
        QString title;
        clickLine(
            "lblName1Name",
            [](QWidget* names) {
                auto* list = names->findChild<QListView*>(QStringLiteral("List1"));
                QVERIFY(list->model()->rowCount() > 0);
                list->setCurrentIndex(list->model()->index(0, 0));
                press(names, "cmdSave");
            },
            &title);
        QCOMPARE(title, QStringLiteral("Select Name of Plaintiff"));
        const QString key = m_data->stored(QStringLiteral("name1number"));
        QVERIFY(!key.isEmpty());
        QVERIFY(!m_data->stored(QStringLiteral("name1name")).isEmpty());
        QVERIFY(m_data->stored(QStringLiteral("name1field"))
                    .startsWith(m_data->stored(QStringLiteral("name1name"))));
        QCOMPARE(caption("lblName1Name"), m_data->stored(QStringLiteral("name1name")));

        // Closed with the close box: the party stays.
        clickLine("lblName1Name", [](QWidget* names) { names->close(); });
        QCOMPARE(m_data->stored(QStringLiteral("name1number")), key);

        // "&No Selection" empties the label and the three columns.
        clickLine("lblName1Name", [](QWidget* names) { press(names, "Command1"); });
        QCOMPARE(caption("lblName1Name"), QString());
        for (const char* column : {"name1name", "name1number", "name1field"})
            QCOMPARE(m_data->stored(QLatin1String(column)), QString());
    }

    void explanationCopiedIsExactlyTheGeneratedText()
    {
        m_data->setStored({{QStringLiteral("pinc"), QStringLiteral("3000")},
                           {QStringLiteral("dinc"), QStringLiteral("2000")},
                           {QStringLiteral("child1name"), QStringLiteral("Ann")},
                           {QStringLiteral("whosecustody"), QStringLiteral("P")}});
        m_form->RecalculateWorksheet();
        m_data->interaction.expectInform(QString(), CalcMessageWindow::copiedText());
        m_data->interaction.expectInform(QString(), CalcMessageWindow::copiedText());
        QString shown;
        QString focused;
        clickLine("lblExplaination", [&](QWidget* window) {
            QCOMPARE(window->windowTitle(),
                     QStringLiteral("Written Explanation of Child Support Calculation"));
            focused = window->focusWidget() ? window->focusWidget()->objectName() : QString();
            shown = window->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText();
            press(window, "Command2");
            press(window, "Command2");
            press(window, "Command1");
        });
        const WorksheetResult& result = m_form->worksheet()->result;
        const QString expected = generateExplanation(
            m_form->displayedCaptions(), 1, result.lookup, QDate(2024, 3, 15), false, result.scheduleSource);
        // The window's schedule, written by the fixture, is named at the end of the schedule paragraph.
        QVERIFY(expected.contains(
            QStringLiteral(" The schedule installed for this form is a schedule whose origin "
                           "was not recorded (SHA-256 ")));
        QCOMPARE(m_form->explanationText(), expected);
        QVERIFY(expected.contains(QStringLiteral("\r\n\r\n")));
        QCOMPARE(m_data->interaction.clipboard, expected);
        QCOMPARE(m_data->interaction.copies, 2);
        QCOMPARE(shown, QString(expected).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(focused, QStringLiteral("Command1"));
    }

    // What leaves the program is the case as stored now: another workstation's change is shown and
    // asked about before the form is produced, and a case deleted there is not produced at all.
    void productionAndTheExplanationReadTheCaseAsStoredNow()
    {
        QVERIFY2(QFile::exists(m_data->session.paths.templatePath()), "the build makes the template");
        m_data->setStored({{QStringLiteral("pinc"), QStringLiteral("3000")},
                           {QStringLiteral("dinc"), QStringLiteral("5287")},
                           {QStringLiteral("child1name"), QStringLiteral("Ann")}});
        m_form->RecalculateWorksheet();
        QCOMPARE(caption("lblD1"), QStringLiteral("5287"));
        const auto produce = [this] {
            auto notice = onNextModal([](QWidget* box) { press(box, "Command1"); });
            m_form->ProduceForm();
            QVERIFY_ANSWERED(notice);
        };

        // Another workstation changes the defendant's income: shown, then asked about.
        m_data->setStored({{QStringLiteral("dinc"), QStringLiteral("5400")}});
        m_data->interaction.expectAsk(Interaction::Answer::No,
                                      QString(),
                                      FormCS42::changedElsewhereQuestion(QStringLiteral(
                                          "Line 1, defendant: 5287 \u2192 5400\nLine 4: 830 \u2192 840")));
        produce();
        QCOMPARE(caption("lblD1"), QStringLiteral("5400"));
        QVERIFY(m_data->interaction.shownDocuments.isEmpty());
        // The screen is the stored case now: produced without a question, from 5,400.
        produce();
        QCOMPARE(m_data->interaction.shownDocuments.size(), 1);
        QVERIFY(m_data->interaction.allExpectationsMet());

        // The explanation, and its copy, are of the case as stored when each is made.
        m_data->setStored({{QStringLiteral("dinc"), QStringLiteral("5500")}});
        m_data->interaction.expectInform(QString(),
                                         CalcMessageWindow::changedText() + QStringLiteral("\r\n\r\n") +
                                             CalcMessageWindow::copiedText());
        QString shown;
        clickLine("lblExplaination", [&](QWidget* window) {
            shown = window->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText();
            m_data->setStored({{QStringLiteral("dinc"), QStringLiteral("5600")}});
            press(window, "Command2");
            press(window, "Command1");
        });
        QVERIFY(shown.contains(QStringLiteral("$5500")));
        QVERIFY(m_data->interaction.clipboard.contains(QStringLiteral("$5600")));
        QCOMPARE(caption("lblD1"), QStringLiteral("5600"));

        // Deleted at another workstation: nothing is produced.
        QVERIFY(QFile::remove(m_data->session.paths.producedFormPath()));
        QCOMPARE(m_data->store().deleteCase(m_data->session.currentCaseId), CaseStoreStatus::Ok);
        m_data->interaction.expectInform(QString(), FormCS42::caseGoneText());
        produce();
        QVERIFY(!QFile::exists(m_data->session.paths.producedFormPath()));
        QCOMPARE(m_data->interaction.shownDocuments.size(), 1);
    }

    // An entry made while another workstation changed the same figure overwrites nothing unseen:
    // the user sees both values and chooses.
    void anEntryChangedElsewhereMeanwhileIsChosenNotOverwritten()
    {
        m_data->setStored({{QStringLiteral("pinc"), QStringLiteral("3000")}});
        m_form->RecalculateWorksheet();
        const auto enter = [this](const char* amount) {
            clickLine("lblP1", [amount](QWidget* dialog) {
                typeInto(dialog, "Text1", QLatin1String(amount));
                QTest::keyClick(box(dialog, "Text1"), Qt::Key_Return);
            });
        };
        m_data->setStored({{QStringLiteral("pinc"), QStringLiteral("3100")}});
        m_data->interaction.expectAsk(Interaction::Answer::No,
                                      QStringLiteral("Changed at Another Workstation"),
                                      FormCS42::conflictQuestion(QStringLiteral("Line 1, plaintiff"),
                                                                 QStringLiteral("3100"),
                                                                 QStringLiteral("3200")));
        enter("3200");
        QCOMPARE(m_data->stored(QStringLiteral("pinc")), QStringLiteral("3100"));
        QCOMPARE(caption("lblP1"), QStringLiteral("3100"));

        m_data->setStored({{QStringLiteral("pinc"), QStringLiteral("3150")}});
        m_data->interaction.expectAsk(Interaction::Answer::Yes,
                                      QStringLiteral("Changed at Another Workstation"),
                                      FormCS42::conflictQuestion(QStringLiteral("Line 1, plaintiff"),
                                                                 QStringLiteral("3150"),
                                                                 QStringLiteral("3200")));
        enter("3200");
        QCOMPARE(m_data->stored(QStringLiteral("pinc")), QStringLiteral("3200"));
        QCOMPARE(caption("lblP1"), QStringLiteral("3200"));
        QCOMPARE(m_data->store().history(m_data->session.currentCaseId).value(0).newValue,
                 QStringLiteral("3200"));

        // The History window lists the saves newest first and closes from the keyboard.
        bool listed = false;
        auto history = onNextModal([&](QWidget* window) {
            auto* table = window->findChild<QTableWidget*>(QStringLiteral("tblHistory"));
            QVERIFY(table->hasFocus());
            QCOMPARE(table->item(0, 1)->text(), QStringLiteral("Line 1, plaintiff"));
            QCOMPARE(table->item(0, 2)->text(), QStringLiteral("3150"));
            QCOMPARE(table->item(0, 3)->text(), QStringLiteral("3200"));
            QCOMPARE(table->item(0, 5)->text(), QSysInfo::machineHostName());
            listed = true;
            QTest::keyClick(table, Qt::Key_Escape);
        });
        m_form->ShowHistory();
        QVERIFY_ANSWERED(history);
        QVERIFY(listed);
    }

    void highlightingSwitchesOnlyTheThirtyFiveLabels()
    {
        QCOMPARE(FormCS42::highlightedLabels().size(), 35);
        const auto colorOf = [this](const QString& name) {
            return label(name)->palette().color(QPalette::Window);
        };
        const QColor otherBefore = colorOf(QStringLiteral("lblC7"));
        for (const QString& name : FormCS42::highlightedLabels())
            QCOMPARE(colorOf(name), QColor(255, 255, 0));
        m_data->session.highlightColorIndex = 15;
        m_form->ChangeFieldColors();
        for (const QString& name : FormCS42::highlightedLabels())
            QCOMPARE(colorOf(name), QColor(255, 255, 255));
        m_data->session.highlightColorIndex = 14;
        m_form->ChangeFieldColors();
        QCOMPARE(colorOf(QStringLiteral("lblP10")), QColor(255, 255, 0));
        QCOMPARE(colorOf(QStringLiteral("lblC7")), otherBefore);
        QVERIFY(!label("lblC7")->autoFillBackground());
    }

    void aRemovedCaseIsReportedAndNothingIsWritten()
    {
        QCOMPARE(m_data->store().deleteCase(m_data->session.currentCaseId), CaseStoreStatus::Ok);
        m_data->interaction.expectInform(QString(), FormCS42::caseRemovedText());
        QTest::mouseClick(label("lblCustody"), Qt::LeftButton);
        QCOMPARE(m_data->store().caseCount(), 0);
    }

    // A save that another workstation's lock holds off neither ends the program nor loses the
    // entry: the user is asked to try again, and the value typed is stored once the lock is gone.
    void aBusySaveKeepsTheProgramAndTheEntry()
    {
        SqlConnection::setBusyTimeoutMs(100);
        const QString cases = m_data->session.paths.casesDbPath();
        std::unique_ptr<SqlConnection> holder;
        // Another workstation takes the file while the amount is being typed.
        const auto typeWhileLocked = [&](const QString& amount) {
            return [&holder, cases, amount](QWidget* dialog) {
                typeInto(dialog, "Text1", amount);
                holder = std::make_unique<SqlConnection>(cases);
                QVERIFY(holder->exec(QStringLiteral("BEGIN EXCLUSIVE")));
                press(dialog, "Command1");
            };
        };
        m_data->interaction.expectAsk(Interaction::Answer::Yes, QStringLiteral("Cases Database in Use"));
        m_data->interaction.expectAsk(Interaction::Answer::No, QStringLiteral("Cases Database in Use"));
        clickLine("lblP1", typeWhileLocked(QStringLiteral("2500")));
        QVERIFY(!m_data->interaction.ended);
        QVERIFY(m_data->interaction.prompts.last().text.endsWith(FormCS42::saveAgainQuestion()));
        holder.reset();
        QCOMPARE(m_data->stored(QStringLiteral("pinc")), QString());

        // Answered Yes once the other workstation is done: the same entry goes in.
        m_data->interaction.expectAsk(Interaction::Answer::Yes, QStringLiteral("Cases Database in Use"));
        m_data->interaction.onPrompt = [&holder](const auto&) {
            holder.reset();
        };
        clickLine("lblP1", typeWhileLocked(QStringLiteral("2600")));
        m_data->interaction.onPrompt = nullptr;
        SqlConnection::setBusyTimeoutMs(15000);
        QCOMPARE(m_data->stored(QStringLiteral("pinc")), QStringLiteral("2600"));
        QCOMPARE(caption("lblP1"), QStringLiteral("2600"));
        QVERIFY(!m_data->interaction.ended);
    }

    // A damaged index hides the current case: the user hears that the file needs a restore, not
    // that the case is gone.
    void aDamagedIndexIsReportedAsDamage()
    {
        QVERIFY(test::damageCaseIdIndex(m_data->session.paths.casesDbPath()));
        m_data->interaction.expectInform(QStringLiteral("Cases Database Damaged"));
        QTest::mouseClick(label("lblCustody"), Qt::LeftButton);
        const QString text = m_data->interaction.prompts.last().text;
        QVERIFY2(text.contains(QStringLiteral("restore")) &&
                     text.contains(QStringLiteral("missing from index")),
                 qPrintable(text));
        QVERIFY(!m_data->interaction.ended);
    }

    void withoutATemplateTheWorksheetStillWorks()
    {
        m_form.reset();
        QFile::remove(m_data->session.paths.templatePath());
        m_data->setStored({{QStringLiteral("child1name"), QStringLiteral("Ann")}});
        openWorksheet();
        QVERIFY(label("Image1")->geometry().contains(label("lblP1")->geometry()));
        clickLine("lblP1", [](QWidget* dialog) {
            typeInto(dialog, "Text1", QStringLiteral("1000"));
            press(dialog, "Command1");
        });
        QCOMPARE(m_data->stored(QStringLiteral("pinc")), QStringLiteral("1000"));
        QCOMPARE(caption("lblP2"), QStringLiteral("1000"));

        m_data->interaction.expectInform(QString(),
                                         missingTemplateMessage(m_data->session.paths.templatePath()));
        auto run = onNextModal([](QWidget* notice) { press(notice, "Command1"); });
        m_form->ProduceForm();
        QVERIFY_ANSWERED(run);
        QVERIFY(m_data->interaction.shownDocuments.isEmpty());
        QVERIFY(m_data->interaction.openedDocuments.isEmpty());
    }

    void aFormThatCannotBeSavedIsSaidAndNotOpened()
    {
        QVERIFY2(QFile::exists(m_data->session.paths.templatePath()), "the build makes the template");
        m_data->setStored({{QStringLiteral("child1name"), QStringLiteral("Ann")}});
        m_form->RecalculateWorksheet();
        // A folder where the output goes: no form can be saved there, and the folder is kept.
        const QString output = m_data->session.paths.producedFormPath();
        QVERIFY(QDir().mkpath(output));
        m_data->interaction.expectInform(
            saveFailedTitle(),
            QStringLiteral("The form was not saved as '") + output +
                QStringLiteral("', because that is not a file but a folder, a device or a pipe."));
        auto run = onNextModal([](QWidget* notice) { press(notice, "Command1"); });
        m_form->ProduceForm();
        QVERIFY_ANSWERED(run);
        QCOMPARE(m_data->interaction.prompts.size(), 1);
        QVERIFY(m_data->interaction.shownDocuments.isEmpty());
        QVERIFY(m_data->interaction.openedDocuments.isEmpty());
        QVERIFY(QDir(output).isEmpty());
    }

    // The window is a view of the computation: every label shows the caption the worksheet
    // session computed, which the explanation and the produced form read, as cs42-admin does.
    void theWindowShowsTheComputationThatIsProduced()
    {
        m_data->setStored({{QStringLiteral("pinc"), QStringLiteral("4250")},
                           {QStringLiteral("dinc"), QStringLiteral("2100")},
                           {QStringLiteral("ppre"), QStringLiteral("310")},
                           {QStringLiteral("dresp"), QStringLiteral("150.50")},
                           {QStringLiteral("childcare"), QStringLiteral("220")},
                           {QStringLiteral("healthins"), QStringLiteral("95")},
                           {QStringLiteral("payshealth"), QStringLiteral("D")},
                           {QStringLiteral("child1name"), QStringLiteral("Ann")},
                           {QStringLiteral("child1dob"), QStringLiteral("03/07/2012")},
                           {QStringLiteral("child3name"), QStringLiteral("Ben")},
                           {QStringLiteral("county"), QStringLiteral("Jefferson")},
                           {QStringLiteral("textblock1"), QStringLiteral("Line one\nline two")}});
        m_form->RecalculateWorksheet();
        const Worksheet& sheet = *m_form->worksheet();
        const CaseRecord record = *m_data->store().findCurrentCase(m_data->session.currentCaseId);
        const Worksheet expected =
            computeWorksheet(record, *ScheduleTable::load(m_data->session.paths.scheduleDbPath()));
        QCOMPARE(sheet.captions, expected.captions);
        QCOMPARE(m_form->displayedCaptions(), sheet.captions);
        QCOMPARE(caption("lblC4"), expected.captions.value(QStringLiteral("lblC4")));
        QVERIFY(!caption("lblD10").isEmpty());
    }

    void produceFollowsTheNotice()
    {
        const QString output = m_data->session.paths.producedFormPath();
        m_data->setStored({{QStringLiteral("child1name"), QStringLiteral("Ann")}});
        m_form->RecalculateWorksheet();

        // Cancel: nothing is produced.
        auto cancel = onNextModal([](QWidget* notice) { press(notice, "Command2"); });
        m_form->ProduceForm();
        QVERIFY_ANSWERED(cancel);
        QCOMPARE(cancel->title, QStringLiteral("Produce Form"));
        QVERIFY(!QFile::exists(output));

        if (!QFile::exists(m_data->session.paths.templatePath())) {
            m_data->interaction.expectInform(QString(),
                                             missingTemplateMessage(m_data->session.paths.templatePath()));
            auto run = onNextModal([](QWidget* notice) { press(notice, "Command1"); });
            m_form->ProduceForm();
            QVERIFY_ANSWERED(run);
            return;
        }

        // Closing the notice any other way produces, and the preview shows the output: the form
        // with its values, titled with the case; "Open in PDF Viewer" opens the output itself.
        int pages = 0;
        m_data->interaction.onShowDocument =
            [&](QWidget* parent, const QString& path, const PreviewOptions& options) {
                PdfPreview preview(path, options, m_data->interaction, parent);
                if (!preview.load())
                    return false;
                pages = preview.pageCount();
                QTest::mouseClick(preview.findChild<QPushButton*>(QStringLiteral("cmdOpenInViewer")),
                                  Qt::LeftButton);
                return true;
            };
        auto closed = onNextModal([](QWidget* notice) { notice->close(); });
        m_form->ProduceForm();
        QVERIFY_ANSWERED(closed);
        QVERIFY(QFile::exists(output));
        QCOMPARE(m_data->interaction.shownDocuments.size(), 1);
        const PreviewOptions& shown = m_data->interaction.shownDocuments[0].options;
        QCOMPARE(m_data->interaction.shownDocuments[0].path, output);
        QCOMPARE(shown.title, QStringLiteral("Form CS-42 (Rev. 1/09) - Doe v. Roe"));
        QCOMPARE(shown.saveName, QStringLiteral("Doe v Roe - CS-42 - 2024-03-15.pdf"));
        QCOMPARE(shown.paths.settingsDbPath(), m_data->session.paths.settingsDbPath());
        QCOMPARE(pages, 1);
        QCOMPARE(m_data->interaction.openedDocuments, QStringList{output});

        // A form the preview cannot show opens with the viewer.
        m_data->interaction.onShowDocument = nullptr;
        m_data->interaction.showDocumentResult = false;
        auto again = onNextModal([](QWidget* notice) { press(notice, "Command1"); });
        m_form->ProduceForm();
        QVERIFY_ANSWERED(again);
        QCOMPARE(m_data->interaction.openedDocuments, (QStringList{output, output}));
        QVERIFY(m_data->interaction.prompts.isEmpty());

        // No viewer either: the user learns where the form is.
        m_data->interaction.openDocumentResult = false;
        m_data->interaction.expectInform();
        auto run = onNextModal([](QWidget* notice) { press(notice, "Command1"); });
        m_form->ProduceForm();
        QVERIFY_ANSWERED(run);
        QVERIFY(m_data->interaction.prompts.last().text.contains(output));
    }
};

QTEST_MAIN(FormCS42Test)
#include "FormCS42Test.moc"
