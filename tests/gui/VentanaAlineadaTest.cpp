#include "app/logic/RunState.h"
#include "records/logic/Alineacion.h"
#include "records/logic/DataViews.h"
#include "records/logic/ModeloPrioridades.h"
#include "records/ui/BarraNavegacion.h"
#include "records/ui/CabeceraTrafo.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/EntradaValidada.h"
#include "records/ui/ListaTrafos.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaPrioridades.h"
#include "records/ui/PaginaRevision.h"
#include "records/ui/PaginaTrafos.h"
#include "records/ui/Trafo.h"
#include "tests/gui/PlantaPrueba.h"
#include "tests/support/ScriptedMensajes.h"
#include "tests/support/TempData.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace planta;

TEST(VentanaAlineada, TrafoSinRevisionesYBarraAparcada)
{
    Planta p;
    PaginaRevision* revision = p.trafo->paginaRevision();
    // Start-up aligned everything on the first transformer, which has no inspection.
    EXPECT_EQ(p.codigo(p.vistas.Data1), QStringLiteral("10"));
    EXPECT_TRUE(revision->sinRegistros());
    EXPECT_TRUE(revision->cajaCodigo()->text().isEmpty());
    EXPECT_TRUE(p.caja(revision, "FECHA")->text().isEmpty());
    EXPECT_FALSE(p.trafo->paginaEnsayos()->sinRegistros());
    EXPECT_EQ(p.trafo->paginaEnsayos()->cajaCodigo()->text(), QStringLiteral("10"));
    EXPECT_EQ(p.codigoLista(), QStringLiteral("10"));

    // Previous from the parked view: the last inspection of the whole table, and the window follows.
    p.pulsar(revision->barra(), BarraNavegacion::Anterior);
    EXPECT_EQ(p.codigo(p.vistas.Data2), QStringLiteral("30"));
    EXPECT_EQ(p.caja(revision, "FECHA")->text(), QStringLiteral("01/09/2025"));
    EXPECT_FALSE(revision->sinRegistros());
    EXPECT_EQ(p.codigo(p.vistas.Data1), QStringLiteral("30"));
    EXPECT_EQ(p.trafo->paginaTrafos()->cabecera()->caja(0)->text(), QStringLiteral("30"));
    EXPECT_EQ(p.trafo->paginaEnsayos()->cajaCodigo()->text(), QStringLiteral("30"));
    EXPECT_TRUE(p.trafo->paginaMantenimiento()->sinRegistros());
    EXPECT_EQ(p.codigoLista(), QStringLiteral("30"));
    EXPECT_EQ(revision->barra()->caption(), QStringLiteral("REV:4-4"));

    // Back on transformer 10 the inspections park again; first goes to the first of the table.
    p.pulsar(p.trafo->paginaTrafos()->barra(), BarraNavegacion::Primero);
    EXPECT_TRUE(revision->sinRegistros());
    EXPECT_TRUE(revision->cajaCodigo()->text().isEmpty());
    p.pulsar(revision->barra(), BarraNavegacion::Primero);
    EXPECT_EQ(p.codigo(p.vistas.Data2), QStringLiteral("20"));
    EXPECT_EQ(p.caja(revision, "FECHA")->text(), QStringLiteral("10/01/2024"));
    EXPECT_EQ(p.codigo(p.vistas.Data1), QStringLiteral("20"));
    EXPECT_EQ(p.codigoLista(), QStringLiteral("20"));
    EXPECT_TRUE(p.trafo->paginaEnsayos()->sinRegistros());
}

TEST(VentanaAlineada, CadaVistaLlevaALasOtrasAlMismoTrafo)
{
    Planta p;
    // A move in the tests view: transformer 30's test brings its first inspection.
    p.pulsar(p.trafo->paginaEnsayos()->barra(), BarraNavegacion::Ultimo);
    EXPECT_EQ(p.codigo(p.vistas.Data3), QStringLiteral("30"));
    EXPECT_EQ(p.codigo(p.vistas.Data1), QStringLiteral("30"));
    EXPECT_EQ(p.codigo(p.vistas.Data2), QStringLiteral("30"));
    EXPECT_EQ(p.caja(p.trafo->paginaRevision(), "FECHA")->text(), QStringLiteral("01/03/2025"));
    EXPECT_TRUE(p.trafo->paginaMantenimiento()->sinRegistros());
    EXPECT_EQ(p.codigoLista(), QStringLiteral("30"));

    // A move in the maintenance view (parked: its first button) brings everything to 10.
    p.pulsar(p.trafo->paginaMantenimiento()->barra(), BarraNavegacion::Primero);
    EXPECT_EQ(p.codigo(p.vistas.Data4), QStringLiteral("10"));
    EXPECT_EQ(p.codigo(p.vistas.Data1), QStringLiteral("10"));
    EXPECT_EQ(p.codigo(p.vistas.Data3), QStringLiteral("10"));
    EXPECT_TRUE(p.trafo->paginaRevision()->sinRegistros());
    EXPECT_EQ(p.codigoLista(), QStringLiteral("10"));

    // A main tab change shows a dated tab's notice while its code box is empty.
    p.trafo->paginaRevision()->setSinRegistros(false);
    p.trafo->tabs()->setCurrentWidget(p.trafo->paginaRevision());
    EXPECT_TRUE(p.trafo->paginaRevision()->sinRegistros());
    p.trafo->tabs()->setCurrentWidget(p.trafo->paginaEnsayos());
    EXPECT_FALSE(p.trafo->paginaEnsayos()->sinRegistros());
}

TEST(VentanaAlineada, EvaluacionDeCadaEnsayoMostrado)
{
    Planta p;
    QStringList llamadas;
    p.trafo->setEvaluacionEnsayo([&] { llamadas << QStringLiteral("Calculus"); },
                                 [&] { llamadas << QStringLiteral("Diagnos"); });
    PaginaEnsayos* ensayos = p.trafo->paginaEnsayos();
    QWidget* acidez = ensayos->enlace()->caja(u("Acidez"));
    QWidget* acetileno = ensayos->cajaTxt(91);
    ASSERT_TRUE(acidez && acetileno);
    EXPECT_TRUE(acidez->isEnabled());

    // The user's step: one evaluation, then the group enabling of the new test.
    p.pulsar(ensayos->barra(), BarraNavegacion::Siguiente);
    EXPECT_EQ(llamadas, QStringList({QStringLiteral("Calculus"), QStringLiteral("Diagnos")}));
    EXPECT_FALSE(acidez->isEnabled());
    EXPECT_FALSE(acetileno->isEnabled());

    // Choosing another transformer moves the tests view too: the same evaluation runs.
    llamadas.clear();
    p.pulsar(p.trafo->paginaTrafos()->barra(), BarraNavegacion::Ultimo);
    EXPECT_EQ(p.codigo(p.vistas.Data3), QStringLiteral("30"));
    EXPECT_EQ(llamadas, QStringList({QStringLiteral("Calculus"), QStringLiteral("Diagnos")}));
    EXPECT_FALSE(acidez->isEnabled());
    EXPECT_TRUE(acetileno->isEnabled());

    // A transformer without tests shows none and evaluates none.
    llamadas.clear();
    p.pulsar(p.trafo->paginaTrafos()->barra(), BarraNavegacion::Anterior);
    EXPECT_TRUE(ensayos->sinRegistros());
    EXPECT_TRUE(llamadas.isEmpty());

    p.pulsar(p.trafo->paginaTrafos()->barra(), BarraNavegacion::Primero);
    EXPECT_EQ(llamadas, QStringList({QStringLiteral("Calculus"), QStringLiteral("Diagnos")}));
    EXPECT_TRUE(acidez->isEnabled());
}

TEST(VentanaAlineada, ModoManualYAutomatico)
{
    Planta p;
    PaginaTrafos* trafos = p.trafo->paginaTrafos();
    const struct
    {
        const char* codigo;
        const char* boton;
        bool editable;
        int estado;
    } casos[] = {{"10", "Manual", true, 3}, {"20", "Automático", false, 1}, {"30", "Automático", false, 2}};
    bool primero = true;
    for (const auto& c : casos) {
        if (!primero)
            p.pulsar(trafos->barra(), BarraNavegacion::Siguiente);
        primero = false;
        SCOPED_TRACE(c.codigo);
        EXPECT_EQ(p.codigo(p.vistas.Data1), u(c.codigo));
        EXPECT_EQ(trafos->botonModo()->text(), u(c.boton));
        EXPECT_EQ(trafos->botonModo()->isChecked(), c.editable);
        EXPECT_EQ(trafos->listaEstado()->isEnabled(), c.editable);
        EXPECT_EQ(trafos->cajaGravedad()->isReadOnly(), !c.editable);
        EXPECT_EQ(trafos->listaEstado()->currentIndex(), c.estado);
    }
}

TEST(VentanaAlineada, LasOchoLucesMuestranElEstado)
{
    Planta p;
    const QList<QWidget*> luces = p.trafo->luces();
    ASSERT_EQ(luces.size(), 8);
    QSet<QString> nombres;
    for (QWidget* l : luces)
        nombres.insert(l->objectName());
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(nombres.contains(QStringLiteral("SemaforoLuz1_%1").arg(i))) << i;

    const struct
    {
        int estado;
        bool rojo; // red lamp, else green
    } pasos[] = {{3, true}, {1, false}};
    for (const auto& paso : pasos) {
        SCOPED_TRACE(paso.estado);
        for (QWidget* l : luces) {
            EXPECT_EQ(CabeceraTrafo::estadoLuz(l), paso.estado) << l->objectName().toStdString();
            const QImage img = l->grab().toImage();
            const QColor c = img.pixelColor(img.width() / 2, img.height() / 2);
            if (paso.rojo)
                EXPECT_GT(c.red(), c.green() + 60) << l->objectName().toStdString();
            else
                EXPECT_GT(c.green(), c.red() + 60) << l->objectName().toStdString();
        }
        p.pulsar(p.trafo->paginaTrafos()->barra(), BarraNavegacion::Siguiente);
    }
}

TEST(VentanaAlineada, SoloLecturaOcultaBotonesYSigueAlineando)
{
    Planta p(true);
    EXPECT_EQ(p.trafo->findChild<QLabel*>(QStringLiteral("LabelModo"))->text(),
              QStringLiteral("MODO: Solo Lectura"));
    for (PaginaFechada* f : {static_cast<PaginaFechada*>(p.trafo->paginaRevision()),
                             static_cast<PaginaFechada*>(p.trafo->paginaEnsayos()),
                             static_cast<PaginaFechada*>(p.trafo->paginaMantenimiento())}) {
        for (const auto b : {PaginaFechada::Agregar, PaginaFechada::Eliminar, PaginaFechada::Guardar,
                             PaginaFechada::Cancelar})
            EXPECT_TRUE(f->boton(b)->isHidden()) << f->objectName().toStdString();
        EXPECT_FALSE(f->boton(PaginaFechada::Refrescar)->isHidden());
    }
    EXPECT_TRUE(p.trafo->paginaTrafos()->boton(PaginaTrafos::Guardar)->isHidden());
    p.pulsar(p.trafo->paginaTrafos()->barra(), BarraNavegacion::Siguiente);
    EXPECT_EQ(p.codigo(p.vistas.Data2), QStringLiteral("20"));
    EXPECT_TRUE(p.trafo->paginaEnsayos()->sinRegistros());

    // No calendar opens on a date box: nothing may be changed.
    QLineEdit* fecha = p.caja(p.trafo->paginaRevision(), "FECHA");
    const QString antes = fecha->text();
    QTest::mouseClick(fecha, Qt::LeftButton);
    EXPECT_EQ(p.calendarios, 0);
    EXPECT_EQ(fecha->text(), antes);
}

TEST(VentanaAlineada, TecleoConSeparadorDecimal)
{
    const struct
    {
        QChar separador;
        const char* esperado;
    } casos[] = {{QLatin1Char(','), "1,5"}, {QLatin1Char('.'), "1.5"}};
    for (const auto& c : casos) {
        Planta p;
        SCOPED_TRACE(c.esperado);
        p.trafo->tabs()->setCurrentWidget(p.trafo->paginaEnsayos());
        p.trafo->paginaEnsayos()->detalle()->setCurrentIndex(0);
        QApplication::setActiveWindow(p.trafo.get());
        auto* acidez = qobject_cast<QLineEdit*>(p.trafo->paginaEnsayos()->enlace()->caja(u("Acidez")));
        ASSERT_TRUE(acidez);
        auto* entrada = acidez->findChild<EntradaValidada*>();
        ASSERT_TRUE(entrada);
        const QChar sep = c.separador;
        entrada->setSeparatorProvider([sep] { return sep; });
        acidez->setFocus();
        QTRY_VERIFY(acidez->hasFocus());
        acidez->selectAll();
        QTest::keyClicks(acidez, QStringLiteral("1.5"));
        EXPECT_EQ(acidez->text(), u(c.esperado));
        EXPECT_TRUE(p.mensajes.shown.isEmpty());
    }
}

TEST(VentanaAlineada, EnterEnGasesYCalendario)
{
    Planta p;
    PaginaEnsayos* ensayos = p.trafo->paginaEnsayos();
    p.trafo->tabs()->setCurrentWidget(ensayos);
    QTabWidget* detalle = ensayos->detalle();
    const struct
    {
        int caja;
        const char* pestana;
    } casos[] = {{91, "GASES"}, {101, "OBSERVACION"}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.pestana);
        detalle->setCurrentIndex(0);
        QWidget* caja = ensayos->cajaTxt(c.caja);
        ASSERT_TRUE(caja && caja->isEnabled());
        QTest::keyClick(caja, Qt::Key_Return);
        EXPECT_EQ(detalle->tabText(detalle->currentIndex()), u(c.pestana));
    }

    // A click in a test's date box opens the calendar and shows the picked day.
    QLineEdit* fecha = p.caja(ensayos, "Fecha");
    ASSERT_TRUE(fecha);
    QTest::mouseClick(fecha, Qt::LeftButton);
    EXPECT_EQ(p.calendarios, 1);
    EXPECT_EQ(fecha->text(), QStringLiteral("04/03/2026"));
}

TEST(VentanaAlineada, DejarUnaRevisionGuardaLoEditadoYBlanquea)
{
    Planta p;
    PaginaRevision* revision = p.trafo->paginaRevision();
    p.pulsar(revision->barra(), BarraNavegacion::Primero);
    auto* limpieza = qobject_cast<QComboBox*>(revision->enlace()->caja(u("LIMPIEZA")));
    ASSERT_TRUE(limpieza);
    EXPECT_EQ(limpieza->currentText(), QStringLiteral("BIEN"));
    limpieza->setCurrentIndex(limpieza->findText(QStringLiteral("NO REALIZADA")));

    // What the page shows at the moment the row is left: lists, code and date blanked.
    QStringList listasAlDejar;
    QString codigoAlDejar = QStringLiteral("<sin blanquear>");
    QObject::connect(p.trafo->alineacion(), &Alineacion::blanquearRevision, p.trafo.get(), [&] {
        for (QComboBox* c : revision->findChildren<QComboBox*>())
            if (revision->enlace()->cajas().contains(c))
                listasAlDejar << c->currentText();
        codigoAlDejar = revision->cajaCodigo()->text();
    });
    p.pulsar(revision->barra(), BarraNavegacion::Siguiente);
    EXPECT_EQ(codigoAlDejar, QString());
    ASSERT_FALSE(listasAlDejar.isEmpty());
    for (const QString& t : listasAlDejar)
        EXPECT_TRUE(t.trimmed().isEmpty()) << t.toStdString();
    // The next row shows its own values, and the edit of the row left was kept.
    EXPECT_EQ(limpieza->currentText(), QStringLiteral("REGULAR"));
    p.pulsar(revision->barra(), BarraNavegacion::Primero);
    EXPECT_EQ(p.vistas.Data2.value(u("LIMPIEZA")).toString(), QStringLiteral("NO REALIZADA"));
    EXPECT_EQ(limpieza->currentText(), QStringLiteral("NO REALIZADA"));
}

TEST(VentanaAlineada, MostrarUnaFilaNoPasaPorElVerificador)
{
    // Only what the user types is checked: a stored number shown with the program's point is
    // neither rewritten to the locale's comma nor written back as an edit.
    Planta p;
    PaginaEnsayos* ensayos = p.trafo->paginaEnsayos();
    auto* acidez = qobject_cast<QLineEdit*>(ensayos->enlace()->caja(u("Acidez")));
    ASSERT_TRUE(acidez);
    auto* entrada = acidez->findChild<EntradaValidada*>();
    ASSERT_TRUE(entrada);
    entrada->setSeparatorProvider([] { return QLatin1Char(','); });
    const QString mostrado = acidez->text();
    p.pulsar(ensayos->barra(), BarraNavegacion::Siguiente);
    p.pulsar(ensayos->barra(), BarraNavegacion::Primero);
    EXPECT_EQ(acidez->text(), mostrado);
    EXPECT_DOUBLE_EQ(p.vistas.Data3.value(u("Acidez")).toDouble(), 0.1);
    EXPECT_TRUE(p.mensajes.shown.isEmpty());
}
