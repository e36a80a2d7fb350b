#include "ui/names/PartySelection.h"

#include "core/names/NameRecord.h"
#include "core/names/PartyAddressBlock.h"
#include "ui/app/Session.h"
#include "ui/names/Names.h"

namespace cs42 {

std::optional<PartyChoice>
chooseParty(Session& session, QWidget* parent, Party party, const QString& storedKey)
{
    session.dialogTitle = party == Party::Plaintiff ? QStringLiteral("Select Name of Plaintiff")
                                                    : QStringLiteral("Select Name of Defendant");
    session.selectedKey = storedKey;
    Names window(session, parent);
    window.exec();
    switch (window.outcome()) {
    case Names::Outcome::Selected: {
        const NameRecord name(session.selectedName);
        return PartyChoice{name.listName(), name.keyNumber(), partyAddressBlock(name)};
    }
    case Names::Outcome::NoSelection:
        return PartyChoice{
            QString(QLatin1String("")), QString(QLatin1String("")), QString(QLatin1String(""))};
    case Names::Outcome::Closed:
        break;
    }
    // Closed any other way: what was picked last may belong to the other party or another case.
    return std::nullopt;
}

} // namespace cs42
