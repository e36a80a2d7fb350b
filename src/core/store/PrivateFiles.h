#pragma once

#include <QString>

namespace cs42 {

// Every file the program writes holds the office's cases and names (children's names, incomes,
// Social Security numbers): other accounts on the computer get no access to it. A file in a
// shared folder (one whose group may write in it, as an office's shared folder is set up) is
// shared with that group: it gets the folder's group and 0660; anywhere else it is 0600. Files
// are created with these permissions before anything is written into them, so no reader ever
// sees them open; SQLite gives a database's journal the permissions of its database.
namespace PrivateFiles {

// Makes `path` ready to be written: creates it empty with the permissions above when it is
// missing, or narrows an existing file of this account's to them. `created` tells whether the
// file was made here (so that a writer that fails can remove it). False with the reason when the
// file cannot be created.
bool prepare(const QString& path, QString* error = nullptr, bool* created = nullptr);

// Narrows an existing file of this account's to the permissions above (never widens them).
void restrict(const QString& path);

// Copies `source` to a new file `target` (an existing one is replaced) with the permissions above.
bool copy(const QString& source, const QString& target, QString* error = nullptr);

// Creates `path` and its missing parents; the folders made here are 0700.
bool makePrivateFolder(const QString& path);

} // namespace PrivateFiles

} // namespace cs42
