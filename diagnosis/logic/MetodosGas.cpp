#include "diagnosis/logic/MetodosGas.h"

#include "data/logic/Campos.h"
#include "diagnosis/logic/ValorNumerico.h"

#include <cmath>

namespace diagnostico {

namespace {

QString u(const char* texto)
{
    return QString::fromUtf8(texto);
}

const QString& campoDe(Gas gas)
{
    switch (gas) {
    case Gas::H2:
        return campo::ensayos::Hidrogeno;
    case Gas::CH4:
        return campo::ensayos::Metano;
    case Gas::C2H6:
        return campo::ensayos::Etano;
    case Gas::C2H4:
        return campo::ensayos::Etileno;
    case Gas::C2H2:
        break;
    }
    return campo::ensayos::Acetileno;
}

Criterio c(int razon, int columna, const char* leyenda, Cota cota, double a = 0, double b = 0)
{
    return Criterio{razon, columna, u(leyenda), cota, a, b};
}

// Rogers cells: column 2r holds the lower bound of ratio r, column 2r + 1 the upper one.
Criterio bajo(int razon, const char* leyenda, Cota cota, double a)
{
    return c(razon, 2 * razon, leyenda, cota, a);
}

Criterio alto(int razon, const char* leyenda, Cota cota, double a)
{
    return c(razon, 2 * razon + 1, leyenda, cota, a);
}

TablaMetodo crearDornenburg()
{
    TablaMetodo t;
    t.titulo = u("Método Dornenburg para Gases Disueltos");
    t.razones = {{Gas::CH4, Gas::H2, u("CH4/H2")},
                 {Gas::C2H2, Gas::C2H4, u("C2H2/C2H4")},
                 {Gas::C2H6, Gas::C2H2, u("C2H6/C2H2")},
                 {Gas::C2H2, Gas::CH4, u("C2H2/CH4")}};
    t.columnas = {u("CH4/H2"), u("C2H2/C2H4"), u("C2H6/C2H2"), u("C2H2/CH4")};
    t.filas = {
        {u("Descomposición Térmica"),
         {c(0, 0, ">1,0", Cota::Mayor, 1.0), c(1, 1, "<0,75", Cota::Menor, 0.75),
          c(2, 2, ">0,4", Cota::Mayor, 0.4), c(3, 3, "<0,3", Cota::Menor, 0.3)}},
        {u("Descargas Eléctricas Excepto Corona"),
         {c(0, 0, "0.1-1.0", Cota::Entre, 0.1, 1.0), c(1, 1, ">0,75", Cota::Mayor, 0.75),
          c(2, 2, "<0,4", Cota::Menor, 0.4), c(3, 3, ">0,3", Cota::Mayor, 0.3)}},
        {u("Efecto Corona"),
         {c(0, 0, "<0.1", Cota::Menor, 0.1), c(1, 1, "-", Cota::Siempre), c(2, 2, ">0,4", Cota::Mayor, 0.4),
          c(3, 3, "<0,3", Cota::Menor, 0.3)}},
    };
    return t;
}

TablaMetodo crearRogers()
{
    TablaMetodo t;
    t.titulo = u("Método Rogers para Gases Disueltos");
    t.razones = {{Gas::CH4, Gas::H2, u("CH4/H2")},
                 {Gas::C2H6, Gas::CH4, u("C2H6/CH4")},
                 {Gas::C2H4, Gas::C2H6, u("C2H4/C2H6")},
                 {Gas::C2H2, Gas::C2H4, u("C2H2/C2H4")}};
    t.columnas = {u("CH4/H2"),    u("CH4/H2"),    u("C2H6/CH4"),  u("C2H6/CH4"),
                  u("C2H4/C2H6"), u("C2H4/C2H6"), u("C2H2/C2H4"), u("C2H2/C2H4")};
    const auto r1Normal = [] {
        return QList<Criterio>{bajo(0, ">0,1", Cota::Mayor, 0.1), alto(0, "<1,0", Cota::Menor, 1.0)};
    };
    const Criterio r2Menor1 = alto(1, "<1,0", Cota::Menor, 1.0);
    const Criterio r2Mayor1 = bajo(1, ">=1,0", Cota::MayorOIgual, 1.0);
    const Criterio r3Menor1 = alto(2, "<1,0", Cota::Menor, 1.0);
    const Criterio r3Mayor1 = bajo(2, ">=1,0", Cota::MayorOIgual, 1.0);
    const Criterio r3Mayor3 = bajo(2, ">=3,0", Cota::MayorOIgual, 3.0);
    const Criterio r3Menor3 = alto(2, "<3,0", Cota::Menor, 3.0);
    const Criterio r4Menor05 = alto(3, "<0,5", Cota::Menor, 0.5);
    const Criterio r4Mayor05 = bajo(3, ">=0,5", Cota::MayorOIgual, 0.5);
    const Criterio r1HastaUno = alto(0, "=<1,0", Cota::MenorOIgual, 1.0);
    const Criterio r1DesdeUno = bajo(0, ">=1,0", Cota::MayorOIgual, 1.0);
    const QList<Criterio> r1Hasta3 = {bajo(0, ">0,1", Cota::Mayor, 0.1), alto(0, "<3,0", Cota::Menor, 3.0)};
    t.filas = {
        {u("Normal"), r1Normal() + QList<Criterio>{r2Menor1, r3Menor1, r4Menor05}},
        {u("Descarga parcial - Corona"), {r1HastaUno, r2Menor1, r3Menor1, r4Menor05}},
        {u("Descarga parcial - Corona con localización"), {r1HastaUno, r2Menor1, r3Menor1, r4Mayor05}},
        {u("Descarga continua"),
         r1Normal() + QList<Criterio>{r2Menor1, r3Mayor3, bajo(3, ">=3,0", Cota::MayorOIgual, 3.0)}},
        {u("Arco - Con potencia por el mismo"), r1Normal() + QList<Criterio>{r2Menor1, r3Mayor1, r4Mayor05}},
        {u("Arco - Sin potencia por el mismo"),
         r1Normal() + QList<Criterio>{r2Menor1, r3Menor1, r4Mayor05, alto(3, "<3,0", Cota::Menor, 3.0)}},
        {u("Bajo sobrecalentamiento a 150°C"), {r1DesdeUno, r2Menor1, r3Menor1, r4Menor05}},
        {u("Sobrecalentamiento a 150-200 °C"), {r1DesdeUno, r2Mayor1, r3Menor1, r4Menor05}},
        {u("Sobrecalentamiento a 200-300 °C"), r1Normal() + QList<Criterio>{r2Mayor1, r3Menor1, r4Menor05}},
        {u("Sobrecalentamiento general de los conductores"),
         r1Normal() + QList<Criterio>{r2Menor1, r3Mayor1, r3Menor3, r4Menor05}},
        {u("Corriente circulante en arrollamientos"),
         r1Hasta3 + QList<Criterio>{r2Menor1, r3Mayor1, r3Menor3, r4Menor05}},
        {u("Corriente circulante en núcleo y cuba; Uniones sobrecargadas"),
         r1Hasta3 + QList<Criterio>{r2Menor1, r3Mayor3, r4Menor05}},
    };
    return t;
}

TablaMetodo crearRelacionGases()
{
    TablaMetodo t;
    t.titulo = u("Relación de Gases");
    t.razones = {{Gas::C2H2, Gas::C2H4, u("C2H2/C2H4")},
                 {Gas::CH4, Gas::H2, u("CH4/H2")},
                 {Gas::C2H4, Gas::C2H6, u("C2H4/C2H6")}};
    t.columnas = {u("C2H2/C2H4"), u("CH4/H2"), u("C2H4/C2H6")};
    t.filas = {
        {u("Descargas Parciales"),
         {c(0, 0, "<0,01", Cota::Menor, 0.01), c(1, 1, "<0,1", Cota::Menor, 0.1),
          c(2, 2, "<0,2", Cota::Menor, 0.2)}},
        {u("Descargas Baja Energía"),
         {c(0, 0, ">1", Cota::Mayor, 1.0), c(1, 1, "0.1-0.5", Cota::Entre, 0.1, 0.5),
          c(2, 2, ">1", Cota::Mayor, 1.0)}},
        {u("Descargas Alta Energía"),
         {c(0, 0, "0.6-2.5", Cota::Entre, 0.6, 2.5), c(1, 1, "0.1-1.0", Cota::Entre, 0.1, 1.0),
          c(2, 2, ">2", Cota::Mayor, 2.0)}},
        {u("Defecto T<300°C"),
         {c(0, 0, "<0,01", Cota::Menor, 0.01), c(1, 1, ">1", Cota::Mayor, 1.0),
          c(2, 2, "<1", Cota::Menor, 1.0)}},
        {u("Defecto 300°C < T < 700°C"),
         {c(0, 0, "<0,1", Cota::Menor, 0.1), c(1, 1, ">1", Cota::Mayor, 1.0),
          c(2, 2, "1.0-4.0", Cota::Entre, 1.0, 4.0)}},
        {u("Defecto T>700°C"),
         {c(0, 0, "<0,2", Cota::Menor, 0.2), c(1, 1, ">1", Cota::Mayor, 1.0),
          c(2, 2, ">4", Cota::Mayor, 4.0)}},
    };
    return t;
}

} // namespace

double Gases::valor(Gas gas) const
{
    switch (gas) {
    case Gas::H2:
        return h2;
    case Gas::CH4:
        return ch4;
    case Gas::C2H6:
        return c2h6;
    case Gas::C2H4:
        return c2h4;
    case Gas::C2H2:
        break;
    }
    return c2h2;
}

Gases gasesDeTextos(const TextosEnsayo& textos)
{
    auto v = [&](Gas g) { return valorNumerico(textos.value(campoDe(g))); };
    return {v(Gas::H2), v(Gas::CH4), v(Gas::C2H6), v(Gas::C2H4), v(Gas::C2H2)};
}

Gases gasesGuardados(const QVariantMap& fila)
{
    auto v = [&](Gas g) { return valorGuardado(fila.value(campoDe(g))); };
    return {v(Gas::H2), v(Gas::CH4), v(Gas::C2H6), v(Gas::C2H4), v(Gas::C2H2)};
}

bool pantallaAplicable(const Gases& g)
{
    // Limits L1; the key gas of each condition must exceed twice its own.
    const bool h2 = g.h2 > 100, ch4 = g.ch4 > 120, c2h4 = g.c2h4 > 50, c2h2 = g.c2h2 > 35;
    return (g.h2 > 200 && (ch4 || c2h4 || c2h2)) || (g.ch4 > 240 && (h2 || c2h4 || c2h2)) ||
           (g.c2h4 > 100 && (h2 || ch4 || c2h2)) || (g.c2h2 > 70 && (h2 || ch4 || c2h4));
}

double razon(double numerador, double denominador)
{
    if (denominador == 0)
        return -1;
    const double r = numerador / denominador;
    return std::isfinite(r) ? r : -1;
}

bool Criterio::cumple(double x) const
{
    if (cota == Cota::Siempre)
        return true;
    if (x < 0)
        return false;
    switch (cota) {
    case Cota::Mayor:
        return x > a;
    case Cota::Menor:
        return x < a;
    case Cota::MayorOIgual:
        return x >= a;
    case Cota::MenorOIgual:
        return x <= a;
    case Cota::Entre:
        return a <= x && x <= b;
    case Cota::Siempre:
        break;
    }
    return true;
}

const TablaMetodo& tablaDornenburg()
{
    static const TablaMetodo t = crearDornenburg();
    return t;
}

const TablaMetodo& tablaRogers()
{
    static const TablaMetodo t = crearRogers();
    return t;
}

const TablaMetodo& tablaRelacionGases()
{
    static const TablaMetodo t = crearRelacionGases();
    return t;
}

ResultadoMetodo evaluarMetodo(const TablaMetodo& tabla, const EnsayoGases& ensayo)
{
    ResultadoMetodo r;
    for (const RazonGases& rg : tabla.razones)
        r.razones << razon(ensayo.gases.valor(rg.numerador), ensayo.gases.valor(rg.denominador));
    r.forzado = ensayo.hayEnsayo && ensayo.gas && ensayo.forzado;
    r.aplica = ensayo.hayEnsayo && ensayo.gas && (pantallaAplicable(ensayo.gases) || ensayo.forzado);
    for (const FilaCriterios& fila : tabla.filas) {
        QList<bool> visibles;
        bool todas = true;
        for (const Criterio& celda : fila.celdas) {
            // Cells without a test show whatever the test; the others only when the method applies.
            const bool ve =
                celda.cota == Cota::Siempre || (r.aplica && celda.cumple(r.razones.at(celda.razon)));
            visibles << ve;
            todas = todas && ve;
            if (ve)
                r.celdas << celda.leyenda;
        }
        const bool falla = r.aplica && todas;
        r.visibles << visibles;
        r.fallosVisibles << falla;
        if (falla)
            r.fallos << fila.fallo;
    }
    return r;
}

ResultadoMetodo evaluarRogers(const EnsayoGases& ensayo)
{
    return evaluarMetodo(tablaRogers(), ensayo);
}

ResultadoMetodo evaluarRelacionGases(const EnsayoGases& ensayo)
{
    return evaluarMetodo(tablaRelacionGases(), ensayo);
}

ResultadoDornenburg evaluarDornenburg(const EnsayoGases& ensayo)
{
    ResultadoDornenburg r;
    static_cast<ResultadoMetodo&>(r) = evaluarMetodo(tablaDornenburg(), ensayo);
    if (r.aplica)
        r.punto = QPointF(grafico::recortarEje(r.razones.at(1)), grafico::recortarEje(r.razones.at(0)));
    return r;
}

namespace grafico {

QRectF rectanguloTrazado()
{
    return QRectF(16, 15, 50, 50);
}

double recortarEje(double valor)
{
    if (std::isnan(valor) || valor < kEjeMinimo)
        return kEjeMinimo;
    if (valor > kEjeMaximo)
        return kEjeMaximo;
    return valor;
}

QPointF centroMarcador(double ejeX, double ejeY)
{
    const QRectF p = rectanguloTrazado();
    const double x = std::max(ejeX, kEjeMinimo);
    const double y = std::max(ejeY, kEjeMinimo);
    // 0.001 lies on the left and bottom edges and 1 thirty units in; 100 sits on the far edge.
    const double cx = x == kEjeMaximo ? p.left() + p.width() : p.left() + 30 + 10 * std::log10(x);
    const double cy = y == kEjeMaximo ? p.top() : p.top() + p.height() - 30 - 10 * std::log10(y);
    return {cx, cy};
}

} // namespace grafico

} // namespace diagnostico
