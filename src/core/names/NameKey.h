#pragma once

#include <QString>

#include <functional>

namespace cs42 {

// Keys of new name records (MakeNameKey): the first character of the upper-cased sort form, then
// seven digits: n, a whole number below 99999999, in decimal followed by "00000000", cut to seven
// characters.
namespace NameKey {
constexpr quint32 Range = 99999999;

QString digitsFor(quint32 n);
// The key for the random number `n` (0 <= n < Range). An empty sort form gives a leading blank,
// so that every key has eight characters and can be read back from the end of a list entry.
QString make(const QString& sortForm, quint32 n);
// Draws n from a clock-seeded generator, and draws again while `exists` says the key is taken,
// so that two records never share a key.
QString makeUnique(const QString& sortForm, const std::function<bool(const QString&)>& exists);
} // namespace NameKey

} // namespace cs42
