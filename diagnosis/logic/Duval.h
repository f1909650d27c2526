#pragma once

#include "diagnosis/logic/MetodosGas.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <array>
#include <optional>

// Duval's Triangle 1 and Pentagon 1 for mineral oil: every sample with the needed gases falls
// in exactly one zone, where the ratio methods may leave it unclassified.
namespace diagnostico::duval {

// ---- Triangle 1: CH4, C2H4 and C2H2 as percentages of their sum ----

enum class ZonaTriangulo
{
    PD,
    T1,
    T2,
    T3,
    D1,
    D2,
    DT,
};

struct Triangulo
{
    double ch4 = 0, c2h4 = 0, c2h2 = 0; // percentages
    ZonaTriangulo zona = ZonaTriangulo::DT;
};

// Nothing when the three gases add up to 0.
std::optional<Triangulo> triangulo(double ch4, double c2h4, double c2h2);
std::optional<Triangulo> triangulo(const Gases& gases);

QString codigo(ZonaTriangulo zona);      // "PD", "T1", ...
QString significado(ZonaTriangulo zona); // the zone's meaning in Spanish
const QList<ZonaTriangulo>& zonasTriangulo();

// A point of the triangle as (CH4, C2H4, C2H2) percentages.
using Ternario = std::array<double, 3>;
// The corners of a zone, for drawing.
const QList<Ternario>& esquinas(ZonaTriangulo zona);

// ---- Pentagon 1: five gases as percentages on five axes, the centroid classified ----

enum class ZonaPentagono
{
    PD,
    D1,
    D2,
    T3,
    T2,
    T1,
    S,
};

struct Pentagono
{
    // H2, C2H6, CH4, C2H4, C2H2 as percentages of their sum, in the order of their axes.
    std::array<double, 5> porcentajes{};
    QPointF centroide;
    ZonaPentagono zona = ZonaPentagono::S;
};

// The axes' angles in degrees, counter-clockwise from the x axis, in the order of
// `Pentagono::porcentajes`: H2 90, C2H6 162, CH4 234, C2H4 306, C2H2 18.
const std::array<double, 5>& angulosEjes();
// "H2", "C2H6", "CH4", "C2H4", "C2H2".
const std::array<QString, 5>& nombresEjes();

// Nothing when the five gases add up to 0.
std::optional<Pentagono> pentagono(double h2, double c2h6, double ch4, double c2h4, double c2h2);
std::optional<Pentagono> pentagono(const Gases& gases);
// The area centroid of the pentagon drawn by five percentages on their axes.
QPointF centroide(const std::array<double, 5>& porcentajes);

QString codigo(ZonaPentagono zona);
QString significado(ZonaPentagono zona);
const QList<ZonaPentagono>& zonasPentagono();
// The zone's polygon in the centroid's units (the outer pentagon has radius 40).
const QList<QPointF>& esquinas(ZonaPentagono zona);
ZonaPentagono zonaDe(const QPointF& punto);

} // namespace diagnostico::duval
