#pragma once

#include <QLoggingCategory>

// Messages of the records area, "quorvela.records": the failures the program goes on after.
Q_DECLARE_LOGGING_CATEGORY(logRecords)
