#include "data/logic/Logging.h"

Q_LOGGING_CATEGORY(logData, "quorvela.data")
