#pragma once

#include <QString>

#include <functional>

namespace cs42 {

// Keys of new cases: the first two characters of the upper-cased case name, then six digits
// taken from a random fraction r (0 <= r < 1): the whole part of 99999999 * r in decimal,
// followed by "00000000", cut to six characters.
namespace CaseKey {
QString digitsFor(double fraction, int count = 6);
QString make(const QString& caseName, double fraction);
// Draws keys from a clock-seeded generator until `exists` says a key is free, so that two cases
// never share a key.
QString makeUnique(const QString& caseName, const std::function<bool(const QString&)>& exists);
} // namespace CaseKey

} // namespace cs42
