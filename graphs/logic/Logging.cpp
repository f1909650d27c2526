#include "graphs/logic/Logging.h"

Q_LOGGING_CATEGORY(logGraphs, "quorvela.graphs")
