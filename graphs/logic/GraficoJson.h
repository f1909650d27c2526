#pragma once

#include "data/logic/Result.h"
#include "graphs/logic/Graficos.h"

#include <QByteArray>
#include <QDate>

// The points of a graph of a data file as JSON, for the command line: the same collection as the
// main window's graphs, starting from the transformer's first row of the tab (or the row of a date).
namespace graficos {

struct PedidoJson
{
    QString carpeta;
    qint64 codigo = 0;
    Peticion peticion;
    // The row the graph starts from; the transformer's first row when invalid.
    QDate fecha;
};

// "revision", "ensayos", "mantenimiento"; nothing for any other word.
std::optional<Grafico> graficoDeNombre(const QString& nombre);
// Reads the options of the command: --codigo N, --tipo revision|ensayos|mantenimiento,
// --cantidad N, --modo 0|1|2, --gases LISTA (indices 0-8 separated by commas), --fecha
// AAAA-MM-DD and --ampliado; a Spanish message names the first bad one.
Result<PedidoJson> leerPedido(const QString& carpeta, const QStringList& opciones);
Result<QByteArray> graficoJson(const PedidoJson& pedido);

} // namespace graficos
