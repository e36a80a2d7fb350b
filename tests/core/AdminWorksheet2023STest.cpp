#include "Worksheet2022Fixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

// Form CS-42-S (shared 50 % physical custody) through cs42-admin, on cases stored as the
// worksheet stores them.
namespace {

using cs42::test::captionValue;

class AdminWorksheet2023STest : public cs42::test::AdminCaseTest
{
};

// The fifteen cases the court's workbook CS42S.xlsx computed in Excel (tests/data/README.md):
// stored as a user enters them on a CS-42-S case, each line cs42-admin prints must be the
// workbook's, and the parent whose column holds line 14 pays it.
TEST_F(AdminWorksheet2023STest, CourtWorkbookCasesGiveEveryLineOfTheWorkbook)
{
    importSchedule2022();
    const QJsonArray cases = cs42::test::courtCases(QStringLiteral("cs42s-2023-golden.json"));
    ASSERT_EQ(cases.size(), 15);

    const QList<cs42::test::CourtInput> inputs{
        {"monthlyGrossIncome", "1", "pinc", "dinc"},
        {"preexistingChildSupport", "1a", "ppre", "dpre"},
        {"preexistingAlimony", "1b", "presp", "dresp"},
        {"workRelatedChildcareCosts", "6", "pchildcare", "dchildcare"},
        {"healthcareCoverageCosts", "7", "phealthins", "dhealthins"},
    };

    for (const QJsonValue& value : cases) {
        const QJsonObject c = value.toObject();
        const QString name = c.value("name").toString();
        SCOPED_TRACE(name.toStdString());
        const QString id = addCase(QStringLiteral("2023S"), cs42::test::courtCaseFields(c, inputs));

        const QJsonObject json = worksheetJson({"--case", id});
        EXPECT_EQ(json.value("edition").toString(), QStringLiteral("2023S"));
        const QJsonObject captions = json.value("captions").toObject();
        const QJsonObject lines = c.value("expectedLines").toObject();
        EXPECT_EQ(lines.size(), 16);
        // Line 14 is a cell of both columns; the parent who does not pay leaves his or hers empty.
        cs42::test::expectCourtLines(lines, captions, inputs, {"lblP14", "lblD14"});

        // Nobody pays when line 14 is 0 (both of the court's ties): an empty payer and 0.
        const QJsonObject order = json.value("recommendedOrder").toObject();
        const QString expectedPayer = c.value("expectedPayer").toString();
        const QString payer = expectedPayer == QLatin1String("Plaintiff")   ? QStringLiteral("P")
                              : expectedPayer == QLatin1String("Defendant") ? QStringLiteral("D")
                                                                            : QString();
        EXPECT_EQ(order.value("payer").toString(), payer);
        EXPECT_EQ(order.value("amount").toDouble(-1), c.value("expectedAmount").toDouble());
        if (!payer.isEmpty()) {
            EXPECT_EQ(
                captionValue(captions.value(QStringLiteral("lbl") + payer + QStringLiteral("14")).toString()),
                c.value("expectedAmount").toDouble());
        }

        // Only a line 2 below 0 is worth a warning among these cases.
        const QJsonArray warnings = json.value("warnings").toArray();
        if (name == QLatin1String("negative-combined-adjusted-income")) {
            ASSERT_EQ(warnings.size(), 1);
            EXPECT_EQ(warnings.at(0).toString(), QStringLiteral("LINE 2 OF THE PLAINTIFF IS BELOW 0!"));
        } else {
            EXPECT_TRUE(warnings.isEmpty()) << QJsonDocument(warnings).toJson().toStdString();
        }
    }
}

// --edition computes a case on the other 2022 form for this run only; both forms read line 4 from
// the Schedule2022 table that `schedule import --edition 2022` fills, never the 2009 one.
TEST_F(AdminWorksheet2023STest, EditionOptionComputesTheSharedFormWithoutStoringIt)
{
    importSchedule2022();
    ASSERT_EQ(admin({"schedule", "import", QStringLiteral(TEST_DATA_DIR "/schedule-full.csv")}).exitCode, 0);
    const cs42::ColumnValues fields{{QStringLiteral("numchildren"), QStringLiteral("2")},
                                    {QStringLiteral("whosecustody"), QStringLiteral("P")},
                                    {QStringLiteral("pinc"), QStringLiteral("3000.00")},
                                    {QStringLiteral("dinc"), QStringLiteral("2000.00")},
                                    {QStringLiteral("pchildcare"), QStringLiteral("200.00")}};
    const QString case2022 = addCase(QStringLiteral("2022"), fields);
    const QString caseShared = addCase(QStringLiteral("2023S"), fields);
    const QStringList before = storedCases();

    // $5,000 row, two children: 1,194 in Schedule2022 (900 in the 2009 table). Line 5 is 1,791,
    // line 9 1,991, line 12 896 (half of 1,791, away from zero); the plaintiff's line 13 is
    // 1,195 - 200 - 896 = 99, above the defendant's -100.
    const QJsonObject shared = worksheetJson({"--case", caseShared});
    EXPECT_EQ(shared.value("edition").toString(), QStringLiteral("2023S"));
    const QJsonObject captions = shared.value("captions").toObject();
    const cs42::Captions expected{{"lblC4", "1,194"},
                                  {"lblC5", "1,791"},
                                  {"lblP6", "200"},
                                  {"lblC9", "1,991"},
                                  {"lblP12", "896"},
                                  {"lblP13", "99"},
                                  {"lblD13", "(100)"},
                                  {"lblP14", "99"},
                                  {"lblD14", ""}};
    for (auto it = expected.begin(); it != expected.end(); ++it)
        EXPECT_EQ(captions.value(it.key()).toString(), it.value()) << it.key().toStdString();
    EXPECT_EQ(shared.value("recommendedOrder").toObject(), (QJsonObject{{"payer", "P"}, {"amount", 99}}));

    const QJsonObject forced = worksheetJson({"--case", case2022, "--edition", "2023S"});
    EXPECT_EQ(forced.value("edition").toString(), QStringLiteral("2023S"));
    EXPECT_EQ(forced.value("captions").toObject(), captions) << "the same inputs on their own CS-42-S case";
    EXPECT_EQ(forced.value("recommendedOrder").toObject(), shared.value("recommendedOrder").toObject());

    // Back on form CS-42 the parent without custody pays.
    const QJsonObject as2022 = worksheetJson({"--case", caseShared, "--edition", "2022"});
    EXPECT_EQ(as2022.value("edition").toString(), QStringLiteral("2022"));
    EXPECT_EQ(as2022.value("captions").toObject(),
              worksheetJson({"--case", case2022}).value("captions").toObject());
    EXPECT_EQ(as2022.value("recommendedOrder").toObject().value("payer").toString(), QStringLiteral("D"));

    EXPECT_EQ(storedCases(), before) << "a forced edition is never stored";
    EXPECT_EQ(worksheetJson({"--case", case2022}).value("edition").toString(), QStringLiteral("2022"));
    EXPECT_EQ(worksheetJson({"--case", caseShared}).value("edition").toString(), QStringLiteral("2023S"));
}

// A case whose stored edition this program does not know ("2024" from a later version on a shared
// server) gives no figures and no form: they would be another form's. Ids are matched without
// regard to case, and --edition still computes such a case on a form the program knows.
TEST_F(AdminWorksheet2023STest, AnEditionTheProgramDoesNotKnowGivesNoFigures)
{
    importSchedule2022();
    const cs42::ColumnValues fields{{QStringLiteral("numchildren"), QStringLiteral("2")},
                                    {QStringLiteral("pinc"), QStringLiteral("3000.00")},
                                    {QStringLiteral("dinc"), QStringLiteral("2000.00")}};
    for (const char* unknown : {"2024", "xyz"}) {
        SCOPED_TRACE(unknown);
        const QString id = addCase(QLatin1String(unknown), fields);
        const QString named = QStringLiteral("cs42-admin: This case names the form edition '%1', which this "
                                             "program does not know (it knows 2009, 2022, 2023S)")
                                  .arg(QLatin1String(unknown));
        for (const QStringList& args :
             {QStringList{"worksheet", "--case", id}, QStringList{"worksheet", "--json", "--case", id}}) {
            const cs42::test::AdminRun run = admin(args);
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(run.out, QString()) << "no figure of another form is printed";
            EXPECT_TRUE(run.err.startsWith(named)) << run.err.toStdString();
        }
        const QString out = m_dir.filePath(QStringLiteral("form.pdf"));
        const cs42::test::AdminRun produced = admin({"produce", "--case", id, "--out", out});
        EXPECT_EQ(produced.exitCode, 1);
        EXPECT_TRUE(produced.err.startsWith(QStringLiteral("cs42-admin: The form was not produced.\n\n") +
                                            named.mid(12)))
            << produced.err.toStdString();
        EXPECT_FALSE(QFile::exists(out));

        EXPECT_EQ(worksheetJson({"--case", id, "--edition", "2022"}).value("edition").toString(),
                  QStringLiteral("2022"));
    }

    const QString lowerCase = addCase(QStringLiteral("2023s"), fields);
    const QString shared = addCase(QStringLiteral("2023S"), fields);
    const QJsonObject json = worksheetJson({"--case", lowerCase});
    EXPECT_EQ(json.value("edition").toString(), QStringLiteral("2023S"));
    EXPECT_EQ(json.value("captions"), worksheetJson({"--case", shared}).value("captions"));
    EXPECT_EQ(worksheetJson({"--case", lowerCase, "--edition", "2023s"}).value("captions"),
              json.value("captions"));
}

} // namespace
