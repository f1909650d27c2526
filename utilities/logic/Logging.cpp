#include "utilities/logic/Logging.h"

Q_LOGGING_CATEGORY(logUtilities, "quorvela.utilities")
