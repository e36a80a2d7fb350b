#pragma once

#include "core/names/NameRecord.h"

#include <QString>

namespace cs42 {

// The address block the worksheet stores for a party (name1field / name2field): lines separated
// by a single carriage return (code 13, no line feed):
//   listname as stored
//   the trimmed shortnote, when it is not empty
//   trimmed street + " " + trimmed street2 (always present)
//   trimmed city + 4 blanks (when city is not empty), trimmed state + 3 blanks (when not empty),
//   trimmed zip code
QString partyAddressBlock(const NameRecord& name);

} // namespace cs42
