#pragma once

#include <QString>

namespace cs42 {

// The program's fixed settings, held for the whole run.
namespace ProgramSettings {
inline const QString LongTitle = QStringLiteral("2017 Quon Child Support Software");
inline const QString ShortTitle = QStringLiteral("2017 QN Child Support Software");
inline const QString VersionText = QStringLiteral("VTR Version 2017.09.20");
inline const QString CasesDbName = QStringLiteral("QUONDATA.MDB");
// Title of every message box that names no title of its own.
inline const QString AppTitle = QStringLiteral("Quon2017");
inline const QString MakerName = QStringLiteral("Tessaly");
inline const QString MakerWebAddress = QStringLiteral("www.tessaly.example");

// "Tessaly (www.tessaly.example)", as the messages name the maker.
inline QString makerContact()
{
    return MakerName + QStringLiteral(" (") + MakerWebAddress + QLatin1Char(')');
}

// Sizes of the hosted windows, in twips (15 twips a pixel).
constexpr int ChildWindowWidth = 15700;
constexpr int ChildWindowHeight = 9000;
constexpr int TwipsPerPixel = 15;
constexpr int DefaultHighlightColorIndex = 14;

constexpr int twipsToPixels(int twips)
{
    return twips / TwipsPerPixel;
}
} // namespace ProgramSettings

} // namespace cs42
