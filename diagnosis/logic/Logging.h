#pragma once

#include <QLoggingCategory>

// Messages of the diagnosis area, "quorvela.diagnosis": the failures the program goes on after.
Q_DECLARE_LOGGING_CATEGORY(logDiagnosis)
