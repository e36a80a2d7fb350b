#pragma once

#include "core/store/DataPaths.h"

namespace cs42 {

// The data-store half of start-up: makes sure that every database file, table and column exists
// and reads the files location from the settings database. Nothing here is reported to the user;
// the first visible failure is the cases database that cannot be opened.
class DataStore
{
public:
    // Runs start-up for a working directory: creates <dataDrive>/VTRForms when it is missing,
    // then ensures the settings database, loads the files location, ensures the names and cases
    // databases there and the schedule database.
    static DataPaths startUp(const QString& workingDirectory);

    static void ensureSettingsDatabase(const DataPaths& paths);
    // Reads `fileslocation` from the first row of Main (adding the row on first use) into
    // paths.filesLocation; Null option fields become empty texts.
    static void loadSettings(DataPaths& paths);
    // Ensures the names and cases databases at the files location.
    static void setDataPaths(const DataPaths& paths);
    static void ensureNamesDatabase(const DataPaths& paths);
    static void ensureCasesDatabase(const DataPaths& paths);
    static void ensureScheduleDatabase(const DataPaths& paths);
    // Stores paths.filesLocation in the first row of Main.
    static bool saveFilesLocation(const DataPaths& paths);
};

} // namespace cs42
