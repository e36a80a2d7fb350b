#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace cs42 {

// Reads a date as a user in the United States types it, month before day:
//   3/7/2012, 03/07/2012, 3-7-2012, 3.7.2012, 3/7/12      (month, day, year)
//   2012-03-07, 2012/3/7                                   (year first: year, month, day)
//   March 7, 2012   Mar 7 2012   Mar. 7, 2012              (month name first)
//   7 March 2012    7-Mar-2012                             (day, month name, year)
// Month names are English, full or abbreviated to three letters ("Sept" too), in any case.
// Blanks around the text and around the separators are ignored. A day or month out of range
// (13/45/2012, 2/30/2012) is not a date.
// A two-digit year is the latest year ending in those digits that is not after the year of
// `today` (in 2024, "24" is 2024 and "29" is 1929), so that a birth date typed with two digits is
// never read into the future. Years of three digits, and years before 100, are not accepted.
std::optional<QDate> parseUsDate(const QString& text, const QDate& today = QDate::currentDate());

// The stored form of a date: "MM/dd/yyyy" (03/07/2012).
QString formatUsDate(const QDate& date);

} // namespace cs42
