#pragma once

#include <QString>

class QWidget;

namespace quorvela {

// Creates one of the program's own controls from its identifier ("Quorvela.Semaforo").
// An unknown identifier returns nullptr and fills error.
QWidget* createControl(const QString& identifier, QWidget* parent, QString* error = nullptr);

} // namespace quorvela
