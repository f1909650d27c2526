#include "records/logic/Logging.h"

Q_LOGGING_CATEGORY(logRecords, "quorvela.records")
