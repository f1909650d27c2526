#include "data/logic/Schema.h"

#include "data/logic/Campos.h"

namespace schema {

namespace {

using K = FieldKind;
using C = Checker;

Field f(const QString& name, FieldKind kind, const QString& caption = QString(), C checker = C::None,
        const QString& group = QString())
{
    Field fd;
    fd.name = name;
    fd.kind = kind;
    fd.caption = caption;
    fd.checker = checker;
    fd.group = group;
    return fd;
}

Field list(const QString& name, const QStringList& values, const QString& group,
           const QString& caption = QString())
{
    Field fd = f(name, K::ListText, caption, C::None, group);
    fd.values = values;
    return fd;
}

Field tableOnly(Field fd)
{
    fd.tableOnly = true;
    return fd;
}

Field richText(Field fd)
{
    fd.richText = true;
    return fd;
}

Field unit(Field fd, const QString& text)
{
    fd.unit = text;
    return fd;
}

Field tip(Field fd, const QString& text)
{
    fd.tip = text;
    return fd;
}

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

QStringList l(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* i : items)
        out << QString::fromUtf8(i);
    return out;
}

Table makeTrafoge()
{
    Table t;
    t.name = campo::tablas::Trafoge;
    t.codeField = campo::trafoge::CODIGO;
    t.codeUnique = true;
    const QString g = s("GENERAL");
    const QString acc = s("ACCESORIOS");
    Field tipo =
        list(campo::trafoge::TIPO, l({"NITRÓGENO", "SECO", "SELLADO", "T.EXPANSIÓN"}), g, s("TIPO:"));
    t.fields = {
        f(campo::trafoge::CODIGO, K::Integer, s("CÓDIGO:"), C::Whole),
        f(campo::trafoge::AREA, K::Text, s("AREA:"), C::None, g),
        f(campo::trafoge::MARCA, K::Text, s("MARCA:"), C::None, g),
        f(s("MODELO"), K::Text, s("MODELO:"), C::None, g),
        f(campo::trafoge::DENOMINACION, K::Text, s("DENOMINACIÓN:"), C::None, g),
        f(s("SUBESTACIÓN"), K::Text, s("SUBESTACIÓN:"), C::None, g),
        f(s("NRO SUBESTACIÓN"), K::Text, s("NRO SUBESTACIÓN:"), C::None, g),
        f(campo::trafoge::NRO_DE_SERIE, K::Text, s("NRO DE SERIE:"), C::None, g),
        f(s("NRO DE CÓDIGO"), K::Text, s("NRO DE CÓDIGO:"), C::None, g),
        tableOnly(f(s("NRO DE SAMA"), K::Text)),
        tableOnly(f(s("FECHA"), K::Date)),
        f(campo::trafoge::ANIO, K::Text, s("AÑO:"), C::Year, g),
        f(s("MVA"), K::Text, s("MVA:"), C::None, g),
        f(s("MAX MVA"), K::Text, s("MAX MVA:"), C::Decimal, g),
        f(s("REFRIGERACIÓN"), K::Text, s("REFRIGERACIÓN:"), C::None, g),
        f(s("U1"), K::Text, s("U1:"), C::Decimal, g),
        f(s("U2"), K::Text, s("U2:"), C::Decimal, g),
        f(s("I1"), K::Text, s("I1:"), C::Decimal, g),
        f(s("I2"), K::Text, s("I2:"), C::Decimal, g),
        f(s("Z%"), K::Text, s("Z%:"), C::Decimal, g),
        f(s("GRUPO"), K::Text, s("GRUPO:"), C::None, g),
        tipo,
        // Offered from the oils already stored (the window fills the list); any other may be typed.
        list(campo::trafoge::TIPO_AISLANTE, {}, g, s("TIPO AISLANTE:")),
        f(s("LITROS ACEITE"), K::Text, s("LITROS ACEITE:"), C::Decimal, g),
        f(s("INSTALACIÓN"), K::Text, s("INSTALACIÓN:"), C::None, g),
        f(s("PESO KG"), K::Text, s("PESO KG:"), C::Decimal, g),
        f(s("NORMAS"), K::Text, s("NORMAS:"), C::None, g),
        f(s("OBSERVACIONES"), K::Text, s("OBSERVACIONES:"), C::None, g),
        f(s("JUNTAS P/BUSHINGS"), K::Text, s("JUNTAS P/BUSHINGS:"), C::None, acc),
        f(s("VENTILADORES"), K::Text, s("VENTILADORES:"), C::None, acc),
        f(s("NIVEL"), K::Text, s("NIVEL:"), C::None, acc),
        f(s("BUCCHOLZ"), K::Text, s("BUCCHOLZ:"), C::None, acc),
        f(s("MANOVACUOMETRO"), K::Text, s("MANOVACUOMETRO:"), C::None, acc),
        f(s("TERMOCUADRANTE"), K::Text, s("TERMOCUADRANTE:"), C::None, acc),
        richText(f(s("OTROS"), K::Memo, s("OTROS:"), C::None, acc)),
        f(campo::trafoge::ESTADO, K::Integer, QString(), C::None, campo::trafoge::ESTADO),
        f(campo::trafoge::GRAVEDAD, K::Number, QString(), C::None, campo::trafoge::ESTADO),
        f(campo::trafoge::AUTO, K::YesNo, QString(), C::None, campo::trafoge::ESTADO),
        f(campo::trafoge::DIAGNOSTICO, K::Memo, s("DIAGNÓSTICO GENERAL:"), C::None, s("DIAGNÓSTICO GENERAL")),
        f(campo::trafoge::RESUMEN_OBS, K::Memo, s("RESUMEN DE OBSERVACIONES EN ENSAYOS:"), C::None,
          s("DIAGNÓSTICO GENERAL")),
    };
    return t;
}

Table makeRevision()
{
    Table t;
    t.name = campo::tablas::Revision;
    t.codeField = campo::revision::CODIGO;
    t.dateField = campo::revision::FECHA;
    const QStringList siNo = l({"SI", "NO", "SIN CONTROL"});
    const QStringList siNoPosee = l({"SI", "NO", "SIN CONTROL", "NO POSEE"});
    const QStringList bienRegMal = l({"BIEN", "REGULAR", "MAL", "SIN CONTROL"});
    const QStringList bienMal = l({"BIEN", "MAL", "SIN CONTROL"});
    const QStringList bienMalPosee = l({"BIEN", "MAL", "SIN CONTROL", "NO POSEE"});
    const QString cuba = s("GENERAL/CUBA");
    const QString bush = s("GENERAL/BUSHINGS");
    const QString disp = s("PROTECCIONES/DISPAROS");
    const QString alar = s("PROTECCIONES/ALARMAS");
    const QString ais = s("AISLACIÓN");
    const QString meg = s("AISLACIÓN/MEGADO");
    const QString vent = s("ACCESORIOS/VENTILADORES");
    const QString inst = s("ACCESORIOS/INSTRUMENTOS");
    t.fields = {
        f(campo::revision::CODIGO, K::Integer, s("CÓDIGO:"), C::Whole),
        f(campo::revision::FECHA, K::Date, s("FECHA:"), C::Date),
        list(s("LIMPIEZA"), l({"BIEN", "REGULAR", "NO REALIZADA"}), s("GENERAL")),
        list(s("PÉRDIDAS ACEITE"), siNo, cuba),
        list(s("PÉRDIDAS NITROGENO"), siNoPosee, cuba),
        list(s("PINTURA GENERAL"), bienRegMal, cuba),
        list(s("CONEXIÓN TIERRA"), bienMal, cuba),
        list(s("PÉRDIDAS BUSHINGS"), siNo, bush),
        list(s("CALENTAMIENTOS LOCALES"), siNo, bush),
        list(s("MANCHAS EN PORCELANA"), siNo, bush),
        list(s("TEMPERATURA ACEITE"), bienMalPosee, disp),
        list(s("NIVEL ACEITE"), bienMalPosee, disp),
        list(s("RELÉ BUCCHOLZ O PRESIÓN"), bienMalPosee, disp),
        list(s("MANOVACUOMETRO"), bienMalPosee, disp),
        list(s("ALARMA TEMP ACEITE"), bienMalPosee, alar),
        list(s("ALARMA NIVEL ACEITE"), bienMalPosee, alar),
        list(s("ALARMA RELÉ BUCCHOLZ O PRESIÓN"), bienMalPosee, alar),
        list(s("ALARMA MANOVACUOMETRO"), bienMalPosee, alar),
        list(s("ALARMA FALLA VENT"), bienMalPosee, alar),
        unit(f(s("TENSION"), K::Number, s("TENSIÓN:"), C::Decimal, ais), s("V")),
        f(campo::revision::PRIM_SEC_A_TIERRA_1, K::Number, QString(), C::Decimal, meg),
        f(campo::revision::SEC_PRIM_A_TIERRA_1, K::Number, QString(), C::Decimal, meg),
        f(campo::revision::PRIM_SEC_TIERRA_1, K::Number, QString(), C::Decimal, meg),
        f(campo::revision::PRIM_SEC_A_TIERRA_10, K::Number, QString(), C::Decimal, meg),
        f(campo::revision::SEC_PRIM_A_TIERRA_10, K::Number, QString(), C::Decimal, meg),
        f(campo::revision::PRIM_SEC_TIERRA_10, K::Number, QString(), C::Decimal, meg),
        f(campo::revision::PORCENTAJE_OXIGENO, K::Number, QString(), C::Decimal, ais),
        f(campo::revision::RIGIDEZ_DIELECTRICA, K::Number, QString(), C::Decimal, ais),
        f(s("TEMPERATURA MED"), K::Number, QString(), C::None, ais),
        list(s("ESTADO GEN VENTILACIÓN"), bienMalPosee, vent),
        list(s("SECUENCIA ARRANQUE"), l({"BIEN", "MAL", "MANUAL", "SIN CONTROL", "NO POSEE"}), vent),
        f(campo::revision::CONSUMO_VENT, K::Text, QString(), C::Decimal, vent),
        list(s("INDICADOR NIVEL ACEITE"), bienMalPosee, inst),
        list(s("BUCCHOLZ O IND PRESIÓN"), bienMalPosee, inst),
        list(s("SILICAGEL"), bienMalPosee, inst),
        list(s("TERMOCUAD ALARM/DISPARO"), bienMalPosee, inst),
        list(s("TERMOCUAD VENT O RELÉ VENT"), bienMalPosee, inst),
        list(s("RELÉ SOBREPRESE O MEMBRANA EXP"), bienMalPosee, inst),
        richText(f(s("OBS GENERALES"), K::Memo, QString(), C::None, s("OBSERVACIÓN"))),
    };
    for (const char* name :
         {"TEMPERATURA ACEITE AISLAC", "RELÉ SOBREPRES", "INDICADOR PRESIÓN", "GENERAL", "CUBA", "BUSHINGS",
          "PROTEC", "ALARMAS", "NITROG", "MEGADO", "REFRIGER", "ACCESORI"})
        t.fields << tableOnly(f(s(name), K::Text));
    return t;
}

Table makeEnsayos()
{
    Table t;
    t.name = campo::tablas::Ensayos;
    t.codeField = campo::ensayos::Codigo;
    t.dateField = campo::ensayos::Fecha;
    const QString efq = s("ENSAYOS FÍSICO/QUÍMICOS");
    const QString kf = s("KARL FISHER");
    const QString fur = s("FURANOS");
    const QString gas = s("GASES");
    const QString met = s("METALES");
    const QString pcb = campo::ensayos::PCB;
    t.fields = {
        f(campo::ensayos::Codigo, K::Integer, s("CÓDIGO:"), C::Whole),
        f(campo::ensayos::Fecha, K::Date, s("FECHA:"), C::Date),
        tip(f(s("NROENSAYO"), K::Text, s("Nro Ensayo:")), s("Número o Código de ensayo")),
        tip(f(s("EMPRESA"), K::Text), s("Empresa Emisora")),
        f(campo::ensayos::EFQ, K::YesNo, efq, C::None, efq),
        f(campo::ensayos::Visual, K::Text, s("Visual:"), C::None, efq),
        f(campo::ensayos::Color, K::Text, s("Color:"), C::Decimal, efq),
        f(campo::ensayos::SP_GR, K::Number, s("Densidad:"), C::Decimal, efq),
        f(campo::ensayos::Diel, K::Number, s("Rigidez Dieléctrica:"), C::Decimal, efq),
        f(campo::ensayos::TIF, K::Number, s("Tensión Interfacial:"), C::Decimal, efq),
        f(campo::ensayos::Acidez, K::Number, s("Acidez:"), C::Decimal, efq),
        f(campo::ensayos::TangDelta, K::Number, s("Tg Delta (x 10E-3):"), C::Decimal, efq),
        f(campo::ensayos::HumSol, K::Number, s("Humedad en Solidos:"), C::Decimal, efq),
        f(campo::ensayos::Inhibidor, K::Number, s("Inhibidor (g/lt):"), C::Decimal, efq),
        f(campo::ensayos::IN, K::YesNo, QString(), C::None, efq),
        list(campo::ensayos::Sedimentos, l({"ALTA", "MEDIA", "BAJA", "NO CONTIENE"}), efq, s("Lodos:")),
        f(campo::ensayos::LD, K::YesNo, QString(), C::None, efq),
        tableOnly(f(s("LPF_25°C"), K::Number)),
        tableOnly(f(s("LPF_100°C"), K::Number)),
        f(campo::ensayos::KF, K::YesNo, kf, C::None, kf),
        f(campo::ensayos::KFTMC_PPM, K::Number, s("Contenido de Agua:"), C::Decimal, kf),
        f(campo::ensayos::KFTMC_TEMP, K::Number, s("Temp. Muestra:"), C::None, kf),
        f(campo::ensayos::Saturacion, K::Number, s("Saturación:"), C::Decimal, kf),
        f(campo::ensayos::PesoSeco, K::Number, s("Peso Seco:"), C::Decimal, kf),
        f(campo::ensayos::Factor, K::Number, s("Factor:"), C::None, kf),
        f(campo::ensayos::Grado, K::Number, s("Grado:"), C::None, kf),
        f(campo::ensayos::FUR, K::YesNo, fur, C::None, fur),
        f(campo::ensayos::F5H2F, K::Number, s("5H2F:"), C::Decimal, fur),
        f(campo::ensayos::F2FOL, K::Number, s("2FOL:"), C::Decimal, fur),
        f(campo::ensayos::F2FAL, K::Number, s("2FAL:"), C::Decimal, fur),
        f(campo::ensayos::F2ACF, K::Number, s("2ACF:"), C::Decimal, fur),
        f(campo::ensayos::F5M2F, K::Number, s("5M2F:"), C::Decimal, fur),
        f(campo::ensayos::Total, K::Number, s("Total:"), C::Decimal, fur),
        f(campo::ensayos::GAS, K::YesNo, gas, C::None, gas),
        f(campo::ensayos::Hidrogeno, K::Number, s("Hidrógeno (H2):"), C::Decimal, gas),
        f(campo::ensayos::Oxigeno, K::Number, s("Oxígeno (O2):"), C::Decimal, gas),
        f(campo::ensayos::Nitrogeno, K::Number, s("Nitrógeno (N2):"), C::Decimal, gas),
        f(campo::ensayos::Metano, K::Number, s("Metano (CH4):"), C::Decimal, gas),
        f(campo::ensayos::Monoxido, K::Number, s("Monóxido (CO):"), C::Decimal, gas),
        f(campo::ensayos::Dioxido, K::Number, s("Dióxido (CO2):"), C::Decimal, gas),
        f(campo::ensayos::Etano, K::Number, s("Etano (C2H6):"), C::Decimal, gas),
        f(campo::ensayos::Etileno, K::Number, s("Etileno (C2H4):"), C::Decimal, gas),
        f(campo::ensayos::Acetileno, K::Number, s("Acetileno (C2H2):"), C::Decimal, gas),
        f(campo::ensayos::TotalCombustible, K::Number, s("Total combustible:"), C::Decimal, gas),
        f(campo::ensayos::TotalGas, K::Number, s("Total Gas:"), C::Decimal, gas),
        f(campo::ensayos::FD, K::YesNo, s("Forzar Diagnóstico (Dudoso)"), C::None, gas),
        f(campo::ensayos::MET, K::YesNo, met, C::None, met),
        f(campo::ensayos::Aluminio, K::Number, s("Aluminio:"), C::Decimal, met),
        f(campo::ensayos::Hierro, K::Number, s("Hierro:"), C::Decimal, met),
        f(campo::ensayos::Cobre, K::Number, s("Cobre:"), C::Decimal, met),
        f(campo::ensayos::PCB, K::YesNo, pcb, C::None, pcb),
        f(campo::ensayos::PCB_1242, K::Number, s("PCB 1242:"), C::Decimal, pcb),
        f(campo::ensayos::PCB_1254, K::Number, s("PCB 1254:"), C::Decimal, pcb),
        f(campo::ensayos::PCB_1260, K::Number, s("PCB 1260:"), C::Decimal, pcb),
        f(campo::ensayos::OTROS, K::Number, s("Otros:"), C::Decimal, pcb),
        f(campo::ensayos::TOTAL_PCB, K::Number, s("TOTAL PCB:"), C::Decimal, pcb),
        richText(f(campo::ensayos::Observaciones, K::Memo, QString(), C::None, s("OBSERVACION"))),
    };
    return t;
}

Table makeMantenimiento()
{
    Table t;
    t.name = campo::tablas::Mantenimiento;
    t.codeField = campo::mantenimiento::Codigo;
    t.dateField = campo::mantenimiento::Fecha;
    const QString g = s("MANTENIMIENTO REALIZADO");
    t.fields = {
        f(campo::mantenimiento::Codigo, K::Integer, s("CÓDIGO:"), C::Whole),
        f(campo::mantenimiento::Fecha, K::Date, s("FECHA:"), C::Date),
    };
    const QList<std::pair<const char*, const char*>> items = {
        {"Cambio de sílica", "Cambio de sílica"},
        {"Rep  o cambio termocuadrante", "Rep o cambio termocuadrante"},
        {"Rep o cambio manovacuometro", "Rep o cambio manovacuometro"},
        {"Rep o cambio buccholz", "Rep o cambio buccholz"},
        {"Rep o cambio nivel aceite", "Rep o cambio nivel aceite"},
        {"Recirculación aceite", "Recirculación aceite"},
        {"Eliminación pérdidas aceite", "Eliminación pérdidas aceite"},
        {"Pintado", "Pintado"},
        {"Mant ventiladores", "Mant ventiladores"},
        {"Cambio juntas bushings", "Cambio juntas bushings"},
        {"Ajuste de conexiones", "Ajuste de conexiones"},
        {"Limpieza bushings", "Limpieza bushings"},
        {"Barrido con nitrógeno", "Barrido con nitrógeno"},
        {"Presurización con nitrógeno", "Presurización con nitrógeno"},
        {"Reposición de aceite", "Cambio de aceite"},
        {"Limpieza General", "Limpieza general"},
    };
    for (const auto& [name, caption] : items)
        t.fields << f(s(name), K::YesNo, s(caption), C::None, g);
    t.fields << richText(f(s("Observaciones"), K::Memo, QString(), C::None, s("OBSERVACIONES")));
    return t;
}

} // namespace

QString Field::sqlType() const
{
    switch (kind) {
    case FieldKind::Integer:
    case FieldKind::YesNo:
        return QStringLiteral("INTEGER");
    case FieldKind::Number:
        return QStringLiteral("REAL");
    case FieldKind::Text:
    case FieldKind::Memo:
    case FieldKind::Date:
    case FieldKind::ListText:
        return QStringLiteral("TEXT");
    }
    return QStringLiteral("TEXT");
}

bool sameName(const QString& a, const QString& b)
{
    return a.size() == b.size() && QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

const Field* Table::field(const QString& name) const
{
    const int i = fieldIndex(name);
    return i < 0 ? nullptr : &fields[i];
}

int Table::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields.size(); ++i)
        if (sameName(fields[i].name, name))
            return i;
    return -1;
}

QStringList Table::fieldNames() const
{
    QStringList out;
    for (const Field& fd : fields)
        out << fd.name;
    return out;
}

const QList<Table>& tables()
{
    static const QList<Table> all = {makeTrafoge(), makeRevision(), makeEnsayos(), makeMantenimiento()};
    return all;
}

const Table* table(const QString& name)
{
    for (const Table& t : tables())
        if (sameName(t.name, name))
            return &t;
    return nullptr;
}

const Table& trafoge()
{
    return tables()[0];
}
const Table& revision()
{
    return tables()[1];
}
const Table& ensayos()
{
    return tables()[2];
}
const Table& mantenimiento()
{
    return tables()[3];
}

QString quoteIdentifier(const QString& name)
{
    QString inner = name;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QStringList createStatements()
{
    QStringList out;
    for (const Table& t : tables()) {
        QStringList cols;
        for (const Field& fd : t.fields) {
            QString col = quoteIdentifier(fd.name) + QLatin1Char(' ') + fd.sqlType();
            if (t.codeUnique && sameName(fd.name, t.codeField))
                col += QStringLiteral(" NOT NULL UNIQUE");
            cols << col;
        }
        out << QStringLiteral("CREATE TABLE %1 (%2)")
                   .arg(quoteIdentifier(t.name), cols.join(QStringLiteral(", ")));
        if (!t.dateField.isEmpty())
            out << QStringLiteral("CREATE INDEX %1 ON %2 (%3, %4)")
                       .arg(quoteIdentifier(QStringLiteral("idx_") + t.name), quoteIdentifier(t.name),
                            quoteIdentifier(t.codeField), quoteIdentifier(t.dateField));
    }
    return out;
}

} // namespace schema
