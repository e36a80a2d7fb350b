#include "ui/shell/StartUpQuestions.h"

#include "core/store/CaseStore.h"
#include "ui/common/Interaction.h"
#include "ui/common/Session.h"

#include <QDir>

namespace cs42 {

namespace {
const QString SettingsTitle = QStringLiteral("Program Settings");

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}
} // namespace

QString unreadableSettingsQuestion(const DataPaths& paths, const QString& problem)
{
    return QStringLiteral(
               "The program settings file %1 cannot be read.  %2\r\n\r\n"
               "It holds the folder where the cases and names are kept, which may be a shared "
               "folder of this office, so the program does not know where they are.\r\n\r\n"
               "Choose Yes to go on with new settings: the damaged file is kept as %3, and the "
               "cases and names are taken from the default folder %4 (empty ones are made there "
               "if it has none).  Use 'Location' afterwards to choose a shared folder again.\r\n\r\n"
               "Choose No to end the program now, so that the settings file can be restored.")
        .arg(native(paths.settingsDbPath()),
             problem,
             native(DataStore::damagedSettingsPath(paths)),
             native(paths.defaultFilesLocation()));
}

bool settleStartUp(Session& session, const StartUpReport& report, QWidget* parent)
{
    Interaction& interaction = *session.interaction;
    // The office server holds every case: without it there is nothing to work on.
    if (!report.serverProblem.isEmpty()) {
        interaction.inform(parent,
                           CaseStore::openErrorTitle(),
                           CaseStore::openErrorText(session.paths.casesDbPath(), report.serverProblem),
                           Interaction::Icon::Critical);
        return false;
    }
    if (report.settingsProblem.isEmpty())
        return true;
    if (interaction.ask(parent,
                        SettingsTitle,
                        unreadableSettingsQuestion(session.paths, report.settingsProblem),
                        Interaction::Icon::Warning) != Interaction::Answer::Yes)
        return false;
    QString error;
    if (!DataStore::replaceDamagedSettings(session.paths, &error)) {
        interaction.inform(parent,
                           SettingsTitle,
                           QStringLiteral("New program settings could not be made, and the program will now "
                                          "end.\r\n\r\nThe file: %1\r\nThe cause: %2")
                               .arg(native(session.paths.settingsDbPath()), error),
                           Interaction::Icon::Critical);
        return false;
    }
    return true;
}

} // namespace cs42
