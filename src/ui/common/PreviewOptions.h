#pragma once

#include "core/store/DataPaths.h"

#include <QString>

namespace cs42 {

// How the program's preview window shows a document (Interaction::showDocument).
struct PreviewOptions
{
    QString title;    // the window's title
    QString saveName; // the file name "Save As" offers
    // The workstation's data: its settings remember the folder "Save As" offers, and no copy is
    // ever saved over one of the program's own files.
    DataPaths paths;
};

} // namespace cs42
