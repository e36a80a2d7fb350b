#pragma once

#include <QLoggingCategory>

// One logging category per subsystem, for what a support person needs to see when a user reports
// a failure: enable with QT_LOGGING_RULES="cs42.*=true".
Q_DECLARE_LOGGING_CATEGORY(lcStore)
Q_DECLARE_LOGGING_CATEGORY(lcSchedule)
Q_DECLARE_LOGGING_CATEGORY(lcWorksheet)
Q_DECLARE_LOGGING_CATEGORY(lcProduce)
Q_DECLARE_LOGGING_CATEGORY(lcNames)
