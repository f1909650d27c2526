#pragma once

#include "data/logic/Result.h"
#include "graphs/logic/Archivos.h"
#include "graphs/logic/Graficos.h"

#include <QObject>
#include <QPointer>
#include <array>
#include <functional>
#include <optional>

class Dialog;
class Grafo;
class LienzoGrafico;
class PanelGrafico;
class QPrinter;
class QWidget;
class RecordView;

// The trend graphs of the main window: the three GRÁFICOS panels, the enlarged window Grafo
// and the gas configuration dialog, with the run's state they share (3D choices, enlarged
// kind, gas configuration, picture files). Graphs are drawn on request only, from the views
// without moving them.
class Graficos : public QObject
{
    Q_OBJECT
public:
    // Shows the print preview (and from it the print dialog); pintar paints the pages.
    using Impresion = std::function<void(QPrinter& printer, const std::function<void(QPrinter*)>& pintar)>;

    // trafos: the transformer view the tabs' headers follow; datos: inspections, tests,
    // maintenance. ventana parents the panels' windows.
    Graficos(RecordView& trafos, std::array<RecordView*, 3> datos, QWidget* ventana);
    ~Graficos() override;

    PanelGrafico* panel(int grafico) const { return m_paneles.at(size_t(grafico)); }
    // The enlarged window and the dialog; null while not open.
    Grafo* grafo() const;
    Dialog* dialogo() const;

    graficos::ConfiguracionGases& gases() { return m_gases; }
    bool tresD(int grafico) const { return m_tresD.at(size_t(grafico)); }
    std::array<int, 3> codigosTipo(int grafico) const { return m_codigos.at(size_t(grafico)); }
    int tipoAmpliado() const { return m_tipoAmpliado; }
    graficos::Peticion peticion(int grafico, bool ampliado) const;

    void redibujar(int grafico);
    void setTresD(int grafico, bool tresD);
    void copiar(int grafico);
    // Writes the graph's picture file, then prints that file; a failure is returned.
    Status imprimir(int grafico);
    void abrirAmpliado(int grafico);
    void dibujarAmpliado();
    void copiarAmpliado();
    Status imprimirAmpliado();
    // Opens the gas configuration modally, without waiting for it.
    void configurarGases();

    // Names the picture files in folder (start-up and every change of the data file's folder).
    void nombrarArchivos(const QString& carpeta);
    const graficos::ArchivosImagen& archivos() const { return m_archivos; }
    void setImpresion(Impresion impresion) { m_impresion = std::move(impresion); }
    // Closes Grafo and the dialog (the program's exit).
    void cerrarVentanas();

signals:
    // A print failed; the message is for the user.
    void fallo(const QString& mensaje);

private:
    void copiarDe(const LienzoGrafico& lienzo);
    Status imprimirDe(const LienzoGrafico& lienzo, const QString& ruta, bool apaisado);

    RecordView& m_trafos;
    std::array<RecordView*, 3> m_datos;
    QWidget* m_ventana;
    std::array<PanelGrafico*, 3> m_paneles{};
    QPointer<Grafo> m_grafo;
    QPointer<Dialog> m_dialogo;
    graficos::ConfiguracionGases m_gases;
    std::array<bool, 3> m_tresD{};
    std::array<std::array<int, 3>, 3> m_codigos{};
    int m_tipoAmpliado = 0;
    graficos::ArchivosImagen m_archivos;
    Impresion m_impresion;
};
