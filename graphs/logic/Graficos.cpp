#include "graphs/logic/Graficos.h"

#include "data/logic/Campos.h"
#include "data/logic/Schema.h"

#include <algorithm>
#include <cmath>

namespace graficos {

namespace {

namespace e = campo::ensayos;
namespace r = campo::revision;

// The field of a single-quantity test graph; empty for the ticked gases.
QString campoEnsayo(const Peticion& p)
{
    switch (p.cantidad) {
    case Acidez:
        return e::Acidez;
    case Inhibidor:
        return e::Inhibidor;
    case TIF:
        return e::TIF;
    case Rigidez:
        return e::Diel;
    case KarlFisher:
        return e::KFTMC_PPM;
    case TotalFuranos:
        return e::Total;
    default:
        break;
    }
    if (p.gases.modo == ConfiguracionGases::TotalCombustibles)
        return e::TotalCombustible;
    if (p.gases.modo == ConfiguracionGases::TotalGases)
        return e::TotalGas;
    return QString();
}

bool gasesMarcados(const Peticion& p)
{
    return p.grafico == GraficoEnsayos && p.cantidad == Gases && campoEnsayo(p).isEmpty();
}

// The fields of the gases ticked in the configuration, in the dialog's order.
QStringList gasesElegidos(const Peticion& p)
{
    QStringList l;
    const QStringList gases = camposGases();
    for (int g = 0; g < gases.size(); ++g)
        if (p.gases.marcado(g))
            l << gases.at(g);
    return l;
}

std::optional<double> numero(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? std::optional<double>(d) : std::nullopt;
}

// The values of one point, or nothing when the row is passed over.
std::optional<QList<double>> valoresDe(const Peticion& p, const Fila& fila)
{
    const QVariantList& v = fila.valores;
    switch (p.grafico) {
    case GraficoEnsayos: {
        if (!gasesMarcados(p)) {
            const auto x = numero(v.value(0));
            if (!x || *x <= 0)
                return std::nullopt;
            return QList<double>{*x};
        }
        // One value per ticked gas (an empty one as 0); the row counts when any is positive.
        QList<double> valores;
        bool alguno = false;
        for (int g = 0, i = 0; g < 9; ++g) {
            if (!p.gases.marcado(g))
                continue;
            const auto x = numero(v.value(i++));
            alguno = alguno || (x && *x > 0);
            valores << x.value_or(0.0);
        }
        return alguno ? std::optional(valores) : std::nullopt;
    }
    case GraficoRevision: {
        QList<double> valores;
        bool alguno = false;
        for (const QVariant& x : v) {
            const auto n = numero(x);
            alguno = alguno || n.has_value();
            valores << (n ? entero(*n) : 0.0);
        }
        return alguno ? std::optional(valores) : std::nullopt;
    }
    case GraficoMantenimiento: {
        QList<double> valores;
        bool alguno = false;
        for (const QVariant& x : v) {
            const bool hecho = x.isValid() && !x.isNull() && x.toBool();
            alguno = alguno || hecho;
            valores << (hecho ? 1.0 : 0.0);
        }
        return alguno ? std::optional(valores) : std::nullopt;
    }
    }
    return std::nullopt;
}

QStringList leyendas(const Peticion& p)
{
    switch (p.grafico) {
    case GraficoEnsayos:
        return gasesMarcados(p) ? gasesElegidos(p) : QStringList{QString()};
    case GraficoRevision:
        if (p.cantidad == Aislacion)
            return {QStringLiteral("Pri/Sec-T"), QStringLiteral("Sec/Pri-T"), QStringLiteral("Pri-Sec/T")};
        return {QString()};
    case GraficoMantenimiento:
        if (p.ampliado)
            return itemsMantenimiento();
        return QStringList(16, QString());
    }
    return {};
}

struct Punto
{
    QDate fecha;
    QList<double> valores;
};

// True when the dates never go back, or never go forward, along the list.
bool enOrdenDeFecha(const QList<Punto>& puntos)
{
    int sentido = 0;
    QDate anterior;
    for (const Punto& p : puntos) {
        if (!p.fecha.isValid())
            continue;
        if (anterior.isValid() && p.fecha != anterior) {
            const int este = p.fecha > anterior ? 1 : -1;
            if (sentido != 0 && este != sentido)
                return false;
            sentido = este;
        }
        anterior = p.fecha;
    }
    return true;
}

} // namespace

QStringList camposGases()
{
    return {e::Hidrogeno, e::Oxigeno, e::Nitrogeno, e::Metano,   e::Monoxido,
            e::Dioxido,   e::Etano,   e::Etileno,   e::Acetileno};
}

QStringList itemsMantenimiento()
{
    QStringList items;
    for (const schema::Field& f : schema::mantenimiento().fields)
        if (f.kind == schema::FieldKind::YesNo)
            items << f.name;
    return items;
}

QStringList captionsEnsayo()
{
    return {QStringLiteral("Acidez"),  QStringLiteral("Inhibidor"),   QStringLiteral("TIF"),
            QStringLiteral("Rigidez"), QStringLiteral("Karl Fisher"), QStringLiteral("Total Furanos"),
            QStringLiteral("Gases:")};
}

QStringList captionsRevision()
{
    return {QStringLiteral("Aislación"), QStringLiteral("% Oxígeno"), QStringLiteral("Rigidez")};
}

QString titulo(const QString& denominacion, const QString& marca, const QString& serie)
{
    return denominacion + QStringLiteral("  ") + marca + QStringLiteral("  S. ") + serie;
}

QString tituloCantidad(const Peticion& p)
{
    switch (p.grafico) {
    case GraficoRevision:
        if (p.cantidad == Aislacion)
            return QStringLiteral("Aislación (Megohms)");
        if (p.cantidad == Oxigeno)
            return QStringLiteral("Porcentaje de Oxígeno en Nitrógeno (%)");
        return QStringLiteral("Rigidez Dieléctrica (Kv)");
    case GraficoMantenimiento:
        return QStringLiteral("Mantenimiento (Items)");
    case GraficoEnsayos:
        break;
    }
    switch (p.cantidad) {
    case Acidez:
        return QStringLiteral("Acidez");
    case Inhibidor:
        return QStringLiteral("Inhibidor (%)");
    case TIF:
        return QStringLiteral("TIF");
    case Rigidez:
        return QStringLiteral("Rigidez Dieléctrica (Kv)");
    case KarlFisher:
        return QStringLiteral("Karl Fisher (ppm)");
    case TotalFuranos:
        return QStringLiteral("Total Furanos (ppb)");
    default:
        break;
    }
    const QString campo = campoEnsayo(p);
    return campo.isEmpty() ? QStringLiteral("Gases : (ppm)")
                           : QStringLiteral("Gases : ") + campo + QStringLiteral(" (ppm)");
}

QString tabla(Grafico grafico)
{
    switch (grafico) {
    case GraficoRevision:
        return campo::tablas::Revision;
    case GraficoEnsayos:
        return campo::tablas::Ensayos;
    case GraficoMantenimiento:
        return campo::tablas::Mantenimiento;
    }
    return QString();
}

QString campoCodigo(Grafico grafico)
{
    const schema::Table* t = schema::table(tabla(grafico));
    return t ? t->codeField : QString();
}

QStringList campos(const Peticion& p)
{
    switch (p.grafico) {
    case GraficoRevision:
        if (p.cantidad == Aislacion)
            return {r::PRIM_SEC_A_TIERRA_1, r::SEC_PRIM_A_TIERRA_1, r::PRIM_SEC_TIERRA_1};
        if (p.cantidad == Oxigeno)
            return {r::PORCENTAJE_OXIGENO};
        return {r::RIGIDEZ_DIELECTRICA};
    case GraficoMantenimiento:
        return itemsMantenimiento();
    case GraficoEnsayos:
        break;
    }
    return gasesMarcados(p) ? gasesElegidos(p) : QStringList{campoEnsayo(p)};
}

bool esPunto(const Peticion& p, const Fila& fila)
{
    return valoresDe(p, fila).has_value();
}

double entero(double valor)
{
    // The default rounding mode of the floating-point unit sends halves to the even neighbour.
    return std::nearbyint(valor);
}

Dibujo dibujar(const Peticion& p, const QList<Fila>& filas, const QString& tituloGrafico)
{
    Dibujo d;
    d.titulo = tituloGrafico;
    d.tituloCantidad = tituloCantidad(p);
    d.barras = p.grafico != GraficoEnsayos;

    QList<Punto> puntos;
    for (const Fila& fila : filas) {
        if (puntos.size() >= kMaxPuntos)
            break;
        if (auto v = valoresDe(p, fila))
            puntos << Punto{fila.fecha, *v};
    }
    if (!enOrdenDeFecha(puntos))
        std::stable_sort(puntos.begin(), puntos.end(), [](const Punto& a, const Punto& b) {
            // Undated rows go last, as far from the current row as they can be.
            if (a.fecha.isValid() != b.fecha.isValid())
                return a.fecha.isValid();
            return a.fecha < b.fecha;
        });
    // The first row collected (the current one) is drawn rightmost.
    std::reverse(puntos.begin(), puntos.end());

    const QStringList nombres = leyendas(p);
    for (const QString& n : nombres)
        d.series << Serie{n, {}};
    for (const Punto& punto : puntos) {
        d.etiquetas << (punto.fecha.isValid() ? punto.fecha.toString(QStringLiteral("dd/MM/yy")) : QString());
        d.fechas << punto.fecha;
        for (int s = 0; s < d.series.size(); ++s)
            d.series[s].valores << punto.valores.value(s, 0.0);
    }
    return d;
}

} // namespace graficos
