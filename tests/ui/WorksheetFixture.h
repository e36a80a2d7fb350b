#pragma once

// A session fixture with a small schedule, the installed form template (when the build made one),
// one case and a recording window host, for the worksheet tests.

#include "core/store/CaseStore.h"
#include "core/store/SqlConnection.h"
#include "core/worksheet/ScheduleCsv.h"
#include "support/ModalAnswer.h"
#include "support/RecordingHost.h"
#include "support/SessionFixture.h"
#include "ui/common/WindowHost.h"

#include <QFile>
#include <QTest>

namespace cs42::test {

// The test schedule: rows from $800 to $20,000 (the whole range the worksheet searches, so that
// the form may be produced), $50 apart, child k's amount = income * k / 10 (so $5,000 with two
// children is $1,000, and $3,000 with two is $600).
inline void writeTestSchedule(const QString& scheduleDbPath)
{
    SqlConnection db(scheduleDbPath);
    QVERIFY(db.isOpen());
    db.exec(QStringLiteral("DELETE FROM Schedule"));
    db.exec(QStringLiteral("BEGIN"));
    for (int income = 800; income <= 20000; income += 50) {
        QVariantList row{QString::number(income)};
        for (int k = 1; k <= 6; ++k)
            row << QString::number(income * k / 10);
        QVERIFY(db.exec(
            QStringLiteral("INSERT INTO Schedule (income, child1, child2, child3, child4, child5, child6) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?)"),
            row));
    }
    db.exec(QStringLiteral("COMMIT"));
}

// A schedule over the whole 2022 range, $250 to $30,000: child k's amount = income * k / 10
// ($5,000 with two children is $1,000), for the Schedule2022 table.
inline QList<ScheduleTextRow> testSchedule2022Rows()
{
    QList<ScheduleTextRow> rows;
    for (int income = 250; income <= 30000; income += 50) {
        ScheduleTextRow row{QString::number(income), {}};
        for (int k = 1; k <= 6; ++k)
            row.amounts[static_cast<std::size_t>(k - 1)] = QString::number(income * k / 10);
        rows.append(row);
    }
    return rows;
}

struct WorksheetFixture : SessionFixture
{
    RecordingHost host;

    WorksheetFixture()
    {
        writeTestSchedule(session.paths.scheduleDbPath());
        QFile::copy(QStringLiteral(FORMS_DIR "/QUON42.PDF"), session.paths.templatePath());
        session.currentCaseName = QStringLiteral("Doe v. Roe");
        session.currentCaseId = store().addCase(session.currentCaseName, QDate(2024, 3, 1));
    }

    CaseStore store() const { return CaseStore(session.paths.casesDbPath()); }

    QString stored(const QString& column)
    {
        const auto record = store().findCurrentCase(session.currentCaseId);
        return record ? record->value(column) : QStringLiteral("<no case>");
    }

    void setStored(const ColumnValues& values) { store().saveCaseFields(session.currentCaseId, values); }
};

} // namespace cs42::test
