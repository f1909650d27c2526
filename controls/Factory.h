#pragma once

#include <QString>

class QWidget;

#if defined(LUMERIX_BUILD)
#define LUMERIX_EXPORT __attribute__((visibility("default")))
#else
#define LUMERIX_EXPORT
#endif

namespace lumerix {

// Creates a control of the library from its identifier ("Lumerix.SemaforoLuz",
// "Lumerix.Registro"). An unknown identifier returns nullptr and fills error.
LUMERIX_EXPORT QWidget* createControl(const QString& identifier, QWidget* parent, QString* error = nullptr);

} // namespace lumerix
