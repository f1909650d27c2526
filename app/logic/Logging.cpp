#include "app/logic/Logging.h"

Q_LOGGING_CATEGORY(logApp, "quorvela.app")
