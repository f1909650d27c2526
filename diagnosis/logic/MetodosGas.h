#pragma once

#include "diagnosis/logic/Totales.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <optional>

// The three dissolved-gas methods (Dörnenburg, Rogers, gas ratios): their tables as data and
// one evaluator that the method windows, the test tab and the batch all call.
namespace diagnostico {

enum class Gas
{
    H2,
    CH4,
    C2H6,
    C2H4,
    C2H2,
};

// Concentrations in ppm of the gases the methods read.
struct Gases
{
    double h2 = 0;
    double ch4 = 0;
    double c2h6 = 0;
    double c2h4 = 0;
    double c2h2 = 0;

    double valor(Gas gas) const;
};

// From the box texts of the test on screen (numeric value rule) or from a stored test row.
Gases gasesDeTextos(const TextosEnsayo& textos);
Gases gasesGuardados(const QVariantMap& fila);

// The screen every method passes before it judges a test: one key gas above twice its limit
// and another above its limit (H2 100, CH4 120, C2H4 50, C2H2 35), all strictly.
bool pantallaAplicable(const Gases& gases);

// numerador / denominador, or -1 when the denominator is 0 (not computable).
double razon(double numerador, double denominador);

enum class Cota
{
    Mayor,       // x > a
    Menor,       // x < a
    MayorOIgual, // x >= a
    MenorOIgual, // x <= a
    Entre,       // a <= x <= b
    Siempre,     // shown with no test
};

// One cell of a method table: its caption and the test its ratio must pass.
struct Criterio
{
    int razon = 0;   // index of the ratio in the method
    int columna = 0; // cell column of the table
    QString leyenda; // caption exactly as the window shows it
    Cota cota = Cota::Siempre;
    double a = 0;
    double b = 0;

    // A not-computable (negative) ratio passes no test; a Siempre cell always shows.
    bool cumple(double valorRazon) const;
};

struct FilaCriterios
{
    QString fallo; // fault name shown when every cell of the row shows
    QList<Criterio> celdas;
};

struct RazonGases
{
    Gas numerador;
    Gas denominador;
    QString nombre; // "CH4/H2"
};

struct TablaMetodo
{
    QString titulo;
    QList<RazonGases> razones;
    QStringList columnas; // heads of the cell columns, left to right
    QList<FilaCriterios> filas;
};

const TablaMetodo& tablaDornenburg();
const TablaMetodo& tablaRogers();
const TablaMetodo& tablaRelacionGases();

// What a method reads of the current test. Null flags arrive as false.
struct EnsayoGases
{
    bool hayEnsayo = false; // the test record set has a current row
    bool gas = false;       // `GAS`: the gas group was tested
    bool forzado = false;   // `FD`: the gas diagnosis is forced to doubtful
    Gases gases;
};

struct ResultadoMetodo
{
    bool aplica = false;         // a current test with `GAS`, and the screen holds or it is forced
    bool forzado = false;        // "Forzado" shows: `GAS` and `FD`
    QList<double> razones;       // in the method's order; -1 where not computable
    QList<QList<bool>> visibles; // per row and cell of the table: the cell shows
    QList<bool> fallosVisibles;  // per row: the fault name shows
    QStringList celdas;          // captions shown, row by row in table order
    QStringList fallos;          // fault names shown, in table order
};

ResultadoMetodo evaluarMetodo(const TablaMetodo& tabla, const EnsayoGases& ensayo);
ResultadoMetodo evaluarRogers(const EnsayoGases& ensayo);
ResultadoMetodo evaluarRelacionGases(const EnsayoGases& ensayo);

struct ResultadoDornenburg : ResultadoMetodo
{
    // The chart's point (EjeX = C2H2/C2H4, EjeY = CH4/H2) after clamping; only when the
    // method applies: otherwise the chart shows no point.
    std::optional<QPointF> punto;
};

ResultadoDornenburg evaluarDornenburg(const EnsayoGases& ensayo);

// The Dörnenburg ratio chart: log-log over five decades, ten chart units per decade.
namespace grafico {

constexpr double kEjeMinimo = 0.001;
constexpr double kEjeMaximo = 100;
// One chart unit in twips, horizontally and vertically, and the control's fixed size.
constexpr double kTwipsUnidadX = 49.5;
constexpr double kTwipsUnidadY = 39;
constexpr int kAnchoTwips = 4110;
constexpr int kAltoTwips = 3015;

// The plot rectangle in chart units.
QRectF rectanguloTrazado();
// A value written to EjeX or EjeY is kept within [0.001, 100].
double recortarEje(double valor);
// Centre of the marker in chart units for the stored axis values.
QPointF centroMarcador(double ejeX, double ejeY);

} // namespace grafico

} // namespace diagnostico
