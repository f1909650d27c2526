#include "diagnosis/logic/EvaluarEnsayoJson.h"

#include "data/logic/Campos.h"
#include "data/logic/Database.h"
#include "diagnosis/logic/Duval.h"
#include "diagnosis/logic/MetodosGas.h"
#include "diagnosis/logic/Totales.h"
#include "diagnosis/logic/ValorNumerico.h"

#include <QJsonArray>
#include <QJsonValue>

namespace diagnostico {

namespace {

const QString& kSedimentos = campo::ensayos::Sedimentos;

bool nulo(const QVariant& v)
{
    return !v.isValid() || v.isNull();
}

QString textoDeCaja(const QVariant& v)
{
    if (nulo(v))
        return {};
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return textoDecimal(v.toDouble());
    default:
        return v.toString();
    }
}

std::optional<bool> bandera(const QVariantMap& fila, const QString& nombre)
{
    const QVariant v = fila.value(nombre);
    if (nulo(v))
        return std::nullopt;
    return v.toBool();
}

QJsonValue numeroONulo(const std::optional<double>& v)
{
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

QJsonObject metodo(const ResultadoMetodo& r)
{
    QJsonArray razones;
    for (double x : r.razones)
        razones.append(x);
    return {{QStringLiteral("aplica"), r.aplica},
            {QStringLiteral("forzado"), r.forzado},
            {QStringLiteral("razones"), razones},
            {QStringLiteral("celdas"), QJsonArray::fromStringList(r.celdas)},
            {QStringLiteral("fallos"), QJsonArray::fromStringList(r.fallos)}};
}

QJsonObject niveles(const ieee::NivelesGas& n)
{
    QJsonObject gases;
    for (const auto& [gas, estado] : n.gases)
        gases.insert(ieee::formula(gas), estado);
    return {{QStringLiteral("estado"), n.estado},
            {QStringLiteral("gases"), gases},
            {QStringLiteral("columna"), n.columna()},
            {QStringLiteral("edad"), n.edad ? QJsonValue(*n.edad) : QJsonValue(QJsonValue::Null)}};
}

// Duval's methods read a test whose gas group was tested and that holds the needed gases.
QJsonObject trianguloDuval(const EnsayoGases& e)
{
    const auto t = e.hayEnsayo && e.gas ? duval::triangulo(e.gases) : std::nullopt;
    auto n = [&](double x) { return t ? QJsonValue(x) : QJsonValue(QJsonValue::Null); };
    return {{QStringLiteral("zona"), t ? QJsonValue(duval::codigo(t->zona)) : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("ch4"), n(t ? t->ch4 : 0)},
            {QStringLiteral("c2h4"), n(t ? t->c2h4 : 0)},
            {QStringLiteral("c2h2"), n(t ? t->c2h2 : 0)}};
}

QJsonObject pentagonoDuval(const EnsayoGases& e)
{
    const auto p = e.hayEnsayo && e.gas ? duval::pentagono(e.gases) : std::nullopt;
    auto n = [&](double x) { return p ? QJsonValue(x) : QJsonValue(QJsonValue::Null); };
    return {{QStringLiteral("zona"), p ? QJsonValue(duval::codigo(p->zona)) : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("x"), n(p ? p->centroide.x() : 0)},
            {QStringLiteral("y"), n(p ? p->centroide.y() : 0)}};
}

} // namespace

EnsayoEnPantalla ensayoEnPantalla(const QVariantMap& fila, const QVariant& anio)
{
    EnsayoEnPantalla e;
    for (auto it = fila.cbegin(); it != fila.cend(); ++it)
        e.textos.insert(it.key(), textoDeCaja(it.value()));
    if (nulo(fila.value(kSedimentos)))
        e.textos.insert(kSedimentos, QStringLiteral(" "));
    GruposEnsayo& g = e.grupos;
    g.efq = bandera(fila, campo::ensayos::EFQ);
    g.kf = bandera(fila, campo::ensayos::KF);
    g.fur = bandera(fila, campo::ensayos::FUR);
    g.met = bandera(fila, campo::ensayos::MET);
    g.pcb = bandera(fila, campo::ensayos::PCB);
    g.gas = bandera(fila, campo::ensayos::GAS);
    g.fd = bandera(fila, campo::ensayos::FD);
    g.ld = bandera(fila, campo::ensayos::LD);
    g.in = bandera(fila, campo::ensayos::IN);
    e.edad = ieee::edadAlEnsayo(anio, fila.value(campo::ensayos::Fecha));
    return e;
}

QJsonObject informeEvaluacion(qint64 codigo, const std::optional<QVariantMap>& fila, const QVariant& anio)
{
    EnsayoGases gases; // no current test: every method stays unmarked
    EvaluacionEnsayo ev;
    TotalesGas totales;
    QJsonValue fecha(QJsonValue::Null);
    ResultadoMetodo relacion;
    if (fila) {
        const EnsayoEnPantalla pantalla = ensayoEnPantalla(*fila, anio);
        gases = pantalla.ensayoGases();
        relacion = evaluarRelacionGases(gases);
        ev = evaluarEnsayo(pantalla, relacion);
        totales = totalesGas(pantalla.textos);
        const QVariant f = fila->value(campo::ensayos::Fecha);
        const QDate d = f.typeId() == QMetaType::QDate
                            ? f.toDate()
                            : QDate::fromString(f.toString().left(10), Qt::ISODate);
        if (d.isValid())
            fecha = d.toString(Qt::ISODate);
        else if (!nulo(f))
            fecha = f.toString();
    } else {
        relacion = evaluarRelacionGases(gases);
        ev = evaluarSinEnsayo();
    }

    QJsonObject resaltados;
    for (auto it = ev.resaltados.cbegin(); it != ev.resaltados.cend(); ++it)
        if (it.value() != Resaltado::Normal)
            resaltados.insert(it.key(), nombreResaltado(it.value()));

    const ResultadoDornenburg dornenburg = evaluarDornenburg(gases);
    QJsonObject jsonDornenburg = metodo(dornenburg);
    // A chart that was not given a point shows the one a new chart starts with.
    const QPointF punto = dornenburg.punto.value_or(QPointF(grafico::kEjeMinimo, grafico::kEjeMinimo));
    jsonDornenburg.insert(QStringLiteral("ejeX"), punto.x());
    jsonDornenburg.insert(QStringLiteral("ejeY"), punto.y());

    return {{QStringLiteral("codigo"), codigo},
            {QStringLiteral("fecha"), fecha},
            {QStringLiteral("observaciones"), QJsonArray::fromStringList(ev.observaciones)},
            {QStringLiteral("estado"), ev.estado},
            {QStringLiteral("cuenta"), ev.cuenta},
            {QStringLiteral("resaltados"), resaltados},
            {QStringLiteral("totales"),
             QJsonObject{{campo::ensayos::TotalGas, numeroONulo(totales.totalGas)},
                         {campo::ensayos::TotalCombustible, numeroONulo(totales.totalCombustible)}}},
            {QStringLiteral("dornenburg"), jsonDornenburg},
            {QStringLiteral("rogers"), metodo(evaluarRogers(gases))},
            {QStringLiteral("relacion_gases"), metodo(relacion)},
            {QStringLiteral("ieee"), niveles(ev.niveles)},
            {QStringLiteral("duval_triangulo"), trianguloDuval(gases)},
            {QStringLiteral("duval_pentagono"), pentagonoDuval(gases)}};
}

Result<QJsonObject> evaluarEnsayoGuardado(Database& db, qint64 codigo, const std::optional<QDate>& fecha)
{
    using R = Result<QJsonObject>;
    auto trafo = Statement::prepare(
        db, QString::fromUtf8("SELECT \"AÑO\" FROM \"Trafoge\" WHERE \"CÓDIGO\" = ?"), {codigo});
    if (!trafo)
        return R::failure(QStringLiteral("No se pudo leer la base de datos: %1").arg(trafo.error()));
    auto existe = trafo.value().step();
    if (!existe)
        return R::failure(QStringLiteral("No se pudo leer la base de datos: %1").arg(existe.error()));
    if (!existe.value())
        return R::failure(QStringLiteral("No existe el transformador de código %1").arg(codigo));
    const QVariant anio = trafo.value().value(0);

    // The tab lists the tests newest first; the first of them is the one shown.
    QString sql = QString::fromUtf8("SELECT * FROM \"Ensayos\" WHERE \"Código\" = ?");
    QVariantList parametros = {codigo};
    if (fecha) {
        sql += QStringLiteral(" AND \"Fecha\" = ?");
        parametros << fecha->toString(Qt::ISODate);
    }
    sql += QStringLiteral(" ORDER BY \"Fecha\" DESC, rowid DESC LIMIT 1");
    auto ensayo = Statement::prepare(db, sql, parametros);
    if (!ensayo)
        return R::failure(QStringLiteral("No se pudo leer la base de datos: %1").arg(ensayo.error()));
    auto hay = ensayo.value().step();
    if (!hay)
        return R::failure(QStringLiteral("No se pudo leer la base de datos: %1").arg(hay.error()));
    if (!hay.value()) {
        if (fecha)
            return R::failure(QStringLiteral("El transformador %1 no tiene ningún ensayo del %2")
                                  .arg(codigo)
                                  .arg(fecha->toString(QStringLiteral("dd/MM/yyyy"))));
        return informeEvaluacion(codigo, std::nullopt);
    }
    QVariantMap fila;
    for (int c = 0; c < ensayo.value().columnCount(); ++c)
        fila.insert(ensayo.value().columnName(c), ensayo.value().value(c));
    return informeEvaluacion(codigo, fila, anio);
}

} // namespace diagnostico
