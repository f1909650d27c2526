#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaPrioridades.h"
#include "records/ui/PaginaRevision.h"
#include "records/ui/PaginaTrafos.h"
#include "search/ui/VistaPreviaInforme.h"
#include "tests/support/Texto.h"
#include "tests/support/VentanaPrueba.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void planta(const TempData& datos)
{
    datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", \"DENOMINACIÓN\", ESTADO, GRAVEDAD) VALUES "
                 "(5, 'Acería', 3, 4), (12, 'Horno', 2, 1), (20, 'Laminación', 1, 0);"
                 "INSERT INTO Ensayos (\"Código\", Fecha) VALUES (5, '2024-06-01'), (12, '2023-01-01');"
                 "INSERT INTO Revision (\"CÓDIGO\", FECHA) VALUES (5, '2024-02-01');"
                 "INSERT INTO Mantenimiento (\"Código\", Fecha) VALUES (12, '2024-04-04');"));
}

void pulsar(QAbstractButton* boton)
{
    ASSERT_TRUE(boton);
    ASSERT_TRUE(boton->isVisible()) << boton->objectName().toStdString();
    QTest::mouseClick(boton, Qt::LeftButton, {}, QPoint(6, boton->height() / 2));
}

} // namespace

// Every report button prints its report with the transformer formula and, where it has one,
// its date formula: the priority list takes the maintenance one. The TRAFOS frame prints the
// chosen report of three and closes.
TEST(InformesVentana, CadaBotonImprimeSuInformeConSusFormulas)
{
    VentanaPrueba v(planta);
    const QString ft = u("({Trafoge.CÓDIGO}=5) or ({Trafoge.CÓDIGO}=12)");
    v.estado.FormulaTrafo = ft;
    v.estado.FormulaRevision = u("{Revision.fecha}>=DATE(2024,01,01)");
    v.estado.FormulaEnsayos = u("{Ensayos.fecha}>=DATE(2024,01,01)");
    v.estado.FormulaMantenimiento = u("{Mantenimiento.fecha}>=DATE(2024,01,01)");
    Trafo& t = v.trafo();

    PaginaTrafos* trafos = t.paginaTrafos();
    t.tabs()->setCurrentWidget(trafos);
    for (int eleccion : {0, 1, 2}) {
        pulsar(trafos->botonInforme());
        ASSERT_TRUE(trafos->marcoInforme()->isVisible());
        pulsar(trafos->opcionInforme(eleccion));
        pulsar(trafos->aceptarInforme());
        EXPECT_FALSE(trafos->marcoInforme()->isVisible());
        EXPECT_TRUE(trafos->botonInforme()->isVisible());
    }
    auto* accesorios = trafos->findChild<QPushButton*>(u("Command35"));
    ASSERT_TRUE(accesorios);
    EXPECT_EQ(accesorios->text(), u("&Generar informe"));
    accesorios->click();

    const QList<std::pair<QWidget*, QPushButton*>> fechadas = {
        {t.paginaRevision(), t.paginaRevision()->botonInforme()},
        {t.paginaEnsayos(), t.paginaEnsayos()->botonInforme()},
        {t.paginaMantenimiento(), t.paginaMantenimiento()->botonInforme()},
        {t.paginaPrioridades(), t.paginaPrioridades()->botonImprimir()},
    };
    for (const auto& [pagina, boton] : fechadas) {
        t.tabs()->setCurrentWidget(pagina);
        QCoreApplication::processEvents();
        pulsar(boton);
    }
    EXPECT_EQ(t.paginaRevision()->botonInforme()->objectName(), u("Command51"));
    EXPECT_EQ(t.paginaEnsayos()->botonInforme()->objectName(), u("Command33"));
    EXPECT_EQ(t.paginaMantenimiento()->botonInforme()->objectName(), u("Command34"));
    EXPECT_EQ(t.paginaPrioridades()->botonImprimir()->objectName(), u("VxBoton15"));
    EXPECT_EQ(v.informesImpresos,
              (QStringList{u("trafos2.rpt: ") + ft, u("trafos3.rpt: ") + ft, u("trafos.rpt: ") + ft,
                           u("accesorios.rpt: ") + ft,
                           u("revision.rpt: ") + ft + u(" y ") + v.estado.FormulaRevision,
                           u("ensayos.rpt: ") + ft + u(" y ") + v.estado.FormulaEnsayos,
                           u("mantenimiento.rpt: ") + ft + u(" y ") + v.estado.FormulaMantenimiento,
                           u("prioridades.rpt: ") + ft + u(" y ") + v.estado.FormulaMantenimiento}));
    EXPECT_TRUE(v.mensajes.shown.isEmpty()) << v.mensajes.texts().join(QLatin1Char('\n')).toStdString();
    // The run state keeps its selection: only the engine's formulas are reset.
    EXPECT_EQ(v.estado.FormulaTrafo, ft);
    EXPECT_TRUE(v.informes().motor().formula().isEmpty());
    EXPECT_TRUE(v.informes().motor().segundaFormula().isEmpty());
}

// A failure is the engine's Spanish text in a box with only OK and the program's title; with
// nothing selected the formulas are "1=1" and the report covers every row.
TEST(InformesVentana, UnFalloMuestraElTextoDelMotor)
{
    VentanaPrueba v(planta);
    PaginaEnsayos* ensayos = v.trafo().paginaEnsayos();
    v.trafo().tabs()->setCurrentWidget(ensayos);
    pulsar(ensayos->botonInforme());
    EXPECT_EQ(v.informesImpresos, QStringList{u("ensayos.rpt: ")});
    ASSERT_TRUE(v.mensajes.shown.isEmpty());

    v.estado.FormulaEnsayos = u("{Ensayos.fecha}>=DATE(2024,13,01)");
    pulsar(ensayos->botonInforme());
    ASSERT_EQ(v.mensajes.shown.size(), 1);
    const auto& aviso = v.mensajes.shown.first();
    EXPECT_TRUE(
        aviso.text.startsWith(u("La fórmula de selección «{Ensayos.fecha}>=DATE(2024,13,01)» no es válida")))
        << aviso.text.toStdString();
    EXPECT_TRUE(aviso.title.isEmpty());
    EXPECT_EQ(aviso.buttons, Mensajes::Buttons::Ok);
    EXPECT_EQ(v.informesImpresos.size(), 1);

    QTemporaryDir vacia;
    v.estado.RutaPrograma = vacia.path();
    pulsar(ensayos->botonInforme());
    ASSERT_EQ(v.mensajes.shown.size(), 2);
    EXPECT_EQ(v.mensajes.shown.last().text,
              u("No se encuentra el informe '%1/ensayos.rpt'.").arg(QDir(vacia.path()).absolutePath()));
}

// The real preview opens on the report and "Exportar PDF" writes the file chosen.
TEST(InformesVentana, LaVistaPreviaExportaElPdf)
{
    VentanaPrueba v(planta);
    v.informes().ponerSalida([&v](const informe::InformePreparado& p) {
        return informe::mostrarVistaPrevia(p, v.mensajes, &v.trafo());
    });
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u("prioridades.pdf"));
    v.mensajes.files.enqueue(pdf);
    QString titulo;
    bool hayExportar = false;
    QTimer::singleShot(0, [&] {
        auto* dialogo = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialogo);
        titulo = dialogo->windowTitle();
        auto* exportar = dialogo->findChild<QAction*>(u("ExportarPdf"));
        hayExportar = exportar && exportar->text() == u("Exportar PDF");
        if (exportar)
            exportar->trigger();
        dialogo->reject();
    });
    v.trafo().tabs()->setCurrentWidget(v.trafo().paginaPrioridades());
    pulsar(v.trafo().paginaPrioridades()->botonImprimir());
    EXPECT_EQ(titulo, u("Vista previa: Lista de prioridades"));
    EXPECT_TRUE(hayExportar);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5) == "%PDF-");
    EXPECT_TRUE(v.mensajes.shown.isEmpty()) << v.mensajes.texts().join(QLatin1Char('\n')).toStdString();
}

// A report longer than the standard preview holds shows in the page-at-a-time preview: its
// first page at once, then the pages counted, the navigation and the foot following.
TEST(InformesVentana, UnInformeLargoSeVePaginaAPagina)
{
    VentanaPrueba v([](const TempData& datos) {
        QString sql = u("BEGIN;");
        for (int codigo = 1; codigo <= 120; ++codigo)
            sql += u("INSERT INTO Trafoge (\"CÓDIGO\", \"DENOMINACIÓN\", ESTADO) VALUES (%1, 'Transformador "
                     "%1', %2);")
                       .arg(codigo)
                       .arg(codigo % 4);
        datos.exec(sql + u("COMMIT;"));
    });
    v.informes().ponerSalida([&v](const informe::InformePreparado& p) {
        return informe::mostrarVistaPrevia(p, v.mensajes, &v.trafo(), 1);
    });
    QString primera, luego, estandar;
    QImage hojaUno, hojaDos;
    QTimer::singleShot(0, [&] {
        auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialogo);
        estandar = qobject_cast<QPrintPreviewDialog*>(dialogo) ? u("estándar") : u("por páginas");
        auto* total = dialogo->findChild<QLabel*>(u("TotalPaginas"));
        auto* hoja = dialogo->findChild<QLabel*>(u("Hoja"));
        ASSERT_TRUE(total && hoja);
        primera = total->text();
        hojaUno = hoja->pixmap().toImage();
        QTRY_VERIFY(!total->text().contains(u("…")));
        luego = total->text();
        for (QAction* a : dialogo->findChildren<QAction*>())
            if (a->text() == u("▶"))
                a->trigger();
        hojaDos = hoja->pixmap().toImage();
        dialogo->reject();
    });
    v.trafo().tabs()->setCurrentWidget(v.trafo().paginaTrafos());
    v.trafo().paginaTrafos()->findChild<QPushButton*>(u("Command35"))->click();
    EXPECT_EQ(estandar, u("por páginas"));
    EXPECT_EQ(primera, u(" de … (contando páginas)"));
    EXPECT_EQ(luego, u(" de 3"));
    ASSERT_FALSE(hojaUno.isNull());
    ASSERT_FALSE(hojaDos.isNull());
    EXPECT_NE(hojaUno, hojaDos);
    // Some ink on the page: the listing is drawn, not left blank.
    int tinta = 0;
    for (int y = 0; y < hojaDos.height(); y += 2)
        for (int x = 0; x < hojaDos.width(); x += 2)
            tinta += qGray(hojaDos.pixel(x, y)) < 128;
    EXPECT_GT(tinta, 500);
    EXPECT_TRUE(v.mensajes.shown.isEmpty()) << v.mensajes.texts().join(QLatin1Char('\n')).toStdString();
}
