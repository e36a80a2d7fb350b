#pragma once

#include "core/store/DataPaths.h"
#include "core/store/WindowPlacement.h"

namespace cs42 {

// What the data-store half of start-up could not do, for the caller to tell the user.
struct StartUpReport
{
    // Not empty when the settings database exists but cannot be read. The files location is then
    // unknown (the cases may live in a shared folder), so the names and cases databases were not
    // made in the default folder: replaceDamagedSettings() does that once the user agrees.
    QString settingsProblem;
    // The cases database is held by another workstation (start-up could not upgrade it).
    bool casesBusy = false;
    // Not empty when the files location is a server that could not be used (not reached, the
    // login refused): the reason, naming the server.
    QString serverProblem;
};

// The data-store half of start-up: makes sure that every database file, table and column exists
// and reads the files location from the settings database.
class DataStore
{
public:
    // Runs start-up for a working directory: creates <dataDrive>/VTRForms when it is missing,
    // then ensures the settings database, loads the files location, ensures the names and cases
    // databases there and the schedule database, removes temporary files that an interrupted
    // backup or restore left behind, and installs missing data (InstalledData::install).
    // A non-empty `filesLocation` (a folder or a server URI) is used for this run in place of the
    // stored one, which is left as it was.
    static DataPaths startUp(const QString& workingDirectory,
                             StartUpReport* report = nullptr,
                             const QString& filesLocation = QString());

    static void ensureSettingsDatabase(const DataPaths& paths);
    // Reads `fileslocation` from the first row of Main (adding the row on first use) into
    // paths.filesLocation; Null option fields become empty texts. When the settings cannot be
    // read, paths.filesLocation is left as it was and the reason is returned.
    static QString loadSettings(DataPaths& paths);
    // Ensures the names and cases databases at the files location; false when the cases database
    // is held by another workstation or, on a server, either table cannot be used (`problem` says
    // why: not reached, a change that was refused, a table that would change what is stored).
    static bool setDataPaths(const DataPaths& paths, QString* problem = nullptr);
    static void ensureNamesDatabase(const DataPaths& paths);
    static bool ensureCasesDatabase(const DataPaths& paths, QString* problem = nullptr);
    static void ensureScheduleDatabase(const DataPaths& paths);
    // Stores paths.filesLocation in the first row of Main.
    static bool saveFilesLocation(const DataPaths& paths);
    // The id of the form edition every case added from now on takes: the edition
    // `Main.defaultedition` names (matched without regard to case), or FormEditions::DefaultId
    // when the settings name none. A stored value that names no edition this program knows is
    // never applied: DefaultId is returned and *problem says which value it was (empty otherwise).
    static QString defaultEdition(const DataPaths& paths, QString* problem = nullptr);
    // Stores an edition's id as `Main.defaultedition`; false when the settings cannot be written.
    static bool saveDefaultEdition(const DataPaths& paths, const QString& edition);
    // The main window's placement on this workstation (`Main.windowplacement`), when one was kept.
    static std::optional<WindowPlacement> windowPlacement(const DataPaths& paths);
    static bool saveWindowPlacement(const DataPaths& paths, const WindowPlacement& placement);
    // The folder a copy of a document was last saved in on this workstation (`Main.savefolder`);
    // empty when none was.
    static QString lastSaveFolder(const DataPaths& paths);
    static bool saveLastSaveFolder(const DataPaths& paths, const QString& folder);

    // Where a settings database that cannot be read is kept when new settings replace it.
    static QString damagedSettingsPath(const DataPaths& paths);
    // Keeps the unreadable settings file as damagedSettingsPath(), makes new settings with the
    // default files location and ensures the names and cases databases there. False (with the
    // reason) when the damaged file cannot be moved aside.
    static bool replaceDamagedSettings(DataPaths& paths, QString* error = nullptr);
};

} // namespace cs42
