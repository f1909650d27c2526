#include "maintenance/logic/Logging.h"

Q_LOGGING_CATEGORY(logMaintenance, "quorvela.maintenance")
