#include "admin/AdminCommands.h"
#include "core/worksheet/ScheduleCsv.h"
#include "core/worksheet/ScheduleHistory.h"
#include "core/worksheet/ScheduleSource.h"

#include <QDate>
#include <QFileInfo>

namespace cs42::admin {

namespace {
// The titles of the editions that read `table`.
QStringList readersOf(const QString& table)
{
    QStringList titles;
    for (const FormEdition* e : FormEditions::all()) {
        if (e->scheduleTable == table)
            titles << e->title;
    }
    return titles;
}

QString listed(const QStringList& items)
{
    if (items.size() < 2)
        return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + items.last();
}

// What a table holds, in words.
QString described(const ScheduleSource& source)
{
    if (source.missesPre2022Schedule())
        return source.holdsOfficial2022
                   ? QStringLiteral("the schedule in force since May 1, 2022, which is not read for form "
                                    "CS-42 (Rev. 1/09): the schedule in force before May 1, 2022 is not "
                                    "installed")
                   : QStringLiteral("no rows: the schedule in force before May 1, 2022 is not installed");
    if (!source.isUsable())
        return QStringLiteral("no rows");
    if (source.kind == ScheduleSource::Kind::Unknown)
        return QStringLiteral("rows that cannot be read");
    return source.phrase();
}

// The option that names `edition` again, for a command the user is told to run.
QString editionOption(const FormEdition& edition)
{
    return &edition == &FormEditions::cs42Rev0109() ? QString() : QStringLiteral(" --edition ") + edition.id;
}

// Said after every change of a table that several editions read.
QString sharedNotice(const QString& table)
{
    const QStringList readers = readersOf(table);
    if (readers.size() < 2)
        return {};
    return QStringLiteral("Table %1 is read by %2%3: this changes line 4 of every case on %4.\n")
        .arg(table,
             readers.size() == 2 ? QStringLiteral("both ") : QString(),
             listed(readers),
             readers.size() == 2 ? QStringLiteral("either form") : QStringLiteral("any of them"));
}

// Said after every change: the copy kept and how to put it back.
QString keptNotice(const ScheduleSource& kept, const FormEdition& edition)
{
    return QStringLiteral("The table it replaced is kept ('cs42-admin schedule import --undo%1' puts it "
                          "back): it holds %2.\n")
        .arg(editionOption(edition), described(kept));
}

int importSchedule(const QString& csvPath, const DataPaths& paths, const FormEdition& edition)
{
    QString error;
    const std::optional<QByteArray> content = ScheduleCsv::readFile(csvPath, &error);
    if (!content) {
        printError(QStringLiteral("cs42-admin: %1; the schedule was not changed\n").arg(error));
        return 1;
    }
    const auto rows = ScheduleCsv::parse(*content, &error, edition.rules);
    if (!rows) {
        printError(QStringLiteral("cs42-admin: %1: %2; the schedule was not changed\n").arg(csvPath, error));
        return 1;
    }
    const ScheduleSource imported = ScheduleSource::classify(edition.scheduleTable, *rows, std::nullopt);
    if (imported.holdsOfficial2022) {
        printError(
            QStringLiteral("cs42-admin: %1 is the schedule in force since May 1, 2022, which belongs to "
                           "the forms for actions filed on or after that date (--edition %2), not to "
                           "%3; the schedule was not changed\n")
                .arg(csvPath, FormEditions::cs42Rev0522().id, edition.title));
        return 1;
    }
    const QString file = QFileInfo(csvPath).absoluteFilePath();
    if (!ScheduleHistory::importRows(
            paths.scheduleDbPath(), edition.scheduleTable, *rows, file, QDate::currentDate(), &error)) {
        printError(
            QStringLiteral("cs42-admin: cannot write the schedule %1: %2; the schedule was not changed\n")
                .arg(paths.scheduleDbPath(), error));
        return 1;
    }
    const ScheduleSource now = ScheduleSource::identify(paths.scheduleDbPath(), edition.scheduleTable);
    QString out =
        QStringLiteral("Installed %1 schedule rows (incomes %2 to %3) into table %4 of %5\n")
            .arg(rows->size())
            .arg(rows->first().income, rows->last().income, edition.scheduleTable, paths.scheduleDbPath());
    out += QStringLiteral("It holds %1.\n").arg(described(now));
    out += sharedNotice(edition.scheduleTable);
    if (const auto kept = ScheduleHistory::keptSource(paths.scheduleDbPath(), edition.scheduleTable))
        out += keptNotice(*kept, edition);
    printOut(out);
    return 0;
}

int undoImport(const DataPaths& paths, const FormEdition& edition)
{
    QString error;
    if (!ScheduleHistory::undoImport(paths.scheduleDbPath(), edition.scheduleTable, &error)) {
        printError(QStringLiteral("cs42-admin: %1 in %2; the schedule was not changed\n")
                       .arg(error, paths.scheduleDbPath()));
        return 1;
    }
    const ScheduleSource now = ScheduleSource::identify(paths.scheduleDbPath(), edition.scheduleTable);
    QString out = QStringLiteral("Put back table %1 of %2 as it was before the last import; it holds %3.\n")
                      .arg(edition.scheduleTable, paths.scheduleDbPath(), described(now));
    out += sharedNotice(edition.scheduleTable);
    if (const auto kept = ScheduleHistory::keptSource(paths.scheduleDbPath(), edition.scheduleTable))
        out += keptNotice(*kept, edition);
    printOut(out);
    return 0;
}

int exportSchedule(const DataPaths& paths, const FormEdition& edition)
{
    QString error;
    const auto rows = ScheduleCsv::readRows(paths.scheduleDbPath(), &error, edition.scheduleTable);
    if (!rows) {
        printError(QStringLiteral("cs42-admin: cannot read the schedule %1: %2\n")
                       .arg(paths.scheduleDbPath(), error));
        return 1;
    }
    printOut(ScheduleCsv::write(*rows));
    return 0;
}

// Each schedule table: the forms that read it, what it holds and the copy kept of it.
int printStatus(const DataPaths& paths)
{
    QString out;
    QStringList tables;
    for (const FormEdition* e : FormEditions::all()) {
        if (!tables.contains(e->scheduleTable))
            tables << e->scheduleTable;
    }
    for (const QString& table : tables) {
        const ScheduleSource source = ScheduleSource::identify(paths.scheduleDbPath(), table);
        out +=
            QStringLiteral("%1 (read by %2): %3\n").arg(table, listed(readersOf(table)), described(source));
        if (source.kind == ScheduleSource::Kind::Imported)
            out += QStringLiteral("  imported from %1\n").arg(source.file);
        const auto kept = ScheduleHistory::keptSource(paths.scheduleDbPath(), table);
        out += QStringLiteral("  kept copy for --undo: %1\n")
                   .arg(kept ? described(*kept) : QStringLiteral("none"));
    }
    printOut(out);
    return 0;
}
} // namespace

int runScheduleCommand(const QStringList& args, const DataPaths& paths)
{
    // The 2009 edition's table unless --edition names another.
    QStringList rest;
    bool undo = false;
    const FormEdition* edition = &FormEditions::cs42Rev0109();
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--edition")) {
            if (!readEditionOption(args, &i, &edition))
                return 2;
        } else if (args[i] == QLatin1String("--undo")) {
            undo = true;
        } else {
            rest << args[i];
        }
    }
    if (undo && rest.size() == 1 && rest[0] == QLatin1String("import"))
        return undoImport(paths, *edition);
    if (!undo && rest.size() == 2 && rest[0] == QLatin1String("import"))
        return importSchedule(rest[1], paths, *edition);
    if (!undo && rest.size() == 1 && rest[0] == QLatin1String("export"))
        return exportSchedule(paths, *edition);
    if (!undo && rest.size() == 1 && rest[0] == QLatin1String("status"))
        return printStatus(paths);
    printError(QStringLiteral("Usage: cs42-admin schedule import [--edition 2009|2022|2023S] FILE.csv\n"
                              "       cs42-admin schedule import --undo [--edition 2009|2022|2023S]\n"
                              "       cs42-admin schedule export [--edition 2009|2022|2023S]\n"
                              "       cs42-admin schedule status\n"));
    return 2;
}

} // namespace cs42::admin
