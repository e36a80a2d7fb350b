#include "ui/shell/DefaultForm.h"

#include "core/startup/DataStore.h"
#include "core/worksheet/FormEdition.h"
#include "ui/common/Interaction.h"
#include "ui/common/Session.h"

namespace cs42::DefaultForm {

QString title()
{
    return QStringLiteral("Default Form");
}

QString prompt()
{
    return QStringLiteral("The form every new case is prepared on (a case's own form is changed on its "
                          "worksheet):");
}

QStringList items()
{
    QStringList texts;
    for (const FormEdition* edition : FormEditions::all())
        texts << edition->title + QStringLiteral(", ") + edition->appliesTo;
    return texts;
}

bool choose(Session& session, QWidget* parent)
{
    Interaction& interaction = *session.interaction;
    QString problem;
    const QString current = DataStore::defaultEdition(session.paths, &problem);
    if (!problem.isEmpty())
        interaction.inform(parent, title(), problem, Interaction::Icon::Warning);
    const QList<const FormEdition*> editions = FormEditions::all();
    int index = 0;
    for (qsizetype i = 0; i < editions.size(); ++i) {
        if (editions[i]->id == current)
            index = static_cast<int>(i);
    }
    const std::optional<int> chosen = interaction.chooseItem(parent, title(), prompt(), items(), index);
    if (!chosen || *chosen < 0 || *chosen >= editions.size())
        return false;
    if (!DataStore::saveDefaultEdition(session.paths, editions[*chosen]->id)) {
        interaction.inform(parent,
                           title(),
                           QStringLiteral("The default form could not be stored in the settings '%1'. New "
                                          "cases keep taking %2.")
                               .arg(session.paths.settingsDbPath(), editions[index]->title),
                           Interaction::Icon::Warning);
        return false;
    }
    return true;
}

} // namespace cs42::DefaultForm
