#pragma once

#include "app/logic/RunState.h"
#include "app/ui/Composicion.h"
#include "records/logic/DataViews.h"
#include "records/ui/Trafo.h"
#include "tests/support/ScriptedMensajes.h"
#include "tests/support/TempData.h"

#include <QDate>
#include <functional>
#include <memory>

class Graficos;
class PaginaEnsayos;
class PaginaFechada;
class QLineEdit;
class VentanasMetodo;

// The real main window, composed by the program's own composition function, on a temporary
// data file that llenar fills first. It opens and aligns its views as start-up does, and is
// shown offscreen at a fixed size. Message boxes go to a script; the calendar window is
// replaced by a day the test chooses unless the options keep it.
class VentanaPrueba
{
public:
    struct Opciones
    {
        bool soloLectura = false;
        QSize tamano{1300, 800};
        // Another data file to open instead of the temporary one (the demo plant, say).
        QString archivo;
        // Keeps the program's own calendar window (a modal window the test must answer).
        bool calendarioReal = false;
    };
    explicit VentanaPrueba(const std::function<void(const TempData&)>& llenar, Opciones opciones);
    explicit VentanaPrueba(const std::function<void(const TempData&)>& llenar)
        : VentanaPrueba(llenar, Opciones())
    {
    }
    ~VentanaPrueba();

    Trafo& trafo() const { return *m_ventana.trafo; }
    VentanasMetodo& metodos() const { return *m_ventana.metodos; }
    // The trend graphs; their picture files go to the temporary folder.
    Graficos& graficos() const { return *m_ventana.graficos; }
    informe::ImpresionInformes& informes() const { return *m_ventana.informes; }

    // Moves the transformer view to the transformer with that code, as a user's move does.
    void irA(int codigo);
    // The code of a view's current row, empty off its rows.
    static QString codigo(const RecordView& v);
    // A bound box of a page by field name.
    static QLineEdit* caja(PaginaFechada* pagina, const QString& campo);
    // Replaces a box's text by typing, as the user does (accents included).
    static void escribir(QWidget* caja, const QString& texto);
    // One value of the file, read on a connection of its own.
    QVariant valor(const QString& sql) const;

    TempData datos;
    RunState estado;
    DataViews vistas{estado};
    ScriptedMensajes mensajes;
    // The day the calendar window "picks", and how many times it was opened.
    std::optional<QDate> diaElegido = QDate(2026, 3, 4);
    int calendarios = 0;
    // The reports the buttons printed: "name: selection" (the formulas, empty for none).
    QStringList informesImpresos;

private:
    VentanaCompuesta m_ventana;
};
