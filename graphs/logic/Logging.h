#pragma once

#include <QLoggingCategory>

// Messages of the graphs area, "quorvela.graphs": the failures the program goes on after.
Q_DECLARE_LOGGING_CATEGORY(logGraphs)
