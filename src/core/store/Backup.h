#pragma once

#include <QString>

namespace cs42 {

// The one backup generation of the cases and names databases, and putting it back.
namespace Backup {
// Writes a consistent copy of `livePath` (SQLite's own VACUUM INTO, safe while another
// workstation writes) to a temporary file beside `backupPath`, then replaces the old backup with
// it. On any failure the old backup stays and false is returned with a reason.
bool writeBackup(const QString& livePath, const QString& backupPath, QString* error = nullptr);

enum class RestoreResult
{
    Restored,
    NoBackup,
    Failed,
};

// Copies `backupPath` to a temporary file beside `livePath`, checks that the copy opens as a
// database, then replaces the live file with it. On failure the live file is left as it was.
RestoreResult restore(const QString& backupPath, const QString& livePath, QString* error = nullptr);

// The texts of the restore questions and messages, per database.
struct RestoreTexts
{
    QString questionTitle;
    QString questionText;
};

RestoreTexts casesRestoreTexts();
RestoreTexts namesRestoreTexts();
QString noBackupText();
} // namespace Backup

} // namespace cs42
