#pragma once

// The data the worksheet benchmarks run against: the full schedule and a cases file of 10,000
// filled cases, as an office that has used the program for years would have them, on the 2009
// form or on the 2022 one.

#include "core/store/DataPaths.h"
#include "core/store/SqlConnection.h"
#include "core/worksheet/ScheduleCsv.h"

#include <QFile>
#include <QSqlQuery>
#include <QVariantList>

namespace cs42::bench {

constexpr int CaseCount = 10000;

// The Alabama schedule installed with the program ($250 .. $30,000, every $50).
inline QList<ScheduleTextRow> scheduleRows()
{
    QFile file(QStringLiteral(REPO_DATA_DIR "/alabama-schedule-2022-05-01.csv"));
    std::optional<QList<ScheduleTextRow>> rows;
    if (file.open(QIODevice::ReadOnly))
        rows = ScheduleCsv::parse(file.readAll(), nullptr);
    if (!rows)
        qFatal("cannot read the schedule %s", qPrintable(file.fileName()));
    return *rows;
}

// A schedule for the 2009 form's table: the 2022 rows with a dollar less in every amount. The 2022
// rows themselves count as no schedule there (the 2009 form never reads them), and a worksheet
// that reads no rows would not measure a reading.
inline QList<ScheduleTextRow> schedule2009Rows()
{
    QList<ScheduleTextRow> rows = scheduleRows();
    for (ScheduleTextRow& row : rows) {
        for (QString& amount : row.amounts)
            amount = QString::number(amount.toInt() - 1);
    }
    return rows;
}

// Installs the schedule and writes CaseCount filled cases with ids `idPrefix` + six digits;
// returns the id of the last one, the farthest from the start of the table.
inline QString fillWorkingDirectory(const DataPaths& paths, const QString& idPrefix)
{
    ScheduleCsv::replaceRows(paths.scheduleDbPath(), schedule2009Rows(), nullptr);
    SqlConnection connection(paths.casesDbPath());
    connection.database().transaction();
    QString lastId;
    {
        QSqlQuery insert(connection.database());
        insert.prepare(QStringLiteral("INSERT INTO Cases (casedesc, caseid, pinc, dinc, ppre, presp, "
                                      "child1name, child2name, child1dob, "
                                      "child2dob, childcare, healthins, payshealth, whosecustody, name1name, "
                                      "name2name, courtfile, county) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < CaseCount; ++i) {
            lastId = idPrefix + QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'));
            const QVariantList values{QStringLiteral("Case %1").arg(i),
                                      lastId,
                                      QString::number(2000 + i % 4000),
                                      QString::number(1500 + i % 3000),
                                      QStringLiteral("100"),
                                      QString(),
                                      QStringLiteral("Ann"),
                                      QStringLiteral("Bob"),
                                      QStringLiteral("03/07/2012"),
                                      QStringLiteral("12/31/2015"),
                                      QStringLiteral("200"),
                                      QStringLiteral("100"),
                                      QStringLiteral("D"),
                                      QStringLiteral("P"),
                                      QStringLiteral("John Smith"),
                                      QStringLiteral("Jane Smith"),
                                      QStringLiteral("DR-2024-%1").arg(i),
                                      QStringLiteral("Jefferson")};
            for (const QVariant& v : values)
                insert.addBindValue(v);
            insert.exec();
        }
    }
    connection.database().commit();
    return lastId;
}

// The same for cases on form CS-42 (Rev. 5/2022): the schedule in its Schedule2022 table, and
// cases with amounts in cents, the "Number of Children" box and each parent's own costs.
inline QString fillWorkingDirectory2022(const DataPaths& paths, const QString& idPrefix)
{
    ScheduleCsv::replaceRows(paths.scheduleDbPath(), scheduleRows(), nullptr, QStringLiteral("Schedule2022"));
    SqlConnection connection(paths.casesDbPath());
    connection.database().transaction();
    QString lastId;
    {
        QSqlQuery insert(connection.database());
        insert.prepare(
            QStringLiteral("INSERT INTO Cases (casedesc, caseid, formedition, numchildren, pinc, "
                           "dinc, ppre, dresp, child1name, child2name, child1dob, child2dob, "
                           "pchildcare, dhealthins, whosecustody, name1name, name2name, "
                           "courtfile, county) "
                           "VALUES (?, ?, '2022', '2', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < CaseCount; ++i) {
            lastId = idPrefix + QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'));
            const QVariantList values{
                QStringLiteral("Case %1").arg(i),
                lastId,
                QStringLiteral("%1.%2").arg(2000 + i % 4000).arg(i % 100, 2, 10, QLatin1Char('0')),
                QStringLiteral("%1.50").arg(1500 + i % 3000),
                QStringLiteral("100.00"),
                QStringLiteral("25.75"),
                QStringLiteral("Ann"),
                QStringLiteral("Bob"),
                QStringLiteral("03/07/2012"),
                QStringLiteral("12/31/2015"),
                QStringLiteral("200.00"),
                QStringLiteral("100.00"),
                QStringLiteral("P"),
                QStringLiteral("John Smith"),
                QStringLiteral("Jane Smith"),
                QStringLiteral("DR-2024-%1").arg(i),
                QStringLiteral("Jefferson")};
            for (const QVariant& v : values)
                insert.addBindValue(v);
            insert.exec();
        }
    }
    connection.database().commit();
    return lastId;
}

} // namespace cs42::bench
