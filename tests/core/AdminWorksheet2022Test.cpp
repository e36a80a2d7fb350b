#include "Worksheet2022Fixtures.h"
#include "core/worksheet/ScheduleSource.h"
#include "core/worksheet/UsDate.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

// Form CS-42 (Rev. 5/2022) through cs42-admin, on cases stored as the worksheet stores them.
namespace {

using cs42::test::AdminRun;
using cs42::test::captionValue;
using cs42::test::readFile;

const QString ShippedSchedule = cs42::test::ShippedSchedule2022;

class AdminWorksheet2022Test : public cs42::test::AdminCaseTest
{
};

// The fifteen cases the court's workbook CS42.xlsx computed in Excel (tests/data/README.md):
// stored as a user enters them, each line cs42-admin prints must be the workbook's.
TEST_F(AdminWorksheet2022Test, CourtWorkbookCasesGiveEveryLineOfTheWorkbook)
{
    importSchedule2022();
    const QJsonArray cases = cs42::test::courtCases(QStringLiteral("cs42-2022-golden.json"));
    ASSERT_EQ(cases.size(), 15);

    const QList<cs42::test::CourtInput> inputs{
        {"monthlyGrossIncome", "1", "pinc", "dinc"},
        {"preexistingChildSupport", "1a", "ppre", "dpre"},
        {"preexistingAlimony", "1b", "presp", "dresp"},
        {"workRelatedChildcareCosts", "5", "pchildcare", "dchildcare"},
        {"healthcareCoverageCosts", "6", "phealthins", "dhealthins"},
    };

    for (const QJsonValue& value : cases) {
        const QJsonObject c = value.toObject();
        const QString name = c.value("name").toString();
        SCOPED_TRACE(name.toStdString());
        const QJsonObject plaintiff = c.value("plaintiff").toObject();
        const QJsonObject defendant = c.value("defendant").toObject();

        cs42::ColumnValues fields = cs42::test::courtCaseFields(c, inputs);
        fields.append(
            {QStringLiteral("whosecustody"),
             plaintiff.value("hasPrimaryCustody").toBool() ? QStringLiteral("P") : QStringLiteral("D")});
        ASSERT_NE(plaintiff.value("hasPrimaryCustody").toBool(),
                  defendant.value("hasPrimaryCustody").toBool());
        const QString id = addCase(QStringLiteral("2022"), fields);

        const QJsonObject json = worksheetJson({"--case", id});
        EXPECT_EQ(json.value("edition").toString(), QStringLiteral("2022"));
        const QJsonObject captions = json.value("captions").toObject();
        const QJsonObject lines = c.value("expectedLines").toObject();
        EXPECT_EQ(lines.size(), 15);
        cs42::test::expectCourtLines(lines, captions, inputs);

        // The parent without custody pays his or her line 13.
        const QJsonObject order = json.value("recommendedOrder").toObject();
        const QString payer = c.value("expectedPayer").toString() == QLatin1String("Plaintiff")
                                  ? QStringLiteral("P")
                                  : QStringLiteral("D");
        EXPECT_EQ(order.value("payer").toString(), payer);
        EXPECT_EQ(order.value("amount").toDouble(-1), c.value("expectedAmount").toDouble());
        EXPECT_EQ(
            captionValue(captions.value(QStringLiteral("lbl") + payer + QStringLiteral("13")).toString()),
            c.value("expectedAmount").toDouble());

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

TEST_F(AdminWorksheet2022Test, ScheduleImportAndExportKeepTheEditionsTablesApart)
{
    const QByteArray schedule2009 = readFile(QStringLiteral(TEST_DATA_DIR "/schedule-full.csv"));
    QFile file2009(m_dir.filePath(QStringLiteral("2009.csv")));
    ASSERT_TRUE(file2009.open(QIODevice::WriteOnly));
    file2009.write(schedule2009);
    file2009.close();
    ASSERT_EQ(admin({"schedule", "import", file2009.fileName()}).exitCode, 0);

    const AdminRun imported = admin({"schedule", "import", "--edition", "2022", ShippedSchedule});
    EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.contains(QStringLiteral("596 schedule rows (incomes 250 to 30000) into table "
                                                     "Schedule2022")))
        << imported.out.toStdString();
    // The shipped file has CR LF line ends; the export writes LF.
    const QString shipped =
        QString::fromUtf8(readFile(ShippedSchedule)).replace(QStringLiteral("\r\n"), "\n");
    EXPECT_EQ(admin({"schedule", "export", "--edition", "2022"}).out, shipped);
    EXPECT_EQ(admin({"schedule", "export"}).out, QString::fromUtf8(schedule2009))
        << "the 2009 table is untouched";
    EXPECT_EQ(admin({"schedule", "export", "--edition", "2009"}).out, QString::fromUtf8(schedule2009));

    // The 2009 schedule stops at $20,000 and starts at $800: not one the 2022 form can read.
    const AdminRun short2022 = admin({"schedule", "import", "--edition", "2022", file2009.fileName()});
    EXPECT_EQ(short2022.exitCode, 1);
    EXPECT_TRUE(short2022.err.contains(QStringLiteral("the schedule was not changed")))
        << short2022.err.toStdString();
    EXPECT_EQ(admin({"schedule", "export", "--edition", "2022"}).out, shipped);

    for (const QStringList& args : {QStringList{"schedule", "import", "--edition", "2015", ShippedSchedule},
                                    QStringList{"schedule", "export", "--edition", "2015"},
                                    QStringList{"schedule", "export", "--edition"},
                                    QStringList{"worksheet", "--edition", "rev5"}}) {
        const AdminRun run = admin(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("--edition needs one of 2009, 2022")))
            << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(admin({"schedule", "export", "--edition", "2022"}).out, shipped);
    EXPECT_EQ(admin({"schedule", "export"}).out, QString::fromUtf8(schedule2009));
}

// An imported schedule that is not the official one is named wherever line 4 is shown, and the
// official table it replaced is kept for --undo.
TEST_F(AdminWorksheet2022Test, AnImportedScheduleIsNamedAndMarkedAndUndoPutsTheOfficialOneBack)
{
    importSchedule2022();
    const QString id = addCase(QStringLiteral("2022"),
                               {{QStringLiteral("pinc"), QStringLiteral("2500")},
                                {QStringLiteral("dinc"), QStringLiteral("4000")},
                                {QStringLiteral("numchildren"), QStringLiteral("2")},
                                {QStringLiteral("whosecustody"), QStringLiteral("P")}});
    const QString official =
        QStringLiteral("using the official Schedule of Basic Child-Support Obligations effective May 1, 2022 "
                       "(SHA-256 %1).")
            .arg(cs42::ScheduleSource::official2022Checksum());
    const QJsonObject before = worksheetJson({"--case", id});
    EXPECT_EQ(before.value("captions").toObject().value("lblC4").toString(), QStringLiteral("1,313"));
    EXPECT_TRUE(before.value("warnings").toArray().isEmpty());
    EXPECT_TRUE(before.value("explanation").toString().contains(official));

    // The official schedule with $10 added to every amount, imported for the shared-custody form.
    const auto rows =
        cs42::ScheduleCsv::parse(readFile(ShippedSchedule), nullptr, cs42::Cs42Rev2022::scheduleRules());
    ASSERT_TRUE(rows.has_value());
    QList<cs42::ScheduleTextRow> raised = *rows;
    for (cs42::ScheduleTextRow& row : raised) {
        for (QString& amount : row.amounts)
            amount = QString::number(amount.toInt() + 10);
    }
    QFile file(m_dir.filePath(QStringLiteral("plus10.csv")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(cs42::ScheduleCsv::write(raised).toUtf8());
    file.close();
    const AdminRun imported = admin({"schedule", "import", "--edition", "2023S", file.fileName()});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.contains(
        QStringLiteral("Table Schedule2022 is read by both Form CS-42 (Rev. 5/2022) and Form CS-42-S "
                       "(Effective 6/2023): this changes line 4 of every case on either form.\n")))
        << imported.out.toStdString();
    EXPECT_TRUE(
        imported.out.contains(QStringLiteral("'cs42-admin schedule import --undo --edition 2023S' puts it "
                                             "back): it holds the official Schedule")))
        << imported.out.toStdString();

    const QString mark =
        QStringLiteral("LINE 4 IS READ FROM A SCHEDULE THAT IS NOT THE OFFICIAL ONE OF MAY 1, 2022!");
    for (const char* edition : {"2022", "2023S"}) {
        const QJsonObject after = worksheetJson({"--case", id, "--edition", edition});
        EXPECT_EQ(after.value("captions").toObject().value("lblC4").toString(), QStringLiteral("1,323"));
        EXPECT_EQ(after.value("warnings").toArray(), QJsonArray({mark})) << edition;
        const QString explanation = after.value("explanation").toString();
        EXPECT_TRUE(explanation.contains(
            QStringLiteral(
                "using the schedule imported from plus10.csv on %1 (SHA-256 %2), which differs from "
                "the official Schedule of Basic Child-Support Obligations effective May 1, 2022.")
                .arg(cs42::formatUsDate(QDate::currentDate()), cs42::ScheduleSource::checksum(raised))))
            << explanation.toStdString();
        EXPECT_TRUE(explanation.contains(QStringLiteral("is read from the schedule named above")));
    }

    // --undo puts the official table back (the import is kept in its place).
    const AdminRun undone = admin({"schedule", "import", "--undo", "--edition", "2022"});
    ASSERT_EQ(undone.exitCode, 0) << undone.err.toStdString();
    EXPECT_TRUE(undone.out.contains(QStringLiteral("it holds the official Schedule")))
        << undone.out.toStdString();
    const QJsonObject restored = worksheetJson({"--case", id});
    EXPECT_EQ(restored.value("captions").toObject().value("lblC4").toString(), QStringLiteral("1,313"));
    EXPECT_TRUE(restored.value("warnings").toArray().isEmpty());
    EXPECT_TRUE(restored.value("explanation").toString().contains(official));
    EXPECT_TRUE(admin({"schedule", "status"})
                    .out.contains(
                        QStringLiteral("  kept copy for --undo: the schedule imported from plus10.csv on ")));
}

// --edition computes a case on another form for this run only: the case keeps its own edition
// and every stored value.
TEST_F(AdminWorksheet2022Test, EditionOptionComputesAnotherFormWithoutStoringIt)
{
    importSchedule2022();
    ASSERT_EQ(admin({"schedule", "import", QStringLiteral(TEST_DATA_DIR "/schedule-full.csv")}).exitCode, 0);
    const cs42::ColumnValues children{{QStringLiteral("child1name"), QStringLiteral("Ann")},
                                      {QStringLiteral("child2name"), QStringLiteral("Bob")},
                                      {QStringLiteral("whosecustody"), QStringLiteral("P")}};
    const QString case2022 = addCase(QStringLiteral("2022"),
                                     children + cs42::ColumnValues{{QStringLiteral("numchildren"), "2"},
                                                                   {QStringLiteral("pinc"), "3000.00"},
                                                                   {QStringLiteral("dinc"), "2000.00"}});
    const QString case2009 =
        addCase(QString(), children + cs42::ColumnValues{{QStringLiteral("pinc"), "3000"}, {"dinc", "2000"}});
    const QStringList before = storedCases();

    // The 2009 form: its own captions (no separators), its own schedule table ($5,000 row, two
    // children: 900 in schedule-full.csv), its health-insurance toggle.
    const QJsonObject as2009 = worksheetJson({"--case", case2022, "--edition", "2009"});
    EXPECT_EQ(as2009.value("edition").toString(), QStringLiteral("2009"));
    const QJsonObject captions2009 = as2009.value("captions").toObject();
    EXPECT_EQ(captions2009.size(), 43);
    EXPECT_EQ(captions2009.value("lblC2").toString(), QStringLiteral("5000"));
    EXPECT_EQ(captions2009.value("lblC4").toString(), QStringLiteral("900"));
    EXPECT_TRUE(captions2009.contains(QStringLiteral("lblHealthInsurance")));
    EXPECT_EQ(as2009.value("captions").toObject(),
              worksheetJson({"--case", case2009}).value("captions").toObject())
        << "the same inputs on their own 2009 case";

    // The 2022 form: the Schedule2022 table ($5,000 row, two children: 1,194) and its captions.
    const QJsonObject as2022 = worksheetJson({"--case", case2009, "--edition", "2022"});
    EXPECT_EQ(as2022.value("edition").toString(), QStringLiteral("2022"));
    const QJsonObject captions2022 = as2022.value("captions").toObject();
    EXPECT_EQ(captions2022.value("lblC2").toString(), QStringLiteral("5,000"));
    EXPECT_EQ(captions2022.value("lblC4").toString(), QStringLiteral("1,194"));
    EXPECT_EQ(captions2022.value("lblP3").toString(), QStringLiteral("60"));
    EXPECT_FALSE(captions2022.contains(QStringLiteral("lblHealthInsurance")));
    EXPECT_EQ(captions2022, worksheetJson({"--case", case2022}).value("captions").toObject());

    EXPECT_EQ(storedCases(), before) << "a forced edition is never stored";
    EXPECT_EQ(worksheetJson({"--case", case2022}).value("edition").toString(), QStringLiteral("2022"));
    EXPECT_EQ(worksheetJson({"--case", case2009}).value("edition").toString(), QStringLiteral("2009"));
}

} // namespace
