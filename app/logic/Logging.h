#pragma once

#include <QLoggingCategory>

// Messages of the app area, "quorvela.app": the failures the program goes on after.
Q_DECLARE_LOGGING_CATEGORY(logApp)
