#pragma once

#include "diagnosis/logic/EvaluacionEnsayo.h"

#include <QList>
#include <QString>

// The threshold rules of an oil test, written once: the test tab and the general diagnosis
// both read them from here, each in its own order.
namespace diagnostico::reglas {

enum class Grupo
{
    Efq,
    Kf,
    Fur,
    Met,
    Pcb,
    Gas,
    Ld,
    In,
};

enum class Efecto
{
    Ninguno, // the text alone: counts nothing, changes no light
    Aviso,   // counts, yellow
    Grave,   // counts, red
};

struct Regla
{
    int numero = 0;
    Grupo grupo = Grupo::Efq;
    QString campo; // the box it reads and colours
    QString texto; // observation, with its leading blank
    Resaltado color = Resaltado::Normal;
    Efecto efecto = Efecto::Ninguno;
    bool (*condicion)(double) = nullptr;

    bool dispara(double x) const { return condicion(x); }
};

// Threshold rules by number: 8, 9, 10, 11, 12 (inhibitor conditions alone), 13 to 23, 25.
const Regla& regla(int numero);

// A gas fault of the gas-ratio table with the effect it has on the test.
struct ReglaGas
{
    int fila = 0; // row of the gas-ratio table (0 to 5)
    Efecto efecto = Efecto::Aviso;
};
// Rules 2 to 7 in their order: rows 1, 2, 4, 5, 6 and 3 of the table.
const QList<ReglaGas>& reglasGas();

QString textoDudoso();                       // " Gases: Dudoso"
QString textoFalloGas(const QString& fallo); // " Gases: " + fault
QString textoLodos(const QString& cantidad); // " Contiene Lodos en MEDIA Cantidad"
QString textoPcbBajo();                      // " Contiene PCB en Baja Cantidad"
QString textoSinEnsayos();                   // " Sin Ensayos"
// A sludge amount that reports nothing: "NO CONTIENE", the blank item, or nothing at all.
bool sinLodos(const QString& cantidad);

} // namespace diagnostico::reglas
