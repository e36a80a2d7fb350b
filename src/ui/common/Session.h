#pragma once

#include "core/store/DataPaths.h"
#include "core/store/ProgramSettings.h"

#include <QDate>
#include <QString>

#include <functional>

namespace cs42 {

class Interaction;

// The state of one run that the windows share: the data paths, the current case, the window
// hosted last and the worksheet's highlight colour. Windows get it by reference.
struct Session
{
    DataPaths paths;
    Interaction* interaction = nullptr;

    QString currentCaseId;   // empty: no current case yet
    QString currentCaseName; // as shown in the library, cut to 30 characters and trimmed
    QString currentWindowName;
    int highlightColorIndex = ProgramSettings::DefaultHighlightColorIndex;
    bool utilitiesAllowed = false; // set once the case library has opened

    // Today's date; tests replace it so that dates are repeatable.
    std::function<QDate()> today = [] {
        return QDate::currentDate();
    };
};

} // namespace cs42
