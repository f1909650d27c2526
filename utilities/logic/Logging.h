#pragma once

#include <QLoggingCategory>

// Messages of the utilities area, "quorvela.utilities": the failures the program goes on after.
Q_DECLARE_LOGGING_CATEGORY(logUtilities)
