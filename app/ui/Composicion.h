#pragma once

#include <QDate>
#include <functional>
#include <memory>

class DataViews;
class Graficos;
class Mensajes;
class Trafo;
class VentanasMetodo;
struct RunState;
namespace informe {
class ImpresionInformes;
}

// The main window as the program composes it: the record tabs, the test's three-lamp light,
// the gas-method windows that follow the test shown, and the calendar window behind the date
// boxes. Start-up and the window tests build it through this one function.
struct VentanaCompuesta
{
    std::unique_ptr<Trafo> trafo;
    VentanasMetodo* metodos = nullptr;              // owned by the window
    Graficos* graficos = nullptr;                   // owned by the window
    informe::ImpresionInformes* informes = nullptr; // the report buttons' engine; owned by the window
};

VentanaCompuesta componerVentana(RunState& estado, DataViews& vistas, Mensajes& mensajes,
                                 std::function<QDate()> hoy);
