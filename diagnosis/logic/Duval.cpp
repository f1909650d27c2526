#include "diagnosis/logic/Duval.h"

#include <QtMath>
#include <cmath>
#include <limits>

namespace diagnostico::duval {

namespace {

// A percentage of a sum, multiplied first so that a value on a zone limit lands on it exactly.
double porcentaje(double valor, double suma)
{
    return 100.0 * valor / suma;
}

ZonaTriangulo zonaTriangulo(double ch4, double c2h4, double c2h2)
{
    if (ch4 >= 98)
        return ZonaTriangulo::PD;
    if (c2h2 < 4 && c2h4 < 20)
        return ZonaTriangulo::T1;
    if (c2h2 < 4 && c2h4 < 50)
        return ZonaTriangulo::T2;
    if (c2h2 < 15 && c2h4 >= 50)
        return ZonaTriangulo::T3;
    if (c2h4 < 23 && c2h2 >= 13)
        return ZonaTriangulo::D1;
    if ((c2h4 >= 23 && c2h2 >= 29) || (c2h4 >= 23 && c2h4 < 40 && c2h2 >= 13 && c2h2 < 29))
        return ZonaTriangulo::D2;
    return ZonaTriangulo::DT;
}

// The outer pentagon: radius 40, its corners on the five axes.
QPointF vertice(double grados)
{
    const double a = qDegreesToRadians(grados);
    return {40 * std::cos(a), 40 * std::sin(a)};
}

// A point of the outer pentagon's side between two corners, at height y.
QPointF enLado(const QPointF& a, const QPointF& b, double y)
{
    return {a.x() + (y - a.y()) / (b.y() - a.y()) * (b.x() - a.x()), y};
}

// The zone polygons use the published corners, except where a zone meets the outer pentagon:
// there its corners lie on the regular pentagon of radius 40 (the published (38, 12.4),
// (32, -6), (24, -30), (-35, 3) and the bottom at -32 are roundings of those points), so the
// zones cover the pentagon with no gap. T3 and T1 reach the bottom corners.
struct PoligonosPentagono
{
    QList<QPointF> zonas[7];

    PoligonosPentagono()
    {
        const QPointF arriba = vertice(90), derecha = vertice(18), abajoDerecha = vertice(306),
                      abajoIzquierda = vertice(234), izquierda = vertice(162);
        const double fondo = abajoDerecha.y();
        const QPointF d1d2 = enLado(derecha, abajoDerecha, -6);
        const QPointF d2t3 = enLado(derecha, abajoDerecha, -30);
        const QPointF t1s = enLado(izquierda, abajoIzquierda, 3);
        zonas[int(ZonaPentagono::PD)] = {{-1, 24.5}, {-1, 33}, {0, 33}, {0, 24.5}};
        zonas[int(ZonaPentagono::D1)] = {arriba, derecha, d1d2, {4, 16}, {0, 1.5}};
        zonas[int(ZonaPentagono::D2)] = {{4, 16}, d1d2, d2t3, {-1, -2}};
        zonas[int(ZonaPentagono::T3)] = {d2t3, abajoDerecha, {1, fondo}, {-6, -4}, {-1, -2}};
        zonas[int(ZonaPentagono::T2)] = {{1, fondo}, {-6, -4}, {-22.5, fondo}};
        zonas[int(ZonaPentagono::T1)] = {{-22.5, fondo}, abajoIzquierda, t1s, {0, 1.5}, {-1, -2}, {-6, -4}};
        zonas[int(ZonaPentagono::S)] = {t1s,      izquierda,  arriba,    {0, 33},
                                        {-1, 33}, {-1, 24.5}, {0, 24.5}, {0, 1.5}};
    }
};

const PoligonosPentagono& poligonos()
{
    static const PoligonosPentagono p;
    return p;
}

double distanciaAlSegmento(const QPointF& p, const QPointF& a, const QPointF& b)
{
    const QPointF ab = b - a;
    const double largo2 = QPointF::dotProduct(ab, ab);
    const double t = largo2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / largo2, 0.0, 1.0) : 0.0;
    const QPointF q = a + t * ab;
    return std::hypot(p.x() - q.x(), p.y() - q.y());
}

double distanciaAlBorde(const QPointF& p, const QList<QPointF>& poligono)
{
    double d = std::numeric_limits<double>::infinity();
    for (qsizetype i = 0; i < poligono.size(); ++i)
        d = std::min(d, distanciaAlSegmento(p, poligono.at(i), poligono.at((i + 1) % poligono.size())));
    return d;
}

// Inside or on the border (within a rounding error).
bool dentro(const QPointF& p, const QList<QPointF>& poligono)
{
    if (distanciaAlBorde(p, poligono) < 1e-9)
        return true;
    bool adentro = false;
    for (qsizetype i = 0, j = poligono.size() - 1; i < poligono.size(); j = i++) {
        const QPointF& a = poligono.at(i);
        const QPointF& b = poligono.at(j);
        if ((a.y() > p.y()) != (b.y() > p.y()) &&
            p.x() < (b.x() - a.x()) * (p.y() - a.y()) / (b.y() - a.y()) + a.x())
            adentro = !adentro;
    }
    return adentro;
}

// Signed area and area centroid of a polygon.
std::pair<double, QPointF> areaYCentroide(const std::array<QPointF, 5>& p)
{
    double a = 0, cx = 0, cy = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const QPointF& u = p[i];
        const QPointF& v = p[(i + 1) % p.size()];
        const double cruz = u.x() * v.y() - v.x() * u.y();
        a += cruz;
        cx += (u.x() + v.x()) * cruz;
        cy += (u.y() + v.y()) * cruz;
    }
    a /= 2;
    if (a == 0)
        return {0, {}};
    return {a, {cx / (6 * a), cy / (6 * a)}};
}

} // namespace

std::optional<Triangulo> triangulo(double ch4, double c2h4, double c2h2)
{
    const double suma = ch4 + c2h4 + c2h2;
    if (!(suma > 0) || !std::isfinite(suma))
        return std::nullopt;
    Triangulo t{porcentaje(ch4, suma), porcentaje(c2h4, suma), porcentaje(c2h2, suma), ZonaTriangulo::DT};
    t.zona = zonaTriangulo(t.ch4, t.c2h4, t.c2h2);
    return t;
}

std::optional<Triangulo> triangulo(const Gases& g)
{
    return triangulo(g.ch4, g.c2h4, g.c2h2);
}

QString codigo(ZonaTriangulo zona)
{
    static const char* const k[] = {"PD", "T1", "T2", "T3", "D1", "D2", "DT"};
    return QString::fromLatin1(k[int(zona)]);
}

QString significado(ZonaTriangulo zona)
{
    static const char* const k[] = {
        "Descargas parciales",
        "Falla térmica, T < 300 °C",
        "Falla térmica, 300 °C < T < 700 °C",
        "Falla térmica, T > 700 °C",
        "Descargas de baja energía",
        "Descargas de alta energía",
        "Mezcla de fallas eléctricas y térmicas",
    };
    return QString::fromUtf8(k[int(zona)]);
}

const QList<ZonaTriangulo>& zonasTriangulo()
{
    using Z = ZonaTriangulo;
    static const QList<Z> k = {Z::PD, Z::T1, Z::T2, Z::T3, Z::D1, Z::D2, Z::DT};
    return k;
}

const QList<Ternario>& esquinas(ZonaTriangulo zona)
{
    static const QList<Ternario> k[] = {
        {{98, 2, 0}, {100, 0, 0}, {98, 0, 2}},
        {{76, 20, 4}, {80, 20, 0}, {98, 2, 0}, {98, 0, 2}, {96, 0, 4}},
        {{46, 50, 4}, {50, 50, 0}, {80, 20, 0}, {76, 20, 4}},
        {{0, 85, 15}, {0, 100, 0}, {50, 50, 0}, {35, 50, 15}},
        {{0, 0, 100}, {0, 23, 77}, {64, 23, 13}, {87, 0, 13}},
        {{0, 23, 77}, {0, 71, 29}, {31, 40, 29}, {47, 40, 13}, {64, 23, 13}},
        {{0, 71, 29},
         {0, 85, 15},
         {35, 50, 15},
         {46, 50, 4},
         {96, 0, 4},
         {87, 0, 13},
         {47, 40, 13},
         {31, 40, 29}},
    };
    return k[int(zona)];
}

const std::array<double, 5>& angulosEjes()
{
    static const std::array<double, 5> k = {90, 162, 234, 306, 18};
    return k;
}

const std::array<QString, 5>& nombresEjes()
{
    static const std::array<QString, 5> k = {QStringLiteral("H2"), QStringLiteral("C2H6"),
                                             QStringLiteral("CH4"), QStringLiteral("C2H4"),
                                             QStringLiteral("C2H2")};
    return k;
}

QPointF centroide(const std::array<double, 5>& porcentajes)
{
    // The vertices counter-clockwise: C2H2 (18°), H2, C2H6, CH4, C2H4.
    static const size_t kOrden[5] = {4, 0, 1, 2, 3};
    auto vertices = [&](double minimo) {
        std::array<QPointF, 5> p;
        for (size_t i = 0; i < 5; ++i) {
            const size_t eje = kOrden[i];
            const double r = std::max(porcentajes[eje], minimo);
            const double a = qDegreesToRadians(angulosEjes()[eje]);
            p[i] = {r * std::cos(a), r * std::sin(a)};
        }
        return p;
    };
    auto [area, c] = areaYCentroide(vertices(0));
    // One gas alone, or gases on axes that are not neighbours, draw a pentagon with no area.
    // Its centroid is then the limit as the missing gases tend to nothing: 100 % H2 lies at
    // (0, 33.3), a third of the way to its corner.
    if (std::abs(area) < 1e-6)
        c = areaYCentroide(vertices(1e-7)).second;
    return c;
}

std::optional<Pentagono> pentagono(double h2, double c2h6, double ch4, double c2h4, double c2h2)
{
    const double suma = h2 + c2h6 + ch4 + c2h4 + c2h2;
    if (!(suma > 0) || !std::isfinite(suma))
        return std::nullopt;
    Pentagono p;
    p.porcentajes = {porcentaje(h2, suma), porcentaje(c2h6, suma), porcentaje(ch4, suma),
                     porcentaje(c2h4, suma), porcentaje(c2h2, suma)};
    p.centroide = centroide(p.porcentajes);
    p.zona = zonaDe(p.centroide);
    return p;
}

std::optional<Pentagono> pentagono(const Gases& g)
{
    return pentagono(g.h2, g.c2h6, g.ch4, g.c2h4, g.c2h2);
}

QString codigo(ZonaPentagono zona)
{
    static const char* const k[] = {"PD", "D1", "D2", "T3", "T2", "T1", "S"};
    return QString::fromLatin1(k[int(zona)]);
}

QString significado(ZonaPentagono zona)
{
    static const char* const k[] = {
        "Descargas parciales",
        "Descargas de baja energía",
        "Descargas de alta energía",
        "Falla térmica, T > 700 °C",
        "Falla térmica, 300 °C < T < 700 °C",
        "Falla térmica, T < 300 °C",
        "Gasificación anómala del aceite (stray gassing)",
    };
    return QString::fromUtf8(k[int(zona)]);
}

const QList<ZonaPentagono>& zonasPentagono()
{
    using Z = ZonaPentagono;
    static const QList<Z> k = {Z::PD, Z::D1, Z::D2, Z::T3, Z::T2, Z::T1, Z::S};
    return k;
}

const QList<QPointF>& esquinas(ZonaPentagono zona)
{
    return poligonos().zonas[int(zona)];
}

ZonaPentagono zonaDe(const QPointF& punto)
{
    // A point on a shared border belongs to the first zone in this order.
    for (ZonaPentagono z : zonasPentagono())
        if (dentro(punto, esquinas(z)))
            return z;
    // Outside every zone (beyond the outer pentagon): the nearest one.
    ZonaPentagono mejor = ZonaPentagono::S;
    double d = std::numeric_limits<double>::infinity();
    for (ZonaPentagono z : zonasPentagono())
        if (const double dz = distanciaAlBorde(punto, esquinas(z)); dz < d) {
            d = dz;
            mejor = z;
        }
    return mejor;
}

} // namespace diagnostico::duval
