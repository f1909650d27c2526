#include "records/logic/Alineacion.h"

#include "app/logic/RunState.h"
#include "records/logic/DataViews.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using Vista = Alineacion::Vista;
using Paso = Alineacion::Paso;

namespace {

// Four transformers; the rows of each dated table are interleaved so that "the first row of
// the table" and "the first row of the transformer" differ.
//   code | inspections (rows) | tests (rows) | maintenance (rows)
//   1    | 1, 2               | 0, 2         | 0
//   2    | -                  | 1            | 1
//   3    | 0                  | -            | 2
//   4    | 3                  | 3            | -
void fillPlant(const TempData& data)
{
    data.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", AREA, ESTADO, GRAVEDAD, AUTO) VALUES "
                "(1, 'a', 1, 2.5, 1), (2, 'b', 3, 7, 0), (3, 'c', 2, 4, 0), (4, 'd', 0, 1, 1)"));
    data.exec(u("INSERT INTO Revision (\"CÓDIGO\", FECHA) VALUES "
                "(3, '2020-01-01'), (1, '2020-02-01'), (1, '2020-03-01'), (4, '2020-04-01')"));
    data.exec(u("INSERT INTO Ensayos (\"Código\", Fecha) VALUES "
                "(1, '2021-01-01'), (2, '2021-02-01'), (1, '2021-03-01'), (4, '2021-04-01')"));
    data.exec(u("INSERT INTO Mantenimiento (\"Código\", Fecha) VALUES "
                "(1, '2022-01-01'), (2, '2022-02-01'), (3, '2022-03-01')"));
}

class AlineacionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fillPlant(data);
        al.setEvaluacionEnsayo({[this] { llamadas << u("Relacion") + posEnsayo(); },
                                [this] { llamadas << u("Diagnostico") + posEnsayo(); },
                                [this] { llamadas << u("Grupos") + posEnsayo(); }});
        vistas.openAll(data.open(), false);
    }

    QString posEnsayo() const { return QLatin1Char('@') + QString::number(vistas.Data3.absolutePosition()); }
    // Opens with the window aligned on the first transformer, as the main window leaves it.
    void alinear()
    {
        al.alinearConTrafo();
        llamadas.clear();
    }
    void irATrafo(int codigo)
    {
        ASSERT_TRUE(vistas.Data1.findFirst(u("[código]=") + QString::number(codigo)).value());
    }
    static int codigo(const RecordView& view) { return view.value(0).toInt(); }
    // A press on a view's navigation bar, as the bar does it.
    void pulsar(Vista v, Paso paso)
    {
        al.antesDeNavegar(v);
        const Status st = Alineacion::pasar(al.vista(v), paso);
        ASSERT_TRUE(st.ok()) << st.error().toStdString();
    }
    // The last "S/ Registros" state signalled for a view; -1 when none was.
    static int ultimoSinRegistros(const QSignalSpy& spy, Vista v)
    {
        int last = -1;
        for (const auto& args : spy) {
            if (args.at(0).value<Vista>() == v)
                last = args.at(1).toBool() ? 1 : 0;
        }
        return last;
    }

    TempData data;
    RunState estado;
    DataViews vistas{estado};
    Alineacion al{estado, vistas};
    QStringList llamadas;
};

TEST_F(AlineacionTest, OpeningAlignsNothingAndTheFirstMoveOnlyTurnsTheSynchronisationOn)
{
    EXPECT_FALSE(estado.SincronizacionActiva);
    EXPECT_TRUE(llamadas.isEmpty()); // opening runs no evaluation
    EXPECT_EQ(vistas.Data2.absolutePosition(), 0);

    ASSERT_TRUE(vistas.Data1.moveNext().ok()); // to transformer 2, which has no inspections
    EXPECT_TRUE(estado.SincronizacionActiva);
    EXPECT_EQ(vistas.Data2.absolutePosition(), 0);
    EXPECT_FALSE(al.aparcada(Vista::Revision));

    // The next move aligns.
    ASSERT_TRUE(vistas.Data1.moveNext().ok()); // transformer 3
    EXPECT_EQ(codigo(vistas.Data2), 3);
    EXPECT_EQ(codigo(vistas.Data4), 3);
    EXPECT_TRUE(vistas.Data3.eof());
}

TEST_F(AlineacionTest, ChoosingATransformerBringsEveryViewAndTheListToIt)
{
    alinear();
    struct Caso
    {
        int trafo;
        int revision, ensayo, mantenimiento; // position; -1 parked past the last row
    };
    const Caso casos[] = {{4, 3, 3, -1}, {2, -1, 1, 1}, {1, 1, 0, 0}, {3, 0, -1, 2}, {1, 1, 0, 0}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.trafo);
        QSignalSpy notices(&al, &Alineacion::sinRegistros);
        QSignalSpy light(&al, &Alineacion::semaforoEnsayo);
        QSignalSpy state(&al, &Alineacion::estadoTrafo);
        irATrafo(c.trafo);
        // The state area shows the transformer's state, mode and severity.
        ASSERT_EQ(state.size(), 1);
        EXPECT_EQ(state.at(0).at(0).toInt(), vistas.Data1.value(u("ESTADO")).toInt());
        EXPECT_EQ(state.at(0).at(1).toBool(), c.trafo == 1 || c.trafo == 4);
        EXPECT_DOUBLE_EQ(state.at(0).at(2).toDouble(), vistas.Data1.value(u("GRAVEDAD")).toDouble());
        const std::pair<Vista, int> esperado[] = {{Vista::Revision, c.revision},
                                                  {Vista::Ensayos, c.ensayo},
                                                  {Vista::Mantenimiento, c.mantenimiento}};
        for (const auto& [v, pos] : esperado) {
            SCOPED_TRACE(static_cast<int>(v));
            RecordView& view = al.vista(v);
            EXPECT_EQ(view.absolutePosition(), pos);
            if (pos >= 0) {
                EXPECT_EQ(codigo(view), c.trafo);
            } else {
                EXPECT_TRUE(view.eof());
            }
            EXPECT_EQ(al.aparcada(v), pos < 0);
            EXPECT_EQ(ultimoSinRegistros(notices, v), pos < 0 ? 1 : 0);
        }
        EXPECT_EQ(codigo(vistas.Ado1), c.trafo);
        // A transformer without tests leaves the test's light off, after the parking lit it.
        if (c.ensayo < 0) {
            ASSERT_FALSE(light.isEmpty());
            EXPECT_EQ(light.last().at(0).toInt(), 0);
        } else {
            for (const auto& args : light)
                EXPECT_EQ(args.at(0).toInt(), 1);
        }
        EXPECT_FALSE(estado.ListaSinc1 || estado.ListaSinc2);
        EXPECT_TRUE(estado.ReposicionActiva);
    }
}

TEST_F(AlineacionTest, AStepOnAParkedBarLandsOnTheEndsOfTheTableAndMovesTheWindowThere)
{
    alinear();
    irATrafo(2);
    ASSERT_TRUE(al.aparcada(Vista::Revision));

    pulsar(Vista::Revision, Paso::Anterior);
    EXPECT_EQ(vistas.Data2.absolutePosition(), 3); // the last inspection of the table
    EXPECT_FALSE(al.aparcada(Vista::Revision));
    EXPECT_EQ(codigo(vistas.Data1), 4);
    EXPECT_EQ(codigo(vistas.Data3), 4);
    EXPECT_TRUE(vistas.Data4.eof());
    EXPECT_TRUE(al.aparcada(Vista::Mantenimiento));
    EXPECT_EQ(codigo(vistas.Ado1), 4);

    irATrafo(2);
    ASSERT_TRUE(al.aparcada(Vista::Revision));
    QSignalSpy notices(&al, &Alineacion::sinRegistros);
    pulsar(Vista::Revision, Paso::Primero);
    EXPECT_EQ(vistas.Data2.absolutePosition(), 0); // the first inspection of the table
    EXPECT_EQ(codigo(vistas.Data1), 3);
    EXPECT_TRUE(vistas.Data3.eof());
    EXPECT_TRUE(al.aparcada(Vista::Ensayos));
    EXPECT_EQ(codigo(vistas.Data4), 3);
    EXPECT_EQ(ultimoSinRegistros(notices, Vista::Revision), 0);
    EXPECT_EQ(ultimoSinRegistros(notices, Vista::Ensayos), 1);

    // The parked test view: a step forward from past the end lands on the table's last test.
    pulsar(Vista::Ensayos, Paso::Siguiente);
    EXPECT_EQ(vistas.Data3.absolutePosition(), 3);
    EXPECT_FALSE(al.aparcada(Vista::Ensayos));
    EXPECT_EQ(codigo(vistas.Data1), 4);

    // On its rows the bar stops at the ends of the table.
    pulsar(Vista::Revision, Paso::Primero);
    pulsar(Vista::Revision, Paso::Anterior);
    EXPECT_EQ(vistas.Data2.absolutePosition(), 0);
    pulsar(Vista::Revision, Paso::Ultimo);
    pulsar(Vista::Revision, Paso::Siguiente);
    EXPECT_EQ(vistas.Data2.absolutePosition(), 3);
    EXPECT_EQ(codigo(vistas.Data1), 4);
}

TEST_F(AlineacionTest, EveryTestShownIsEvaluatedInOrderOnceWhoeverMovedTheView)
{
    alinear();
    irATrafo(2); // the alignment brings test row 1
    EXPECT_EQ(llamadas, (QStringList{u("Relacion@1"), u("Diagnostico@1"), u("Grupos@1")}));

    llamadas.clear();
    irATrafo(3); // no tests: the parked view evaluates nothing
    EXPECT_TRUE(llamadas.isEmpty());

    irATrafo(1);
    llamadas.clear();
    pulsar(Vista::Ensayos, Paso::Siguiente); // row 1, transformer 2
    pulsar(Vista::Ensayos, Paso::Siguiente); // row 2, transformer 1's second test
    EXPECT_EQ(llamadas, (QStringList{u("Relacion@1"), u("Diagnostico@1"), u("Grupos@1"), u("Relacion@2"),
                                     u("Diagnostico@2"), u("Grupos@2")}));
    EXPECT_EQ(vistas.Data3.absolutePosition(), 2);
    EXPECT_EQ(codigo(vistas.Data1), 1);
}

TEST_F(AlineacionTest, AViewMovedByTheAlignmentAlignsNothingFurther)
{
    alinear();
    irATrafo(4);
    llamadas.clear();
    QSignalSpy trafos(&vistas.Data1, &RecordView::repositioned);
    QSignalSpy revisiones(&vistas.Data2, &RecordView::repositioned);
    QSignalSpy ensayos(&vistas.Data3, &RecordView::repositioned);
    QSignalSpy mantenimientos(&vistas.Data4, &RecordView::repositioned);
    QSignalSpy lista(&vistas.Ado1, &RecordView::repositioned);

    // The second inspection of transformer 1: a transformer view that aligned in turn would
    // bring the inspection view back to the transformer's first inspection.
    ASSERT_TRUE(vistas.Data2.setAbsolutePosition(2).ok());
    EXPECT_EQ(vistas.Data2.absolutePosition(), 2);
    EXPECT_EQ(revisiones.size(), 1);
    EXPECT_EQ(trafos.size(), 1);
    EXPECT_EQ(ensayos.size(), 1);
    EXPECT_EQ(mantenimientos.size(), 1);
    EXPECT_EQ(lista.size(), 2); // its query re-run, then the find
    EXPECT_EQ(codigo(vistas.Data1), 1);
    EXPECT_EQ(codigo(vistas.Data3), 1);
    EXPECT_EQ(codigo(vistas.Data4), 1);
    EXPECT_EQ(llamadas.size(), 3);

    // The same from the maintenance view, whose move parks the inspection view.
    ASSERT_TRUE(vistas.Data4.setAbsolutePosition(1).ok());
    EXPECT_EQ(vistas.Data4.absolutePosition(), 1);
    EXPECT_EQ(codigo(vistas.Data1), 2);
    EXPECT_TRUE(vistas.Data2.eof());
    EXPECT_EQ(codigo(vistas.Data3), 2);
    EXPECT_EQ(mantenimientos.size(), 2);
}

TEST_F(AlineacionTest, NothingAlignsWhileASwitchIsOff)
{
    struct Caso
    {
        const char* nombre;
        bool sincronizacion, reposicion, sincronizacionDespues;
    };
    const Caso casos[] = {{"sin sincronizacion", false, true, true},
                          {"sin reposicion", true, false, true},
                          {"ninguna", false, false, false}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        alinear();
        irATrafo(1);
        llamadas.clear();
        bool sincronizacionDespues = false;
        {
            Interruptor::Mientras sincronizacion(estado.SincronizacionActiva, c.sincronizacion);
            Interruptor::Mientras reposicion(estado.ReposicionActiva, c.reposicion);
            QSignalSpy revisiones(&vistas.Data2, &RecordView::repositioned);
            QSignalSpy lista(&vistas.Ado1, &RecordView::repositioned);
            ASSERT_TRUE(vistas.Data3.setAbsolutePosition(1).ok());
            irATrafo(4);
            EXPECT_EQ(revisiones.size(), 0);
            EXPECT_EQ(lista.size(), 0);
            EXPECT_EQ(codigo(vistas.Data1), 4);
            for (Vista v : {Vista::Revision, Vista::Ensayos, Vista::Mantenimiento})
                EXPECT_FALSE(al.aparcada(v));
            // Moves made while the program holds the views run no evaluation either.
            EXPECT_EQ(llamadas.size(), c.reposicion ? 3 : 0);
            sincronizacionDespues = estado.SincronizacionActiva.activo();
        }
        // The transformer view's move turns the synchronisation on only when it is no program move.
        EXPECT_EQ(sincronizacionDespues, c.sincronizacionDespues);
    }
}

TEST_F(AlineacionTest, TheListSyncFlagsKeepTheListWhereItIs)
{
    struct Caso
    {
        bool sinc1, sinc2;
    };
    const Caso casos[] = {{true, false}, {false, true}, {false, false}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.sinc1 * 2 + c.sinc2);
        alinear();
        irATrafo(1);
        ASSERT_EQ(codigo(vistas.Ado1), 1);
        Interruptor::Mientras sinc1(estado.ListaSinc1, c.sinc1);
        Interruptor::Mientras sinc2(estado.ListaSinc2, c.sinc2);
        irATrafo(4);
        const bool fromList = c.sinc1 || c.sinc2;
        EXPECT_EQ(codigo(vistas.Ado1), fromList ? 1 : 4);
        EXPECT_EQ(codigo(vistas.Data2), 4); // the dated views align all the same
        EXPECT_EQ(estado.ListaSinc1.activo(), c.sinc1);
        EXPECT_EQ(estado.ListaSinc2.activo(), c.sinc2);
    }
}

TEST_F(AlineacionTest, TheListIsMovedWithItsSyncFlagsRaisedSoItsHandlerLeavesTheWindowAlone)
{
    alinear();
    int movidasDesdeLista = 0;
    // The list's selection handler, as the priority page does it.
    QObject::connect(&vistas.Ado1, &RecordView::repositioned, [&] {
        if (estado.ListaSinc1)
            return;
        ++movidasDesdeLista;
        Interruptor::Mientras sinc1(estado.ListaSinc1, true);
        Interruptor::Mientras sinc2(estado.ListaSinc2, true);
        ASSERT_TRUE(vistas.Data1.findFirst(u("[código]=") + vistas.Ado1.value(0).toString()).ok());
    });
    irATrafo(4);
    EXPECT_EQ(movidasDesdeLista, 0);
    EXPECT_EQ(codigo(vistas.Data1), 4);

    // A click on the list moves the window without the list being moved back.
    QSignalSpy lista(&vistas.Ado1, &RecordView::repositioned);
    ASSERT_TRUE(vistas.Ado1.find(u("CÓDIGO LIKE 2")).value());
    EXPECT_EQ(movidasDesdeLista, 1);
    EXPECT_EQ(lista.size(), 1);
    EXPECT_EQ(codigo(vistas.Data1), 2);
    EXPECT_EQ(codigo(vistas.Data3), 2);
    EXPECT_TRUE(vistas.Data2.eof());
}

TEST_F(AlineacionTest, LeavingARowBlanksWhatEachViewAsksFor)
{
    alinear();
    struct Caso
    {
        Vista vista;
        int blanqueos, limpiezas;
    };
    const Caso casos[] = {{Vista::Revision, 1, 0}, {Vista::Ensayos, 0, 1}, {Vista::Mantenimiento, 0, 0}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(static_cast<int>(c.vista));
        Interruptor::Mientras soloEsta(estado.SincronizacionActiva, false); // the move of one view only
        RecordView& view = al.vista(c.vista);
        ASSERT_TRUE(view.moveFirst().ok());
        QSignalSpy blanqueos(&al, &Alineacion::blanquearRevision);
        QSignalSpy limpiezas(&al, &Alineacion::limpiarDiagnosticoEnsayo);
        QSignalSpy luz(&al, &Alineacion::semaforoEnsayo);
        ASSERT_TRUE(view.moveNext().ok());
        EXPECT_EQ(blanqueos.size(), c.blanqueos);
        EXPECT_EQ(limpiezas.size(), c.limpiezas);
        ASSERT_EQ(luz.size(), c.limpiezas);
        if (c.limpiezas) {
            EXPECT_EQ(luz.at(0).at(0).toInt(), 1);
        }

        // Saving keeps the row on screen: nothing is blanked.
        ASSERT_TRUE(view.setValue(1, QDate(2019, 5, 5)).ok());
        ASSERT_TRUE(view.update().ok());
        EXPECT_EQ(blanqueos.size(), c.blanqueos);
        EXPECT_EQ(limpiezas.size(), c.limpiezas);
    }
    // The transformer view asks for nothing.
    QSignalSpy blanqueos(&al, &Alineacion::blanquearRevision);
    QSignalSpy limpiezas(&al, &Alineacion::limpiarDiagnosticoEnsayo);
    Interruptor::Mientras soloEsta(estado.SincronizacionActiva, false);
    ASSERT_TRUE(vistas.Data1.moveNext().ok());
    EXPECT_EQ(blanqueos.size() + limpiezas.size(), 0);
}

} // namespace
