#include "records/logic/Alineacion.h"

#include "app/logic/RunState.h"
#include "records/logic/DataViews.h"
#include "tests/support/TempData.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using Vista = Alineacion::Vista;
using Accion = Alineacion::Accion;

namespace {

QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

// Four transformers; the rows of each dated table are interleaved so that "the first row of
// the table" and "the first row of the transformer" differ.
//   code | inspections (rows) | tests (rows) | maintenance (rows)
//   1    | 1, 2               | 0, 2         | 0
//   2    | -                  | 1            | 1
//   3    | 0                  | -            | 2
//   4    | 3                  | 3            | -
void fillPlant(const TempData& data)
{
    data.exec(u8("INSERT INTO Trafoge (\"CÓDIGO\", AREA, ESTADO, GRAVEDAD, AUTO) VALUES "
                 "(1, 'a', 1, 2.5, 1), (2, 'b', 3, 7, 0), (3, 'c', 2, 4, 0), (4, 'd', 0, 1, 1)"));
    data.exec(u8("INSERT INTO Revision (\"CÓDIGO\", FECHA) VALUES "
                 "(3, '2020-01-01'), (1, '2020-02-01'), (1, '2020-03-01'), (4, '2020-04-01')"));
    data.exec(u8("INSERT INTO Ensayos (\"Código\", Fecha) VALUES "
                 "(1, '2021-01-01'), (2, '2021-02-01'), (1, '2021-03-01'), (4, '2021-04-01')"));
    data.exec(u8("INSERT INTO Mantenimiento (\"Código\", Fecha) VALUES "
                 "(1, '2022-01-01'), (2, '2022-02-01'), (3, '2022-03-01')"));
}

class AlineacionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fillPlant(data);
        al.setEvaluacionEnsayo({[this] { llamadas << u8("Calculus") + posEnsayo(); },
                                [this] { llamadas << u8("Diagnos") + posEnsayo(); },
                                [this] { llamadas << u8("ENS") + posEnsayo(); }});
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
        ASSERT_TRUE(vistas.Data1.findFirst(u8("[código]=") + QString::number(codigo)).value());
    }
    static int codigo(const RecordView& view) { return view.value(0).toInt(); }
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
    EXPECT_FALSE(estado.AparcadaRevision);

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
        irATrafo(c.trafo);
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
        EXPECT_TRUE(estado.AlineaTrafo && estado.AlineaRevision && estado.AlineaEnsayos &&
                    estado.AlineaMantenimiento);
        EXPECT_FALSE(estado.ListaSinc1 || estado.ListaSinc2);
        EXPECT_TRUE(estado.ReposicionActiva);
    }
}

TEST_F(AlineacionTest, CaptionsAndStateFollowEachMove)
{
    alinear();
    QSignalSpy captions(&al, &Alineacion::leyendaCambiada);
    QSignalSpy state(&al, &Alineacion::estadoTrafo);
    irATrafo(2);
    ASSERT_EQ(state.size(), 1);
    EXPECT_EQ(state.at(0).at(0).toInt(), 3);
    EXPECT_FALSE(state.at(0).at(1).toBool());
    EXPECT_DOUBLE_EQ(state.at(0).at(2).toDouble(), 7.0);
    EXPECT_EQ(al.leyenda(Vista::Trafo), u8("TRA:2-4"));
    EXPECT_EQ(al.leyenda(Vista::Revision), u8("REV:0-4")); // parked
    EXPECT_EQ(al.leyenda(Vista::Ensayos), u8("ENS:2-4"));
    EXPECT_EQ(al.leyenda(Vista::Mantenimiento), u8("MAN:2-3"));
    QStringList shown;
    for (const auto& args : captions)
        shown << args.at(1).toString();
    EXPECT_TRUE(shown.contains(u8("TRA:2-4")));
    EXPECT_EQ(shown.last(), u8("REV:0-4"));

    irATrafo(1);
    EXPECT_TRUE(state.last().at(1).toBool()); // manual mode
    EXPECT_EQ(Alineacion::leyendaEnReposo(Vista::Mantenimiento), u8("MAN"));
}

TEST_F(AlineacionTest, AStepOnAParkedBarLandsOnTheEndsOfTheTableAndMovesTheWindowThere)
{
    alinear();
    irATrafo(2);
    ASSERT_TRUE(estado.AparcadaRevision);

    al.navegar(Vista::Revision, Accion::Anterior);
    EXPECT_EQ(vistas.Data2.absolutePosition(), 3); // the last inspection of the table
    EXPECT_FALSE(estado.AparcadaRevision);
    EXPECT_EQ(codigo(vistas.Data1), 4);
    EXPECT_EQ(codigo(vistas.Data3), 4);
    EXPECT_TRUE(vistas.Data4.eof());
    EXPECT_TRUE(estado.AparcadaMantenimiento);
    EXPECT_EQ(codigo(vistas.Ado1), 4);

    irATrafo(2);
    ASSERT_TRUE(estado.AparcadaRevision);
    QSignalSpy notices(&al, &Alineacion::sinRegistros);
    al.navegar(Vista::Revision, Accion::Primero);
    EXPECT_EQ(vistas.Data2.absolutePosition(), 0); // the first inspection of the table
    EXPECT_EQ(codigo(vistas.Data1), 3);
    EXPECT_TRUE(vistas.Data3.eof());
    EXPECT_TRUE(estado.AparcadaEnsayos);
    EXPECT_EQ(codigo(vistas.Data4), 3);
    EXPECT_EQ(ultimoSinRegistros(notices, Vista::Revision), 0);
    EXPECT_EQ(ultimoSinRegistros(notices, Vista::Ensayos), 1);

    // The parked test view: a step forward from past the end stays there.
    al.navegar(Vista::Ensayos, Accion::Siguiente);
    EXPECT_TRUE(vistas.Data3.eof());
    EXPECT_FALSE(estado.AparcadaEnsayos);
}

TEST_F(AlineacionTest, AParkedFlagOnAViewThatMovedSinceSendsTheStepToTheFirstRow)
{
    alinear();
    irATrafo(4); // inspection row 3
    estado.AparcadaRevision = true;
    al.navegar(Vista::Revision, Accion::Siguiente);
    EXPECT_EQ(vistas.Data2.absolutePosition(), 0);
    EXPECT_EQ(codigo(vistas.Data1), 3);

    // Without the flag the bar stops at the ends.
    al.navegar(Vista::Revision, Accion::Anterior);
    EXPECT_EQ(vistas.Data2.absolutePosition(), 0);
    al.navegar(Vista::Revision, Accion::Ultimo);
    al.navegar(Vista::Revision, Accion::Siguiente);
    EXPECT_EQ(vistas.Data2.absolutePosition(), 3);
    EXPECT_EQ(codigo(vistas.Data1), 4);
}

TEST_F(AlineacionTest, EveryTestShownIsEvaluatedInOrderOnceWhoeverMovedTheView)
{
    alinear();
    irATrafo(2); // the alignment brings test row 1
    EXPECT_EQ(llamadas, (QStringList{u8("Calculus@1"), u8("Diagnos@1"), u8("ENS@1")}));

    llamadas.clear();
    irATrafo(3); // no tests: the parked view evaluates nothing
    EXPECT_TRUE(llamadas.isEmpty());

    irATrafo(1);
    llamadas.clear();
    al.navegar(Vista::Ensayos, Accion::Siguiente); // row 1, transformer 2
    al.navegar(Vista::Ensayos, Accion::Siguiente); // row 2, transformer 1's second test
    EXPECT_EQ(llamadas, (QStringList{u8("Calculus@1"), u8("Diagnos@1"), u8("ENS@1"), u8("Calculus@2"),
                                     u8("Diagnos@2"), u8("ENS@2")}));
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
    EXPECT_TRUE(estado.AlineaTrafo && estado.AlineaRevision && estado.AlineaEnsayos &&
                estado.AlineaMantenimiento);

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
        estado.SincronizacionActiva = c.sincronizacion;
        estado.ReposicionActiva = c.reposicion;
        QSignalSpy revisiones(&vistas.Data2, &RecordView::repositioned);
        QSignalSpy lista(&vistas.Ado1, &RecordView::repositioned);
        ASSERT_TRUE(vistas.Data3.setAbsolutePosition(1).ok());
        irATrafo(4);
        EXPECT_EQ(revisiones.size(), 0);
        EXPECT_EQ(lista.size(), 0);
        EXPECT_EQ(codigo(vistas.Data1), 4);
        EXPECT_FALSE(estado.AparcadaRevision || estado.AparcadaEnsayos || estado.AparcadaMantenimiento);
        // Moves made while the program holds the views run no evaluation either.
        EXPECT_EQ(llamadas.size(), c.reposicion ? 3 : 0);
        // The transformer view's move turns the synchronisation on only when it is no program move.
        EXPECT_EQ(estado.SincronizacionActiva, c.sincronizacionDespues);
        estado.ReposicionActiva = true;
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
        estado.ListaSinc1 = c.sinc1;
        estado.ListaSinc2 = c.sinc2;
        irATrafo(4);
        const bool fromList = c.sinc1 || c.sinc2;
        EXPECT_EQ(codigo(vistas.Ado1), fromList ? 1 : 4);
        EXPECT_EQ(codigo(vistas.Data2), 4); // the dated views align all the same
        EXPECT_EQ(estado.ListaSinc1, c.sinc1);
        EXPECT_EQ(estado.ListaSinc2, c.sinc2);
        estado.ListaSinc1 = estado.ListaSinc2 = false;
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
        estado.ListaSinc1 = estado.ListaSinc2 = true;
        vistas.Data1.findFirst(u8("[código]=") + vistas.Ado1.value(0).toString());
        estado.ListaSinc1 = estado.ListaSinc2 = false;
    });
    irATrafo(4);
    EXPECT_EQ(movidasDesdeLista, 0);
    EXPECT_EQ(codigo(vistas.Data1), 4);

    // A click on the list moves the window without the list being moved back.
    QSignalSpy lista(&vistas.Ado1, &RecordView::repositioned);
    ASSERT_TRUE(vistas.Ado1.find(u8("CÓDIGO LIKE 2")).value());
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
        estado.SincronizacionActiva = false; // the move of one view only
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
    estado.SincronizacionActiva = false;
    ASSERT_TRUE(vistas.Data1.moveNext().ok());
    EXPECT_EQ(blanqueos.size() + limpiezas.size(), 0);
}

TEST(Alineacion, NoRecordsNoticeOnATabChangeFollowsTheCodeBox)
{
    EXPECT_TRUE(Alineacion::sinRegistrosAlCambiarPestana(Vista::Revision, true));
    EXPECT_FALSE(Alineacion::sinRegistrosAlCambiarPestana(Vista::Ensayos, false));
    EXPECT_TRUE(Alineacion::sinRegistrosAlCambiarPestana(Vista::Mantenimiento, true));
    EXPECT_FALSE(Alineacion::sinRegistrosAlCambiarPestana(Vista::Trafo, true));
}

} // namespace
