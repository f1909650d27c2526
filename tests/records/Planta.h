#pragma once

#include "records/logic/Alineacion.h"
#include "records/logic/ModeloPrioridades.h"
#include "records/ui/BarraNavegacion.h"
#include "records/ui/EdicionRegistros.h"
#include "records/ui/ListaTrafos.h"
#include "records/ui/PaginaFechada.h"
#include "records/ui/PaginaPrioridades.h"
#include "records/ui/PaginaTrafos.h"
#include "records/ui/Trafo.h"
#include "tests/support/Texto.h"
#include "tests/support/VentanaPrueba.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

// The small plant of the window tests. Transformer 10 is red and manual with two tests and a
// maintenance but no inspection; 20 green and automatic with the two earliest inspections;
// 30 yellow and automatic with the two latest inspections and one test.
inline void llenarPlanta(const TempData& datos)
{
    datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", AREA, MARCA, TIPO, \"DENOMINACIÓN\", \"NRO DE SERIE\", "
                 "ESTADO, GRAVEDAD, AUTO, \"TIPO AISLANTE\") VALUES "
                 "(10, 'Norte', 'Tadeo', 'SECO', 'Bombeo', 'S-100', 3, 12.5, 1, 'SILICONA'),"
                 "(20, 'Sur', 'Ivera', 'SELLADO', 'Planta', 'S-200', 1, 0, 0, 'MINERAL'),"
                 "(30, 'Este', 'Ivera', 'T.EXPANSIÓN', 'Taller', 'S-300', 2, 4, 0, NULL)"));
    datos.exec(u("INSERT INTO Revision (\"CÓDIGO\", FECHA, LIMPIEZA, \"SEC  / PRIM A TIERRA 10'\") VALUES "
                 "(20, '2024-01-10', 'BIEN', 250), (20, '2024-06-10', 'REGULAR', NULL),"
                 "(30, '2025-03-01', 'BIEN', NULL), (30, '2025-09-01', 'NO REALIZADA', NULL)"));
    datos.exec(
        u("INSERT INTO Ensayos (\"Código\", Fecha, EFQ, GAS, PCB, \"IN\", LD, Acidez, \"%_Inhibidor\", "
          "Sedimentos) VALUES (10, '2024-02-01', 1, 1, 1, 0, 0, 0.1, 0.3, NULL),"
          "(10, '2024-08-01', 0, 0, 0, 0, 0, NULL, NULL, NULL),"
          "(30, '2025-01-01', 0, 1, 0, 1, 1, NULL, 0.2, 'MEDIA')"));
    datos.exec(u("INSERT INTO Mantenimiento (\"Código\", Fecha, Pintado, \"Rep  o cambio termocuadrante\") "
                 "VALUES (10, '2024-05-05', 1, 1)"));
}

// The window on that plant, with what the tests click and read.
struct Planta : VentanaPrueba
{
    explicit Planta(Opciones opciones = Opciones()) : VentanaPrueba(llenarPlanta, opciones) {}

    void pulsar(BarraNavegacion* barra, BarraNavegacion::Boton b)
    {
        QTest::mouseClick(barra->boton(b), Qt::LeftButton);
    }
    void pulsar(PaginaTrafos::Boton b)
    {
        trafo().tabs()->setCurrentWidget(trafo().paginaTrafos());
        trafo().paginaTrafos()->subtabs()->setCurrentIndex(b == PaginaTrafos::GuardarAccesorios ? 2 : 0);
        QTest::mouseClick(trafo().paginaTrafos()->boton(b), Qt::LeftButton);
    }
    void pulsar(PaginaFechada* p, PaginaFechada::Boton b)
    {
        trafo().tabs()->setCurrentWidget(p);
        p->subtabs()->setCurrentIndex(0);
        QTest::mouseClick(p->boton(b), Qt::LeftButton);
    }
    QString codigoLista() const
    {
        ListaTrafos* lista = trafo().paginaPrioridades()->lista();
        return lista->currentIndex().data(ModeloPrioridades::RolCodigo).toString();
    }
    int filas(const char* tabla, const char* donde = "1=1") const
    {
        return valor(u("SELECT COUNT(*) FROM %1 WHERE %2").arg(u(tabla), u(donde))).toInt();
    }
};
