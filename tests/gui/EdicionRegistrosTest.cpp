#include "records/ui/EdicionRegistros.h"
#include "records/logic/Alineacion.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaRevision.h"
#include "records/ui/PaginaTrafos.h"
#include "tests/gui/PlantaPrueba.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>

using namespace planta;

namespace {

// Editing runs on the real window; the helpers click what a user clicks.
struct Edicion : Planta
{
    using Planta::Planta;
    using Planta::pulsar;

    void pulsar(PaginaTrafos::Boton b)
    {
        trafo->tabs()->setCurrentWidget(trafo->paginaTrafos());
        trafo->paginaTrafos()->subtabs()->setCurrentIndex(b == PaginaTrafos::GuardarAccesorios ? 2 : 0);
        QTest::mouseClick(trafo->paginaTrafos()->boton(b), Qt::LeftButton);
    }
    void pulsar(PaginaFechada* p, PaginaFechada::Boton b)
    {
        trafo->tabs()->setCurrentWidget(p);
        p->subtabs()->setCurrentIndex(0);
        QTest::mouseClick(p->boton(b), Qt::LeftButton);
    }
    QWidget* cajaTrafo(const char* campo) const { return trafo->paginaTrafos()->enlace()->caja(u(campo)); }
    QLineEdit* lineaTrafo(const char* campo) const { return qobject_cast<QLineEdit*>(cajaTrafo(campo)); }
    // Replaces a box's text by typing, as the user does.
    static void escribir(QLineEdit* caja, const QString& texto)
    {
        caja->setFocus();
        caja->selectAll();
        QTest::keyClick(caja, Qt::Key_Delete);
        for (const QChar c : texto)
            QTest::sendKeyEvent(QTest::Click, caja, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    int filas(const char* tabla, const char* donde = "1=1") const
    {
        return queryRows(*vistas.database(), u("SELECT COUNT(*) FROM %1 WHERE %2").arg(u(tabla), u(donde)))
            .value(0)
            .value(0)
            .toInt();
    }
    QVariant valor(const char* sql) const { return queryRows(*vistas.database(), u(sql)).value(0).value(0); }
    void irATrafo(int codigo) { ASSERT_TRUE(vistas.Data1.findFirst(u("[CÓDIGO]=%1").arg(codigo)).value()); }
};

} // namespace

TEST(EdicionRegistros, AgregarTrafoProponeElSiguienteYGuardaUnaSolaFila)
{
    Edicion e;
    e.irATrafo(20);
    e.pulsar(PaginaTrafos::Agregar);
    EXPECT_TRUE(e.estado.EditandoTrafo);
    EXPECT_TRUE(e.estado.AgregandoTrafo);
    EXPECT_EQ(e.estado.CodigoRecordado, 20);
    EXPECT_EQ(e.lineaTrafo("CÓDIGO")->text(), u("31"));
    EXPECT_EQ(qobject_cast<QComboBox*>(e.cajaTrafo("TIPO"))->currentText(), u("T.EXPANSIÓN"));
    QWidget* aislante = e.cajaTrafo("TIPO AISLANTE");
    const QString textoAislante = qobject_cast<QLineEdit*>(aislante)
                                      ? qobject_cast<QLineEdit*>(aislante)->text()
                                      : qobject_cast<QComboBox*>(aislante)->currentText();
    EXPECT_EQ(textoAislante, u("ACT.YPF 64"));
    EXPECT_EQ(e.trafo->paginaTrafos()->botonModo()->text(), u("Automático"));
    EXPECT_FALSE(e.trafo->paginaTrafos()->botonModo()->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), e.cajaTrafo("AREA"));
    // The boxes of the previous transformer are gone.
    EXPECT_TRUE(e.lineaTrafo("MARCA")->text().isEmpty());

    Edicion::escribir(e.lineaTrafo("AREA"), u("Oeste"));
    // A second Agregar does nothing: the typed area and the proposal stay.
    e.pulsar(PaginaTrafos::Agregar);
    EXPECT_EQ(e.lineaTrafo("AREA")->text(), u("Oeste"));
    EXPECT_EQ(e.lineaTrafo("CÓDIGO")->text(), u("31"));

    e.pulsar(PaginaTrafos::Guardar);
    EXPECT_TRUE(e.mensajes.texts().isEmpty()) << e.mensajes.texts().join(u("|")).toStdString();
    EXPECT_EQ(e.filas("Trafoge"), 4);
    EXPECT_EQ(e.valor("SELECT AREA FROM Trafoge WHERE \"CÓDIGO\"=31").toString(), u("Oeste"));
    EXPECT_EQ(e.valor("SELECT TIPO FROM Trafoge WHERE \"CÓDIGO\"=31").toString(), u("T.EXPANSIÓN"));
    EXPECT_EQ(e.valor("SELECT AUTO FROM Trafoge WHERE \"CÓDIGO\"=31").toInt(), 0);
    EXPECT_EQ(e.valor("SELECT ESTADO FROM Trafoge WHERE \"CÓDIGO\"=31").toInt(), 0);
    EXPECT_FALSE(e.estado.EditandoTrafo || e.estado.AgregandoTrafo);
    // The new transformer is current, and the window and the list follow it.
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("31"));
    EXPECT_EQ(e.codigoLista(), u("31"));
    EXPECT_TRUE(e.trafo->paginaRevision()->sinRegistros());

    // The next proposal passes the new code.
    e.pulsar(PaginaTrafos::Agregar);
    EXPECT_EQ(e.lineaTrafo("CÓDIGO")->text(), u("32"));
    e.pulsar(PaginaTrafos::Cancelar);
    EXPECT_EQ(e.filas("Trafoge"), 4);
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("31"));
    EXPECT_FALSE(e.estado.EditandoTrafo || e.estado.AgregandoTrafo);
}

TEST(EdicionRegistros, CodigoRepetidoSeInformaYNadaEscritoSePierde)
{
    Edicion e;
    e.pulsar(PaginaTrafos::Agregar);
    Edicion::escribir(e.lineaTrafo("CÓDIGO"), u("20"));
    Edicion::escribir(e.lineaTrafo("AREA"), u("Subestación"));
    Edicion::escribir(e.lineaTrafo("MARCA"), u("Ñandú"));
    e.pulsar(PaginaTrafos::Guardar);
    ASSERT_EQ(e.mensajes.texts(), QStringList{u("Ya existe un transformador con el código 20")});
    EXPECT_EQ(e.mensajes.shown.first().buttons, Mensajes::Buttons::Ok);
    EXPECT_TRUE(e.estado.EditandoTrafo);
    EXPECT_EQ(e.lineaTrafo("AREA")->text(), u("Subestación"));
    EXPECT_EQ(e.lineaTrafo("MARCA")->text(), u("Ñandú"));
    EXPECT_EQ(e.filas("Trafoge"), 3);

    // Mended and saved again: everything typed arrives.
    Edicion::escribir(e.lineaTrafo("CÓDIGO"), u("44"));
    e.pulsar(PaginaTrafos::Guardar);
    EXPECT_EQ(e.mensajes.texts().size(), 1);
    EXPECT_EQ(e.valor("SELECT MARCA FROM Trafoge WHERE \"CÓDIGO\"=44").toString(), u("Ñandú"));
    EXPECT_EQ(e.valor("SELECT AREA FROM Trafoge WHERE \"CÓDIGO\"=44").toString(), u("Subestación"));
    EXPECT_FALSE(e.estado.EditandoTrafo);
}

TEST(EdicionRegistros, CodigoVacioOCeroSeRechaza)
{
    for (const char* codigo : {"", "0"}) {
        Edicion e;
        e.pulsar(PaginaTrafos::Agregar);
        Edicion::escribir(e.lineaTrafo("CÓDIGO"), u(codigo));
        e.pulsar(PaginaTrafos::Guardar);
        EXPECT_EQ(e.mensajes.texts(), QStringList{u("Debe ingresar el código")}) << codigo;
        EXPECT_EQ(e.filas("Trafoge"), 3) << codigo;
        EXPECT_TRUE(e.estado.EditandoTrafo) << codigo;
    }
}

TEST(EdicionRegistros, GuardarTrafoExistenteConEstadoManual)
{
    Edicion e;
    e.irATrafo(20);
    PaginaTrafos* p = e.trafo->paginaTrafos();
    Edicion::escribir(e.lineaTrafo("MARCA"), u("Otra"));
    e.pulsar(PaginaTrafos::Agregar); // an addition abandoned with Refrescar must not matter later
    e.pulsar(PaginaTrafos::Refrescar);
    EXPECT_FALSE(e.estado.EditandoTrafo || e.estado.AgregandoTrafo);
    e.irATrafo(20);
    Edicion::escribir(e.lineaTrafo("MARCA"), u("Otra"));
    QTest::mouseClick(p->botonModo(), Qt::LeftButton);
    EXPECT_EQ(p->botonModo()->text(), u("Manual"));
    p->listaEstado()->setCurrentIndex(3);
    Edicion::escribir(p->cajaGravedad(), u("7"));
    e.pulsar(PaginaTrafos::Guardar);
    EXPECT_TRUE(e.mensajes.texts().isEmpty()) << e.mensajes.texts().join(u("|")).toStdString();
    EXPECT_EQ(e.valor("SELECT MARCA FROM Trafoge WHERE \"CÓDIGO\"=20").toString(), u("Otra"));
    EXPECT_EQ(e.valor("SELECT ESTADO FROM Trafoge WHERE \"CÓDIGO\"=20").toInt(), 3);
    EXPECT_EQ(e.valor("SELECT GRAVEDAD FROM Trafoge WHERE \"CÓDIGO\"=20").toInt(), 7);
    EXPECT_EQ(e.valor("SELECT AUTO FROM Trafoge WHERE \"CÓDIGO\"=20").toInt(), 1);
    EXPECT_EQ(e.filas("Trafoge"), 3);
    // The lights take the saved state.
    EXPECT_EQ(CabeceraTrafo::estadoLuz(e.trafo->luces().first()), 3);
}

TEST(EdicionRegistros, EliminarTrafoPreguntaYConservaSusFilas)
{
    Edicion e;
    e.irATrafo(20);
    e.mensajes.answers.enqueue(Mensajes::Answer::No);
    e.pulsar(PaginaTrafos::Eliminar);
    ASSERT_EQ(e.mensajes.shown.size(), 1);
    const auto& pregunta = e.mensajes.shown.first();
    EXPECT_EQ(pregunta.text, u("¿ Esta seguro de querer eliminar los datos del transformador: 20 ?"));
    EXPECT_EQ(pregunta.title, u("ELIMINAR REGISTRO DE TRANSFORMADORES"));
    EXPECT_EQ(pregunta.icon, Mensajes::Icon::Critical);
    EXPECT_EQ(pregunta.buttons, Mensajes::Buttons::YesNo);
    EXPECT_EQ(pregunta.defaultAnswer, Mensajes::Answer::No);
    EXPECT_EQ(e.filas("Trafoge"), 3);
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("20"));

    // During an edit Eliminar does nothing, not even ask.
    e.pulsar(PaginaTrafos::Agregar);
    e.pulsar(PaginaTrafos::Eliminar);
    EXPECT_EQ(e.mensajes.shown.size(), 1);
    e.pulsar(PaginaTrafos::Cancelar);
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("20"));

    e.mensajes.answers.enqueue(Mensajes::Answer::Yes);
    e.pulsar(PaginaTrafos::Eliminar);
    EXPECT_EQ(e.filas("Trafoge"), 2);
    EXPECT_EQ(e.filas("Revision", "\"CÓDIGO\"=20"), 2);
    // The window stands on the first transformer with its own rows in every tab.
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("10"));
    EXPECT_TRUE(e.trafo->paginaRevision()->sinRegistros());
    EXPECT_EQ(e.codigo(e.vistas.Data3), u("10"));
    EXPECT_TRUE(e.estado.SincronizacionActiva);

    // A new transformer with the same code gets the inspections back.
    e.pulsar(PaginaTrafos::Agregar);
    Edicion::escribir(e.lineaTrafo("CÓDIGO"), u("20"));
    e.pulsar(PaginaTrafos::Guardar);
    EXPECT_EQ(e.mensajes.shown.size(), 2);
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("20"));
    EXPECT_FALSE(e.trafo->paginaRevision()->sinRegistros());
    EXPECT_EQ(e.trafo->paginaRevision()->cajaCodigo()->text(), u("20"));
}

TEST(EdicionRegistros, AgregarRevisionCompruebaLaFechaYAceptaFechasRepetidas)
{
    Edicion e;
    e.irATrafo(20);
    PaginaFechada* revision = e.trafo->paginaRevision();
    e.pulsar(revision, PaginaFechada::Agregar);
    EXPECT_TRUE(e.estado.AgregandoRevision);
    EXPECT_EQ(revision->cajaCodigo()->text(), u("20"));
    QLineEdit* fecha = e.caja(revision, "FECHA");
    EXPECT_EQ(QApplication::focusWidget(), fecha);
    EXPECT_TRUE(fecha->text().isEmpty());

    e.pulsar(revision, PaginaFechada::Guardar);
    // Typed, the day is refused key by key; a date put in whole (pasted) is caught by the save.
    fecha->clearFocus();
    fecha->setText(u("31/02/2024"));
    e.pulsar(revision, PaginaFechada::Guardar);
    EXPECT_EQ(e.mensajes.texts().join(u("|")), u("Debe Ingresar la Fecha|La fecha no es correcta"));
    EXPECT_EQ(QApplication::focusWidget(), fecha);
    EXPECT_TRUE(e.estado.AgregandoRevision);
    EXPECT_EQ(revision->cajaCodigo()->text(), u("20"));
    EXPECT_EQ(e.filas("Revision"), 4);

    // A second inspection on the date of an existing one is kept as well.
    Edicion::escribir(fecha, u("10/01/2024"));
    e.pulsar(revision, PaginaFechada::Guardar);
    EXPECT_EQ(e.mensajes.texts().size(), 2);
    EXPECT_FALSE(e.estado.AgregandoRevision);
    EXPECT_EQ(e.filas("Revision", "\"CÓDIGO\"=20 AND FECHA='2024-01-10'"), 2);
    EXPECT_EQ(e.codigo(e.vistas.Data2), u("20"));
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("20"));
}

TEST(EdicionRegistros, CancelarRevisionVuelveAlTransformador)
{
    Edicion e;
    e.irATrafo(30);
    PaginaFechada* revision = e.trafo->paginaRevision();
    e.pulsar(revision, PaginaFechada::Agregar);
    Edicion::escribir(e.caja(revision, "FECHA"), u("01/02/2026"));
    e.pulsar(revision, PaginaFechada::Cancelar);
    EXPECT_FALSE(e.estado.AgregandoRevision);
    EXPECT_EQ(e.filas("Revision"), 4);
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("30"));
    EXPECT_EQ(e.codigo(e.vistas.Data2), u("30"));
    EXPECT_EQ(e.caja(revision, "FECHA")->text(), u("01/03/2025"));
}

TEST(EdicionRegistros, EliminarLaUltimaRevisionDeUnTrafoLlevaAlSiguiente)
{
    Edicion e;
    e.irATrafo(20);
    PaginaFechada* revision = e.trafo->paginaRevision();
    e.mensajes.answers = QQueue<Mensajes::Answer>({Mensajes::Answer::Yes, Mensajes::Answer::Yes});
    e.pulsar(revision, PaginaFechada::Eliminar);
    ASSERT_FALSE(e.mensajes.shown.isEmpty());
    EXPECT_EQ(e.mensajes.shown.first().text,
              u("¿ Esta seguro de querer eliminar el Registro de: 20 con Fecha:10/01/2024 ?"));
    EXPECT_EQ(e.mensajes.shown.first().title, u("ELIMINAR REGISTRO DE REVISIÓN"));
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("20"));
    EXPECT_EQ(e.caja(revision, "FECHA")->text(), u("10/06/2024"));
    // The only inspection left: the window goes on to the next inspection's transformer.
    e.pulsar(revision, PaginaFechada::Eliminar);
    EXPECT_EQ(e.filas("Revision", "\"CÓDIGO\"=20"), 0);
    EXPECT_EQ(e.codigo(e.vistas.Data2), u("30"));
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("30"));
    EXPECT_EQ(e.codigoLista(), u("30"));

    // No to the question deletes nothing.
    e.mensajes.answers.enqueue(Mensajes::Answer::No);
    e.pulsar(revision, PaginaFechada::Eliminar);
    EXPECT_EQ(e.filas("Revision"), 2);
}

TEST(EdicionRegistros, EliminarLaUltimaFilaDeLaTablaQuedaEnElMismoTrafo)
{
    Edicion e;
    e.irATrafo(30);
    PaginaFechada* revision = e.trafo->paginaRevision();
    e.pulsar(revision->barra(), BarraNavegacion::Ultimo);
    ASSERT_EQ(e.caja(revision, "FECHA")->text(), u("01/09/2025"));
    e.mensajes.answers.enqueue(Mensajes::Answer::Yes);
    e.pulsar(revision, PaginaFechada::Eliminar);
    EXPECT_EQ(e.filas("Revision"), 3);
    // Nothing follows the table's last row: the transformer's remaining inspection is shown.
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("30"));
    EXPECT_FALSE(revision->sinRegistros());
    EXPECT_EQ(e.caja(revision, "FECHA")->text(), u("01/03/2025"));
}

TEST(EdicionRegistros, MantenimientoYEnsayosAgregarRefrescar)
{
    Edicion e;
    e.irATrafo(30);
    PaginaFechada* mantenimiento = e.trafo->paginaMantenimiento();
    EXPECT_TRUE(mantenimiento->sinRegistros());
    e.pulsar(mantenimiento, PaginaFechada::Agregar);
    Edicion::escribir(e.caja(mantenimiento, "Fecha"), u("15/08/2026"));
    e.pulsar(mantenimiento, PaginaFechada::Guardar);
    EXPECT_TRUE(e.mensajes.texts().isEmpty()) << e.mensajes.texts().join(u("|")).toStdString();
    EXPECT_FALSE(mantenimiento->sinRegistros());
    EXPECT_EQ(e.filas("Mantenimiento", "\"Código\"=30 AND Fecha='2026-08-15'"), 1);

    // Refrescar on a transformer without tests: the notice and empty boxes.
    e.irATrafo(20);
    PaginaFechada* ensayos = e.trafo->paginaEnsayos();
    e.pulsar(ensayos, PaginaFechada::Refrescar);
    EXPECT_TRUE(ensayos->sinRegistros());
    EXPECT_TRUE(ensayos->cajaCodigo()->text().isEmpty());
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("20"));
    // And on one with tests, its first test.
    e.irATrafo(10);
    e.pulsar(ensayos, PaginaFechada::Refrescar);
    EXPECT_FALSE(ensayos->sinRegistros());
    EXPECT_EQ(e.caja(ensayos, "Fecha")->text(), u("01/02/2024"));
}

TEST(EdicionRegistros, UnGuardadoQueElArchivoRechazaNoEsSilencioso)
{
    // Views that believe they may write on a file opened read-only: every save fails in the file.
    TempData datos;
    llenar(datos);
    RunState estado;
    DataViews vistas(estado);
    ScriptedMensajes mensajes;
    Trafo trafo(estado, vistas);
    trafo.setMensajes(mensajes);
    vistas.openAll(datos.open(true), false);
    trafo.alinear();
    trafo.show();
    QLineEdit* marca = qobject_cast<QLineEdit*>(trafo.paginaTrafos()->enlace()->caja(u("MARCA")));
    Edicion::escribir(marca, u("Cambio"));
    QTest::mouseClick(trafo.paginaTrafos()->boton(PaginaTrafos::Guardar), Qt::LeftButton);
    ASSERT_EQ(mensajes.texts().size(), 1);
    EXPECT_TRUE(mensajes.texts().first().contains(u("lectura"))) << mensajes.texts().first().toStdString();
    EXPECT_EQ(marca->text(), u("Cambio"));

    mensajes.answers.enqueue(Mensajes::Answer::Yes);
    QTest::mouseClick(trafo.paginaTrafos()->boton(PaginaTrafos::Eliminar), Qt::LeftButton);
    ASSERT_EQ(mensajes.texts().size(), 3);
    EXPECT_TRUE(mensajes.texts().last().startsWith(u("Error:"))) << mensajes.texts().last().toStdString();
    EXPECT_EQ(queryRows(*vistas.database(), u("SELECT COUNT(*) FROM Trafoge")).value(0).value(0).toInt(), 3);
}

TEST(EdicionRegistros, SoloLecturaNoCambiaNada)
{
    Edicion e(true);
    e.trafo->edicion()->agregarTrafo();
    e.trafo->edicion()->agregar(Alineacion::Vista::Revision);
    e.trafo->edicion()->eliminarTrafo();
    EXPECT_FALSE(e.estado.EditandoTrafo || e.estado.AgregandoRevision);
    EXPECT_TRUE(e.mensajes.shown.isEmpty());
    EXPECT_EQ(e.filas("Trafoge"), 3);
}

TEST(EdicionRegistros, UnaFilaAgregadaYLuegoCambiadaSeMuestraComoQuedo)
{
    Edicion e;
    e.irATrafo(30);
    PaginaFechada* mantenimiento = e.trafo->paginaMantenimiento();
    e.pulsar(mantenimiento, PaginaFechada::Agregar);
    Edicion::escribir(e.caja(mantenimiento, "Fecha"), u("01/12/2026"));
    auto* pintado = qobject_cast<QAbstractButton*>(mantenimiento->enlace()->caja(u("Pintado")));
    auto* silica = qobject_cast<QAbstractButton*>(mantenimiento->enlace()->caja(u("Cambio de sílica")));
    ASSERT_TRUE(pintado && silica);
    pintado->setChecked(true);
    silica->setChecked(true);
    auto* obs = qobject_cast<QTextEdit*>(mantenimiento->enlace()->caja(u("Observaciones")));
    ASSERT_TRUE(obs);
    QTest::keyClicks(obs, u("Cambio de silica gel"));
    e.pulsar(mantenimiento, PaginaFechada::Guardar);
    silica->setChecked(false);
    e.pulsar(mantenimiento, PaginaFechada::Guardar);
    EXPECT_TRUE(e.mensajes.texts().isEmpty()) << e.mensajes.texts().join(u("|")).toStdString();
    EXPECT_EQ(e.valor("SELECT Pintado FROM Mantenimiento WHERE Fecha='2026-12-01'").toInt(), 1);
    EXPECT_TRUE(pintado->isChecked());
    EXPECT_FALSE(silica->isChecked());
}
