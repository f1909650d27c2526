#include "diagnosis/logic/ReglasEnsayo.h"

#include "data/logic/Campos.h"

#include <QHash>

namespace diagnostico::reglas {

namespace {

QString u(const char* texto)
{
    return QString::fromUtf8(texto);
}

QHash<int, Regla> crearReglas()
{
    using R = Resaltado;
    using E = Efecto;
    const QList<Regla> lista = {
        {8, Grupo::Efq, campo::ensayos::HumSol, u(" Humedad en Sólidos"), R::Naranja, E::Aviso,
         [](double x) { return x > 5; }},
        {9, Grupo::Efq, campo::ensayos::Acidez, u(" Acidez Alta"), R::Amarillo, E::Aviso,
         [](double x) { return 0.1 < x && x <= 0.3; }},
        {10, Grupo::In, campo::ensayos::Inhibidor, u(" Contenido de inhibidor nulo"), R::Naranja, E::Aviso,
         [](double x) { return x == 0; }},
        {11, Grupo::In, campo::ensayos::Inhibidor, u(" Bajo contenido de inhibidor"), R::Amarillo, E::Aviso,
         [](double x) { return 0 < x && x < 0.5; }},
        {12, Grupo::In, campo::ensayos::Inhibidor, u(" Alto contenido de inhibidor"), R::Amarillo, E::Aviso,
         [](double x) { return x > 4; }},
        {13, Grupo::Efq, campo::ensayos::Diel, u(" Dieléctrico Bajo"), R::Naranja, E::Aviso,
         [](double x) { return 25 <= x && x < 30; }},
        {14, Grupo::Efq, campo::ensayos::TIF, u(" Baja Tensión Interfacial"), R::Naranja, E::Aviso,
         [](double x) { return x != 0 && x < 26; }},
        {15, Grupo::Efq, campo::ensayos::TangDelta, u(" Tangente Delta Alta"), R::Naranja, E::Aviso,
         [](double x) { return x > 40; }},
        {16, Grupo::Fur, campo::ensayos::Total, u(" Contiene Furanos, implica deterioro del papel"),
         R::Amarillo, E::Aviso, [](double x) { return x > 0; }},
        {17, Grupo::Met, campo::ensayos::Aluminio, u(" Contiene Metales (Aluminio), Sobrecalentamientos"),
         R::Amarillo, E::Aviso, [](double x) { return x > 0; }},
        {18, Grupo::Met, campo::ensayos::Hierro, u(" Contiene Metales (Hierro), Sobrecalentamientos"),
         R::Amarillo, E::Aviso, [](double x) { return x > 0; }},
        {19, Grupo::Met, campo::ensayos::Cobre, u(" Contiene Metales (Cobre), Sobrecalentamientos"),
         R::Amarillo, E::Aviso, [](double x) { return x > 0; }},
        {20, Grupo::Kf, campo::ensayos::KFTMC_PPM, u(" Alto Contenido de Agua"), R::Amarillo, E::Aviso,
         [](double x) { return 25 <= x && x < 100; }},
        {21, Grupo::Pcb, campo::ensayos::TOTAL_PCB, u(" Contiene PCB > 50 ppm!!!"), R::Naranja, E::Ninguno,
         [](double x) { return x > 50; }},
        {22, Grupo::Efq, campo::ensayos::Diel, u(" Dieléctrico muy Bajo"), R::Naranja, E::Grave,
         [](double x) { return x != 0 && x < 25; }},
        {23, Grupo::Efq, campo::ensayos::Acidez, u(" Acidez Muy Alta"), R::Naranja, E::Grave,
         [](double x) { return x > 0.3; }},
        {25, Grupo::Kf, campo::ensayos::KFTMC_PPM, u(" Muy Alto Contenido de Agua"), R::Naranja, E::Grave,
         [](double x) { return x >= 100; }},
    };
    QHash<int, Regla> porNumero;
    for (const Regla& r : lista)
        porNumero.insert(r.numero, r);
    return porNumero;
}

} // namespace

const Regla& regla(int numero)
{
    static const QHash<int, Regla> reglas = crearReglas();
    static const Regla ninguna{
        0, Grupo::Efq, {}, {}, Resaltado::Normal, Efecto::Ninguno, [](double) { return false; }};
    auto it = reglas.constFind(numero);
    return it == reglas.cend() ? ninguna : *it;
}

const QList<ReglaGas>& reglasGas()
{
    // High-energy discharges and the hottest thermal fault are grave; the rest warn.
    static const QList<ReglaGas> k = {{0, Efecto::Aviso}, {1, Efecto::Aviso}, {3, Efecto::Aviso},
                                      {4, Efecto::Aviso}, {5, Efecto::Grave}, {2, Efecto::Grave}};
    return k;
}

QString textoDudoso()
{
    return QStringLiteral(" Gases: Dudoso");
}

QString textoFalloGas(const QString& fallo)
{
    return QStringLiteral(" Gases: ") + fallo;
}

QString textoLodos(const QString& cantidad)
{
    return QStringLiteral(" Contiene Lodos en ") + cantidad + QStringLiteral(" Cantidad");
}

QString textoPcbBajo()
{
    return QStringLiteral(" Contiene PCB en Baja Cantidad");
}

QString textoSinEnsayos()
{
    return QStringLiteral(" Sin Ensayos");
}

bool sinLodos(const QString& cantidad)
{
    // A blank or empty list text is the list's empty item: there is nothing to report.
    return cantidad.trimmed().isEmpty() || cantidad == QStringLiteral("NO CONTIENE");
}

} // namespace diagnostico::reglas
