#include "graphs/logic/Recoleccion.h"

#include "data/logic/Campos.h"
#include "data/logic/RecordView.h"
#include "graphs/logic/Logging.h"

namespace graficos {

std::optional<QList<Fila>> filasDesdeActual(const RecordView& vista, const Peticion& peticion,
                                            const QVariant& codigo)
{
    const int actual = vista.absolutePosition();
    if (!vista.isOpen() || actual < 0)
        return std::nullopt;
    QList<Fila> filas;
    bool ok = false;
    const qlonglong n = codigo.toLongLong(&ok);
    if (!ok || codigo.isNull())
        return filas;
    auto posiciones = vista.positionsWhere(QLatin1Char('[') + campoCodigo(peticion.grafico) +
                                           QStringLiteral("]=") + QString::number(n));
    if (!posiciones) {
        ignorarFallo(posiciones, logGraphs(), "Buscar las filas del transformador");
        return filas;
    }
    const QString campoFecha = vista.fieldName(1);
    QList<int> indices;
    for (const QString& c : campos(peticion))
        indices << vista.fieldIndex(c);
    const int fecha = vista.fieldIndex(campoFecha);
    int puntos = 0;
    for (int p : posiciones.value()) {
        if (p < actual)
            continue;
        Fila f;
        f.fecha = vista.valueAt(p, fecha).toDate();
        for (int i : indices)
            f.valores << vista.valueAt(p, i);
        const bool punto = esPunto(peticion, f);
        filas << f;
        if (punto && ++puntos >= kMaxPuntos)
            break;
    }
    return filas;
}

QString tituloDe(const RecordView& trafos)
{
    if (trafos.absolutePosition() < 0)
        return QString();
    namespace t = campo::trafoge;
    return titulo(trafos.value(t::DENOMINACION).toString(), trafos.value(t::MARCA).toString(),
                  trafos.value(t::NRO_DE_SERIE).toString());
}

std::optional<Dibujo> dibujoActual(const RecordView& trafos, const RecordView& datos,
                                   const Peticion& peticion)
{
    const QVariant codigo =
        trafos.absolutePosition() >= 0 ? trafos.value(campo::trafoge::CODIGO) : QVariant();
    auto filas = filasDesdeActual(datos, peticion, codigo);
    if (!filas)
        return std::nullopt;
    return dibujar(peticion, *filas, tituloDe(trafos));
}

} // namespace graficos
