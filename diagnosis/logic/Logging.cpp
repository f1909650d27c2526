#include "diagnosis/logic/Logging.h"

Q_LOGGING_CATEGORY(logDiagnosis, "quorvela.diagnosis")
