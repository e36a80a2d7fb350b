#include "ui/names/PartySelection.h"

namespace cs42 {

std::optional<PartyChoice> chooseParty(Session&, QWidget*, Party, const QString&)
{
    return std::nullopt; // placeholder until the Names window is built
}

} // namespace cs42
