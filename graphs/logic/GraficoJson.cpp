#include "graphs/logic/GraficoJson.h"

#include "data/logic/Campos.h"
#include "data/logic/Database.h"
#include "data/logic/RecordView.h"
#include "graphs/logic/Recoleccion.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace graficos {

std::optional<Grafico> graficoDeNombre(const QString& nombre)
{
    const QString n = nombre.toLower();
    if (n == QLatin1String("revision"))
        return GraficoRevision;
    if (n == QLatin1String("ensayos"))
        return GraficoEnsayos;
    if (n == QLatin1String("mantenimiento"))
        return GraficoMantenimiento;
    return std::nullopt;
}

Result<PedidoJson> leerPedido(const QString& carpeta, const QStringList& opciones)
{
    using R = Result<PedidoJson>;
    PedidoJson p;
    p.carpeta = carpeta;
    bool conCodigo = false, conTipo = false;
    for (int i = 0; i < opciones.size(); ++i) {
        const QString& nombre = opciones[i];
        if (nombre == QLatin1String("--ampliado")) {
            p.peticion.ampliado = true;
            continue;
        }
        static const QStringList conValor = {QStringLiteral("--codigo"),   QStringLiteral("--tipo"),
                                             QStringLiteral("--cantidad"), QStringLiteral("--modo"),
                                             QStringLiteral("--gases"),    QStringLiteral("--fecha")};
        if (!conValor.contains(nombre))
            return R::failure(QStringLiteral("Opción desconocida: %1").arg(nombre));
        if (++i >= opciones.size())
            return R::failure(QStringLiteral("Falta el valor de la opción %1").arg(nombre));
        const QString& valor = opciones[i];
        bool ok = false;
        if (nombre == QLatin1String("--codigo")) {
            const int n = valor.toInt(&ok);
            if (!ok || n == 0 || n < -32768 || n > 32767)
                return R::failure(
                    QStringLiteral("El código '%1' no es un código de transformador válido").arg(valor));
            p.codigo = n;
            conCodigo = true;
        } else if (nombre == QLatin1String("--tipo")) {
            const auto g = graficoDeNombre(valor);
            if (!g)
                return R::failure(
                    QStringLiteral("El tipo '%1' no es revision, ensayos ni mantenimiento").arg(valor));
            p.peticion.grafico = *g;
            conTipo = true;
        } else if (nombre == QLatin1String("--cantidad")) {
            p.peticion.cantidad = valor.toInt(&ok);
            if (!ok || p.peticion.cantidad < 0 || p.peticion.cantidad > Gases)
                return R::failure(
                    QStringLiteral("La cantidad '%1' no es válida: se espera de 0 a 6").arg(valor));
        } else if (nombre == QLatin1String("--modo")) {
            p.peticion.gases.modo = valor.toInt(&ok);
            if (!ok || p.peticion.gases.modo < 0 || p.peticion.gases.modo > 2)
                return R::failure(QStringLiteral("El modo '%1' no es válido: se espera 0, 1 o 2").arg(valor));
        } else if (nombre == QLatin1String("--gases")) {
            for (const QString& g : valor.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                const int n = g.trimmed().toInt(&ok);
                if (!ok || n < 0 || n > 8)
                    return R::failure(QStringLiteral("El gas '%1' no es válido: se espera de 0 a 8").arg(g));
                p.peticion.gases.gases[size_t(n)] = 1;
            }
        } else {
            p.fecha = QDate::fromString(valor, QStringLiteral("yyyy-MM-dd"));
            if (!p.fecha.isValid())
                return R::failure(
                    QStringLiteral("La fecha '%1' no es válida: se espera AAAA-MM-DD").arg(valor));
        }
    }
    if (!conCodigo)
        return R::failure(QStringLiteral("Falta la opción --codigo"));
    if (!conTipo)
        return R::failure(QStringLiteral("Falta la opción --tipo"));
    if (p.peticion.grafico == GraficoRevision && p.peticion.cantidad > RigidezRevision)
        return R::failure(QStringLiteral("La cantidad de revisión va de 0 a 2"));
    return p;
}

Result<QByteArray> graficoJson(const PedidoJson& pedido)
{
    using R = Result<QByteArray>;
    const QString ruta = Database::rutaEn(pedido.carpeta);
    if (!QFileInfo::exists(ruta))
        return R::failure(QStringLiteral("No se encuentra la Base de Datos en '%1'").arg(pedido.carpeta));
    auto db = Database::open(ruta, true);
    if (!db)
        return R::failure(db.error());
    RecordView trafos, datos;
    for (RecordView* v : {&trafos, &datos}) {
        v->setDatabase(db.value());
        v->setReadOnly(true);
    }
    trafos.setRecordSource(campo::tablas::Trafoge);
    datos.setRecordSource(tabla(pedido.peticion.grafico));
    for (RecordView* v : {&trafos, &datos})
        if (const Status st = v->refresh(); !st)
            return R::failure(st.error());
    const QString criterio = QStringLiteral("[%1]=%2");
    auto trafo = trafos.findFirst(criterio.arg(campo::trafoge::CODIGO).arg(pedido.codigo));
    if (!trafo)
        return R::failure(trafo.error());
    if (!trafo.value())
        return R::failure(QStringLiteral("No existe el transformador de código %1").arg(pedido.codigo));

    auto filas = datos.positionsWhere(criterio.arg(campoCodigo(pedido.peticion.grafico)).arg(pedido.codigo));
    if (!filas)
        return R::failure(filas.error());
    int inicio = -1;
    for (int p : filas.value()) {
        if (!pedido.fecha.isValid() || datos.valueAt(p, 1).toDate() == pedido.fecha) {
            inicio = p;
            break;
        }
    }
    if (inicio < 0)
        return R::failure(
            pedido.fecha.isValid()
                ? QStringLiteral("El transformador %1 no tiene filas del %2")
                      .arg(pedido.codigo)
                      .arg(pedido.fecha.toString(QStringLiteral("dd/MM/yyyy")))
                : QStringLiteral("El transformador %1 no tiene filas en esa tabla").arg(pedido.codigo));
    if (const Status st = datos.setAbsolutePosition(inicio); !st)
        return R::failure(st.error());

    const auto d = dibujoActual(trafos, datos, pedido.peticion);
    if (!d)
        return R::failure(QStringLiteral("No se pudo leer el gráfico"));
    QJsonArray series;
    for (const Serie& s : d->series) {
        QJsonArray valores;
        for (double v : s.valores)
            valores.append(v);
        series.append(
            QJsonObject{{QStringLiteral("leyenda"), s.leyenda}, {QStringLiteral("valores"), valores}});
    }
    const QJsonObject r{{QStringLiteral("titulo"), d->titulo},
                        {QStringLiteral("titulo_cantidad"), d->tituloCantidad},
                        {QStringLiteral("puntos"), d->puntos()},
                        {QStringLiteral("etiquetas"), QJsonArray::fromStringList(d->etiquetas)},
                        {QStringLiteral("series"), series}};
    return QJsonDocument(r).toJson(QJsonDocument::Indented);
}

} // namespace graficos
