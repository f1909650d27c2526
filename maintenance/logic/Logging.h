#pragma once

#include <QLoggingCategory>

// Messages of the maintenance area, "quorvela.maintenance": the failures the program goes on after.
Q_DECLARE_LOGGING_CATEGORY(logMaintenance)
