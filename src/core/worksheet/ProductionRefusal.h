#pragma once

#include "core/store/DataPaths.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QString>

namespace cs42 {

// The title of the message that refuses production (the one of the save failure too).
inline const QString ProductionRefusalTitle = QStringLiteral("Unable to Produce Form");

// Whether the court form may be produced from this worksheet: the empty text when it may,
// otherwise the message that says why not, one paragraph per reason (CR LF between them). The
// form is refused while its figures would be wrong or contradict one another: no usable schedule
// behind line 4 (unless an override sets line 4), a stored amount that cannot be used, a
// parent's line 2 below 0, or no child named. The worksheet window and cs42-admin both ask it.
// A case whose stored edition this program does not know is refused for that reason alone.
QString productionRefusal(const Worksheet& sheet, const DataPaths& paths);

// Why the figures of a case whose stored form edition (`edition`, "2024") this program does not
// know may not be used, naming the edition and the ones the program knows.
QString unknownEditionText(const QString& edition);

} // namespace cs42
