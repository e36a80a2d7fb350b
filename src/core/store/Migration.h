#pragma once

#include <QString>
#include <QStringList>

namespace cs42 {

// Moving an office's cases and names between a data folder (its two database files) and a
// PostgreSQL server, in either direction, or between two folders. Every row arrives exactly as it
// left, in its stored order.
namespace Migration {

struct Outcome
{
    bool copied = false;
    int cases = 0;
    int names = 0;
    int changes = 0;   // rows of the history of both
    QString error;     // why nothing was copied
    QStringList notes; // values of the history a server could not keep, left out of the copy
};

// Copies every case and name, with the history of each, from `from` to `to` (each a folder or a
// server URI); the target's history is replaced with the source's. A target that
// already holds cases or names (other than the directory's seed record) is refused unless
// `replace` is set; then its cases and names are replaced. Nothing is half-done: a server target
// takes everything in one transaction, a folder target gets new files under temporary names
// that are renamed into place once both are complete.
Outcome migrate(const QString& from, const QString& to, bool replace);

} // namespace Migration

} // namespace cs42
