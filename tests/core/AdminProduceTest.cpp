#include "AdminProcess.h"
#include "core/startup/DataStore.h"
#include "core/store/CaseStore.h"
#include "core/store/DataPaths.h"
#include "core/store/SqlConnection.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <gtest/gtest.h>

namespace {

using cs42::test::AdminRun;

// cs42-admin produce in a working directory of its own, against the installed template.
class AdminProduceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_paths = cs42::DataStore::startUp(m_dir.path());
        ASSERT_EQ(admin({"schedule", "import", QStringLiteral(TEST_DATA_DIR "/schedule-full.csv")}).exitCode,
                  0);
        const cs42::CaseStore store(m_paths.casesDbPath());
        m_caseId = store.addCase(QStringLiteral("Doe v. Doe"), QDate(2023, 6, 15));
        ASSERT_FALSE(m_caseId.isEmpty());
        ASSERT_EQ(store.saveCaseFields(m_caseId,
                                       {{"courtfile", "DR-2023-000123.00"},
                                        {"name1name", "Jane (A.) Doe"},
                                        {"child1name", "Emma Doe"},
                                        {"child1dob", "03/14/2015"},
                                        {"pinc", "3000"},
                                        {"dinc", "2000"},
                                        {"healthins", "100"},
                                        {"payshealth", "D"},
                                        {"whosecustody", "P"}}),
                  cs42::CaseStoreStatus::Ok);
    }

    AdminRun admin(const QStringList& args) const { return cs42::test::runAdmin(m_dir.path(), args); }

    void installTemplate() const
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(FORMS_DIR "/QUON42.PDF"), m_paths.templatePath()));
    }

    QTemporaryDir m_dir;
    cs42::DataPaths m_paths;
    QString m_caseId;
};

TEST_F(AdminProduceTest, ProducesTheCaseAsTheWorksheetShowsIt)
{
    installTemplate();
    const AdminRun run = admin({"produce", "--case", m_caseId});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QFileInfo(m_paths.producedFormPath()).absoluteFilePath() + QLatin1Char('\n'));

    const AdminRun sheet = admin({"worksheet", "--case", m_caseId, "--json"});
    ASSERT_EQ(sheet.exitCode, 0);
    const QJsonObject captions =
        QJsonDocument::fromJson(sheet.out.toUtf8()).object().value("captions").toObject();

    QPDF pdf;
    pdf.processFile(QFile::encodeName(m_paths.producedFormPath()).constData());
    QPDFObjectHandle fields = pdf.getRoot().getKey("/AcroForm").getKey("/Fields");
    ASSERT_EQ(fields.getArrayNItems(), 41);
    const std::pair<int, const char*> checks[] = {{1, "lblCourtFile"},
                                                  {4, "lblName1Name"},
                                                  {6, "lblChild1Name"},
                                                  {7, "lblChild1DOB"},
                                                  {18, "lblP1"},
                                                  {27, "lblC4"},
                                                  {35, "lblD10"},
                                                  {39, "lblP3"},
                                                  {40, "lblD3"},
                                                  {41, "lblC6"}};
    for (const auto& [index, label] : checks) {
        EXPECT_EQ(QString::fromStdString(fields.getArrayItem(index - 1).getKey("/V").getUTF8Value()),
                  captions.value(QLatin1String(label)).toString())
            << label;
    }
    EXPECT_EQ(captions.value("lblName1Name").toString(), QStringLiteral("Jane (A.) Doe"));
}

TEST_F(AdminProduceTest, WritesWhereAskedAndReportsAMissingTemplate)
{
    const AdminRun missing = admin({"produce"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("' does not exist!"))) << missing.err.toStdString();
    EXPECT_FALSE(QFile::exists(m_paths.producedFormPath()));

    installTemplate();
    const QString out = m_dir.filePath(QStringLiteral("elsewhere.pdf"));
    const AdminRun run = admin({"produce", "--out", out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), out);
    EXPECT_TRUE(QFile::exists(out));
    EXPECT_FALSE(QFile::exists(m_paths.producedFormPath()));

    EXPECT_EQ(admin({"produce", "--case", "NOSUCHCASE"}).exitCode, 1);
}

TEST_F(AdminProduceTest, RefusesATemplateWhoseFieldsAreOutOfOrder)
{
    // The installed template saved again with the plaintiff's and the defendant's income swapped.
    QPDF pdf;
    pdf.processFile(FORMS_DIR "/QUON42.PDF");
    QPDFObjectHandle fields = pdf.getRoot().getKey("/AcroForm").getKey("/Fields");
    QPDFObjectHandle p1 = fields.getArrayItem(17);
    fields.setArrayItem(17, fields.getArrayItem(18));
    fields.setArrayItem(18, p1);
    const QByteArray fileName = QFile::encodeName(m_paths.templatePath());
    QPDFWriter writer(pdf, fileName.constData());
    writer.write();

    const AdminRun run = admin({"produce", "--case", m_caseId});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("cs42-admin: Unable to Produce Form: The file '") +
                                 m_paths.templatePath() +
                                 QStringLiteral("' is not the blank form CS-42: its field 18 is named "
                                                "'D1' where the form has the field 'P1'")))
        << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(m_paths.producedFormPath()));
}

TEST_F(AdminProduceTest, RefusesWhileTheScheduleCannotGiveLineFour)
{
    installTemplate();
    const QString schedule = m_paths.scheduleDbPath();
    QByteArray good;
    {
        QFile file(schedule);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        good = file.readAll();
    }
    QByteArray noise(8192, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919 + 13) % 251);

    struct Case
    {
        const char* name;
        QByteArray content; // written as the schedule file, unless `folder`
        bool folder;
        const char* cause;
    };

    const Case cases[] = {
        {"truncated", good.left(good.size() / 3), false, "cannot be read ("},
        {"random bytes", noise, false, "not a database"},
        {"empty file, as a first start on a full disk leaves it",
         QByteArray(),
         false,
         "cannot be read (no such table: Schedule"},
        {"a folder", QByteArray(), true, "cannot be read ("},
    };
    for (const Case& c : cases) {
        QDir(schedule).removeRecursively();
        QFile::remove(schedule);
        if (c.folder) {
            ASSERT_TRUE(QDir().mkpath(schedule));
        } else {
            QFile file(schedule);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.content);
        }
        const AdminRun produce = admin({"produce"});
        EXPECT_EQ(produce.exitCode, 1) << c.name;
        EXPECT_TRUE(produce.err.contains(QStringLiteral("The form was not produced.")) &&
                    produce.err.contains(QStringLiteral("'") + schedule + QStringLiteral("' ")) &&
                    produce.err.contains(QLatin1String(c.cause)))
            << c.name << ": " << produce.err.toStdString();
        EXPECT_FALSE(QFile::exists(m_paths.producedFormPath())) << c.name;

        const AdminRun sheet = admin({"worksheet"});
        EXPECT_EQ(sheet.exitCode, 1) << c.name;
        EXPECT_TRUE(sheet.out.contains(QStringLiteral("\nlblC4: "))) << c.name;
    }

    // An override sets line 4 without the schedule: the form may be produced.
    ASSERT_EQ(cs42::CaseStore(m_paths.casesDbPath())
                  .saveCaseFields(m_caseId, {{"override", "Y"}, {"overamount", "900"}}),
              cs42::CaseStoreStatus::Ok);
    const AdminRun overridden = admin({"produce"});
    EXPECT_EQ(overridden.exitCode, 0) << overridden.err.toStdString();
    EXPECT_EQ(admin({"worksheet"}).exitCode, 0);
}

TEST_F(AdminProduceTest, RefusesAScheduleThatStopsShortOfTheRange)
{
    installTemplate();
    // A short table installed before imports were checked: rows $800 to $1,300 only.
    {
        cs42::SqlConnection schedule(m_paths.scheduleDbPath());
        ASSERT_TRUE(schedule.exec(QStringLiteral("DELETE FROM Schedule")));
        for (int income = 800; income <= 1300; income += 50) {
            const QString amount = QString::number(income / 5);
            ASSERT_TRUE(
                schedule.exec(QStringLiteral("INSERT INTO Schedule (income, child1, child2, child3, "
                                             "child4, child5, child6) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                              {QString::number(income), amount, amount, amount, amount, amount, amount}));
        }
    }
    const AdminRun run = admin({"produce"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral(
        "does not cover every income: the schedule stops at an income of 1300; it must reach 20000")))
        << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(m_paths.producedFormPath()));
}

TEST_F(AdminProduceTest, RefusesToWriteOverTheProgramsFilesOrWhatIsNoPdf)
{
    installTemplate();
    QFile letter(m_dir.filePath(QStringLiteral("letter.txt")));
    ASSERT_TRUE(letter.open(QIODevice::WriteOnly));
    letter.write("Dear Judge,");
    letter.close();
    const QString cases = QStringLiteral("VTRForms/QUONDATA.MDB");
    const QByteArray casesBefore = [&] {
        QFile file(m_paths.casesDbPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    ASSERT_FALSE(casesBefore.isEmpty());

    const struct
    {
        QString out;
        const char* reason;
    } cases_[] = {
        {cases, "one of the program's own files"},
        {QStringLiteral("VTRForms/quon42.pdf"), "one of the program's own files"},
        {QStringLiteral("VTRForms/QUONRule32.pdf"), "one of the program's own files"},
        {QStringLiteral("letter.txt"), "a file that is not a PDF file already has that name"},
        {QStringLiteral("/dev/null"), "not a file but a folder, a device or a pipe"},
        {QStringLiteral("VTRForms"), "not a file but a folder, a device or a pipe"},
    };

    for (const auto& c : cases_) {
        const AdminRun run = admin({"produce", "--out", c.out});
        EXPECT_EQ(run.exitCode, 1) << c.out.toStdString();
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("cs42-admin: The form was not saved as '") + c.out +
                                       QStringLiteral("', because ")))
            << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String(c.reason))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    QFile after(m_paths.casesDbPath());
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), casesBefore);
    EXPECT_EQ(admin({"worksheet", "--case", m_caseId}).exitCode, 0) << "the cases are still there";
}

TEST_F(AdminProduceTest, RefusesACaseWithoutChildrenOrWithAnAmountThatCannotBeUsed)
{
    installTemplate();
    const cs42::CaseStore store(m_paths.casesDbPath());
    ASSERT_EQ(store.saveCaseFields(m_caseId, {{"child1name", "  "}, {"pinc", QString(309, u'9')}}),
              cs42::CaseStoreStatus::Ok);
    const AdminRun run = admin({"produce"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("No child is named on the worksheet")))
        << run.err.toStdString();
    EXPECT_TRUE(
        run.err.contains(QStringLiteral("The amount stored on line 1 of the plaintiff cannot be used")))
        << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(m_paths.producedFormPath()));
}

} // namespace
