#include "data/logic/DemoPlant.h"

#include "data/logic/Database.h"
#include "data/logic/Schema.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QVariantMap>
#include <functional>
#include <random>

namespace demo {

namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

// Inserts rows into one table by field name; the column list comes from the schema.
class RowWriter
{
public:
    RowWriter(Database& db, const schema::Table& table) : m_table(table)
    {
        QStringList cols, marks;
        for (const schema::Field& f : table.fields) {
            cols << schema::quoteIdentifier(f.name);
            marks << QStringLiteral("?");
        }
        auto st = Statement::prepare(db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                             .arg(schema::quoteIdentifier(table.name),
                                                  cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
        if (st.ok())
            m_stmt = std::move(st.value());
        else
            m_error = st.error();
    }

    Status insert(const QVariantMap& values)
    {
        if (!m_error.isEmpty())
            return Status::failure(m_error);
        QVariantList row(m_table.fields.size());
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            const int i = m_table.fieldIndex(it.key());
            if (i < 0)
                return Status::failure(
                    QStringLiteral("No existe el campo '%1' en la tabla '%2'").arg(it.key(), m_table.name));
            row[i] = it.value();
        }
        if (auto b = m_stmt.bind(row); !b)
            return b;
        auto r = m_stmt.step();
        if (!r)
            return Status::failure(r.error());
        return {};
    }

private:
    const schema::Table& m_table;
    Statement m_stmt;
    QString m_error;
};

struct Gases
{
    double h2, ch4, c2h6, c2h4, c2h2;
};

// Values of a test with every group done and every result within limits.
QVariantMap normalTest(int code, const QDate& date, int number)
{
    QVariantMap t;
    t[u("Código")] = code;
    t[u("Fecha")] = date;
    t[u("NROENSAYO")] = QStringLiteral("E-%1").arg(number, 5, 10, QLatin1Char('0'));
    t[u("EMPRESA")] = u("Laboratorio Central de Aceites");
    t[u("EFQ")] = true;
    t[u("Visual")] = u("LÍMPIDO");
    t[u("Color")] = u("1,5");
    t[u("SP_GR_")] = 0.878;
    t[u("Diel")] = 58.0;
    t[u("TIF")] = 38.0;
    t[u("Acidez")] = 0.03;
    t[u("TangDelta")] = 8.0;
    t[u("HumSol")] = 1.8;
    t[u("IN")] = true;
    t[u("%_Inhibidor")] = 2.1;
    t[u("LD")] = true;
    t[u("Sedimentos")] = u("NO CONTIENE");
    t[u("LPF_25°C")] = 0.01;
    t[u("LPF_100°C")] = 0.2;
    t[u("KF")] = true;
    t[u("KFTMC_PPM")] = 12.0;
    t[u("KFTMC_TEMP")] = 35.0;
    t[u("Saturación")] = 8.0;
    t[u("Peso Seco")] = 1.2;
    t[u("Factor")] = 1.0;
    t[u("Grado")] = 550.0;
    t[u("FUR")] = true;
    for (const char* f : {"5H2F", "2FOL", "2FAL", "2ACF", "5M2F", "Total"})
        t[u(f)] = 0.0;
    t[u("GAS")] = true;
    t[u("Hidrógeno")] = 18.0;
    t[u("Oxígeno")] = 14500.0;
    t[u("Nitrógeno")] = 52000.0;
    t[u("Metano")] = 9.0;
    t[u("Monóxido")] = 210.0;
    t[u("Dióxido")] = 1600.0;
    t[u("Etano")] = 6.0;
    t[u("Etileno")] = 4.0;
    t[u("Acetileno")] = 0.0;
    t[u("FD")] = false;
    t[u("MET")] = true;
    t[u("Aluminio")] = 0.0;
    t[u("Hierro")] = 0.0;
    t[u("Cobre")] = 0.0;
    t[u("PCB")] = true;
    for (const char* f : {"PCB_1242", "PCB_1254", "PCB_1260", "OTROS", "TOTAL PCB"})
        t[u(f)] = 0.0;
    t[u("Observaciones")] = u("Muestra tomada de válvula inferior. Sin novedades.");
    return t;
}

void setGases(QVariantMap& t, const Gases& g)
{
    t[u("Hidrógeno")] = g.h2;
    t[u("Metano")] = g.ch4;
    t[u("Etano")] = g.c2h6;
    t[u("Etileno")] = g.c2h4;
    t[u("Acetileno")] = g.c2h2;
}

// Totals as the test form computes them from the nine gases.
void setTotals(QVariantMap& t)
{
    double all = 0;
    for (const char* f : {"Hidrógeno", "Oxígeno", "Nitrógeno", "Metano", "Monóxido", "Dióxido", "Etano",
                          "Etileno", "Acetileno"})
        all += t.value(u(f)).toDouble();
    double combustible = 0;
    for (const char* f : {"Hidrógeno", "Metano", "Monóxido", "Etano", "Etileno", "Acetileno"})
        combustible += t.value(u(f)).toDouble();
    t[u("Total Gas")] = all;
    t[u("Total combustible")] = combustible;
    double pcb = 0;
    for (const char* f : {"PCB_1242", "PCB_1254", "PCB_1260", "OTROS"})
        pcb += t.value(u(f)).toDouble();
    if (pcb > 0)
        t[u("TOTAL PCB")] = pcb;
}

// Gas samples chosen so that each shows one fault of the three gas methods.
const Gases kDescargasParciales{2000, 150, 100, 10, 0}; // ratio table row 1
const Gases kBajaEnergia{500, 150, 40, 60, 120};        // row 2; electric discharges
const Gases kAltaEnergia{300, 150, 50, 200, 160};       // row 3
const Gases kTermicoBajo{150, 300, 120, 60, 0};         // row 4; low overheating
const Gases kTermicoMedio{150, 300, 100, 200, 5};       // row 5; thermal decomposition
const Gases kTermicoAlto{150, 300, 100, 600, 30};       // row 6
const Gases kCorona{2000, 150, 100, 10, 1};             // corona effect
// Duval's zones the samples above leave out: PD (triangle and pentagon) and DT.
const Gases kDuvalDescargasParciales{900, 60, 5, 1, 0};
const Gases kDuvalMixta{100, 140, 50, 40, 20};
const Gases kRogers[12] = {
    {500, 250, 125, 60, 10},   // normal
    {3000, 150, 75, 30, 5},    // partial discharge, corona
    {3000, 150, 75, 30, 20},   // corona with tracking
    {500, 250, 100, 300, 900}, // continuous discharge
    {500, 250, 100, 150, 150}, // arc with power follow-through
    {500, 250, 125, 60, 60},   // arc without power follow-through
    {150, 300, 120, 60, 0},    // slight overheating
    {150, 300, 400, 100, 0},   // overheating 150-200
    {500, 250, 300, 100, 10},  // overheating 200-300
    {500, 250, 100, 200, 10},  // general conductor overheating
    {150, 300, 100, 200, 10},  // circulating currents in windings
    {150, 300, 100, 400, 10},  // circulating currents in core and tank
};

struct Scenario
{
    QString description; // what the newest test shows
    QString oil = u("ACT.YPF 64");
    QString type = u("T.EXPANSIÓN");
    int estado = 1;
    double gravedad = 0;
    bool manual = false;
    QStringList observations;                 // the observations of the diagnosis
    std::function<void(QVariantMap&)> newest; // changes to the newest test
    QList<Gases> olderGases;                  // older tests carrying these gas samples
    bool noTests = false;
};

QList<Scenario> scenarios()
{
    QList<Scenario> s;
    auto add = [&](Scenario sc) { s << sc; };
    auto gas = [](Gases g) { return [g](QVariantMap& t) { setGases(t, g); }; };
    auto val = [](const char* field, QVariant v) { return [field, v](QVariantMap& t) { t[u(field)] = v; }; };

    add({u("Normal"), u("ACT.YPF 64"), u("T.EXPANSIÓN"), 1, 0, false, {}, nullptr, {}, false});
    add({u("Normal"), u("NYTRO 10X"), u("SELLADO"), 1, 0, false, {}, nullptr, {}, false});
    add({u("Gases forzado"),
         u("ACT.YPF 64"),
         u("T.EXPANSIÓN"),
         2,
         1,
         false,
         {u(" Gases: Dudoso")},
         [](QVariantMap& t) { t[u("FD")] = true; },
         {},
         false});
    add({u("Descargas parciales"),
         u("ACT.YPF 64"),
         u("NITRÓGENO"),
         2,
         2,
         false,
         {u(" Gases: Descargas Parciales"), u(" Gases: Concentración elevada (IEEE C57.104-2019)")},
         gas(kDescargasParciales),
         {},
         false});
    add({u("Descargas de baja energía"),
         u("NYTRO 10X"),
         u("T.EXPANSIÓN"),
         2,
         2,
         false,
         {u(" Gases: Descargas Baja Energía"), u(" Gases: Concentración elevada (IEEE C57.104-2019)")},
         gas(kBajaEnergia),
         {},
         false});
    add({u("Descargas de alta energía"),
         u("ACT.YPF 64"),
         u("T.EXPANSIÓN"),
         3,
         2,
         false,
         {u(" Gases: Descargas Alta Energía"), u(" Gases: Concentración elevada (IEEE C57.104-2019)")},
         gas(kAltaEnergia),
         {},
         false});
    add({u("Defecto térmico bajo"),
         u("ACT.YPF 64"),
         u("SELLADO"),
         2,
         2,
         false,
         {u(" Gases: Defecto T<300°C"), u(" Gases: Concentración elevada (IEEE C57.104-2019)")},
         gas(kTermicoBajo),
         {},
         false});
    add({u("Defecto térmico medio"),
         u("SHELL DIALA B"),
         u("T.EXPANSIÓN"),
         2,
         2,
         false,
         {u(" Gases: Defecto 300°C < T < 700°C"), u(" Gases: Concentración elevada (IEEE C57.104-2019)")},
         gas(kTermicoMedio),
         {},
         false});
    add({u("Defecto térmico alto"),
         u("ACT.YPF 64"),
         u("NITRÓGENO"),
         3,
         2,
         false,
         {u(" Gases: Defecto T>700°C"), u(" Gases: Concentración elevada (IEEE C57.104-2019)")},
         gas(kTermicoAlto),
         {},
         false});
    // Corona: no ratio finding, but far more hydrogen than a sound transformer holds.
    add({u("Efecto corona"),
         u("ACT.YPF 64"),
         u("T.EXPANSIÓN"),
         2,
         1,
         false,
         {u(" Gases: Concentración elevada (IEEE C57.104-2019)")},
         gas(kCorona),
         {},
         false});
    // Samples that the ratio methods leave unjudged (below their screen) and only the gas levels
    // flag: acetylene alone, and the partial-discharge and mixed-fault zones of Duval's triangle
    // (the first also in the pentagon's PD zone).
    add({u("Solo niveles de gases"),
         u("ACT.YPF 64"),
         u("SELLADO"),
         2,
         1,
         false,
         {u(" Gases: Concentración elevada (IEEE C57.104-2019)")},
         val("Acetileno", 10.0),
         {},
         false});
    add({u("Duval: descargas parciales"),
         u("ACT.YPF 64"),
         u("NITRÓGENO"),
         2,
         1,
         false,
         {u(" Gases: Concentración elevada (IEEE C57.104-2019)")},
         gas(kDuvalDescargasParciales),
         {},
         false});
    add({u("Duval: falla mixta"),
         u("NYTRO 10X"),
         u("T.EXPANSIÓN"),
         2,
         1,
         false,
         {u(" Gases: Concentración elevada (IEEE C57.104-2019)")},
         gas(kDuvalMixta),
         {},
         false});
    add({u("Humedad en sólidos"),
         u("ACT.YPF 64"),
         u("T.EXPANSIÓN"),
         2,
         1,
         false,
         {u(" Humedad en Sólidos")},
         val("HumSol", 6.2),
         {},
         false});
    add({u("Acidez alta"),
         u("NYTRO 10X"),
         u("T.EXPANSIÓN"),
         2,
         1,
         false,
         {u(" Acidez Alta")},
         val("Acidez", 0.2),
         {},
         false});
    add({u("Inhibidor nulo"),
         u("ACT.YPF 64"),
         u("SELLADO"),
         2,
         1,
         false,
         {u(" Contenido de inhibidor nulo")},
         val("%_Inhibidor", 0.0),
         {},
         false});
    add({u("Inhibidor bajo"),
         u("ACT.YPF 64"),
         u("T.EXPANSIÓN"),
         2,
         1,
         false,
         {u(" Bajo contenido de inhibidor")},
         val("%_Inhibidor", 0.3),
         {},
         false});
    add({u("Inhibidor alto"),
         u("ACT.YPF 64"),
         u("T.EXPANSIÓN"),
         2,
         1,
         false,
         {u(" Alto contenido de inhibidor")},
         val("%_Inhibidor", 4.5),
         {},
         false});
    add({u("Dieléctrico bajo"),
         u("SHELL DIALA B"),
         u("T.EXPANSIÓN"),
         2,
         1,
         false,
         {u(" Dieléctrico Bajo")},
         val("Diel", 27.0),
         {},
         false});
    add({u("Tensión interfacial baja"),
         u("ACT.YPF 64"),
         u("NITRÓGENO"),
         2,
         1,
         false,
         {u(" Baja Tensión Interfacial")},
         val("TIF", 21.0),
         {},
         false});
    add({u("Tangente delta alta"),
         u("ACT.YPF 64"),
         u("T.EXPANSIÓN"),
         2,
         1,
         false,
         {u(" Tangente Delta Alta")},
         val("TangDelta", 52.0),
         {},
         false});
    add({u("Furanos"),
         u("ACT.YPF 64"),
         u("T.EXPANSIÓN"),
         2,
         1,
         false,
         {u(" Contiene Furanos, implica deterioro del papel")},
         [](QVariantMap& t) {
             t[u("2FAL")] = 95.0;
             t[u("5H2F")] = 25.0;
             t[u("Total")] = 120.0;
         },
         {},
         false});
    add({u("Metales"),
         u("NYTRO 10X"),
         u("T.EXPANSIÓN"),
         2,
         3,
         false,
         {u(" Contiene Metales (Aluminio), Sobrecalentamientos"),
          u(" Contiene Metales (Hierro), Sobrecalentamientos"),
          u(" Contiene Metales (Cobre), Sobrecalentamientos")},
         [](QVariantMap& t) {
             t[u("Aluminio")] = 0.5;
             t[u("Hierro")] = 1.2;
             t[u("Cobre")] = 0.3;
         },
         {},
         false});
    add({u("Agua alta"),
         u("ACT.YPF 64"),
         u("T.EXPANSIÓN"),
         2,
         1,
         false,
         {u(" Alto Contenido de Agua")},
         val("KFTMC_PPM", 40.0),
         {},
         false});
    add({u("PCB mayor a 50 ppm"),
         u("ACT.YPF 64"),
         u("T.EXPANSIÓN"),
         1,
         0,
         false,
         {u(" Contiene PCB > 50 ppm!!!")},
         [](QVariantMap& t) {
             t[u("PCB_1254")] = 40.0;
             t[u("PCB_1260")] = 20.0;
         },
         {},
         false});
    add({u("Dieléctrico muy bajo"),
         u("ACT.YPF 64"),
         u("SELLADO"),
         3,
         1,
         false,
         {u(" Dieléctrico muy Bajo")},
         val("Diel", 19.0),
         {},
         false});
    add({u("Acidez muy alta"),
         u("SHELL DIALA B"),
         u("T.EXPANSIÓN"),
         3,
         1,
         false,
         {u(" Acidez Muy Alta")},
         val("Acidez", 0.42),
         {},
         false});
    add({u("Lodos"),
         u("ACT.YPF 64"),
         u("T.EXPANSIÓN"),
         2,
         1,
         false,
         {u(" Contiene Lodos en MEDIA Cantidad")},
         val("Sedimentos", u("MEDIA")),
         {},
         false});
    add({u("Agua muy alta"),
         u("ACT.YPF 64"),
         u("NITRÓGENO"),
         3,
         1,
         false,
         {u(" Muy Alto Contenido de Agua")},
         val("KFTMC_PPM", 150.0),
         {},
         false});
    add({u("PCB en baja cantidad"),
         u("PCB"),
         u("T.EXPANSIÓN"),
         1,
         0,
         false,
         {u(" Contiene PCB en Baja Cantidad")},
         val("PCB_1242", 20.0),
         {},
         false});
    add({u("Sin ensayos"),
         u("ACT.YPF 64"),
         u("T.EXPANSIÓN"),
         3,
         6,
         false,
         {u(" Sin Ensayos")},
         nullptr,
         {},
         true});
    add({u("PCB sin ensayos"), u("PCB"), u("SELLADO"), 1, 0, false, {}, nullptr, {}, true});
    add({u("Seco"),
         u("SECO"),
         u("SECO"),
         1,
         0,
         false,
         {},
         [](QVariantMap& t) {
             for (const char* g : {"GAS", "FUR", "MET", "PCB", "KF", "LD", "IN"})
                 t[u(g)] = false;
         },
         {},
         false});
    add({u("Seco sin ensayos"), u("SECO"), u("SECO"), 3, 6, false, {u(" Sin Ensayos")}, nullptr, {}, true});
    add({u("Manual apagado"), u("ACT.YPF 64"), u("T.EXPANSIÓN"), 0, 0, true, {}, nullptr, {}, false});
    add({u("Manual amarillo"), u("ACT.YPF 64"), u("SELLADO"), 2, 4, true, {}, nullptr, {}, false});
    add({u("Varios hallazgos"),
         u("ACT.YPF 64"),
         u("T.EXPANSIÓN"),
         2,
         3,
         false,
         {u(" Acidez Alta"), u(" Dieléctrico Bajo"), u(" Alto Contenido de Agua")},
         [](QVariantMap& t) {
             t[u("Diel")] = 27.5;
             t[u("Acidez")] = 0.18;
             t[u("KFTMC_PPM")] = 32.0;
         },
         {},
         false});
    for (int i = 0; i < 12; i += 2)
        add({u("Historial de gases"),
             u("ACT.YPF 64"),
             u("T.EXPANSIÓN"),
             1,
             0,
             false,
             {},
             nullptr,
             {kRogers[i], kRogers[i + 1]},
             false});
    add({u("Historial de corona"),
         u("NYTRO 10X"),
         u("NITRÓGENO"),
         1,
         0,
         false,
         {},
         nullptr,
         {kCorona},
         false});
    return s;
}

const char* kAreas[] = {"SUBESTACIÓN NORTE",    "PLANTA DE TOPPING",
                        "CRAQUEO CATALÍTICO",   "SERVICIOS AUXILIARES",
                        "TRATAMIENTO DE AGUAS", "PUERTO",
                        "COMPRESORAS",          "USINA"};
const char* kMakers[] = {"Transformadores del Sur", "Electromecánica Andina", "Industrias Volta", "Foxtrafo",
                         "Equipos Eléctricos Paraná"};
const char* kDesignations[] = {"TR ALIMENTACIÓN PRINCIPAL",
                               "TR BOMBAS DE CRUDO",
                               "TR ILUMINACIÓN",
                               "TR HORNOS",
                               "TR COMPRESOR",
                               "TR SERVICIOS",
                               "TR REFORMADOR",
                               "TR MUELLE"};
const char* kPower[][3] = {{"0,5", "0,63", "ONAN"},   {"1", "1,25", "ONAN"},  {"2,5", "3,15", "ONAN/ONAF"},
                           {"5", "6,3", "ONAN/ONAF"}, {"10", "12,5", "ONAF"}, {"20", "25", "ODAF"}};

QVariantMap transformer(int code, const QString& type, const QString& oil, std::mt19937& rng)
{
    auto pick = [&](auto& array) { return u(array[rng() % (sizeof(array) / sizeof(array[0]))]); };
    const auto& power = kPower[rng() % 6];
    QVariantMap t;
    t[u("CÓDIGO")] = code;
    t[u("AREA")] = pick(kAreas);
    t[u("MARCA")] = pick(kMakers);
    t[u("MODELO")] = QStringLiteral("M-%1").arg(100 + rng() % 800);
    t[u("DENOMINACIÓN")] = pick(kDesignations);
    t[u("SUBESTACIÓN")] = QStringLiteral("SE %1").arg(1 + rng() % 12);
    t[u("NRO SUBESTACIÓN")] = QString::number(1 + rng() % 12);
    t[u("NRO DE SERIE")] = QStringLiteral("%1-%2").arg(rng() % 90000 + 10000).arg(1970 + rng() % 50);
    t[u("NRO DE CÓDIGO")] = QStringLiteral("EQ-%1").arg(code, 4, 10, QLatin1Char('0'));
    t[u("NRO DE SAMA")] = QString::number(5000 + code);
    t[u("FECHA")] = QDate(1975 + int(rng() % 45), 1 + int(rng() % 12), 1 + int(rng() % 28));
    t[u("AÑO")] = QString::number(1960 + rng() % 60);
    t[u("MVA")] = u(power[0]);
    t[u("MAX MVA")] = u(power[1]);
    t[u("REFRIGERACIÓN")] = u(power[2]);
    t[u("U1")] = u("13200");
    t[u("U2")] = (rng() % 2) ? u("400") : u("6600");
    t[u("I1")] = QString::number(20 + rng() % 400);
    t[u("I2")] = QString::number(100 + rng() % 2000);
    t[u("Z%")] = QStringLiteral("%1,%2").arg(4 + rng() % 4).arg(rng() % 10);
    t[u("GRUPO")] = (rng() % 2) ? u("Dyn11") : u("Yd11");
    t[u("TIPO")] = type;
    t[u("TIPO AISLANTE")] = oil;
    t[u("LITROS ACEITE")] = type == u("SECO") ? QString() : QString::number(300 + rng() % 9000);
    t[u("INSTALACIÓN")] = (rng() % 3) ? u("INTERIOR") : u("INTEMPERIE");
    t[u("PESO KG")] = QString::number(1500 + rng() % 30000);
    t[u("NORMAS")] = u("IRAM 2250");
    t[u("OBSERVACIONES")] = u("Sin observaciones");
    t[u("JUNTAS P/BUSHINGS")] = u("Nitrilo");
    t[u("VENTILADORES")] = QString::number(rng() % 4);
    t[u("NIVEL")] = u("Magnético");
    t[u("BUCCHOLZ")] = type == u("SECO") ? u("NO POSEE") : u("Dos flotantes");
    t[u("MANOVACUOMETRO")] = type == u("NITRÓGENO") ? u("Sí") : u("No");
    t[u("TERMOCUADRANTE")] = u("Con contactos de alarma y disparo");
    t[u("OTROS")] = u("Relé de imagen térmica.");
    t[u("AUTO")] = false;
    return t;
}

QVariantMap inspection(int code, const QDate& date, std::mt19937& rng, bool someFaults)
{
    auto choose = [&](const schema::Field& f) {
        // Mostly the first, good value; now and then another one of the list.
        if (!someFaults || rng() % 6)
            return f.values.first() == u("SI") ? u("NO") : f.values.first();
        return f.values.at(int(rng() % f.values.size()));
    };
    QVariantMap r;
    for (const schema::Field& f : schema::revision().fields)
        if (f.kind == schema::FieldKind::ListText)
            r[f.name] = choose(f);
    r[u("CÓDIGO")] = code;
    r[u("FECHA")] = date;
    r[u("TENSION")] = 5000.0;
    const double oneMinute = 800 + rng() % 4000;
    const double pi = 1.2 + (rng() % 20) / 10.0;
    r[u("PRIM / SEC A TIERRA 1'")] = oneMinute;
    r[u("SEC / PRIM A TIERRA 1'")] = oneMinute * 0.8;
    r[u("PRIM SEC / TIERRA 1'")] = oneMinute * 0.6;
    r[u("PRIM / SEC A TIERRA 10'")] = oneMinute * pi;
    r[u("SEC  / PRIM A TIERRA 10'")] = oneMinute * 0.8 * pi;
    r[u("PRIM SEC / TIERRA 10'")] = oneMinute * 0.6 * pi;
    r[u("PORCENTAJE OXÍGENO")] = double(rng() % 30) / 10.0;
    r[u("RIGIDEZ DIELÉCTRICA")] = 40.0 + rng() % 30;
    r[u("TEMPERATURA MED")] = 20.0 + rng() % 30;
    r[u("CONSUMO VENT")] = QStringLiteral("%1,%2").arg(rng() % 10).arg(rng() % 10);
    r[u("OBS GENERALES")] = u("Inspección visual y mediciones de aislación.");
    return r;
}

QVariantMap maintenance(int code, const QDate& date, std::mt19937& rng)
{
    QVariantMap m;
    m[u("Código")] = code;
    m[u("Fecha")] = date;
    for (const schema::Field& f : schema::mantenimiento().fields)
        if (f.kind == schema::FieldKind::YesNo)
            m[f.name] = (rng() % 4) == 0;
    m[u("Limpieza General")] = true;
    m[u("Observaciones")] = u("Mantenimiento preventivo programado.");
    return m;
}

QString joinLines(const QStringList& lines)
{
    QString out;
    for (const QString& l : lines)
        out += l + u("\r\n");
    return out;
}

Status fillDemo(Database& db)
{
    std::mt19937 rng(2026);
    RowWriter trafos(db, schema::trafoge());
    RowWriter tests(db, schema::ensayos());
    RowWriter inspections(db, schema::revision());
    RowWriter works(db, schema::mantenimiento());
    int number = 1;
    int code = 100;
    const QDate newest(2026, 10, 15);
    for (const Scenario& sc : scenarios()) {
        code += 1 + int(rng() % 3);
        QVariantMap t = transformer(code, sc.type, sc.oil, rng);
        t[u("ESTADO")] = sc.estado;
        t[u("GRAVEDAD")] = sc.gravedad;
        t[u("AUTO")] = sc.manual;
        QString diagnosis = joinLines(sc.observations);
        if (sc.estado == 1 && !sc.manual)
            diagnosis += u(" Estado Normal");
        t[u("DIAGNOSTICO")] = diagnosis;
        QString summary;
        if (!sc.noTests) {
            // Older tests first, then the newest one that carries the scenario.
            QList<QVariantMap> rows;
            const int older = 1 + int(rng() % 2) + int(sc.olderGases.size());
            for (int i = older; i >= 1; --i) {
                QVariantMap test = normalTest(code, newest.addDays(-int(i * 360 + rng() % 60)), number++);
                const int g = older - i;
                if (g < sc.olderGases.size())
                    setGases(test, sc.olderGases[g]);
                rows << test;
            }
            QVariantMap last = normalTest(code, newest.addDays(-int(rng() % 200)), number++);
            if (sc.newest)
                sc.newest(last);
            rows << last;
            for (QVariantMap& row : rows) {
                setTotals(row);
                if (auto st = tests.insert(row); !st)
                    return st;
            }
            for (auto it = rows.crbegin(); it != rows.crend(); ++it)
                summary += it->value(u("Fecha")).toDate().toString(QStringLiteral("dd/MM/yyyy")) + u(" - ") +
                           it->value(u("Observaciones")).toString().toUpper() + u("\r\n\r\n");
        }
        t[u("RESUMEN OBS")] = summary;
        if (auto st = trafos.insert(t); !st)
            return st;
        for (int i = 0; i < 3; ++i)
            if (auto st = inspections.insert(
                    inspection(code, newest.addDays(-int(i * 180 + rng() % 30)), rng, true));
                !st)
                return st;
        for (int i = 0; i < 2; ++i)
            if (auto st = works.insert(maintenance(code, newest.addDays(-int(i * 365 + rng() % 90)), rng));
                !st)
                return st;
    }
    return {};
}

Status fillLarge(Database& db, const PlantSize& size)
{
    std::mt19937 rng(size.seed);
    RowWriter trafos(db, schema::trafoge());
    RowWriter tests(db, schema::ensayos());
    RowWriter inspections(db, schema::revision());
    RowWriter works(db, schema::mantenimiento());
    const QList<Scenario> kinds = scenarios();
    const QString types[] = {u("NITRÓGENO"), u("SECO"), u("SELLADO"), u("T.EXPANSIÓN")};
    const QDate newest(2026, 10, 15);
    int number = 1;
    for (int code = 1; code <= size.transformers; ++code) {
        // Most transformers are healthy; the rest take one of the demo's findings.
        const Scenario& sc = kinds[(rng() % 4) == 0 ? int(rng() % kinds.size()) : 0];
        QVariantMap t = transformer(code, types[rng() % 4], sc.oil, rng);
        t[u("ESTADO")] = sc.estado;
        t[u("GRAVEDAD")] = sc.gravedad;
        t[u("AUTO")] = sc.manual;
        t[u("DIAGNOSTICO")] =
            QString(joinLines(sc.observations) + (sc.estado == 1 ? u(" Estado Normal") : QString()));
        if (auto st = trafos.insert(t); !st)
            return st;
        for (int i = size.testsPerTransformer; i >= 1; --i) {
            QVariantMap test = normalTest(code, newest.addDays(-int(i * 200 + rng() % 100)), number++);
            if (i == 1 && sc.newest)
                sc.newest(test);
            setTotals(test);
            if (auto st = tests.insert(test); !st)
                return st;
        }
        for (int i = size.inspectionsPerTransformer; i >= 1; --i)
            if (auto st = inspections.insert(
                    inspection(code, newest.addDays(-int(i * 150 + rng() % 60)), rng, true));
                !st)
                return st;
        for (int i = size.maintenancePerTransformer; i >= 1; --i)
            if (auto st = works.insert(maintenance(code, newest.addDays(-int(i * 250 + rng() % 90)), rng));
                !st)
                return st;
    }
    return {};
}

// A name beside the data file that nothing holds yet.
QString nombreTemporal(const QString& path)
{
    QString name;
    do
        name = QStringLiteral("%1.%2.tmp")
                   .arg(path)
                   .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    while (QFileInfo::exists(name));
    return name;
}

// Fills a new file at path in one transaction and runs the finishing work on it; the
// connection is closed on return.
Status llenar(const QString& path, const std::function<Status(Database&)>& relleno, const Remate& remate)
{
    if (auto st = Database::create(path); !st)
        return st;
    auto opened = Database::open(path);
    if (!opened)
        return Status::failure(opened.error());
    Database& db = *opened.value();
    if (auto st = db.exec(QStringLiteral("BEGIN")); !st)
        return st;
    if (auto st = relleno(db); !st)
        return st;
    if (auto st = db.exec(QStringLiteral("COMMIT")); !st)
        return st;
    return remate ? remate(db) : Status();
}

Status yaExiste(const QString& path)
{
    return Status::failure(QStringLiteral("Ya existe el archivo '%1'; no se sobrescribe")
                               .arg(QFileInfo(path).absoluteFilePath()));
}

// The plant is made whole under a temporary name and only then called trafos.mdb: the rename
// never replaces a file, and a failed plant is removed with its journal.
Status crear(const QString& folder, const std::function<Status(Database&)>& relleno, const Remate& remate)
{
    const QString path = Database::rutaEn(folder);
    if (QFileInfo::exists(path))
        return yaExiste(path);
    if (!QDir(folder).exists() && !QDir().mkpath(folder))
        return Status::failure(QStringLiteral("No se puede crear la carpeta '%1'").arg(folder));
    const QString temporal = nombreTemporal(path);
    Status st = llenar(temporal, relleno, remate);
    if (st && !QFile::rename(temporal, path))
        st = QFileInfo::exists(path) ? yaExiste(path)
                                     : Status::failure(QStringLiteral("No se pudo renombrar '%1' como '%2'")
                                                           .arg(QFileInfo(temporal).fileName(),
                                                                QFileInfo(path).absoluteFilePath()));
    if (!st) {
        QFile::remove(temporal);
        QFile::remove(temporal + QStringLiteral("-journal"));
    }
    return st;
}

} // namespace

Status createDemo(const QString& folder, const Remate& remate)
{
    return crear(folder, fillDemo, remate);
}

Status createLarge(const QString& folder, const PlantSize& size, const Remate& remate)
{
    if (size.transformers < 0 || size.transformers > kMaxTransformadores)
        return Status::failure(QStringLiteral("La cantidad de transformadores debe estar entre 0 y %1")
                                   .arg(kMaxTransformadores));
    for (const int n :
         {size.testsPerTransformer, size.inspectionsPerTransformer, size.maintenancePerTransformer})
        if (n < 0 || n > kMaxPorTransformador)
            return Status::failure(QStringLiteral("Las cantidades por transformador deben estar entre 0 y %1")
                                       .arg(kMaxPorTransformador));
    return crear(
        folder, [&size](Database& db) { return fillLarge(db, size); }, remate);
}

} // namespace demo
