#pragma once

#include "AdminProcess.h"
#include "core/store/CaseStore.h"
#include "core/store/DataPaths.h"
#include "core/store/SqlConnection.h"
#include "core/worksheet/Cs42Rev2022.h"
#include "core/worksheet/ScheduleCsv.h"

#include <QDate>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

// What the tests of the forms on the 2022 schedule (form CS-42 Rev. 5/2022 and form CS-42-S)
// share: the shipped schedule, captions read back as numbers, cases stored as the worksheet
// stores them and run through cs42-admin, and the court's worked cases compared line by line.
namespace cs42::test {

inline const QString ShippedSchedule2022 = QStringLiteral(REPO_DATA_DIR "/alabama-schedule-2022-05-01.csv");

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// The Alabama schedule shipped with the program ($250 .. $30,000), as the Schedule2022 table holds it.
inline const ScheduleTable& alabama2022()
{
    static const ScheduleTable table = [] {
        QString error;
        const auto text =
            ScheduleCsv::parse(readFile(ShippedSchedule2022), &error, Cs42Rev2022::scheduleRules());
        EXPECT_TRUE(text) << error.toStdString();
        QList<ScheduleRow> rows;
        for (const ScheduleTextRow& t : text.value_or(QList<ScheduleTextRow>())) {
            ScheduleRow row;
            row.income = t.income.toDouble();
            for (std::size_t k = 0; k < 6; ++k)
                row.amounts[k] = t.amounts[k].toDouble();
            rows << row;
        }
        return ScheduleTable(rows);
    }();
    return table;
}

// The captions `expected` names (label -> caption) are the ones the computation shows.
inline void expectCaptions(const Worksheet& sheet, const Captions& expected)
{
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        EXPECT_TRUE(sheet.captions.contains(it.key())) << it.key().toStdString();
        EXPECT_EQ(sheet.captions.value(it.key()), it.value()) << it.key().toStdString();
    }
}

// A caption read back as the number it shows: "1,293" -> 1293, "(200)" -> -200; a share of line 3
// (whose "%" the form prints) as its fraction, printed as the workbook's percent format prints it:
// "55" -> 0.55, "-13" -> -0.13 (never with separators or parentheses). nullopt for the empty
// caption or one that is no number.
inline std::optional<double> captionValue(QString caption, bool percent = false)
{
    if (caption.isEmpty())
        return std::nullopt;
    if (percent) {
        bool ok = false;
        const double value = caption.toDouble(&ok);
        if (!ok || caption.contains(QLatin1Char(',')) || caption.startsWith(QLatin1Char('+')))
            return std::nullopt;
        return value / 100.0;
    }
    caption.remove(QLatin1Char(','));
    const bool negative = caption.startsWith(QLatin1Char('(')) && caption.endsWith(QLatin1Char(')'));
    if (negative)
        caption = caption.mid(1, caption.size() - 2);
    bool ok = false;
    const double value = caption.toDouble(&ok);
    if (!ok || caption.startsWith(QLatin1Char('-')))
        return std::nullopt;
    return (negative ? -value : value) / (percent ? 100.0 : 1.0);
}

// A line each parent enters, as the court's worked cases name it, and the columns that store it.
struct CourtInput
{
    const char* input; // the key in a worked case's "plaintiff" and "defendant"
    const char* line;  // the line on the form
    const char* plaintiffColumn;
    const char* defendantColumn;
};

// The "cases" of a file of the court's worked cases in tests/data.
inline QJsonArray courtCases(const QString& fileName)
{
    return QJsonDocument::fromJson(readFile(QStringLiteral(TEST_DATA_DIR "/") + fileName))
        .object()
        .value("cases")
        .toArray();
}

// The columns a user fills for a worked case: the number of children and each amount the case
// has. An amount of 0 is left empty, as a user leaves a line alone.
inline ColumnValues courtCaseFields(const QJsonObject& c, const QList<CourtInput>& inputs)
{
    ColumnValues fields{
        {QStringLiteral("numchildren"), QString::number(c.value("numberOfChildren").toInt())}};
    const QJsonObject plaintiff = c.value("plaintiff").toObject();
    const QJsonObject defendant = c.value("defendant").toObject();
    for (const CourtInput& input : inputs) {
        const double p = plaintiff.value(input.input).toDouble();
        const double d = defendant.value(input.input).toDouble();
        if (p != 0)
            fields.append({QLatin1String(input.plaintiffColumn), QString::number(p, 'f', 2)});
        if (d != 0)
            fields.append({QLatin1String(input.defendantColumn), QString::number(d, 'f', 2)});
    }
    return fields;
}

// Every line of a worked case against the captions cs42-admin printed. A `null` line is a cell the
// form does not have, so no caption, unless `emptyCells` names it: a cell the form has that stays
// empty. An input left empty shows nothing and counts as 0; a computed line always shows.
inline void expectCourtLines(const QJsonObject& expectedLines,
                             const QJsonObject& captions,
                             const QList<CourtInput>& inputs,
                             const QStringList& emptyCells = {})
{
    QStringList inputLabels;
    for (const CourtInput& input : inputs)
        inputLabels << QStringLiteral("lblP") + QLatin1String(input.line)
                    << QStringLiteral("lblD") + QLatin1String(input.line);

    for (auto line = expectedLines.begin(); line != expectedLines.end(); ++line) {
        const QJsonObject sides = line.value().toObject();
        for (const char* side : {"plaintiff", "defendant", "combined"}) {
            const QString label = QStringLiteral("lbl") + QChar::fromLatin1(side[0]).toUpper() + line.key();
            const QJsonValue expected = sides.value(QLatin1String(side));
            const QString caption = captions.value(label).toString();
            if (expected.isNull()) {
                if (emptyCells.contains(label)) {
                    EXPECT_TRUE(captions.contains(label) && caption.isEmpty())
                        << label.toStdString() << ": '" << caption.toStdString() << "'";
                } else {
                    EXPECT_FALSE(captions.contains(label)) << label.toStdString() << " is not on the form";
                }
                continue;
            }
            const std::optional<double> shown = caption.isEmpty() && inputLabels.contains(label)
                                                    ? 0.0
                                                    : captionValue(caption, line.key() == QLatin1String("3"));
            if (!shown) {
                ADD_FAILURE() << label.toStdString() << ": '" << caption.toStdString() << "'";
                continue;
            }
            EXPECT_DOUBLE_EQ(*shown, expected.toDouble())
                << label.toStdString() << ": '" << caption.toStdString() << "'";
        }
    }
}

// A working directory of its own, its cases stored as the worksheet stores them and computed by
// cs42-admin.
class AdminCaseTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    AdminRun admin(const QStringList& args) const { return runAdmin(m_dir.path(), args); }

    DataPaths paths() const { return DataPaths::forWorkingDirectory(m_dir.path()); }

    CaseStore store() const { return CaseStore(paths().casesDbPath()); }

    // The shipped 2022 schedule imported into Schedule2022 (the run also makes the databases).
    void importSchedule2022() const
    {
        const AdminRun run = admin({"schedule", "import", "--edition", "2022", ShippedSchedule2022});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }

    // A case added on `edition` with `fields` saved as the worksheet saves them; returns its id.
    QString addCase(const QString& edition, const ColumnValues& fields) const
    {
        const QString id = store().addCase(QStringLiteral("Doe v. Roe"), QDate(2024, 3, 5), edition);
        EXPECT_FALSE(id.isEmpty()) << store().problem().toStdString();
        EXPECT_EQ(store().saveCaseFields(id, fields), CaseStoreStatus::Ok);
        return id;
    }

    QJsonObject worksheetJson(const QStringList& args) const
    {
        const AdminRun run = admin(QStringList{"worksheet", "--json", "--today", "2024-03-05"} + args);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return QJsonDocument::fromJson(run.out.toUtf8()).object();
    }

    // Every column of every stored case, to tell that a run wrote nothing.
    QStringList storedCases() const
    {
        SqlConnection connection(paths().casesDbPath());
        QSqlQuery query(connection.database());
        EXPECT_TRUE(query.exec(QStringLiteral("SELECT * FROM Cases ORDER BY rowid")));
        QStringList rows;
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i)
                values << query.record().fieldName(i) + QLatin1Char('=') + query.value(i).toString();
            rows << values.join(QLatin1Char('|'));
        }
        return rows;
    }

    QTemporaryDir m_dir;
};

} // namespace cs42::test
