#pragma once

#include "core/store/DataPaths.h"

#include <QString>

namespace cs42 {

// Moving the files location to another folder: whether the folder holds databases of its own,
// and a consistent copy of the current cases and names databases into it.
namespace DataMove {

// True when `folder` holds a cases or a names database.
bool holdsDatabases(const DataPaths& paths, const QString& folder);

// Copies the cases and names databases of `paths` into `folder` with SQLite's own copy (VACUUM
// INTO, consistent while another workstation writes), each to a temporary file that is then
// renamed into place. An existing file is never replaced: nothing is copied when either is there.
// On failure nothing is left behind and *error says why.
bool copyDatabases(const DataPaths& paths, const QString& folder, QString* error);

} // namespace DataMove

} // namespace cs42
