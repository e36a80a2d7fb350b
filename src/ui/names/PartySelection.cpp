#include "ui/names/PartySelection.h"

#include "core/names/PartyAddressBlock.h"
#include "ui/names/Names.h"

namespace cs42 {

std::optional<PartyChoice>
chooseParty(Session& session, QWidget* parent, Party party, const QString& storedKey)
{
    const QString title = party == Party::Plaintiff ? QStringLiteral("Select Name of Plaintiff")
                                                    : QStringLiteral("Select Name of Defendant");
    const NameChoice choice = Names::pick(session, parent, title, storedKey);
    switch (choice.outcome) {
    case NameChoice::Outcome::Selected:
        return PartyChoice{choice.name.listName(), choice.name.keyNumber(), partyAddressBlock(choice.name)};
    case NameChoice::Outcome::NoSelection:
        return PartyChoice{
            QString(QLatin1String("")), QString(QLatin1String("")), QString(QLatin1String(""))};
    case NameChoice::Outcome::Closed:
        break;
    }
    // Closed any other way: the case keeps its party.
    return std::nullopt;
}

} // namespace cs42
