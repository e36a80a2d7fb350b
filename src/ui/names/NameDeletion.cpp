#include "ui/names/NameDeletion.h"

#include "core/store/ProgramSettings.h"
#include "ui/common/Interaction.h"

namespace cs42::NameDeletion {

bool confirm(
    Interaction& interaction, QWidget* parent, bool isProtected, const QString& refusal, const QString& entry)
{
    if (isProtected) {
        interaction.inform(parent, QStringLiteral("Delete '%1'").arg(ProgramSettings::MakerName), refusal);
        return false;
    }
    if (entry.isEmpty())
        return false;
    return interaction.ask(parent,
                           QStringLiteral("Delete '") + entry.left(100).trimmed() + QLatin1Char('\''),
                           QStringLiteral("Are you sure you want to delete this Name?")) ==
           Interaction::Answer::Yes;
}

} // namespace cs42::NameDeletion
