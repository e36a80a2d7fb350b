#include "core/store/Backup.h"

#include "core/store/ChangeHistory.h"
#include "core/store/PrivateFiles.h"
#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"
#include "core/store/TableCopy.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSysInfo>

#include <filesystem>
#include <system_error>

namespace cs42::Backup {

namespace {
const QString TemporaryMarker = QStringLiteral(".tmp-");

QString hostTag()
{
    QString host = QSysInfo::machineHostName();
    host.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QStringLiteral("_"));
    return host.isEmpty() ? QStringLiteral("host") : host;
}

const TableDef& tableOf(const BackupSet& set)
{
    return set.table == Schema::casesTable().name ? Schema::casesTable() : Schema::namesTable();
}

// Whose rows of a server's history go with the set: a file holds its own table's history only.
ChangeHistory::Of historyOf(const BackupSet& set)
{
    return &tableOf(set) == &Schema::casesTable() ? ChangeHistory::Of::Cases : ChangeHistory::Of::Names;
}

const TableDef& historyTable()
{
    return Schema::changesTable();
}

const QString InfoTable = QStringLiteral("BackupInfo");

// Records in a new backup where it came from, when, and how many rows of the office's own it
// holds.
bool recordInfo(const BackupSet& set, const QString& path, QString* error)
{
    SqlConnection file(path);
    const int rows = TableCopy::dataCount(file, tableOf(set));
    const bool done =
        rows >= 0 && file.exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(InfoTable)) &&
        file.exec(QStringLiteral("CREATE TABLE %1 (origin TEXT, written TEXT, tablename TEXT, rowcount TEXT)")
                      .arg(InfoTable)) &&
        file.exec(QStringLiteral("INSERT INTO %1 VALUES (?, ?, ?, ?)").arg(InfoTable),
                  {shownLocation(set.livePath),
                   QDateTime::currentDateTimeUtc().toString(Qt::ISODate),
                   set.table,
                   QString::number(rows)});
    if (!done)
        *error = file.errorText().isEmpty() ? QStringLiteral("The rows of the copy could not be counted.")
                                            : file.errorText();
    return done;
}

// Moves the old backup to the previous generation and puts the new copy in its place, unless
// the copy holds far fewer rows than the sound backup it would push out: a database recreated
// empty (or holding only the sample case) must never cost the office its last good backup.
BackupOutcome placeBackup(const BackupSet& set, const QString& temporary)
{
    QString error;
    if (!recordInfo(set, temporary, &error)) {
        QFile::remove(temporary);
        return {BackupStatus::Failed, error};
    }
    const std::optional<BackupInfo> fresh = readInfo(set, temporary);
    if (const QString good = soundBackup(set); !good.isEmpty() && fresh) {
        const std::optional<BackupInfo> kept = readInfo(set, good);
        if (kept && isFarSmaller(fresh->rows, kept->rows)) {
            QFile::remove(temporary);
            BackupOutcome outcome{BackupStatus::KeptLarger, QString()};
            outcome.rows = fresh->rows;
            outcome.kept = *kept;
            return outcome;
        }
    }
    if (QFileInfo::exists(set.backupPath) && !replaceFile(set.backupPath, set.previousPath, &error)) {
        QFile::remove(temporary);
        return {BackupStatus::Failed, error};
    }
    if (!replaceFile(temporary, set.backupPath, &error)) {
        QFile::remove(temporary);
        return {BackupStatus::Failed, error};
    }
    return {BackupStatus::Written, QString()};
}

// The generations of the files a restore kept, newest first: each restore keeps its own, so that
// a second restore never costs the file the first one kept.
constexpr int BeforeRestoreGenerations = 3;

// Moves the kept files one generation on and puts `temporary` in place as the newest.
bool keepBeforeRestore(const BackupSet& set, const QString& temporary, QString* error)
{
    const QStringList generations = beforeRestoreGenerations(set);
    QFile::remove(generations.last());
    for (qsizetype i = generations.size() - 1; i > 0; --i) {
        if (QFileInfo::exists(generations[i - 1]) && !replaceFile(generations[i - 1], generations[i], error))
            return false;
    }
    return replaceFile(temporary, generations.first(), error);
}

// Why the file at `path` is no sound copy of the set's database (empty when it is one).
QString copyProblem(const BackupSet& set, const QString& path)
{
    if (QFileInfo(path).size() == 0)
        return QStringLiteral("The file is empty.");
    SqlConnection copy(path);
    if (!copy.isOpen())
        return copy.errorText();
    const QString damage = copy.integrityProblem();
    if (!damage.isEmpty())
        return QStringLiteral("The file is damaged (%1).").arg(damage);
    // Identifiers from the fixed set definitions, never from input.
    QSqlQuery query(copy.database());
    if (!query.exec(QStringLiteral("SELECT \"%1\" FROM \"%2\" LIMIT 0").arg(set.keyColumn, set.table)))
        return QStringLiteral("The file holds no %1 table.").arg(set.table);
    return {};
}

QString shownTime(const QDateTime& utc)
{
    return utc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

bool isProcessRunning(qint64 pid)
{
#ifdef Q_OS_LINUX
    return QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid));
#else
    Q_UNUSED(pid);
    return true; // only the age tells elsewhere
#endif
}
} // namespace

QString temporaryBeside(const QString& path)
{
    return path + TemporaryMarker + hostTag() + QLatin1Char('-') +
           QString::number(QCoreApplication::applicationPid());
}

bool replaceFile(const QString& source, const QString& target, QString* error)
{
    std::error_code code;
    std::filesystem::rename(
        std::filesystem::path(source.toStdU16String()), std::filesystem::path(target.toStdU16String()), code);
    if (code && error)
        *error = QString::fromStdString(code.message());
    return !code;
}

QStringList beforeRestoreGenerations(const BackupSet& set)
{
    QStringList generations{set.beforeRestorePath};
    const QString base = set.beforeRestorePath.left(set.beforeRestorePath.size() - 4); // ".MDB"
    for (int i = 2; i <= BeforeRestoreGenerations; ++i)
        generations << base + QStringLiteral("_%1.MDB").arg(i);
    return generations;
}

bool isFarSmaller(int fresh, int kept)
{
    if (fresh < 0 || kept <= 0)
        return false;
    return fresh == 0 || fresh * 2 < kept;
}

QString rowNoun(const BackupSet& set)
{
    return set.table == Schema::casesTable().name ? QStringLiteral("cases") : QStringLiteral("names");
}

std::optional<BackupInfo> readInfo(const BackupSet& set, const QString& path)
{
    SqlConnection file(path);
    if (!file.isOpen())
        return std::nullopt;
    BackupInfo info;
    info.path = path;
    info.rows = TableCopy::dataCount(file, tableOf(set));
    info.written = QFileInfo(path).lastModified().toUTC();
    QSqlQuery query(file.database());
    if (query.exec(QStringLiteral("SELECT origin, written FROM %1").arg(InfoTable)) && query.next()) {
        info.origin = query.value(0).toString();
        const QDateTime written = QDateTime::fromString(query.value(1).toString(), Qt::ISODate);
        if (written.isValid())
            info.written = written.toUTC();
    }
    return info;
}

BackupSet BackupSet::cases(const DataPaths& paths)
{
    return {paths.casesDbPath(),
            paths.casesBackupPath(),
            paths.casesPreviousBackupPath(),
            paths.casesBeforeRestorePath(),
            QStringLiteral("Cases"),
            QStringLiteral("caseid"),
            QStringLiteral("CASES")};
}

BackupSet BackupSet::names(const DataPaths& paths)
{
    return {paths.namesDbPath(),
            paths.namesBackupPath(),
            paths.namesPreviousBackupPath(),
            paths.namesBeforeRestorePath(),
            QStringLiteral("NAMES"),
            QStringLiteral("keynumber"),
            QStringLiteral("Names")};
}

BackupOutcome writeBackup(const BackupSet& set)
{
    const QString temporary = temporaryBeside(set.backupPath);
    QFile::remove(temporary);
    // VACUUM INTO writes into an empty file as it finds it: made private first.
    if (QString error; !PrivateFiles::prepare(temporary, &error))
        return {BackupStatus::Failed, error};
    {
        SqlConnection live(set.livePath);
        if (!live.isOpen())
            return {BackupStatus::Failed, live.errorText()};
        // VACUUM INTO copies whatever it reads: a damaged index would go into the backup unseen.
        const QString damage = live.integrityProblem();
        if (live.failure() == SqlFailure::Busy)
            return {BackupStatus::Failed, live.errorText()};
        if (!damage.isEmpty())
            return {BackupStatus::LiveDamaged, damage};
        if (!live.exec(QStringLiteral("VACUUM INTO ?"), {temporary})) {
            QFile::remove(temporary);
            return {BackupStatus::Failed, live.errorText()};
        }
    }
    return placeBackup(set, temporary);
}

QList<QPair<BackupSet, BackupOutcome>> writeBackups(const DataPaths& paths)
{
    const BackupSet sets[] = {BackupSet::cases(paths), BackupSet::names(paths)};
    QList<QPair<BackupSet, BackupOutcome>> outcomes;
    if (!paths.onServer()) {
        for (const BackupSet& set : sets)
            outcomes.append({set, writeBackup(set)});
        return outcomes;
    }
    QString error;
    PrivateFiles::makePrivateFolder(paths.backupFolder());
    std::optional<QList<TableCopy::Rows>> snapshot;
    {
        // The history is read at the same moment: each file gets its table's rows of it, as a
        // folder's files hold them.
        SqlConnection live(paths.casesDbPath());
        snapshot =
            TableCopy::readTogether(live, {&tableOf(sets[0]), &tableOf(sets[1]), &historyTable()}, &error);
    }
    for (int i = 0; i < 2; ++i) {
        const BackupSet& set = sets[i];
        if (!snapshot) {
            outcomes.append({set, {BackupStatus::Failed, error}});
            continue;
        }
        const QString temporary = temporaryBeside(set.backupPath);
        const TableCopy::Rows history = ChangeHistory::rowsOf((*snapshot)[2], historyOf(set));
        if (!TableCopy::writeFile(
                temporary, {{&tableOf(set), (*snapshot)[i]}, {&historyTable(), history}}, &error)) {
            QFile::remove(temporary);
            outcomes.append({set, {BackupStatus::Failed, error}});
            continue;
        }
        outcomes.append({set, placeBackup(set, temporary)});
    }
    return outcomes;
}

QString soundBackup(const BackupSet& set)
{
    for (const QString& path : {set.backupPath, set.previousPath}) {
        if (QFileInfo(path).isFile() && copyProblem(set, path).isEmpty())
            return path;
    }
    return {};
}

QString quitReport(const BackupSet& set, const BackupOutcome& outcome)
{
    if (outcome.status == BackupStatus::Written)
        return {};
    if (outcome.status == BackupStatus::KeptLarger) {
        const QString noun = rowNoun(set);
        const QString now = outcome.rows == 0 ? QStringLiteral("none of the office's own %1").arg(noun)
                                              : QStringLiteral("only %1 %2").arg(outcome.rows).arg(noun);
        return QStringLiteral("The %1 database %2 holds %3 now, far fewer than the %4 %5 of its backup %6 "
                              "(written %7), so that backup was kept and no new one was written.  If the %5 "
                              "were removed on purpose, move the backup %6 elsewhere; the next quit then "
                              "writes a new one.")
            .arg(set.displayName,
                 shownLocation(set.livePath),
                 now,
                 QString::number(outcome.kept.rows),
                 noun,
                 shownLocation(outcome.kept.path),
                 shownTime(outcome.kept.written));
    }
    const QString good = soundBackup(set);
    const QString goodText =
        good.isEmpty()
            ? QStringLiteral("There is no sound backup of it.")
            : QStringLiteral("The backup %1 is sound and was left as it was.").arg(shownLocation(good));
    if (outcome.status == BackupStatus::LiveDamaged) {
        return QStringLiteral("The %1 database %2 is damaged (%3), so it was not backed up.  %4  Please "
                              "restore the %1 database from its backup when you start the program again "
                              "(File Utilities: press Esc on the opening window).")
            .arg(set.displayName, shownLocation(set.livePath), outcome.detail, goodText);
    }
    return QStringLiteral("The %1 database %2 could not be backed up.  %3  %4")
        .arg(set.displayName, shownLocation(set.livePath), outcome.detail, goodText);
}

bool BackupSet::liveOnServer() const
{
    return ServerLocation::isServerUri(livePath);
}

namespace {
// The server's rows are replaced by the backup's in one transaction; what it held before is
// first kept in a file on this workstation.
RestoreOutcome restoreOnServer(const BackupSet& set)
{
    RestoreOutcome outcome;
    QStringList refusals;
    std::optional<TableCopy::Rows> rows;
    std::optional<TableCopy::Rows> history; // none in a backup written before it held one
    for (const QString& candidate : {set.backupPath, set.previousPath}) {
        if (!QFileInfo(candidate).isFile())
            continue;
        if (const QString problem = copyProblem(set, candidate); !problem.isEmpty()) {
            refusals << QStringLiteral("%1: %2").arg(shownLocation(candidate), problem);
            continue;
        }
        SqlConnection backup(candidate);
        QString error;
        rows = TableCopy::read(backup, tableOf(set), &error);
        history.reset();
        if (rows && !backup.dialect().existingColumnNames(backup.database(), historyTable().name).isEmpty()) {
            history = TableCopy::read(backup, historyTable(), &error);
            if (!history)
                rows.reset();
        }
        if (!rows) {
            refusals << QStringLiteral("%1: %2").arg(shownLocation(candidate), error);
            continue;
        }
        outcome.restoredFrom = candidate;
        break;
    }
    if (!rows) {
        outcome.error = refusals.join(QStringLiteral("\r\n"));
        return outcome;
    }
    SqlConnection live(set.livePath);
    if (!live.isOpen()) {
        outcome.restoredFrom.clear();
        outcome.error = live.errorText();
        return outcome;
    }
    const TableDef& table = tableOf(set);
    const QString name = live.dialect().identifier(table.name);
    const QString historyName = live.dialect().identifier(historyTable().name);
    QString error;
    // Under an exclusive lock no other workstation saves between reading what the server held
    // and replacing it: the kept file holds every save made before the restore, and a save made
    // meanwhile waits and then finds the restored rows. The history is the table's own: it is
    // kept and put back with it.
    bool done = live.database().transaction() &&
                live.exec(QStringLiteral("LOCK TABLE %1, %2 IN EXCLUSIVE MODE").arg(name, historyName));
    if (!done)
        error = live.errorText();
    std::optional<TableCopy::Rows> before;
    if (done) {
        before = TableCopy::read(live, table, &error);
        std::optional<TableCopy::Rows> historyBefore = TableCopy::read(live, historyTable(), &error);
        const QString temporary = temporaryBeside(set.beforeRestorePath);
        done =
            before && historyBefore &&
            TableCopy::writeFile(
                temporary,
                {{&table, *before}, {&historyTable(), ChangeHistory::rowsOf(*historyBefore, historyOf(set))}},
                &error) &&
            keepBeforeRestore(set, temporary, &error);
        if (!done) {
            QFile::remove(temporary);
            error = QStringLiteral("The rows on the server could not be kept as %1 (%2).")
                        .arg(shownLocation(set.beforeRestorePath), error);
        }
    }
    done = done && live.exec(QStringLiteral("DELETE FROM %1").arg(name)) &&
           TableCopy::append(live, table, *rows, &error);
    if (done && history) {
        done = ChangeHistory::clear(live, historyOf(set)) &&
               TableCopy::append(
                   live, historyTable(), ChangeHistory::rowsOf(*history, historyOf(set), true), &error);
    }
    done = done && live.database().commit();
    if (!done) {
        if (error.isEmpty())
            error = live.errorText();
        live.database().rollback();
        outcome.restoredFrom.clear();
        outcome.error = error;
        return outcome;
    }
    outcome.keptLivePath = set.beforeRestorePath;
    outcome.result = RestoreResult::Restored;
    outcome.error = refusals.join(QStringLiteral("\r\n"));
    return outcome;
}
} // namespace

bool hasBackup(const BackupSet& set)
{
    return QFileInfo(set.backupPath).isFile() || QFileInfo(set.previousPath).isFile();
}

RestoreOutcome restore(const BackupSet& set)
{
    RestoreOutcome outcome;
    if (!hasBackup(set)) {
        outcome.result = RestoreResult::NoBackup;
        return outcome;
    }
    if (set.liveOnServer())
        return restoreOnServer(set);
    const QString temporary = temporaryBeside(set.livePath);
    QStringList refusals;
    for (const QString& candidate : {set.backupPath, set.previousPath}) {
        if (!QFileInfo(candidate).isFile())
            continue;
        QFile::remove(temporary);
        // The copy is checked, not the backup itself, so that what is checked is what goes live.
        if (!PrivateFiles::copy(candidate, temporary)) {
            refusals << QStringLiteral("%1 could not be copied beside %2.")
                            .arg(shownLocation(candidate), shownLocation(set.livePath));
            continue;
        }
        const QString problem = copyProblem(set, temporary);
        if (!problem.isEmpty()) {
            refusals << QStringLiteral("%1: %2").arg(shownLocation(candidate), problem);
            QFile::remove(temporary);
            continue;
        }
        outcome.restoredFrom = candidate;
        break;
    }
    if (outcome.restoredFrom.isEmpty()) {
        outcome.error = refusals.join(QStringLiteral("\r\n"));
        return outcome;
    }
    // The live file is brought to a clean state and held under SQLite's exclusive lock until the
    // backup is in its place: a journal a crashed workstation left is rolled back into the old
    // file first (renamed under it, the backup would inherit it), the kept copy holds every save
    // made before, and no workstation writes meanwhile.
    std::optional<SqlConnection> guard;
    if (QFileInfo::exists(set.livePath)) {
        guard.emplace(set.livePath);
        if (!guard->isOpen() || !guard->exec(QStringLiteral("BEGIN EXCLUSIVE"))) {
            QFile::remove(temporary);
            outcome.restoredFrom.clear();
            outcome.error = guard->errorText();
            return outcome;
        }
    }
    if (QFileInfo::exists(set.livePath)) {
        const QString kept = temporaryBeside(set.beforeRestorePath);
        if (QString ignored;
            !PrivateFiles::copy(set.livePath, kept) || !keepBeforeRestore(set, kept, &ignored)) {
            QFile::remove(kept);
            QFile::remove(temporary);
            outcome.restoredFrom.clear();
            outcome.error = QStringLiteral("The file in use could not be kept as %1.")
                                .arg(shownLocation(set.beforeRestorePath));
            return outcome;
        }
        outcome.keptLivePath = set.beforeRestorePath;
    }
    QString error;
    const bool replaced = replaceFile(temporary, set.livePath, &error);
    if (guard)
        guard->exec(QStringLiteral("ROLLBACK"));
    if (!replaced) {
        QFile::remove(temporary);
        outcome.restoredFrom.clear();
        outcome.keptLivePath.clear();
        outcome.error = error;
        return outcome;
    }
    outcome.result = RestoreResult::Restored;
    outcome.error = refusals.join(QStringLiteral("\r\n")); // a newer backup that was passed over
    return outcome;
}

void removeStaleTemporaries(const QString& folder)
{
    // A copy killed half-way may also leave its journal: it goes with the copy.
    static const QRegularExpression suffix(QStringLiteral(R"(\.tmp-(?:(.+)-)?(\d+)(?:-journal)?$)"));
    const QDir dir(folder);
    const QDateTime anHourAgo = QDateTime::currentDateTimeUtc().addSecs(-3600);
    const QFileInfoList files = dir.entryInfoList(
        {QStringLiteral("*.MDB.tmp-*"), QStringLiteral("*.mdb.tmp-*")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& file : files) {
        const QRegularExpressionMatch m = suffix.match(file.fileName());
        if (!m.hasMatch())
            continue;
        const bool ours = m.captured(1).isEmpty() || m.captured(1) == hostTag();
        const qint64 pid = m.captured(2).toLongLong();
        const bool ended = ours && pid != QCoreApplication::applicationPid() && !isProcessRunning(pid);
        if (ended || file.lastModified().toUTC() < anHourAgo)
            QFile::remove(file.absoluteFilePath());
    }
}

RestoreTexts casesRestoreTexts()
{
    return {
        QStringLiteral("Restore CASES Database File"),
        QStringLiteral("Are you sure you want to RESTORE the Cases Database File using the Backup Database "
                       "File (Y/N)?")};
}

RestoreTexts namesRestoreTexts()
{
    return {
        QStringLiteral("Restore Names Database File"),
        QStringLiteral("Are you sure you want to RESTORE the Names Database File using the Backup Database "
                       "File (Y/N)?")};
}

QString restoreQuestion(const BackupSet& set, const RestoreTexts& texts)
{
    QStringList about;
    const QString noun = rowNoun(set);
    if (const QString good = soundBackup(set); !good.isEmpty()) {
        if (const std::optional<BackupInfo> info = readInfo(set, good)) {
            about << QStringLiteral("The backup %1 was taken from %2 on %3 and holds %4 %5.")
                         .arg(shownLocation(good),
                              info->origin.isEmpty() ? QStringLiteral("this office's data") : info->origin,
                              shownTime(info->written),
                              QString::number(qMax(info->rows, 0)),
                              noun);
        }
    }
    if (set.liveOnServer()) {
        about << QStringLiteral(
                     "Restoring it replaces the office's %1 on the server %2 for every workstation, "
                     "with every change made since the backup was taken.")
                     .arg(noun, shownLocation(set.livePath));
    }
    about << texts.questionText;
    return about.join(QStringLiteral("\r\n\r\n"));
}

QString noBackupText()
{
    return QStringLiteral("No Backup Database File can be Found!");
}

QString restoredText(const BackupSet& set, const RestoreOutcome& outcome)
{
    QString text = QStringLiteral("The %1 Database File was restored from the backup %2.")
                       .arg(set.displayName, shownLocation(outcome.restoredFrom));
    if (!outcome.error.isEmpty())
        text += QStringLiteral("  The newer backup could not be used: ") + outcome.error;
    if (!outcome.keptLivePath.isEmpty())
        text +=
            QStringLiteral("  The file it replaced was kept as %1.").arg(shownLocation(outcome.keptLivePath));
    text +=
        QStringLiteral("\r\n\r\nThe program will now end; start it again to work with the restored file.");
    return text;
}

} // namespace cs42::Backup
