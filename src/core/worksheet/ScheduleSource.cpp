#include "core/worksheet/ScheduleSource.h"

#include "core/worksheet/ScheduleHistory.h"
#include "core/worksheet/UsDate.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>

#include <filesystem>
#include <system_error>

namespace cs42 {

namespace {
// The table whose official content this program knows; the 2009 form's table has no official
// content here (the schedule in force before May 1, 2022 is not shipped).
const QString OfficialTable = QStringLiteral("Schedule2022");

const QString OfficialName = QStringLiteral("the official Schedule of Basic Child-Support Obligations "
                                            "effective May 1, 2022");

// A plain decimal number in its shortest form: no leading zeros before the units, no trailing
// zeros after the point, no point without decimals.
QString canonicalValue(const QString& value)
{
    static const QRegularExpression plain(QStringLiteral(R"(^(\d+)(?:\.(\d+))?$)"));
    const QString text = value.trimmed();
    const QRegularExpressionMatch match = plain.match(text);
    if (!match.hasMatch())
        return text;
    QString units = match.captured(1);
    while (units.size() > 1 && units.startsWith(QLatin1Char('0')))
        units.remove(0, 1);
    QString decimals = match.captured(2);
    while (decimals.endsWith(QLatin1Char('0')))
        decimals.chop(1);
    return decimals.isEmpty() ? units : units + QLatin1Char('.') + decimals;
}

// The state of the database file that tells one version of its content from the next: its size,
// its modification time and SQLite's file change counter (bytes 24 to 27 of the header, which
// every committed write transaction changes in the rollback-journal mode the program uses). The
// time alone is not enough: the file system keeps it in steps of a few milliseconds.
struct FileState
{
    qint64 size = -1;
    std::filesystem::file_time_type modified;
    QByteArray changeCounter;

    bool operator==(const FileState&) const = default;
};

std::optional<FileState> fileState(const QString& path)
{
    std::error_code code;
    const std::filesystem::path file(QFile::encodeName(path).toStdString());
    FileState state;
    state.size = static_cast<qint64>(std::filesystem::file_size(file, code));
    if (code)
        return std::nullopt;
    state.modified = std::filesystem::last_write_time(file, code);
    if (code)
        return std::nullopt;
    QFile header(path);
    if (!header.open(QIODevice::ReadOnly))
        return std::nullopt;
    state.changeCounter = header.read(28).mid(24);
    return state;
}

// What identify() found for one table, with the file's state it was found in.
struct Identified
{
    FileState state;
    ScheduleSource source;
};
} // namespace

bool ScheduleSource::differsFromOfficial() const
{
    return table == OfficialTable && (kind == Kind::Imported || kind == Kind::Unrecorded);
}

bool ScheduleSource::missesPre2022Schedule() const
{
    return kind == Kind::NotInstalled && table != OfficialTable;
}

QString ScheduleSource::phrase() const
{
    const QString official = QStringLiteral(", which differs from %1").arg(OfficialName);
    const QString ending = table == OfficialTable ? official : QString();
    switch (kind) {
    case Kind::Official:
        return OfficialName + QStringLiteral(" (SHA-256 %1)").arg(sha256);
    case Kind::Imported:
        return QStringLiteral("the schedule imported from %1 on %2 (SHA-256 %3)")
                   .arg(QFileInfo(file).fileName(), formatUsDate(importedOn), sha256) +
               ending;
    case Kind::Unrecorded:
        return QStringLiteral("a schedule whose origin was not recorded (SHA-256 %1)").arg(sha256) + ending;
    case Kind::Unknown:
    case Kind::NotInstalled:
        break;
    }
    return {};
}

QString ScheduleSource::problem() const
{
    if (kind != Kind::NotInstalled)
        return {};
    const QString held =
        holdsOfficial2022
            ? QStringLiteral("holds the schedule in force since May 1, 2022, which belongs to the forms for "
                             "actions filed on or after that date")
            : QStringLiteral("is empty");
    if (table == OfficialTable)
        return QStringLiteral("holds no schedule: its %1 table %2").arg(table, held);
    return QStringLiteral("does not hold the schedule in force before May 1, 2022: its %1 table %2")
        .arg(table, held);
}

QString ScheduleSource::statement() const
{
    switch (kind) {
    case Kind::Unknown:
        return {};
    case Kind::NotInstalled:
        if (missesPre2022Schedule()) {
            QString s = QStringLiteral("The schedule in force before May 1, 2022 is not installed, so line 4 "
                                       "is not read from a schedule.");
            if (holdsOfficial2022)
                s += QStringLiteral(" The program's table for this form holds the schedule in force since "
                                    "May 1, 2022, which belongs to the forms for actions filed on or after "
                                    "that date and is not read for this one.");
            return s;
        }
        return QStringLiteral("No schedule is installed for this form, so line 4 is not read from a "
                              "schedule.");
    case Kind::Official:
    case Kind::Imported:
    case Kind::Unrecorded:
        break;
    }
    return QStringLiteral("The schedule installed for this form is %1.").arg(phrase());
}

QByteArray ScheduleSource::canonicalText(const QList<ScheduleTextRow>& rows)
{
    QList<ScheduleTextRow> canonical;
    canonical.reserve(rows.size());
    for (const ScheduleTextRow& row : rows) {
        ScheduleTextRow c;
        c.income = canonicalValue(row.income);
        for (std::size_t k = 0; k < row.amounts.size(); ++k)
            c.amounts[k] = canonicalValue(row.amounts[k]);
        canonical << c;
    }
    return ScheduleCsv::write(canonical).toUtf8();
}

QString ScheduleSource::checksum(const QList<ScheduleTextRow>& rows)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(canonicalText(rows), QCryptographicHash::Sha256).toHex());
}

QString ScheduleSource::official2022Checksum()
{
    return QStringLiteral("a3040a3ba2d04f2423e25644537f4f0d95656fca4376a9ea94fa9d6427701c2b");
}

ScheduleSource ScheduleSource::classify(const QString& table,
                                        const QList<ScheduleTextRow>& rows,
                                        const std::optional<Record>& recorded)
{
    ScheduleSource source;
    source.table = table;
    if (rows.isEmpty()) {
        source.kind = Kind::NotInstalled;
        return source;
    }
    source.sha256 = checksum(rows);
    if (source.sha256 == official2022Checksum()) {
        source.kind = table == OfficialTable ? Kind::Official : Kind::NotInstalled;
        source.holdsOfficial2022 = source.kind == Kind::NotInstalled;
        return source;
    }
    if (recorded && recorded->kind == QLatin1String("imported") && recorded->sha256 == source.sha256) {
        source.kind = Kind::Imported;
        source.file = recorded->file;
        source.importedOn = recorded->date;
        return source;
    }
    source.kind = Kind::Unrecorded;
    return source;
}

ScheduleSource ScheduleSource::identify(const QString& scheduleDbPath, const QString& table)
{
    static QMutex mutex;
    static QHash<QString, Identified> found;
    const QString key = QFileInfo(scheduleDbPath).absoluteFilePath() + QLatin1Char('\n') + table;
    const std::optional<FileState> state = fileState(scheduleDbPath);
    if (!state)
        return {};
    Identified now{*state, {}};
    {
        const QMutexLocker lock(&mutex);
        const auto it = found.constFind(key);
        if (it != found.cend() && it->state == now.state)
            return it->source;
    }
    const auto rows = ScheduleCsv::readRows(scheduleDbPath, nullptr, table);
    if (!rows)
        return {};
    now.source = classify(table, *rows, ScheduleHistory::record(scheduleDbPath, table));
    // The file may have changed while it was read: the state taken before the reading is the one
    // kept, so that such a change is read again next time.
    const QMutexLocker lock(&mutex);
    found.insert(key, now);
    return now.source;
}

} // namespace cs42
