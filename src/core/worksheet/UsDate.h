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
// Two-digit years follow the common workstation setting: 00 to 29 are 2000 to 2029, 30 to 99 are
// 1930 to 1999. Years of three digits, and years before 100, are not accepted.
std::optional<QDate> parseUsDate(const QString& text);

// The stored form of a date: "MM/dd/yyyy" (03/07/2012).
QString formatUsDate(const QDate& date);

} // namespace cs42
