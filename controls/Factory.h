#pragma once

#include "controls/LumerixExport.h"

#include <QString>

class QWidget;

namespace lumerix {

// Creates a control of the library from its identifier ("Lumerix.SemaforoLuz",
// "Lumerix.Registro"). An unknown identifier returns nullptr and fills error.
LUMERIX_EXPORT QWidget* createControl(const QString& identifier, QWidget* parent, QString* error = nullptr);

} // namespace lumerix
