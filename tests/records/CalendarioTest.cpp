#include "app/logic/RunState.h"
#include "data/logic/Database.h"
#include "records/logic/DataViews.h"
#include "records/ui/PaginaCalendario.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaRevision.h"
#include "tests/support/TempData.h"

#include <QCalendarWidget>
#include <QListView>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

// Two transformers with rows in the three dated tables; transformer 2's test dates are not
// transformer 1's, one date is shared by both and one test is of the last century.
void llenar(const TempData& datos)
{
    datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", AREA) VALUES (1, 'Norte'), (2, 'Sur')"));
    datos.exec(u("INSERT INTO Revision (\"CÓDIGO\", FECHA) VALUES (1, '2026-12-05'), (2, '2025-03-01')"));
    datos.exec(u("INSERT INTO Ensayos (\"Código\", Fecha) VALUES "
                 "(1, '2026-11-20'), (1, '2024-07-15'), (2, '2026-10-02'), (2, '2024-07-15'), "
                 "(2, '1998-05-04'), (2, NULL)"));
    datos.exec(u("INSERT INTO Mantenimiento (\"Código\", Fecha) VALUES (1, '2026-06-30')"));
}

// The three dated tabs as the main window holds them, with their calendars linked.
struct Calendarios
{
    Calendarios()
    {
        llenar(datos);
        vistas.openAll(datos.open(), false);
        revision.enlazar(vistas.Data2, vistas.Data1);
        ensayos.enlazar(vistas.Data3, vistas.Data1);
        mantenimiento.enlazar(vistas.Data4, vistas.Data1);
        revision.setCalendario(estado, vistas.Data8);
        ensayos.setCalendario(estado, vistas.Data7);
        mantenimiento.setCalendario(estado, vistas.Data6);
        PaginaCalendario::enlazarCalendarios(paginas());
    }
    ~Calendarios() { vistas.closeAll(); }

    QList<PaginaFechada*> tabs() { return {&revision, &ensayos, &mantenimiento}; }
    QList<PaginaCalendario*> paginas()
    {
        return {revision.calendario(), ensayos.calendario(), mantenimiento.calendario()};
    }
    static void abrir(PaginaFechada& tab)
    {
        tab.subtabs()->setCurrentIndex(0);
        tab.subtabs()->setCurrentIndex(3);
    }
    static QStringList textos(PaginaCalendario* p)
    {
        QStringList out;
        for (int i = 0; i < p->listaFechas()->model()->rowCount(); ++i)
            out << p->textoFila(i);
        return out;
    }
    QList<QDate> dias()
    {
        QList<QDate> out;
        for (PaginaCalendario* p : paginas())
            out << p->calendario()->selectedDate();
        return out;
    }

    TempData datos;
    RunState estado;
    DataViews vistas{estado};
    PaginaRevision revision;
    PaginaEnsayos ensayos;
    PaginaMantenimiento mantenimiento;
};

TEST(Calendario, TheTestsListOffersEveryTransformersDatesOnce)
{
    Calendarios c;
    // The test view stands on transformer 1; the list still has every test's date.
    ASSERT_EQ(c.vistas.Data3.value(u("Código")).toInt(), 1);
    Calendarios::abrir(c.ensayos);
    QStringList fechas = Calendarios::textos(c.ensayos.calendario());
    fechas.sort();
    EXPECT_EQ(fechas, (QStringList{QString(), u("02/10/26"), u("04/05/98"), u("15/07/24"), u("20/11/26")}));
    EXPECT_EQ(c.ensayos.subtabs()->widget(3)->objectName(), u("Calendario"));
}

TEST(Calendario, SelectingThePageReadsTheListAgainFromTheTable)
{
    Calendarios c;
    // Some other use of the view (a search) left another source on it.
    c.vistas.Data6.setRecordSource(u("SELECT DISTINCT [Fecha]  FROM mantenimiento WHERE 1=0"));
    c.vistas.Data6.refresh();
    c.datos.exec(u("INSERT INTO Mantenimiento (\"Código\", Fecha) VALUES (2, '2027-01-09')"));
    Calendarios::abrir(c.mantenimiento);
    EXPECT_EQ(c.vistas.Data6.recordSource(), DataViews::fuenteListaFechas(u("mantenimiento")));
    QStringList fechas = Calendarios::textos(c.mantenimiento.calendario());
    fechas.sort();
    EXPECT_EQ(fechas, (QStringList{u("09/01/27"), u("30/06/26")}));
}

TEST(Calendario, ReposicionActivaIsClearedWhileTheListOpensAndRestoredAfter)
{
    for (const bool antes : {true, false}) {
        Calendarios c;
        c.estado.ReposicionActiva = antes;
        QList<bool> durante;
        QObject::connect(&c.vistas.Data8, &RecordView::repositioned, &c.vistas.Data8,
                         [&] { durante << c.estado.ReposicionActiva; });
        Calendarios::abrir(c.revision);
        ASSERT_FALSE(durante.isEmpty()) << antes;
        EXPECT_FALSE(durante.contains(true)) << antes;
        EXPECT_EQ(c.estado.ReposicionActiva, antes);
        EXPECT_EQ(c.revision.calendario()->listaFechas()->model()->rowCount(), 2);
    }
}

TEST(Calendario, ChoosingADateInAnyListSetsAllThreeCalendars)
{
    Calendarios c;
    for (PaginaFechada* tab : c.tabs()) {
        tab->resize(900, 600);
        tab->show();
        Calendarios::abrir(*tab);
    }
    struct Caso
    {
        int pagina;
        QString texto;
        QDate dia;
    };
    const QList<Caso> casos = {{0, u("01/03/25"), QDate(2025, 3, 1)},
                               {1, u("20/11/26"), QDate(2026, 11, 20)},
                               // A two-digit year in the list still means the last century.
                               {1, u("04/05/98"), QDate(1998, 5, 4)},
                               {2, u("30/06/26"), QDate(2026, 6, 30)}};
    for (const Caso& caso : casos) {
        PaginaCalendario* p = c.paginas()[caso.pagina];
        const int fila = Calendarios::textos(p).indexOf(caso.texto);
        ASSERT_GE(fila, 0) << caso.texto.toStdString();
        QListView* lista = p->listaFechas();
        const QRect celda = lista->visualRect(lista->model()->index(fila, 0));
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, celda.center());
        EXPECT_EQ(c.dias(), QList<QDate>(3, caso.dia)) << caso.texto.toStdString();
    }

    // The row without a date changes nothing.
    PaginaCalendario* ensayos = c.ensayos.calendario();
    const int vacia = Calendarios::textos(ensayos).indexOf(QString());
    ASSERT_GE(vacia, 0);
    QListView* lista = ensayos->listaFechas();
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {},
                      lista->visualRect(lista->model()->index(vacia, 0)).center());
    EXPECT_EQ(c.dias(), QList<QDate>(3, QDate(2026, 6, 30)));
}

TEST(Calendario, PickingADayInAnyCalendarSetsAllThree)
{
    Calendarios c;
    const QList<QDate> dias = {QDate(2026, 12, 6), QDate(2019, 2, 28), QDate(2030, 1, 1)};
    for (int i = 0; i < 3; ++i) {
        c.paginas()[i]->calendario()->setSelectedDate(dias[i]);
        EXPECT_EQ(c.dias(), QList<QDate>(3, dias[i])) << i;
    }
}

TEST(Calendario, MonthNamesAreSpanish)
{
    Calendarios c;
    PaginaCalendario* p = c.revision.calendario();
    p->calendario()->setSelectedDate(QDate(2026, 12, 6));
    QStringList textos;
    for (QToolButton* b : p->calendario()->findChildren<QToolButton*>())
        textos << b->text();
    EXPECT_TRUE(textos.contains(u("diciembre"))) << textos.join(u(",")).toStdString();
}

} // namespace
