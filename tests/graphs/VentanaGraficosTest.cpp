#include "graphs/ui/Dialog.h"
#include "graphs/ui/Graficos.h"
#include "graphs/ui/Grafo.h"
#include "graphs/ui/LienzoGrafico.h"
#include "graphs/ui/PanelGrafico.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaRevision.h"
#include "tests/support/Texto.h"
#include "tests/support/VentanaPrueba.h"

#include <QAbstractBarSeries>
#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>
#include <gtest/gtest.h>

namespace {

// Transformer 10 has twelve tests of growing acidity, the third without acidity, with a test of
// 20 among them; three inspections and two maintenance rows, one without any item.
void llenar(const TempData& datos)
{
    datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", \"DENOMINACIÓN\", MARCA, \"NRO DE SERIE\") VALUES "
                 "(10, 'Bombeo', 'Tadeo', 'S-100'), (20, 'Planta', 'Ivera', 'S-200')"));
    for (int i = 1; i <= 12; ++i) {
        datos.exec(u("INSERT INTO Ensayos (\"Código\", Fecha, Acidez, \"Hidrógeno\") VALUES (10, "
                     "'2020-%1-01', %2, %3)")
                       .arg(i, 2, 10, QLatin1Char('0'))
                       .arg(i == 3 ? 0.0 : 0.1 * i)
                       .arg(i * 10));
        if (i == 5)
            datos.exec(u("INSERT INTO Ensayos (\"Código\", Fecha, Acidez) VALUES (20, '2020-05-15', 9)"));
    }
    datos.exec(
        u("INSERT INTO Revision (\"CÓDIGO\", FECHA, \"PRIM / SEC A TIERRA 1'\", \"SEC / PRIM A TIERRA 1'\") "
          "VALUES (10, '2021-01-01', 2.5, 100), (10, '2021-02-01', 3.5, NULL), (10, '2021-03-01', 7, 7),"
          "(20, '2021-04-01', 40, NULL)"));
    datos.exec(u("INSERT INTO Mantenimiento (\"Código\", Fecha, Pintado, \"Limpieza General\") VALUES "
                 "(10, '2022-01-01', 1, 1), (10, '2022-02-01', 0, NULL)"));
}

struct Ventana : VentanaPrueba
{
    Ventana() : VentanaPrueba(llenar) {}

    PanelGrafico* panel(int g) const { return graficos().panel(g); }
    // Shows the GRÁFICOS sub-tab of a dated tab and clicks a button there.
    void mostrar(int g)
    {
        PaginaFechada* p = g == 0   ? static_cast<PaginaFechada*>(trafo().paginaRevision())
                           : g == 1 ? static_cast<PaginaFechada*>(trafo().paginaEnsayos())
                                    : static_cast<PaginaFechada*>(trafo().paginaMantenimiento());
        trafo().tabs()->setCurrentWidget(p);
        p->subtabs()->setCurrentIndex(2);
    }
    void pulsar(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
};

QList<double> valoresLinea(QChart* chart, int serie = 0)
{
    QList<double> v;
    auto* linea = qobject_cast<QLineSeries*>(chart->series().value(serie));
    if (linea)
        for (const QPointF& p : linea->points())
            v << p.y();
    return v;
}

QStringList etiquetasX(QChart* chart)
{
    auto* eje = qobject_cast<QBarCategoryAxis*>(chart->axes(Qt::Horizontal).value(0));
    return eje ? eje->categories() : QStringList();
}

// Prints through a PDF file instead of the preview; checks the picture file is there first.
struct ImpresionPdf
{
    QTemporaryDir dir;
    QString pdf = dir.filePath(QStringLiteral("pagina.pdf"));
    QString archivoEsperado;
    bool archivoAntes = false;
    QSize paginaPx;

    Graficos::Impresion impresion()
    {
        return [this](QPrinter& printer, const std::function<void(QPrinter*)>& pintar) {
            QSvgRenderer leido(archivoEsperado);
            archivoAntes = leido.isValid();
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            pintar(&printer);
        };
    }
    // The printed page as an image, through pdftoppm.
    QImage pagina() const
    {
        const QString base = dir.filePath(QStringLiteral("pagina"));
        QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("40"),
                           QStringLiteral("-singlefile"), pdf, base});
        return QImage(base + QStringLiteral(".png"));
    }
};

int pixelesOscuros(const QImage& imagen)
{
    int n = 0;
    for (int y = 0; y < imagen.height(); ++y)
        for (int x = 0; x < imagen.width(); ++x)
            if (qGray(imagen.pixel(x, y)) < 160)
                ++n;
    return n;
}

} // namespace

TEST(VentanaGraficos, TestGraphShowsTheTransformersAcidityWithoutMovingTheView)
{
    Ventana v;
    v.irA(10);
    v.mostrar(1);
    const int antes = v.vistas.Data3.absolutePosition();
    // A quantity choice alone draws nothing.
    v.pulsar(v.panel(1)->opcion(graficos::TIF));
    v.pulsar(v.panel(1)->opcion(graficos::Acidez));
    EXPECT_EQ(v.panel(1)->lienzo()->dibujo().puntos(), 0);
    v.pulsar(v.panel(1)->redibujar());

    QChart* chart = v.panel(1)->lienzo()->chart();
    EXPECT_EQ(chart->title(), u("Bombeo  Tadeo  S. S-100"));
    const QList<double> valores = valoresLinea(chart);
    ASSERT_EQ(valores.size(), 10);
    EXPECT_NEAR(valores.last(), 0.1, 1e-9); // the current test, rightmost
    EXPECT_NEAR(valores.first(), 1.1, 1e-9);
    EXPECT_FALSE(valores.contains(0.0));
    EXPECT_FALSE(valores.contains(9.0)); // transformer 20's test
    const QStringList x = etiquetasX(chart);
    EXPECT_EQ(x.first(), u("01/11/20"));
    EXPECT_EQ(x.last(), u("01/01/20"));
    auto* y = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    ASSERT_TRUE(y);
    EXPECT_EQ(y->titleText(), u("Acidez"));
    EXPECT_EQ(v.vistas.Data3.absolutePosition(), antes);
    EXPECT_EQ(VentanaPrueba::codigo(v.vistas.Data1), u("10"));

    // The line is on screen: the series' colour shows in the view.
    QApplication::processEvents();
    const QImage imagen = v.panel(1)->lienzo()->findChild<QChartView*>()->grab().toImage();
    const QColor color = qobject_cast<QLineSeries*>(chart->series().first())->color();
    int enColor = 0;
    for (int yy = 0; yy < imagen.height(); ++yy)
        for (int xx = 0; xx < imagen.width(); ++xx)
            if (QColor(imagen.pixel(xx, yy)) == color)
                ++enColor;
    EXPECT_GT(enColor, 50);
}

TEST(VentanaGraficos, BarGraphsShowExactlyThePointsCollected)
{
    Ventana v;
    v.irA(10);
    v.mostrar(0);
    v.pulsar(v.panel(0)->redibujar());
    QChart* chart = v.panel(0)->lienzo()->chart();
    auto* barras = qobject_cast<QAbstractBarSeries*>(chart->series().value(0));
    ASSERT_TRUE(barras);
    ASSERT_EQ(barras->count(), 3);
    EXPECT_EQ(barras->barSets().at(0)->label(), u("Pri/Sec-T"));
    // 7, 3.5 and 2.5 as whole numbers, halves to even, the current inspection rightmost.
    const QBarSet* primera = barras->barSets().at(0);
    ASSERT_EQ(primera->count(), 3);
    EXPECT_EQ(primera->at(0), 7);
    EXPECT_EQ(primera->at(1), 4);
    EXPECT_EQ(primera->at(2), 2);
    EXPECT_EQ(barras->barSets().at(1)->at(1), 0);
    EXPECT_EQ(qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0))->titleText(),
              u("Aislación (Megohms)"));

    // Fewer points than the last drawing: none of the old ones stay.
    v.irA(20);
    v.pulsar(v.panel(0)->redibujar());
    barras = qobject_cast<QAbstractBarSeries*>(v.panel(0)->lienzo()->chart()->series().value(0));
    ASSERT_TRUE(barras);
    EXPECT_EQ(barras->barSets().at(0)->count(), 1);
    EXPECT_EQ(etiquetasX(v.panel(0)->lienzo()->chart()), QStringList{u("01/04/21")});

    v.irA(10);
    v.mostrar(2);
    v.pulsar(v.panel(2)->redibujar());
    chart = v.panel(2)->lienzo()->chart();
    barras = qobject_cast<QAbstractBarSeries*>(chart->series().value(0));
    ASSERT_TRUE(barras);
    EXPECT_EQ(barras->count(), 16);
    EXPECT_EQ(etiquetasX(chart), QStringList{u("01/01/22")}); // the row without items is no point
}

TEST(VentanaGraficos, GasesOpensTheDialogWhoseChoiceLastsTheRun)
{
    Ventana v;
    v.irA(10);
    v.mostrar(1);
    PanelGrafico* p = v.panel(1);
    EXPECT_TRUE(p->configurar()->isHidden());
    v.pulsar(p->opcion(graficos::Gases));
    EXPECT_FALSE(p->configurar()->isHidden());
    Dialog* d = v.graficos().dialogo();
    ASSERT_TRUE(d);
    EXPECT_EQ(d->windowTitle(), u("Configurar Gráfico de Gases"));
    EXPECT_TRUE(d->opcion(0)->isChecked());
    // "Total Gases", then a gas ticked: back to "Gases".
    v.pulsar(d->opcion(2));
    EXPECT_EQ(d->modo(), 2);
    v.pulsar(d->gas(0));
    EXPECT_TRUE(d->opcion(0)->isChecked());
    EXPECT_EQ(d->modo(), 0);
    v.pulsar(d->aceptar());
    QApplication::processEvents();
    EXPECT_EQ(v.graficos().gases().modo, 0);
    EXPECT_EQ(v.graficos().gases().gases[0], 1);
    v.pulsar(p->redibujar());
    QChart* chart = p->lienzo()->chart();
    EXPECT_EQ(chart->series().value(0)->name(), u("Hidrógeno"));
    EXPECT_EQ(valoresLinea(chart).last(), 10);

    // Reopened, it shows the stored choice; "Cancelar" keeps it whatever was changed.
    v.pulsar(p->configurar());
    d = v.graficos().dialogo();
    ASSERT_TRUE(d);
    EXPECT_EQ(d->gas(0)->checkState(), Qt::Checked);
    v.pulsar(d->opcion(2));
    v.pulsar(d->cancelar());
    QApplication::processEvents();
    EXPECT_EQ(v.graficos().gases().modo, 0);

    // "Borrar" and "Aceptar": no gas, no points, "Gases : (ppm)".
    v.pulsar(p->configurar());
    d = v.graficos().dialogo();
    ASSERT_TRUE(d);
    v.pulsar(d->opcion(1));
    v.pulsar(d->borrar());
    EXPECT_EQ(d->modo(), 0);
    v.pulsar(d->aceptar());
    QApplication::processEvents();
    EXPECT_EQ(v.graficos().gases(), graficos::ConfiguracionGases());
    v.pulsar(p->redibujar());
    EXPECT_EQ(p->lienzo()->dibujo().puntos(), 0);
    EXPECT_EQ(qobject_cast<QValueAxis*>(p->lienzo()->chart()->axes(Qt::Vertical).value(0))->titleText(),
              u("Gases : (ppm)"));
}

TEST(VentanaGraficos, ThreeDWithoutOpenGLSaysSoAndDrawsIn2D)
{
    Ventana v;
    v.irA(10);
    v.mostrar(1);
    EXPECT_EQ(v.graficos().codigosTipo(1), (std::array<int, 3>{6, 15, 5}));
    v.pulsar(v.panel(1)->dimension(1)); // a 2D/3D click redraws
    EXPECT_TRUE(v.graficos().tresD(1));
    EXPECT_EQ(v.graficos().codigosTipo(1), (std::array<int, 3>{4, 7, 2}));
    EXPECT_FALSE(v.panel(1)->lienzo()->en3D());
    EXPECT_TRUE(v.panel(1)->lienzo()->aviso()->isVisible());
    EXPECT_EQ(valoresLinea(v.panel(1)->lienzo()->chart()).size(), 10);
    v.pulsar(v.panel(1)->dimension(0));
    EXPECT_FALSE(v.panel(1)->lienzo()->aviso()->isVisible());
    EXPECT_EQ(v.graficos().codigosTipo(0), (std::array<int, 3>{3, 15, 0}));
    EXPECT_EQ(v.graficos().codigosTipo(2), (std::array<int, 3>{3, 15, 2}));
}

TEST(VentanaGraficos, GrafoDrawsOnActivationAndPrintsLandscape)
{
    Ventana v;
    v.irA(10);
    v.mostrar(2);
    LienzoGrafico* lienzo = v.panel(2)->lienzo();
    QTest::mouseClick(lienzo->findChild<QChartView*>()->viewport(), Qt::LeftButton);
    Grafo* g = v.graficos().grafo();
    ASSERT_TRUE(g);
    EXPECT_EQ(g->windowTitle(), u("Grafo"));
    EXPECT_EQ(v.graficos().tipoAmpliado(), 2);
    // Whatever activation the platform sends first, each activation draws anew.
    static_cast<void>(QTest::qWaitForWindowActive(g, 1000));
    QApplication::processEvents();
    const QChart* primero = g->lienzo()->chart();
    const int antesDeActivar = g->dibujos();
    QEvent activar(QEvent::WindowActivate);
    QApplication::sendEvent(g, &activar);
    const int dibujos = g->dibujos();
    EXPECT_EQ(dibujos, antesDeActivar + 1);
    EXPECT_NE(g->lienzo()->chart(), primero);
    // The enlarged maintenance graph names its items.
    auto* barras = qobject_cast<QAbstractBarSeries*>(g->lienzo()->chart()->series().value(0));
    ASSERT_TRUE(barras);
    EXPECT_EQ(barras->barSets().at(7)->label(), u("Pintado"));
    const QChart* antes = g->lienzo()->chart();
    g->resize(700, 450);
    QApplication::processEvents();
    EXPECT_EQ(g->lienzo()->chart(), antes); // a resize draws nothing new
    EXPECT_EQ(g->dibujos(), dibujos);

    QStringList acciones;
    for (QAction* a : g->menu()->actions())
        acciones << a->text();
    EXPECT_EQ(acciones, (QStringList{u("Copiar"), u("Imprimir"), u("Cerrar"), u("Salir")}));

    g->accion(Grafo::Copiar)->trigger();
    const QMimeData* copia = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(copia);
    EXPECT_TRUE(copia->hasImage());
    EXPECT_TRUE(copia->data(u("image/svg+xml")).startsWith("<?xml"));

    ImpresionPdf impresion;
    impresion.archivoEsperado = v.datos.folder() + u("/graph4.svg");
    v.graficos().setImpresion(impresion.impresion());
    g->accion(Grafo::Imprimir)->trigger();
    EXPECT_TRUE(impresion.archivoAntes);
    const QImage pagina = impresion.pagina();
    ASSERT_FALSE(pagina.isNull());
    EXPECT_GT(pagina.width(), pagina.height()); // landscape
    EXPECT_GT(pixelesOscuros(pagina), 100);

    // Salir closes the enlarged window and the dialog.
    v.graficos().configurarGases();
    ASSERT_TRUE(v.graficos().dialogo());
    v.trafo().setTerminar([] {});
    v.trafo().Salir();
    QApplication::processEvents();
    EXPECT_FALSE(g->isVisible());
    EXPECT_FALSE(v.graficos().dialogo() && v.graficos().dialogo()->isVisible());
}

TEST(VentanaGraficos, PrintWritesThePictureFileFirst)
{
    Ventana v;
    v.irA(10);
    v.mostrar(1);
    v.pulsar(v.panel(1)->redibujar());
    const QString archivo = v.datos.folder() + u("/graph1(1).svg");
    EXPECT_EQ(v.graficos().archivos().grafico[1], archivo);
    ImpresionPdf impresion;
    impresion.archivoEsperado = archivo;
    v.graficos().setImpresion(impresion.impresion());
    v.pulsar(v.panel(1)->imprimir());
    EXPECT_TRUE(impresion.archivoAntes);
    EXPECT_TRUE(QFileInfo::exists(archivo));
    const QImage pagina = impresion.pagina();
    ASSERT_FALSE(pagina.isNull());
    EXPECT_LT(pagina.width(), pagina.height());
    EXPECT_GT(pixelesOscuros(pagina), 100);
    // Nothing is left at the other spelling.
    EXPECT_FALSE(QFileInfo::exists(v.datos.folder() + u("/Graph1(1).svg")));
}
