#pragma once

#include "app/logic/RunState.h"
#include "records/logic/DataViews.h"
#include "records/logic/ModeloPrioridades.h"
#include "records/ui/BarraNavegacion.h"
#include "records/ui/CabeceraTrafo.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/ListaTrafos.h"
#include "records/ui/PaginaFechada.h"
#include "records/ui/PaginaPrioridades.h"
#include "records/ui/Trafo.h"
#include "tests/support/ScriptedMensajes.h"
#include "tests/support/TempData.h"

#include <QDate>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

// The real main window on a small plant, shared by the window tests.
namespace planta {

inline QString u(const char* text)
{
    return QString::fromUtf8(text);
}

// Three transformers: 10 red and manual with two tests and a maintenance but no inspection,
// 20 green and automatic with the two earliest inspections, 30 yellow and automatic with the
// two latest inspections and one test.
inline void llenar(const TempData& datos)
{
    datos.exec(
        u("INSERT INTO Trafoge (\"CÓDIGO\", AREA, MARCA, \"DENOMINACIÓN\", ESTADO, GRAVEDAD, AUTO) VALUES "
          "(10, 'Norte', 'Tadeo', 'Bombeo', 3, 12, 1),"
          "(20, 'Sur', 'Ivera', 'Planta', 1, 0, 0),"
          "(30, 'Este', 'Ivera', 'Taller', 2, 4, 0)"));
    datos.exec(u("INSERT INTO Revision (\"CÓDIGO\", FECHA, LIMPIEZA) VALUES "
                 "(20, '2024-01-10', 'BIEN'), (20, '2024-06-10', 'REGULAR'),"
                 "(30, '2025-03-01', 'BIEN'), (30, '2025-09-01', 'NO REALIZADA')"));
    datos.exec(u("INSERT INTO Ensayos (\"Código\", Fecha, EFQ, GAS, PCB, Acidez) VALUES "
                 "(10, '2024-02-01', 1, 1, 1, 0.1),"
                 "(10, '2024-08-01', 0, 0, 0, NULL),"
                 "(30, '2025-01-01', 0, 1, 0, NULL)"));
    datos.exec(u("INSERT INTO Mantenimiento (\"Código\", Fecha, Pintado) VALUES (10, '2024-05-05', 1)"));
}

// The real main window on a small plant, opened and aligned as the program starts it.
struct Planta
{
    explicit Planta(bool soloLectura = false)
    {
        llenar(datos);
        estado.SoloLectura = soloLectura;
        trafo = std::make_unique<Trafo>(estado, vistas);
        trafo->setMensajes(mensajes);
        trafo->setEntradas(mensajes, [this](QWidget*) {
            ++calendarios;
            return std::optional<QDate>(QDate(2026, 3, 4));
        });
        vistas.openAll(datos.open(soloLectura), soloLectura);
        trafo->mostrarEstado();
        trafo->alinear();
        trafo->resize(1200, 800);
        trafo->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(trafo.get()));
    }

    void pulsar(BarraNavegacion* barra, BarraNavegacion::Boton b)
    {
        QTest::mouseClick(barra->boton(b), Qt::LeftButton);
    }
    QString codigo(RecordView& v) const
    {
        return v.isOpen() && !v.bof() && !v.eof() ? v.value(0).toString() : QString();
    }
    QString codigoLista() const
    {
        ListaTrafos* lista = trafo->paginaPrioridades()->lista();
        return lista->currentIndex().data(ModeloPrioridades::RolCodigo).toString();
    }
    QLineEdit* caja(PaginaFechada* p, const char* campo) const
    {
        return qobject_cast<QLineEdit*>(p->enlace()->caja(u(campo)));
    }

    TempData datos;
    RunState estado;
    DataViews vistas{estado};
    ScriptedMensajes mensajes;
    std::unique_ptr<Trafo> trafo;
    int calendarios = 0;
};

} // namespace planta
