#include "records/ui/EdicionRegistros.h"
#include "records/ui/CabeceraTrafo.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaRevision.h"
#include "tests/records/Planta.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <gtest/gtest.h>

using Vista = Alineacion::Vista;

namespace {

// Editing runs on the real window; the helpers click what a user clicks.
struct Edicion : Planta
{
    using Planta::Planta;
    QWidget* cajaTrafo(const char* campo) const { return trafo().paginaTrafos()->enlace()->caja(u(campo)); }
    QLineEdit* lineaTrafo(const char* campo) const { return qobject_cast<QLineEdit*>(cajaTrafo(campo)); }
    bool editando() const { return trafo().edicion()->editandoTrafo(); }
    bool agregando(Vista v) const { return trafo().edicion()->agregando(v); }
    QString textos() const { return mensajes.texts().join(u("|")); }
};

} // namespace

// "&Agregar" proposes the largest code + 1 with the new transformer's defaults; a second press
// does nothing; "&Guardar" stores one row, in automatic mode, and the window and the list
// follow it; Cancelar drops an addition and goes back.
TEST(EdicionRegistros, AgregarTrafoProponeElSiguienteYGuardaUnaSolaFila)
{
    Edicion e;
    e.irA(20);
    e.pulsar(PaginaTrafos::Agregar);
    EXPECT_TRUE(e.editando() && e.agregando(Vista::Trafo));
    EXPECT_EQ(e.lineaTrafo("CÓDIGO")->text(), u("31"));
    EXPECT_EQ(qobject_cast<QComboBox*>(e.cajaTrafo("TIPO"))->currentText(), u("T.EXPANSIÓN"));
    auto* aislante = qobject_cast<QComboBox*>(e.cajaTrafo("TIPO AISLANTE"));
    ASSERT_TRUE(aislante);
    EXPECT_EQ(aislante->currentText(), u("ACT.YPF 64"));
    EXPECT_EQ(e.trafo().paginaTrafos()->botonModo()->text(), u("Automático"));
    EXPECT_EQ(QApplication::focusWidget(), e.cajaTrafo("AREA"));
    EXPECT_TRUE(e.lineaTrafo("MARCA")->text().isEmpty());

    // The oil list offers the oils stored; a new one may be typed and is offered after the save.
    const auto ofrecidos = [aislante] {
        QStringList out;
        for (int i = 0; i < aislante->count(); ++i)
            out << aislante->itemText(i);
        return out;
    };
    EXPECT_EQ(ofrecidos(), (QStringList{u("MINERAL"), u("SILICONA")}));
    VentanaPrueba::escribir(aislante->lineEdit(), u("Éster natural"));
    VentanaPrueba::escribir(e.lineaTrafo("AREA"), u("Oeste"));
    e.pulsar(PaginaTrafos::Agregar);
    EXPECT_EQ(e.lineaTrafo("AREA")->text(), u("Oeste"));

    e.pulsar(PaginaTrafos::Guardar);
    EXPECT_TRUE(e.mensajes.shown.isEmpty()) << e.textos().toStdString();
    EXPECT_EQ(e.filas("Trafoge"), 4);
    EXPECT_EQ(e.valor(u("SELECT AREA || TIPO || AUTO || ESTADO || \"TIPO AISLANTE\" FROM Trafoge WHERE "
                        "\"CÓDIGO\"=31"))
                  .toString(),
              u("OesteT.EXPANSIÓN00Éster natural"));
    EXPECT_EQ(ofrecidos(), (QStringList{u("Éster natural"), u("MINERAL"), u("SILICONA")}));
    EXPECT_FALSE(e.editando() || e.agregando(Vista::Trafo));
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("31"));
    EXPECT_EQ(e.codigoLista(), u("31"));
    EXPECT_TRUE(e.trafo().paginaRevision()->sinRegistros());

    // The next proposal passes the new code; Cancelar drops it and stays on 31.
    e.pulsar(PaginaTrafos::Agregar);
    EXPECT_EQ(e.lineaTrafo("CÓDIGO")->text(), u("32"));
    e.pulsar(PaginaTrafos::Cancelar);
    EXPECT_EQ(e.filas("Trafoge"), 4);
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("31"));
    EXPECT_FALSE(e.editando() || e.agregando(Vista::Trafo));
}

// A code the file refuses, an empty one or "0" is reported; the edit stays with all typed.
TEST(EdicionRegistros, UnCodigoRechazadoSeInformaYNadaEscritoSePierde)
{
    const struct
    {
        const char* codigo;
        const char* mensaje;
    } casos[] = {{"20", "Ya existe un transformador con el código 20"},
                 {"", "Debe ingresar el código"},
                 {"0", "Debe ingresar el código"}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.codigo);
        Edicion e;
        e.pulsar(PaginaTrafos::Agregar);
        VentanaPrueba::escribir(e.lineaTrafo("CÓDIGO"), u(c.codigo));
        VentanaPrueba::escribir(e.lineaTrafo("MARCA"), u("Ñandú"));
        e.pulsar(PaginaTrafos::Guardar);
        EXPECT_EQ(e.textos(), u(c.mensaje));
        EXPECT_TRUE(e.editando());
        EXPECT_EQ(e.lineaTrafo("MARCA")->text(), u("Ñandú"));
        EXPECT_EQ(e.filas("Trafoge"), 3);
        // Mended and saved again: everything typed arrives.
        VentanaPrueba::escribir(e.lineaTrafo("CÓDIGO"), u("44"));
        e.pulsar(PaginaTrafos::Guardar);
        EXPECT_EQ(e.mensajes.shown.size(), 1);
        EXPECT_EQ(e.valor(u("SELECT MARCA FROM Trafoge WHERE \"CÓDIGO\"=44")).toString(), u("Ñandú"));
    }
}

// Saving an existing transformer takes mode, state and severity from the state area, even
// after an addition abandoned with Refrescar; the lights take the saved state.
TEST(EdicionRegistros, GuardarTrafoExistenteConEstadoManual)
{
    Edicion e;
    PaginaTrafos* p = e.trafo().paginaTrafos();
    e.pulsar(PaginaTrafos::Agregar);
    e.pulsar(PaginaTrafos::Refrescar);
    EXPECT_FALSE(e.editando() || e.agregando(Vista::Trafo));
    e.irA(20);
    VentanaPrueba::escribir(e.lineaTrafo("MARCA"), u("Otra"));
    QTest::mouseClick(p->botonModo(), Qt::LeftButton);
    p->listaEstado()->setCurrentIndex(3);
    VentanaPrueba::escribir(p->cajaGravedad(), u("7"));
    e.pulsar(PaginaTrafos::Guardar);
    EXPECT_TRUE(e.mensajes.shown.isEmpty()) << e.textos().toStdString();
    EXPECT_EQ(
        e.valor(u("SELECT MARCA || ESTADO || GRAVEDAD || AUTO FROM Trafoge WHERE \"CÓDIGO\"=20")).toString(),
        u("Otra37.01"));
    EXPECT_EQ(e.filas("Trafoge"), 3);
    EXPECT_EQ(CabeceraTrafo::estadoLuz(e.trafo().luces().first()), 3);

    // A new code takes the transformer's inspections along, and the tabs show them.
    VentanaPrueba::escribir(e.lineaTrafo("CÓDIGO"), u("25"));
    e.pulsar(PaginaTrafos::Guardar);
    EXPECT_TRUE(e.mensajes.shown.isEmpty()) << e.textos().toStdString();
    EXPECT_EQ(e.filas("Revision", "\"CÓDIGO\"=25"), 2);
    EXPECT_EQ(e.filas("Revision", "\"CÓDIGO\"=20"), 0);
    EXPECT_EQ(e.trafo().paginaRevision()->textoCodigo(), u("25"));
    EXPECT_EQ(e.trafo().paginaRevision()->textoFecha(), u("10/01/2024"));
}

// The deletion asks first (No by default); during an edit it asks nothing; the transformer's
// inspections stay and come back with a new transformer of the same code.
TEST(EdicionRegistros, EliminarTrafoPreguntaYConservaSusFilas)
{
    Edicion e;
    e.irA(20);
    e.mensajes.answers.enqueue(Mensajes::Answer::No);
    e.pulsar(PaginaTrafos::Eliminar);
    ASSERT_EQ(e.mensajes.shown.size(), 1);
    const auto& pregunta = e.mensajes.shown.first();
    EXPECT_EQ(pregunta.text, u("¿ Esta seguro de querer eliminar los datos del transformador: 20 ?"));
    EXPECT_EQ(pregunta.title, u("ELIMINAR REGISTRO DE TRANSFORMADORES"));
    EXPECT_EQ(pregunta.icon, Mensajes::Icon::Critical);
    EXPECT_EQ(pregunta.defaultAnswer, Mensajes::Answer::No);
    EXPECT_EQ(e.filas("Trafoge"), 3);

    e.pulsar(PaginaTrafos::Agregar);
    e.pulsar(PaginaTrafos::Eliminar);
    EXPECT_EQ(e.mensajes.shown.size(), 1);
    e.pulsar(PaginaTrafos::Cancelar);
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("20"));

    e.mensajes.answers.enqueue(Mensajes::Answer::Yes);
    e.pulsar(PaginaTrafos::Eliminar);
    EXPECT_EQ(e.filas("Trafoge"), 2);
    EXPECT_EQ(e.filas("Revision", "\"CÓDIGO\"=20"), 2);
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("10"));
    EXPECT_EQ(e.codigo(e.vistas.Data3), u("10"));
    EXPECT_TRUE(e.estado.SincronizacionActiva);

    e.pulsar(PaginaTrafos::Agregar);
    VentanaPrueba::escribir(e.lineaTrafo("CÓDIGO"), u("20"));
    e.pulsar(PaginaTrafos::Guardar);
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("20"));
    EXPECT_EQ(e.trafo().paginaRevision()->textoCodigo(), u("20"));
}

// A dated row is added on the current transformer; the date is checked on saving (empty, a
// 31st of February), two rows on one date are fine, and Cancelar goes back to the transformer.
TEST(EdicionRegistros, AgregarRevisionCompruebaLaFechaYCancelarVuelve)
{
    Edicion e;
    e.irA(20);
    PaginaFechada* revision = e.trafo().paginaRevision();
    e.pulsar(revision, PaginaFechada::Agregar);
    EXPECT_TRUE(e.agregando(Vista::Revision));
    EXPECT_EQ(revision->textoCodigo(), u("20"));
    QLineEdit* fecha = VentanaPrueba::caja(revision, u("FECHA"));
    EXPECT_EQ(QApplication::focusWidget(), fecha);

    e.pulsar(revision, PaginaFechada::Guardar);
    // Typed, the day is refused key by key; a date put in whole is caught by the save.
    fecha->clearFocus();
    fecha->setText(u("31/02/2024"));
    e.pulsar(revision, PaginaFechada::Guardar);
    EXPECT_EQ(e.textos(), u("Debe Ingresar la Fecha|La fecha no es correcta"));
    EXPECT_EQ(QApplication::focusWidget(), fecha);
    EXPECT_TRUE(e.agregando(Vista::Revision));
    EXPECT_EQ(e.filas("Revision"), 4);

    VentanaPrueba::escribir(fecha, u("10/01/2024"));
    e.pulsar(revision, PaginaFechada::Guardar);
    EXPECT_FALSE(e.agregando(Vista::Revision));
    EXPECT_EQ(e.filas("Revision", "\"CÓDIGO\"=20 AND FECHA='2024-01-10'"), 2);
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("20"));

    e.irA(30);
    e.pulsar(revision, PaginaFechada::Agregar);
    VentanaPrueba::escribir(fecha, u("01/02/2026"));
    e.pulsar(revision, PaginaFechada::Cancelar);
    EXPECT_FALSE(e.agregando(Vista::Revision));
    EXPECT_EQ(e.filas("Revision"), 5);
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("30"));
    EXPECT_EQ(revision->textoFecha(), u("01/03/2025"));
}

// Deleting a dated row asks with its table's title; the window follows the next row to its
// transformer, and past the table's last row stays on the transformer's remaining rows.
TEST(EdicionRegistros, EliminarUnaRevisionLlevaAlSiguienteOQuedaEnElTrafo)
{
    Edicion e;
    e.irA(20);
    PaginaFechada* revision = e.trafo().paginaRevision();
    e.mensajes.answers = QQueue<Mensajes::Answer>({Mensajes::Answer::Yes, Mensajes::Answer::Yes});
    e.pulsar(revision, PaginaFechada::Eliminar);
    ASSERT_FALSE(e.mensajes.shown.isEmpty());
    EXPECT_EQ(e.mensajes.shown.first().text,
              u("¿ Esta seguro de querer eliminar el Registro de: 20 con Fecha:10/01/2024 ?"));
    EXPECT_EQ(e.mensajes.shown.first().title, u("ELIMINAR REGISTRO DE REVISIÓN"));
    EXPECT_EQ(revision->textoFecha(), u("10/06/2024"));
    // The only inspection left: the window goes on to the next inspection's transformer.
    e.pulsar(revision, PaginaFechada::Eliminar);
    EXPECT_EQ(e.filas("Revision", "\"CÓDIGO\"=20"), 0);
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("30"));
    EXPECT_EQ(e.codigoLista(), u("30"));

    // No deletes nothing.
    e.mensajes.answers.enqueue(Mensajes::Answer::No);
    e.pulsar(revision, PaginaFechada::Eliminar);
    EXPECT_EQ(e.filas("Revision"), 2);

    // The table's last row: nothing follows it, the transformer's other inspection shows.
    e.pulsar(revision->barra(), BarraNavegacion::Ultimo);
    e.mensajes.answers.enqueue(Mensajes::Answer::Yes);
    e.pulsar(revision, PaginaFechada::Eliminar);
    EXPECT_EQ(e.filas("Revision"), 1);
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("30"));
    EXPECT_FALSE(revision->sinRegistros());
    EXPECT_EQ(revision->textoFecha(), u("01/03/2025"));

    // The table's last row and its transformer's last: the view stands on the previous row of
    // the table, counted from 1, and the window follows it.
    e.irA(10);
    e.pulsar(revision, PaginaFechada::Agregar);
    VentanaPrueba::escribir(VentanaPrueba::caja(revision, u("FECHA")), u("02/02/2026"));
    e.pulsar(revision, PaginaFechada::Guardar);
    ASSERT_EQ(e.filas("Revision"), 2);
    e.mensajes.answers.enqueue(Mensajes::Answer::Yes);
    e.pulsar(revision, PaginaFechada::Eliminar);
    EXPECT_EQ(e.filas("Revision"), 1);
    EXPECT_FALSE(revision->sinRegistros());
    EXPECT_EQ(revision->textoFecha(), u("01/03/2025"));
    EXPECT_EQ(revision->barra()->caption(), u("REV:1-1"));
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("30"));
}

// A maintenance row added, saved and changed shows what it holds; Refrescar on a transformer
// without tests shows the notice and empty boxes, on one with tests its first test.
TEST(EdicionRegistros, MantenimientoYEnsayosAgregarCambiarRefrescar)
{
    Edicion e;
    e.irA(30);
    PaginaFechada* mantenimiento = e.trafo().paginaMantenimiento();
    EXPECT_TRUE(mantenimiento->sinRegistros());
    e.pulsar(mantenimiento, PaginaFechada::Agregar);
    VentanaPrueba::escribir(VentanaPrueba::caja(mantenimiento, u("Fecha")), u("01/12/2026"));
    auto* pintado = qobject_cast<QAbstractButton*>(mantenimiento->enlace()->caja(u("Pintado")));
    auto* silica = qobject_cast<QAbstractButton*>(mantenimiento->enlace()->caja(u("Cambio de sílica")));
    pintado->setChecked(true);
    silica->setChecked(true);
    QTest::keyClicks(qobject_cast<QTextEdit*>(mantenimiento->enlace()->caja(u("Observaciones"))),
                     u("Silica gel"));
    e.pulsar(mantenimiento, PaginaFechada::Guardar);
    EXPECT_FALSE(mantenimiento->sinRegistros());
    silica->setChecked(false);
    e.pulsar(mantenimiento, PaginaFechada::Guardar);
    EXPECT_TRUE(e.mensajes.shown.isEmpty()) << e.textos().toStdString();
    EXPECT_EQ(e.valor(u("SELECT Pintado || \"Cambio de sílica\" FROM Mantenimiento WHERE Fecha='2026-12-01' "
                        "AND \"Código\"=30"))
                  .toString(),
              u("10"));
    EXPECT_TRUE(pintado->isChecked());
    EXPECT_FALSE(silica->isChecked());
    // The items never ticked are stored as No, so a search for "= 0" finds the new row.
    EXPECT_EQ(e.filas("Mantenimiento", "Fecha='2026-12-01' AND \"Limpieza General\" = 0"), 1);

    e.irA(20);
    PaginaFechada* ensayos = e.trafo().paginaEnsayos();
    e.pulsar(ensayos, PaginaFechada::Refrescar);
    EXPECT_TRUE(ensayos->sinRegistros());
    EXPECT_TRUE(ensayos->textoCodigo().isEmpty());
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("20"));
    e.irA(10);
    e.pulsar(ensayos, PaginaFechada::Refrescar);
    EXPECT_FALSE(ensayos->sinRegistros());
    EXPECT_EQ(ensayos->textoFecha(), u("01/02/2024"));
}

// A save or deletion the file refuses is never silent and keeps what was typed; read-only mode
// changes nothing and asks nothing.
TEST(EdicionRegistros, LoQueElArchivoRechazaSeInformaYSoloLecturaNoCambiaNada)
{
    {
        // Views that believe they may write on a file opened read-only.
        Edicion e;
        e.vistas.openAll(e.datos.open(true), false);
        e.trafo().alinear();
        VentanaPrueba::escribir(e.lineaTrafo("MARCA"), u("Cambio"));
        e.pulsar(PaginaTrafos::Guardar);
        ASSERT_EQ(e.mensajes.texts().size(), 1);
        EXPECT_TRUE(e.mensajes.texts().first().contains(u("lectura"))) << e.textos().toStdString();
        EXPECT_EQ(e.lineaTrafo("MARCA")->text(), u("Cambio"));
        e.mensajes.answers.enqueue(Mensajes::Answer::Yes);
        e.pulsar(PaginaTrafos::Eliminar);
        ASSERT_EQ(e.mensajes.texts().size(), 3);
        EXPECT_TRUE(e.mensajes.texts().last().startsWith(u("Error: 8   No se puede modificar")))
            << e.textos().toStdString();
        EXPECT_EQ(e.filas("Trafoge"), 3);
    }
    VentanaPrueba::Opciones soloLectura;
    soloLectura.soloLectura = true;
    Edicion e(soloLectura);
    e.trafo().edicion()->agregarTrafo();
    e.trafo().edicion()->agregar(Vista::Revision);
    e.trafo().edicion()->eliminarTrafo();
    EXPECT_FALSE(e.editando() || e.agregando(Vista::Revision));
    EXPECT_TRUE(e.mensajes.shown.isEmpty());
    EXPECT_EQ(e.filas("Trafoge"), 3);
}

// RECONSTRUIR saves what is being typed first, as leaving the row would, ends the edit, and
// leaves the four tabs on the list's first transformer with its test evaluated; a save the
// file refuses stops it before anything runs.
TEST(EdicionRegistros, ReconstruirGuardaLoPendienteYAlineaLasPestanas)
{
    Edicion e;
    e.irA(20);
    PaginaPrioridades* prioridades = e.trafo().paginaPrioridades();
    e.pulsar(PaginaTrafos::Agregar);
    VentanaPrueba::escribir(e.lineaTrafo("CÓDIGO"), u("30"));
    QTest::mouseClick(prioridades->botonReconstruir(), Qt::LeftButton);
    EXPECT_EQ(e.textos(), u("Ya existe un transformador con el código 30"));
    EXPECT_EQ(e.valor(u("SELECT GRAVEDAD FROM Trafoge WHERE \"CÓDIGO\"=10")).toDouble(), 12.5);
    EXPECT_TRUE(e.editando());

    e.mensajes.shown.clear();
    e.pulsar(PaginaTrafos::Cancelar);
    e.irA(20);
    VentanaPrueba::escribir(e.lineaTrafo("MARCA"), u("Sin guardar"));
    QTest::mouseClick(prioridades->botonReconstruir(), Qt::LeftButton);
    EXPECT_TRUE(e.mensajes.shown.isEmpty()) << e.textos().toStdString();
    EXPECT_EQ(e.valor(u("SELECT MARCA FROM Trafoge WHERE \"CÓDIGO\"=20")).toString(), u("Sin guardar"));
    EXPECT_FALSE(e.editando() || e.agregando(Vista::Trafo));
    // The list's first row is the window's transformer on every tab, its test evaluated.
    const QString primero = e.codigoLista();
    ASSERT_FALSE(primero.isEmpty());
    EXPECT_EQ(e.codigo(e.vistas.Data1), primero);
    EXPECT_EQ(e.trafo().paginaTrafos()->cabecera()->caja(0)->text(), primero);
    for (PaginaFechada* f : {static_cast<PaginaFechada*>(e.trafo().paginaRevision()),
                             static_cast<PaginaFechada*>(e.trafo().paginaEnsayos()),
                             static_cast<PaginaFechada*>(e.trafo().paginaMantenimiento())})
        EXPECT_TRUE(f->textoCodigo() == primero || (f->textoCodigo().isEmpty() && f->sinRegistros()))
            << f->objectName().toStdString() << " " << f->textoCodigo().toStdString();
    EXPECT_EQ(e.codigo(e.vistas.Data3), e.trafo().paginaEnsayos()->textoCodigo());
}

// Ca&ncelar on an existing row drops what was typed: the stored values come back, the window
// stays on the row and the next move saves nothing.
TEST(EdicionRegistros, CancelarDescartaLoEscritoEnUnaFilaExistente)
{
    Edicion e;
    e.irA(20);
    VentanaPrueba::escribir(e.lineaTrafo("MARCA"), u("Otra marca"));
    e.pulsar(PaginaTrafos::Cancelar);
    EXPECT_EQ(e.lineaTrafo("MARCA")->text(), u("Ivera"));
    EXPECT_EQ(e.codigo(e.vistas.Data1), u("20"));

    PaginaFechada* revision = e.trafo().paginaRevision();
    QLineEdit* tierra = VentanaPrueba::caja(revision, u("SEC  / PRIM A TIERRA 10'"));
    VentanaPrueba::escribir(tierra, u("999"));
    e.pulsar(revision, PaginaFechada::Cancelar);
    EXPECT_EQ(tierra->text(), u("250"));
    EXPECT_EQ(revision->textoFecha(), u("10/01/2024"));

    e.pulsar(e.trafo().paginaTrafos()->barra(), BarraNavegacion::Siguiente);
    e.pulsar(revision->barra(), BarraNavegacion::Primero);
    EXPECT_EQ(e.valor(u("SELECT MARCA FROM Trafoge WHERE \"CÓDIGO\"=20")).toString(), u("Ivera"));
    EXPECT_EQ(
        e.valor(u("SELECT \"SEC  / PRIM A TIERRA 10'\" FROM Revision WHERE FECHA='2024-01-10'")).toInt(),
        250);
    EXPECT_TRUE(e.mensajes.shown.isEmpty()) << e.textos().toStdString();
}
