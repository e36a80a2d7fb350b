// Pictures of the worksheet window, its dialogs, the explanation window and the produce notice, for
// the documentation. Runs only when CS42_SCREENSHOT_DIR names the folder to write them to, e.g.
//   CS42_SCREENSHOT_DIR=docs/screenshots xvfb-run -s "-screen 0 1280x1600x24"
//       build/tests/WorksheetScreenshotsTest

#include "WorksheetFixture.h"
#include "core/explain/Explanation.h"
#include "ui/explain/CalcMessageWindow.h"
#include "ui/produce/ProducingFormBox.h"
#include "ui/worksheet/FormCS42.h"
#include "ui/worksheet/GetCcare.h"
#include "ui/worksheet/GetChA.h"
#include "ui/worksheet/GetIns.h"
#include "ui/worksheet/GetPreAlimony.h"
#include "ui/worksheet/GetResp.h"
#include "ui/worksheet/Income.h"
#include "ui/worksheet/OverRide.h"

#include <QDir>
#include <QTest>

using namespace cs42;
using namespace cs42::test;

class WorksheetScreenshotsTest : public QObject
{
    Q_OBJECT

private:
    QString m_folder;

    void shoot(QWidget& widget, const QString& name)
    {
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QTest::qWait(50);
        QVERIFY(widget.grab().save(QDir(m_folder).filePath(QStringLiteral("worksheet-%1.png").arg(name))));
        widget.hide();
    }

private slots:

    void initTestCase()
    {
        m_folder = qEnvironmentVariable("CS42_SCREENSHOT_DIR");
        if (m_folder.isEmpty())
            QSKIP("CS42_SCREENSHOT_DIR is not set");
        QDir().mkpath(m_folder);
    }

    void worksheetOfAFilledCase()
    {
        WorksheetFixture data;
        const ColumnValues filled{
            {QStringLiteral("courttype"), QStringLiteral("Circuit")},
            {QStringLiteral("county"), QStringLiteral("Jefferson")},
            {QStringLiteral("courtfile"), QStringLiteral("DR-2024-000123.00")},
            {QStringLiteral("name1name"), QStringLiteral("Doe, Jane A.")},
            {QStringLiteral("name2name"), QStringLiteral("Roe, Richard B.")},
            {QStringLiteral("child1name"), QStringLiteral("Ann Roe")},
            {QStringLiteral("child1dob"), QStringLiteral("03/07/2012")},
            {QStringLiteral("child2name"), QStringLiteral("Ben Roe")},
            {QStringLiteral("child2dob"), QStringLiteral("11/21/2015")},
            {QStringLiteral("child4name"), QStringLiteral("Cleo Roe")},
            {QStringLiteral("child4dob"), QStringLiteral("05/01/2019")},
            {QStringLiteral("pinc"), QStringLiteral("3000")},
            {QStringLiteral("dinc"), QStringLiteral("2510")},
            {QStringLiteral("dpre"), QStringLiteral("250")},
            {QStringLiteral("presp"), QStringLiteral("250.00")},
            {QStringLiteral("childcare"), QStringLiteral("200")},
            {QStringLiteral("healthins"), QStringLiteral("100")},
            {QStringLiteral("payshealth"), QStringLiteral("D")},
            {QStringLiteral("whosecustody"), QStringLiteral("P")},
            {QStringLiteral("textblock1"),
             QStringLiteral(
                 "Incomes from the parties' 2023 tax returns. Child care at the licensed rate of the "
                 "county's schedule.")},
            {QStringLiteral("preparedby"), QStringLiteral("A. Clerk, for the Plaintiff")},
            {QStringLiteral("datesigned"), QStringLiteral("03/15/2024")},
        };
        data.setStored(filled);
        FormCS42 form(data.session, data.host);
        shoot(form, QStringLiteral("filled-highlighted"));
        data.session.highlightColorIndex = 15;
        form.ChangeFieldColors();
        shoot(form, QStringLiteral("filled-plain"));

        data.setStored({{QStringLiteral("override"), QStringLiteral("Y")},
                        {QStringLiteral("overamount"), QStringLiteral("612")}});
        data.session.highlightColorIndex = 14;
        form.ChangeFieldColors();
        form.RecalculateWorksheet();
        shoot(form, QStringLiteral("override"));

        // Every warning at once: no schedule rows, a child-care amount that cannot be used, the
        // plaintiff's deductions above her income and her insurance credit above her share, no child.
        data.setStored({{QStringLiteral("override"), QStringLiteral("N")},
                        {QStringLiteral("pinc"), QStringLiteral("100")},
                        {QStringLiteral("ppre"), QStringLiteral("150")},
                        {QStringLiteral("presp"), QString()},
                        {QStringLiteral("childcare"), QString(400, u'9')},
                        {QStringLiteral("payshealth"), QStringLiteral("P")},
                        {QStringLiteral("whosecustody"), QStringLiteral("D")}});
        for (int i = 1; i <= 6; ++i)
            data.setStored({{QStringLiteral("child%1name").arg(i), QString()}});
        const QString schedule = data.session.paths.scheduleDbPath();
        SqlConnection(schedule).exec(QStringLiteral("CREATE TABLE Kept AS SELECT * FROM Schedule"));
        SqlConnection(schedule).exec(QStringLiteral("DELETE FROM Schedule"));
        form.RecalculateWorksheet();
        shoot(form, QStringLiteral("warnings"));
        SqlConnection(schedule).exec(QStringLiteral("INSERT INTO Schedule SELECT * FROM Kept"));
        data.setStored(filled);
        data.setStored({{QStringLiteral("override"), QStringLiteral("Y")}});
        form.RecalculateWorksheet();

        const QString text = generateExplanation(form.displayedCaptions(),
                                                 form.worksheet()->result.childCount,
                                                 form.worksheet()->result.lookup,
                                                 data.session.today());
        CalcMessageWindow explanation(text, data.interaction);
        shoot(explanation, QStringLiteral("explanation"));

        GetResp resp(QStringLiteral("Plaintiff's Monthly Income"),
                     QStringLiteral("602"),
                     QStringLiteral("3010"),
                     QStringLiteral("2"),
                     data.session.paths.scheduleDbPath());
        shoot(resp, QStringLiteral("dialog-getresp"));

        ChildrenInfo children;
        children[0] = {QStringLiteral("Ann Roe"), QStringLiteral("03/07/2012")};
        children[1] = {QStringLiteral("Ben Roe"), QStringLiteral("11/21/2015")};
        GetChA chA(children, data.interaction, data.session.today());
        shoot(chA, QStringLiteral("dialog-getcha"));
    }

    void dialogs()
    {
        Income income(QStringLiteral("Plaintiff's Monthly Income"), QStringLiteral("3000"));
        shoot(income, QStringLiteral("dialog-income"));
        GetPreAlimony alimony(QStringLiteral("Plaintiff's Pre-Existing Periodic Alimony Payment"),
                              QStringLiteral("251"));
        shoot(alimony, QStringLiteral("dialog-getprealimony"));
        GetCcare care(QStringLiteral("Work Related Child Care"), QStringLiteral("200"));
        shoot(care, QStringLiteral("dialog-getccare"));
        GetIns ins(QStringLiteral("Health Insurance"), QStringLiteral("46"));
        shoot(ins, QStringLiteral("dialog-getins"));
        OverRide over(QStringLiteral("Y"), QStringLiteral("612"));
        shoot(over, QStringLiteral("dialog-override"));
        ProducingFormBox notice;
        shoot(notice, QStringLiteral("produce-notice"));
    }
};

QTEST_MAIN(WorksheetScreenshotsTest)
#include "WorksheetScreenshotsTest.moc"
