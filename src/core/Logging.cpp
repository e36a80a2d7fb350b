#include "core/Logging.h"

Q_LOGGING_CATEGORY(lcStore, "cs42.store")
Q_LOGGING_CATEGORY(lcSchedule, "cs42.schedule")
Q_LOGGING_CATEGORY(lcWorksheet, "cs42.worksheet")
Q_LOGGING_CATEGORY(lcProduce, "cs42.produce")
Q_LOGGING_CATEGORY(lcNames, "cs42.names")
