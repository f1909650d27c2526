#pragma once

#include <QLoggingCategory>

// Messages of the data area, "quorvela.data": the failures the program goes on after.
Q_DECLARE_LOGGING_CATEGORY(logData)
