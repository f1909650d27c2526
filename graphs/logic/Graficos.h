#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>

// What one trend graph shows, computed from rows without any chart: which fields a graph
// reads, which rows become points, the titles and the legends. The windows draw the result.
namespace graficos {

// The three graphs of the record tabs, by their index.
enum Grafico
{
    GraficoRevision = 0,
    GraficoEnsayos = 1,
    GraficoMantenimiento = 2
};

// The quantities of the inspection graph: "Aislación", "% Oxígeno", "Rigidez".
enum CantidadRevision
{
    Aislacion = 0,
    Oxigeno = 1,
    RigidezRevision = 2
};

// The quantities of the test graph, in the order of their option buttons.
enum CantidadEnsayo
{
    Acidez = 0,
    Inhibidor = 1,
    TIF = 2,
    Rigidez = 3,
    KarlFisher = 4,
    TotalFuranos = 5,
    Gases = 6
};

// What the test graph plots for "Gases:"; lives for one run and starts empty.
struct ConfiguracionGases
{
    enum Modo
    {
        GasesMarcados = 0,
        TotalCombustibles = 1,
        TotalGases = 2
    };
    int modo = GasesMarcados;
    // Check-box states of the nine gases (0 unticked, 1 ticked, 2 greyed); non-zero is ticked.
    std::array<int, 9> gases{};

    bool marcado(int gas) const { return gases.at(size_t(gas)) != 0; }
    bool operator==(const ConfiguracionGases&) const = default;
};

// The nine gas fields of a test, H2 first and C2H2 last.
QStringList camposGases();
// The sixteen work items of a maintenance row, in the table's order.
QStringList itemsMantenimiento();
// The captions of the test quantities ("Acidez" ... "Gases:").
QStringList captionsEnsayo();
QStringList captionsRevision();

// Most points a graph shows.
constexpr int kMaxPuntos = 10;

// What a drawing is asked for.
struct Peticion
{
    Grafico grafico = GraficoEnsayos;
    // CantidadRevision or CantidadEnsayo; unused for maintenance.
    int cantidad = 0;
    ConfiguracionGases gases;
    // The enlarged window names the maintenance items in its legend.
    bool ampliado = false;
};

// One row of the current transformer: its date and the values of campos(peticion), in order.
struct Fila
{
    QDate fecha;
    QVariantList valores;
};

struct Serie
{
    QString leyenda;
    QList<double> valores; // one per point, left to right
};

// One drawing: titles, the data sets that are drawn and the point labels, left to right.
struct Dibujo
{
    QString titulo;
    QString tituloCantidad;
    QList<Serie> series;
    QStringList etiquetas;
    QList<QDate> fechas;
    bool barras = false; // bars for inspections and maintenance, a line for tests

    int puntos() const { return int(etiquetas.size()); }
};

// The graph title: DENOMINACIÓN + "  " + MARCA + "  S. " + NRO DE SERIE.
QString titulo(const QString& denominacion, const QString& marca, const QString& serie);
QString tituloCantidad(const Peticion& peticion);
// The table and its code field that a graph reads.
QString tabla(Grafico grafico);
QString campoCodigo(Grafico grafico);
// The fields a drawing reads from each row, in the order Fila::valores holds them.
QStringList campos(const Peticion& peticion);

// True when the row becomes a point of the drawing (it carries a value).
bool esPunto(const Peticion& peticion, const Fila& fila);

// The drawing from the current transformer's rows, from the current row on in the order the
// tab's view holds them. The first kMaxPuntos rows that carry a value become points; the
// current row is drawn rightmost. When the collected rows are not in date order (a view
// sorted by something else, rows typed out of order) they are put in date order first, so
// that the line reads as a trend.
Dibujo dibujar(const Peticion& peticion, const QList<Fila>& filas, const QString& titulo);

// A reading as a whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double entero(double valor);

} // namespace graficos
