#include "diagnosis/logic/NivelesGas.h"

#include "data/logic/Campos.h"
#include "data/logic/Fechas.h"
#include "diagnosis/logic/ValorNumerico.h"

#include <QDate>
#include <QRegularExpression>

namespace diagnostico::ieee {

namespace {

// Columns of the tables for one O2/N2 side: age unknown, under 10 years, 10 to 30, over 30.
using Columnas = std::array<double, 4>;

struct Limites
{
    Columnas tabla1Bajo, tabla1Alto; // O2/N2 <= 0.2, O2/N2 > 0.2
    Columnas tabla2Bajo, tabla2Alto;
};

// IEEE C57.104-2019 Tables 1 and 2, in ppm. Table 1 above 0.2 gives one column for 10 years and
// more: it is written twice.
const Limites kLimites[kGasesIeee] = {
    /* H2   */ {{80, 75, 75, 100}, {40, 40, 40, 40}, {200, 200, 200, 200}, {90, 90, 90, 90}},
    /* CH4  */ {{90, 45, 90, 110}, {20, 20, 20, 20}, {150, 100, 150, 200}, {50, 60, 60, 30}},
    /* C2H6 */ {{90, 30, 90, 150}, {15, 15, 15, 15}, {175, 70, 175, 250}, {40, 30, 40, 40}},
    /* C2H4 */ {{50, 20, 50, 90}, {50, 25, 60, 60}, {100, 40, 95, 175}, {100, 80, 125, 125}},
    /* C2H2 */ {{1, 1, 1, 1}, {2, 2, 2, 2}, {2, 2, 2, 4}, {7, 7, 7, 7}},
    /* CO   */ {{900, 900, 900, 900}, {500, 500, 500, 500}, {1100, 1100, 1100, 1100}, {600, 600, 600, 600}},
    /* CO2  */
    {{9000, 5000, 10000, 10000},
     {5000, 3500, 5500, 5500},
     {12500, 7000, 14000, 14000},
     {7000, 5000, 8000, 8000}},
};

int columnaEdad(std::optional<int> edad)
{
    if (!edad)
        return 0;
    if (*edad < 10)
        return 1;
    return *edad <= 30 ? 2 : 3;
}

bool vacio(const QVariant& v)
{
    return !v.isValid() || v.isNull() ||
           (v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty());
}

std::optional<double> deTexto(const QString& texto)
{
    if (texto.trimmed().isEmpty())
        return std::nullopt;
    return valorNumerico(texto);
}

std::optional<double> guardado(const QVariant& v)
{
    if (vacio(v))
        return std::nullopt;
    return valorGuardado(v);
}

template <typename Leer> MuestraGases muestra(Leer leer, std::optional<int> edad)
{
    MuestraGases m;
    for (int g = 0; g < kGasesIeee; ++g)
        m.gases[size_t(g)] = leer(campoGas(GasIeee(g)));
    m.o2 = leer(campo::ensayos::Oxigeno);
    m.n2 = leer(campo::ensayos::Nitrogeno);
    m.edad = edad;
    return m;
}

} // namespace

QString formula(GasIeee gas)
{
    static const char* const k[kGasesIeee] = {"H2", "CH4", "C2H6", "C2H4", "C2H2", "CO", "CO2"};
    return QString::fromLatin1(k[int(gas)]);
}

const QString& campoGas(GasIeee gas)
{
    using namespace campo::ensayos;
    static const QString* const k[kGasesIeee] = {&Hidrogeno, &Metano,   &Etano,  &Etileno,
                                                 &Acetileno, &Monoxido, &Dioxido};
    return *k[int(gas)];
}

MuestraGases muestraDeTextos(const TextosEnsayo& textos, std::optional<int> edad)
{
    return muestra([&](const QString& c) { return deTexto(textos.value(c)); }, edad);
}

MuestraGases muestraGuardada(const QVariantMap& fila, std::optional<int> edad)
{
    return muestra([&](const QString& c) { return guardado(fila.value(c)); }, edad);
}

std::optional<int> edadAlEnsayo(const QVariant& anio, const QVariant& fecha)
{
    if (vacio(anio) || vacio(fecha))
        return std::nullopt;
    static const QRegularExpression kEntero(QStringLiteral("^\\d{1,4}$"));
    const QString a = anio.toString().trimmed();
    if (!kEntero.match(a).hasMatch())
        return std::nullopt;
    QDate d;
    if (fecha.typeId() == QMetaType::QDate || fecha.typeId() == QMetaType::QDateTime)
        d = fecha.toDate();
    else if (auto leida = fechas::leer(fecha.toString().trimmed().left(10)))
        d = *leida;
    if (!d.isValid())
        return std::nullopt;
    const int edad = d.year() - a.toInt();
    if (edad < 0)
        return std::nullopt;
    return edad;
}

QString NivelesGas::columna() const
{
    return oxigenoBajo ? QStringLiteral("O2/N2<=0.2") : QStringLiteral("O2/N2>0.2");
}

std::pair<double, double> limites(GasIeee gas, bool oxigenoBajo, std::optional<int> edad)
{
    const Limites& l = kLimites[int(gas)];
    const size_t c = size_t(columnaEdad(edad));
    return oxigenoBajo ? std::pair{l.tabla1Bajo[c], l.tabla2Bajo[c]}
                       : std::pair{l.tabla1Alto[c], l.tabla2Alto[c]};
}

NivelesGas evaluarNiveles(const MuestraGases& m)
{
    NivelesGas r;
    r.edad = m.edad;
    // Without both readings the free-breathing columns apply; no nitrogen at all reads as a
    // sealed tank.
    if (m.o2 && m.n2)
        r.oxigenoBajo = *m.n2 == 0 || *m.o2 / *m.n2 <= 0.2;
    for (int g = 0; g < kGasesIeee; ++g) {
        const std::optional<double>& x = m.gases[size_t(g)];
        if (!x)
            continue;
        const auto [tabla1, tabla2] = limites(GasIeee(g), r.oxigenoBajo, m.edad);
        const int estado = *x <= tabla1 ? 1 : *x <= tabla2 ? 2 : 3;
        r.gases.append({GasIeee(g), estado});
        r.estado = std::max(r.estado, estado);
    }
    return r;
}

QString textoConcentracionElevada()
{
    return QString::fromUtf8(" Gases: Concentración elevada (IEEE C57.104-2019)");
}

} // namespace diagnostico::ieee
