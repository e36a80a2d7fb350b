// The documents the build generates and installs beside the program, read back with a tool that
// is not ours (poppler's pdftotext): the blank form prints the court's texts, the schedule
// document prints every row of the installed schedule and names it, and the worksheet reference
// describes each edition and says that the official rule governs.
#include "core/worksheet/ScheduleSource.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

// The text of a PDF file (all pages, or page `page` alone), or a null text when it cannot be read.
QString pdfText(const QString& path, bool layout, int page = 0)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return QString();
    QStringList args;
    if (layout)
        args << QStringLiteral("-layout");
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    args << path << QStringLiteral("-");
    QProcess process;
    process.start(tool, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString collapsed(const QString& text)
{
    return text.simplified();
}

int pageCount(const QString& path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    QProcess process;
    process.start(tool, {path});
    if (tool.isEmpty() || !process.waitForFinished(60000))
        return 0;
    const auto match =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(QString::fromUtf8(process.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

bool havePoppler()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

TEST(InstalledDocuments, BlankFormPrintsTheCourtsTexts)
{
    if (!havePoppler())
        GTEST_SKIP() << "pdftotext is not installed";
    const QString text = collapsed(pdfText(QStringLiteral(FORMS_DIR "/QUON42.PDF"), false));
    ASSERT_FALSE(text.isEmpty());
    EXPECT_EQ(pageCount(QStringLiteral(FORMS_DIR "/QUON42.PDF")), 1);
    // Each printed text of the form, in the pieces a text extractor keeps together.
    const char* const printed[] = {
        "State of Alabama",
        "Unified Judicial System",
        "Form CS-42 Rev. 1/09",
        "CHILD-SUPPORT GUIDELINES",
        "Case Number",
        "IN THE",
        "COURT OF",
        "COUNTY, ALABAMA",
        "(Circuit or District)",
        "(Name of County)",
        "Plaintiff",
        "Defendant",
        "Children",
        "Date of Birth",
        "Combined",
        "MONTHLY GROSS INCOME",
        "Minus Preexisting Child-Support Payment",
        "Minus Preexisting Periodic Alimony Payment",
        "MONTHLY ADJUSTED GROSS INCOME",
        "PERCENTAGE SHARE OF INCOME",
        "(Each parent's income on Line 2 divided by the Combined Income)",
        "BASIC CHILD-SUPPORT OBLIGATION",
        "(Apply Line 2 Combined to \"Schedule of Basic Child-Support Obligations\" (Appendix to Rule 32))",
        "WORK-RELATED CHILD-CARE COSTS",
        "HEALTH-INSURANCE COSTS",
        "TOTAL CHILD-SUPPORT OBLIGATION",
        "(Add lines 4, 5, and 6)",
        "EACH PARENT'S CHILD-SUPPORT OBLIGATION",
        "(Multiply Line 7 by Line 3)",
        "ADJUSTMENT FOR PAYMENT OF HEALTH-INSURANCE",
        "(If obligor pays health insurance, enter amount in Line 6 in obligor's column)",
        "RECOMMENDED CHILD-SUPPORT ORDER",
        "(Subtract Line 9 from the amount on Line 8. Leave custodial parent's column blank.)",
        "Comments, Calculations, or Rebuttals to Guidelines:",
        "PREPARED BY:",
        "DATE:",
    };
    for (const char* piece : printed)
        EXPECT_TRUE(text.contains(QString::fromUtf8(piece))) << piece;
    // The lines are numbered 1 to 10 with 1a and 1b.
    for (const char* number : {" 1 MONTHLY", " 1a Minus", " 1b Minus", " 2 MONTHLY", " 5 WORK", " 6 HEALTH"})
        EXPECT_TRUE(text.contains(QLatin1String(number))) << number;
}

TEST(InstalledDocuments, ScheduleDocumentPrintsEveryRowOfTheInstalledScheduleUnderPageHeaders)
{
    const QString csvPath = QStringLiteral(REPO_DATA_DIR "/alabama-schedule-2022-05-01.csv");
    if (!havePoppler())
        GTEST_SKIP() << "pdftotext is not installed";

    QFile csv(csvPath);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly | QIODevice::Text));
    QList<QStringList> expected;
    for (const QByteArray& line : csv.readAll().split('\n')) {
        const QString row = QString::fromUtf8(line).trimmed();
        if (!row.isEmpty() && !row.startsWith(QLatin1String("income")))
            expected << row.split(QLatin1Char(','));
    }
    ASSERT_GT(expected.size(), 500);

    const QString path = QStringLiteral(FORMS_DIR "/QUONSchedule.pdf");
    const int pages = pageCount(path);
    ASSERT_GT(pages, 1);
    // A printed row: "$1,000" then the six amounts, with thousands separators.
    const QRegularExpression rowPattern(QStringLiteral(
        "^\\s*\\$([\\d,]+)\\s+([\\d,]+)\\s+([\\d,]+)\\s+([\\d,]+)\\s+([\\d,]+)\\s+([\\d,]+)\\s+"
        "([\\d,]+)\\s*$"));
    QList<QStringList> printed;
    for (int page = 1; page <= pages; ++page) {
        const QString text = pdfText(path, true, page);
        const QString flat = collapsed(text);
        // Every page carries the headers, so a printed page can be read on its own.
        EXPECT_TRUE(flat.startsWith(QStringLiteral("Schedule of Basic Child-Support Obligations"))) << page;
        for (const char* header :
             {"Combined Monthly", "Adjusted Gross Income", "One", "Child", "Six", "Children"})
            EXPECT_TRUE(flat.contains(QLatin1String(header))) << "page " << page << ": " << header;
        EXPECT_TRUE(flat.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pages))) << page;
        // Which table it is, by the checksum the explanation of a worksheet gives, and which forms
        // read it.
        EXPECT_TRUE(flat.contains(QStringLiteral("The official table of May 1, 2022, SHA-256 ") +
                                  cs42::ScheduleSource::official2022Checksum()))
            << page;
        EXPECT_TRUE(
            flat.contains(QStringLiteral("Read by forms CS-42 (Rev. 5/2022) and CS-42-S (Effective "
                                         "6/2023). Form CS-42 (Rev. 1/09) reads the schedule in force "
                                         "before May 1, 2022, which an office imports.")))
            << page;
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            const auto match = rowPattern.match(line);
            if (!match.hasMatch())
                continue;
            QStringList row;
            for (int i = 1; i <= 7; ++i)
                row << match.captured(i).remove(QLatin1Char(','));
            printed << row;
        }
    }
    ASSERT_EQ(printed.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(printed[i], expected[i]) << "row " << i + 1;
}

TEST(InstalledDocuments, WorksheetReferenceSaysTheOfficialRuleGoverns)
{
    if (!havePoppler())
        GTEST_SKIP() << "pdftotext is not installed";
    const QString text = collapsed(pdfText(QStringLiteral(FORMS_DIR "/QUONRule32.pdf"), false));
    ASSERT_FALSE(text.isEmpty());
    EXPECT_TRUE(text.contains(QStringLiteral("This summary is not the rule.")));
    EXPECT_TRUE(text.contains(QStringLiteral("official text of Rule 32 of the Alabama Rules of Judicial "
                                             "Administration")));
    EXPECT_TRUE(text.contains(QStringLiteral("governs")));
    EXPECT_TRUE(
        text.contains(QStringLiteral("Rule 32 was amended effective May 1, 2022 and again effective June 1, "
                                     "2023")));
    EXPECT_TRUE(text.contains(QStringLiteral("own drawings of the court's forms")));
    // Each edition the program prepares, with the actions it is for, has its own section.
    for (const char* edition :
         {"CS-42 (Rev. 1/09) filed before May 1, 2022",
          "CS-42 (Rev. 5/2022) filed on or after May 1, 2022",
          "CS-42-S (Effective 6/2023) with shared 50 % physical custody, filed on or after "
          "June 1, 2023",
          "Form CS-42 (Rev. 1/09) All amounts are monthly",
          "Form CS-42 (Rev. 5/2022) The program follows the court's own workbook",
          "Form CS-42-S (Effective 6/2023), shared 50 % physical custody"})
        EXPECT_TRUE(text.contains(QLatin1String(edition))) << edition;
    // The rules that differ between them.
    for (const char* rule : {"A combined income under $800 gives $50",
                             "never below the $250 row",
                             "Above the $30,000 row the court sets the amount",
                             "self-support reserve of $981",
                             "85 % of line 11",
                             "150 % of line 4",
                             "50 % of line 5",
                             "cs42-admin schedule import --undo"})
        EXPECT_TRUE(text.contains(QLatin1String(rule))) << rule;
    // Every line of the 2009 form is described.
    for (const char* line : {"Monthly gross income",
                             "Preexisting child-support",
                             "Preexisting periodic alimony",
                             "Monthly adjusted gross income",
                             "Percentage share of income",
                             "Basic child-support obligation",
                             "Work-related child-care costs",
                             "Health-insurance costs",
                             "Total child-support obligation",
                             "Each parent's child-support",
                             "Adjustment for payment of",
                             "Recommended child-support"})
        EXPECT_TRUE(text.contains(QLatin1String(line))) << line;
}

} // namespace
