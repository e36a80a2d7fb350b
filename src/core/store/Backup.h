#pragma once

#include "core/store/DataPaths.h"

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace cs42 {

// The backups of the cases and names databases, written when the program quits, and putting one
// back. Two generations are kept, so that one bad quit can never leave no good backup.
namespace Backup {

// One database with its backup files and the table (with its key column) a sound copy holds.
struct BackupSet
{
    QString livePath;
    QString backupPath;        // the newest backup
    QString previousPath;      // the generation before it
    QString beforeRestorePath; // where a restore keeps the live file it replaced
    QString table;             // "Cases" / "NAMES"
    QString keyColumn;         // "caseid" / "keynumber"
    QString displayName;       // "CASES" / "Names", as the messages name the database

    static BackupSet cases(const DataPaths& paths);
    static BackupSet names(const DataPaths& paths);

    // True when the live database is on a server (its backups are files on this workstation).
    bool liveOnServer() const;
};

// What a backup file says of itself: each backup records where it was taken from, when, and how
// many rows of the office's own it holds (the sample case and the directory's example record
// are not counted). A backup written before this was recorded gives its file time and no origin.
struct BackupInfo
{
    QString path;
    QString origin;    // the live database or server it was taken from, as messages show it
    QDateTime written; // UTC
    int rows = -1;     // cases or names of the office's own; -1 when they cannot be counted
};

// The backup file's description; nullopt when it cannot be read.
std::optional<BackupInfo> readInfo(const BackupSet& set, const QString& path);
// "cases" / "names".
QString rowNoun(const BackupSet& set);

enum class BackupStatus
{
    Written,
    LiveDamaged, // the live file failed its integrity check: the backups were left as they were
    Failed,      // the copy could not be made or put in place: the backups were left as they were
    KeptLarger,  // the live database holds far fewer rows than the sound backup (an empty or
                 // recreated database): the backups were left as they were
};

struct BackupOutcome
{
    BackupOutcome(BackupStatus what = BackupStatus::Failed, const QString& why = QString())
        : status(what)
        , detail(why)
    {}

    BackupStatus status = BackupStatus::Failed;
    QString detail;  // the damage or the cause of the failure
    int rows = -1;   // KeptLarger: the rows of the office's own the live database holds
    BackupInfo kept; // KeptLarger: the backup that was kept
};

// True when a snapshot of `fresh` rows must not replace a backup of `kept` rows: it holds none of
// the office's own (only the sample case) while the backup holds some, or fewer than half.
bool isFarSmaller(int fresh, int kept);

// A temporary file beside `path` that names this computer and process, so that the next start
// can tell a copy left by a killed run from one that another workstation is writing right now
// (removeStaleTemporaries).
QString temporaryBeside(const QString& path);
// Replaces `target` with `source` in one step (a rename over an existing file).
bool replaceFile(const QString& source, const QString& target, QString* error);

// Checks the live file with PRAGMA integrity_check, writes a consistent copy of it (SQLite's own
// VACUUM INTO, safe while another workstation writes) to a temporary file beside the backup, then
// moves the old backup to the previous generation and puts the copy in its place.
BackupOutcome writeBackup(const BackupSet& set);

// The backups of the cases and of the names, in that order. For a folder, writeBackup() of each;
// for a server, one snapshot of both tables (one transaction, repeatable read) written into the
// usual backup files, with the same two generations.
QList<QPair<BackupSet, BackupOutcome>> writeBackups(const DataPaths& paths);

// The newest backup that passes its integrity check, or an empty text.
QString soundBackup(const BackupSet& set);

// What to tell the user at quit about an outcome other than Written (empty text for Written).
QString quitReport(const BackupSet& set, const BackupOutcome& outcome);

enum class RestoreResult
{
    Restored,
    NoBackup,
    Failed,
};

struct RestoreOutcome
{
    RestoreResult result = RestoreResult::Failed;
    QString restoredFrom; // the backup that was put in place
    QString keptLivePath; // where the replaced live file was kept (empty when there was none)
    QString error;        // why nothing was restored, or which newer backup was passed over
};

// Puts the newest sound backup in place of the live file. A backup is sound when it passes
// PRAGMA integrity_check and holds the set's table with its key column; the newest is tried
// first, then the previous generation. The live file is first copied to beforeRestorePath; on any
// failure the live file is left as it was. On a server the table's rows are replaced by the
// backup's in one transaction, after the rows it held are kept in beforeRestorePath.
RestoreOutcome restore(const BackupSet& set);

// The files restores kept, newest first: beforeRestorePath, then _2 and _3 beside it.
QStringList beforeRestoreGenerations(const BackupSet& set);

// True when the set has a backup file of either generation.
bool hasBackup(const BackupSet& set);

// Removes, in `folder`, the temporary copies that a backup or restore killed half-way left
// behind: those of this computer whose process has ended, and any older than an hour (another
// workstation's that never finished).
void removeStaleTemporaries(const QString& folder);

// The texts of the restore questions and messages, per database.
struct RestoreTexts
{
    QString questionTitle;
    QString questionText;
};

// The restore question, after what the backup a restore would put in place is (where it was
// taken from, when, and how many cases or names it holds) and, for a server, that it replaces
// the office's data for every workstation.
QString restoreQuestion(const BackupSet& set, const RestoreTexts& texts);

RestoreTexts casesRestoreTexts();
RestoreTexts namesRestoreTexts();
QString noBackupText();
// What the user is told once a restore succeeded, before the program ends.
QString restoredText(const BackupSet& set, const RestoreOutcome& outcome);
} // namespace Backup

} // namespace cs42
