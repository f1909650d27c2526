#include "records/ui/PaginaBuscar.h"
#include "records/ui/PaginaCalendario.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaRevision.h"
#include "tests/records/Planta.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// 5 and 12 at the port, 7 with two inspections at 5000 V, 12 with one, 17 with a very acid test.
void llenar(const TempData& datos)
{
    datos.exec(
        u("INSERT INTO Trafoge (\"CÓDIGO\", AREA, TIPO, ESTADO, GRAVEDAD) VALUES "
          "(5, 'PUERTO', 'SECO', 1, 0), (7, 'NORTE', 'SELLADO', 2, 1), (12, 'PUERTO', 'SELLADO', 3, 2),"
          "(17, 'O''Higgins', 'SECO', 1, 0)"));
    datos.exec(u("INSERT INTO Revision (\"CÓDIGO\", FECHA, TENSION) VALUES (7, '2024-01-01', 5000), "
                 "(7, '2025-01-01', 5000), (12, '2024-06-01', 5000), (5, '2024-06-01', 1000)"));
    datos.exec(u("INSERT INTO Ensayos (\"Código\", Fecha, Acidez) VALUES (17, '2024-01-01', 0.4), (12, "
                 "'2024-02-01', 0.1)"));
    datos.exec(
        u("INSERT INTO Mantenimiento (\"Código\", Fecha, \"Limpieza General\") VALUES (5, '2024-01-01', 1)"));
}

struct Buscar : VentanaPrueba
{
    Buscar() : VentanaPrueba(llenar) {}
    PaginaBuscar* p() const { return trafo().paginaBuscar(); }
    void elegir(int combo, const QString& texto) const
    {
        QComboBox* c = p()->combo(combo);
        const int i = c->findText(texto);
        ASSERT_GE(i, 0) << texto.toStdString();
        c->setCurrentIndex(i);
        emit c->activated(i);
    }
    void clic(const char* boton) const { QTest::mouseClick(p()->boton(u(boton)), Qt::LeftButton); }
    // Composes and adds one line with the choosers.
    void linea(const char* tabla, const char* campo, const char* comparacion, const char* valor,
               const char* conector = " ", bool abre = false, bool cierra = false) const
    {
        elegir(6, u(tabla));
        elegir(1, u(campo));
        elegir(2, u(comparacion));
        p()->valor()->setEditText(u(valor));
        p()->combo(7)->setCurrentIndex(p()->combo(7)->findText(u(conector)));
        p()->abre()->setChecked(abre);
        p()->cierra()->setChecked(cierra);
        clic("VxBoton12");
    }
    QString ultimoMensaje() const { return mensajes.texts().value(mensajes.texts().size() - 1); }
};

} // namespace

// The choosers compose each line as the field's kind needs it; incomplete lines are refused with
// their message; the connector controls show with the first line and hide with the last.
TEST(Buscar, LasLineasSeComponenConLosSelectoresYBorrarRespetaLaPrimera)
{
    Buscar b;
    PaginaBuscar* p = b.p();
    EXPECT_TRUE(p->etiquetaOperador()->isHidden());
    b.elegir(6, u(" "));
    EXPECT_EQ(p->combo(1)->count(), 1);
    b.clic("VxBoton12");
    ASSERT_EQ(b.mensajes.shown.size(), 1);
    EXPECT_EQ(b.mensajes.shown.last().text, u("Debe formar una condicion para agregar"));
    EXPECT_EQ(b.mensajes.shown.last().title, u(" Error del usuario"));
    EXPECT_EQ(b.mensajes.shown.last().icon, Mensajes::Icon::Exclamation);
    // The value list offers what the field holds.
    b.elegir(6, u("Trafos"));
    b.elegir(1, u("AREA"));
    QStringList valores;
    for (int i = 0; i < p->valor()->count(); ++i)
        valores << p->valor()->itemText(i);
    EXPECT_EQ(valores, (QStringList{u("NORTE"), u("O'Higgins"), u("PUERTO")}));
    b.linea("Trafos", "AREA", "=", "O'Higgins");
    EXPECT_FALSE(p->etiquetaOperador()->isHidden());
    EXPECT_FALSE(p->combo(7)->isHidden());
    b.linea("Trafos", "AREA", "=", "PUERTO"); // no connector
    EXPECT_EQ(b.ultimoMensaje(), u("Debe formar una condicion completa para agregar"));
    b.linea("Ensayos", "Acidez", ">", "0,2", "Or", true);
    b.linea("Revision", "FECHA", ">=", "20/05/2003", "And");
    b.linea("Manten", "Limpieza General", "=", "Sí", "Xor", false, true);
    EXPECT_EQ(p->lineas(), (QStringList{u("Trafoge.[AREA] = 'O''Higgins'"), u("Or ( Ensayos.[Acidez] > 0.2"),
                                        u("And Revision.[FECHA] >= #05/20/2003#"),
                                        u("Xor Mantenimiento.[Limpieza General] = True )")}));
    // BORRAR: the first of several stays; another selected goes; none selected empties the list.
    p->lista()->setCurrentRow(0);
    b.clic("VxBoton10");
    EXPECT_EQ(p->lista()->count(), 4);
    p->lista()->setCurrentRow(2);
    b.clic("VxBoton10");
    EXPECT_EQ(p->lineas().value(2), u("Xor Mantenimiento.[Limpieza General] = True )"));
    p->lista()->clearSelection();
    b.clic("VxBoton10");
    EXPECT_EQ(p->lista()->count(), 0);
    EXPECT_TRUE(p->etiquetaOperador()->isHidden());
    EXPECT_TRUE(p->abre()->isHidden());
}

// Buscar stands on the first transformer found, Siguiente on the next one (never the same twice),
// and each says when there is nothing more; a list the search cannot run is reported.
TEST(Buscar, BuscarYSiguientePasanPorCadaTransformadorUnaVez)
{
    Buscar b;
    PaginaBuscar* p = b.p();
    b.clic("Command1");
    EXPECT_EQ(b.ultimoMensaje(), u("Debe agregar una condicion para realizar la busqueda"));
    p->setLineas({u("Revision.[TENSION] = 5000")});
    b.clic("Command1");
    EXPECT_EQ(b.codigo(b.vistas.Data1), u("7"));
    ASSERT_TRUE(p->boton(u("Command2"))->isEnabled());
    b.clic("Command2");
    EXPECT_EQ(b.codigo(b.vistas.Data1), u("12"));
    const int antes = int(b.mensajes.shown.size());
    b.clic("Command2");
    ASSERT_EQ(b.mensajes.shown.size(), antes + 1);
    EXPECT_EQ(b.mensajes.shown.last().text, u("No se encontró coincidencia de registro"));
    EXPECT_EQ(b.mensajes.shown.last().title, u("Busqueda"));
    EXPECT_FALSE(p->boton(u("Command2"))->isEnabled());
    p->setLineas({u("Revision.[FECHA] > 20/05/2003")});
    b.clic("Command1");
    EXPECT_EQ(b.ultimoMensaje(), u("La Busqueda Generó Error o no fué bien construida"));
    p->setLineas({u("Trafoge.[AREA] = 'NINGUNA'")});
    b.clic("Command1");
    EXPECT_EQ(b.ultimoMensaje(), u("No se encontró coincidencia de registro"));
}

// Subagrupar narrows every view and the priority list to the transformers found (the current one
// alone with no condition) and leaves the report formulas; Restaurar brings the whole plant back.
TEST(Buscar, SubagruparYRestaurar)
{
    Buscar b;
    PaginaBuscar* p = b.p();
    b.irA(12);
    EXPECT_FALSE(p->boton(u("Command3"))->isEnabled());
    b.clic("Command4");
    EXPECT_TRUE(p->boton(u("Command3"))->isEnabled());
    EXPECT_EQ(b.vistas.Data1.recordCount(), 1);
    EXPECT_EQ(b.codigo(b.vistas.Data2), u("12"));
    EXPECT_EQ(b.vistas.Data2.recordCount(), 1);
    EXPECT_EQ(b.vistas.Ado1.recordCount(), 1);
    EXPECT_EQ(b.estado.FormulaTrafo, u("({Trafoge.CÓDIGO}=12)"));
    EXPECT_EQ(b.estado.FiltroCodigos, u("(Código =12)"));
    p->setLineas({u("Trafoge.[AREA] = 'PUERTO'"), u("Or Ensayos.[Acidez] > 0.3")});
    b.clic("Command4");
    EXPECT_EQ(b.vistas.Data1.recordCount(), 3);
    EXPECT_EQ(b.estado.FiltroCodigos, u("(Código =5)or(Código=12)or(Código=17)"));
    EXPECT_EQ(b.vistas.Data2.recordCount(), 2) << "the inspections of 5 and 12";
    // The priority list in its order: red first.
    EXPECT_EQ(b.vistas.Ado1.valueAt(0, u("CÓDIGO")).toInt(), 12);
    b.clic("Command3");
    EXPECT_EQ(b.vistas.Data1.recordCount(), 4);
    EXPECT_EQ(b.vistas.Data2.recordCount(), 4);
    EXPECT_EQ(std::tuple(b.estado.FormulaTrafo, b.estado.FiltroCodigos), std::tuple(u("1=1"), u("1=1")));
    // A view that refuses its sub-group (its table gone under it) switches none of them.
    const QString fuenteRevision = b.vistas.Data2.recordSource();
    ASSERT_TRUE(b.vistas.database()->exec(u("ALTER TABLE Mantenimiento RENAME TO Apartada")).ok());
    p->setLineas({u("Trafoge.[AREA] = 'PUERTO'")});
    b.clic("Command4");
    ASSERT_TRUE(b.vistas.database()->exec(u("ALTER TABLE Apartada RENAME TO Mantenimiento")).ok());
    EXPECT_EQ(
        b.mensajes.shown.last().text,
        u("La Subagrupación Generó Error , no fué bien construida o bien no existen datos para ese Trafo"));
    EXPECT_EQ(b.vistas.Data2.recordSource(), fuenteRevision);
    EXPECT_EQ(
        std::tuple(b.vistas.Data1.recordCount(), b.vistas.Data2.recordCount(), b.vistas.Ado1.recordCount()),
        std::tuple(4, 4, 4));
    EXPECT_EQ(b.estado.FormulaTrafo, u("1=1"));
    // A condition nobody meets: the message and the views as they were.
    p->setLineas({u("Trafoge.[AREA] = 'NINGUNA'")});
    b.clic("Command4");
    EXPECT_EQ(b.mensajes.shown.last().title, u("Subagrupar"));
    EXPECT_EQ(b.vistas.Data1.recordCount(), 4);
}

// Guardar and Abrir go through the file dialog; a cancelled dialog says nothing.
TEST(Buscar, LasBusquedasSeGuardanYSeAbren)
{
    Buscar b;
    PaginaBuscar* p = b.p();
    QTemporaryDir dir;
    const QStringList tres = {u("Trafoge.[AREA] = 'O''Higgins'"), u("Or ( Trafoge.[TIPO] = 'SECO'"),
                              u("And Ensayos.[Acidez] > 0.3 )")};
    p->setLineas(tres);
    b.mensajes.files.enqueue(dir.filePath(u("mia")));
    b.clic("CommandAG_1");
    EXPECT_TRUE(QFile::exists(dir.filePath(u("mia.abs"))));
    p->setLineas({});
    b.clic("VxBoton10");
    b.mensajes.files.enqueue(dir.filePath(u("mia.abs")));
    b.clic("CommandAG_0");
    EXPECT_EQ(p->lineas(), tres);
    EXPECT_FALSE(p->etiquetaOperador()->isHidden());
    const int antes = int(b.mensajes.shown.size());
    b.clic("CommandAG_0");
    b.clic("CommandAG_1");
    EXPECT_EQ(b.mensajes.shown.size(), antes);
    EXPECT_EQ(p->lineas(), tres);
    b.mensajes.files.enqueue(dir.filePath(u("no-existe.abs")));
    b.clic("CommandAG_0");
    EXPECT_EQ(b.ultimoMensaje(), u("Error al Abrir Archivo"));
}

// The calendar pages: the comparison shows alike on the three tabs; the date searches step the
// tab's rows; the selection by date narrows every view, inside a sub-group when there is one.
TEST(Buscar, LosBotonesDelCalendarioBuscanYSeleccionanPorFecha)
{
    Buscar b;
    Trafo& t = b.trafo();
    auto botones = [&](PaginaFechada* p) {
        return p->calendario()->zonaBotones()->findChildren<QPushButton*>();
    };
    auto boton = [&](PaginaFechada* p, const char* nombre) {
        for (QPushButton* x : botones(p))
            if (x->objectName() == u(nombre))
                return x;
        return static_cast<QPushButton*>(nullptr);
    };
    auto comparacion = [&](PaginaFechada* p) {
        return p->calendario()->zonaBotones()->findChild<QComboBox*>();
    };
    PaginaFechada* revision = t.paginaRevision();
    PaginaFechada* ensayos = t.paginaEnsayos();
    comparacion(ensayos)->setEditText(u("="));
    EXPECT_EQ(comparacion(revision)->currentText(), u("="));
    EXPECT_EQ(comparacion(t.paginaMantenimiento())->currentText(), u("="));
    // "&Hoy" and "&Fecha" put the three calendars on a day; searches read the ENSAYOS one.
    QTest::mouseClick(boton(revision, "Command39"), Qt::LeftButton);
    EXPECT_EQ(ensayos->calendario()->calendario()->selectedDate(), QDate(2026, 12, 5));
    b.irA(12);
    QTest::mouseClick(boton(ensayos, "Command43"), Qt::LeftButton);
    EXPECT_EQ(revision->calendario()->calendario()->selectedDate(), QDate(2024, 2, 1));
    ensayos->calendario()->mostrarFecha(QDate(2024, 6, 1));
    // Two inspections on that day: Buscar Detalle finds the first, Buscar Siguiente the other.
    QTest::mouseClick(boton(revision, "Command38"), Qt::LeftButton);
    EXPECT_EQ(b.codigo(b.vistas.Data2), u("12"));
    EXPECT_EQ(b.codigo(b.vistas.Data1), u("12")) << "the window follows the row found";
    QTest::mouseClick(boton(revision, "Command53"), Qt::LeftButton);
    EXPECT_EQ(b.codigo(b.vistas.Data2), u("5"));
    QTest::mouseClick(boton(revision, "Command53"), Qt::LeftButton);
    EXPECT_EQ(b.ultimoMensaje(), u("No se encontró coincidencia de registro"));

    // Selection by date: rows on or after 1 February 2024 and their transformers.
    comparacion(ensayos)->setEditText(u(">="));
    ensayos->calendario()->mostrarFecha(QDate(2024, 2, 1));
    QTest::mouseClick(boton(ensayos, "Command47"), Qt::LeftButton);
    EXPECT_EQ(b.estado.OperadorFecha, u(">="));
    EXPECT_EQ(b.estado.FormulaEnsayos, u("{Ensayos.fecha}>=DATE(2024,02,01)"));
    EXPECT_EQ(b.vistas.Data3.recordCount(), 1);
    EXPECT_EQ(b.vistas.Data2.recordCount(), 3);
    EXPECT_EQ(b.vistas.Data1.recordCount(), 3) << "5, 7 and 12";
    EXPECT_FALSE(b.estado.RecorridoEnsayos);
    // Inside the sub-group of the port.
    QTest::mouseClick(boton(revision, "Command46"), Qt::LeftButton);
    b.p()->setLineas({u("Trafoge.[AREA] = 'PUERTO'")});
    b.clic("Command4");
    QTest::mouseClick(boton(ensayos, "Command47"), Qt::LeftButton);
    EXPECT_EQ(b.vistas.Data1.recordCount(), 2) << "5 and 12";
    EXPECT_EQ(b.vistas.Ado1.recordCount(), 2);
    // Nothing on that side of the day: the message, and the dated tabs on their whole tables.
    comparacion(ensayos)->setEditText(u("<"));
    ensayos->calendario()->mostrarFecha(QDate(2000, 1, 1));
    QTest::mouseClick(boton(ensayos, "Command47"), Qt::LeftButton);
    EXPECT_EQ(b.mensajes.shown.last().text, u("No se encontró coincidencia de registros"));
    EXPECT_EQ(b.mensajes.shown.last().title, u("Selección"));
    EXPECT_EQ(b.vistas.Data2.recordCount(), 4);
    QTest::mouseClick(boton(ensayos, "Command48"), Qt::LeftButton);
    EXPECT_EQ(b.vistas.Data1.recordCount(), 4);
    EXPECT_EQ(b.estado.FormulaEnsayos, u("1=1"));
    // The views opened again on a data folder: comparisons on "=", calendars on today.
    comparacion(ensayos)->setEditText(u(">="));
    ASSERT_TRUE(t.reabrir(b.datos.folder()).ok());
    for (PaginaFechada* pagina : {static_cast<PaginaFechada*>(revision), ensayos,
                                  static_cast<PaginaFechada*>(t.paginaMantenimiento())}) {
        EXPECT_EQ(comparacion(pagina)->currentText(), u("="));
        EXPECT_EQ(pagina->calendario()->calendario()->selectedDate(), QDate(2026, 12, 5));
    }
}
