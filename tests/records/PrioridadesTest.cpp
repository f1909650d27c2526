#include "app/logic/RunState.h"
#include "controls/Palette.h"
#include "data/logic/PriorityList.h"
#include "records/logic/DataViews.h"
#include "records/logic/ModeloPrioridades.h"
#include "records/ui/ListaTrafos.h"
#include "records/ui/PaginaPrioridades.h"
#include "tests/support/ScriptedMensajes.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QAbstractItemModelTester>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct Fila
{
    int codigo;
    int estado;
    int gravedad;
};

// Severities chosen so that a yellow row has more than any red one, and ties of state and
// severity in reverse code order.
const Fila kFilas[] = {{5, 2, 9},  {12, 3, 0}, {7, 3, 4},  {3, 3, 4},
                       {1, 1, 20}, {20, 2, 9}, {9, 0, 50}, {2, 3, 4}};
const QList<int> kOrden{2, 3, 7, 12, 5, 20, 1, 9};

// A page on a data file, shown offscreen.
struct Pagina
{
    explicit Pagina(bool conFilas = true)
    {
        if (conFilas)
            for (const Fila& f : kFilas)
                datos.exec(
                    u("INSERT INTO Trafoge (\"CÓDIGO\", AREA, MARCA, \"NRO DE SERIE\", \"DENOMINACIÓN\", "
                      "ESTADO, GRAVEDAD, DIAGNOSTICO, \"RESUMEN OBS\") VALUES (%1, 'Area %1', 'Marca %1', "
                      "'S-%1', 'Trafo %1', %2, %3, 'Diagnóstico %1', '<p>Obs %1</p><p>segunda</p>')")
                        .arg(f.codigo)
                        .arg(f.estado)
                        .arg(f.gravedad));
        vistas.openAll(datos.open(), false);
        pagina = std::make_unique<PaginaPrioridades>(estado, vistas, mensajes);
        pagina->resize(1000, 580);
        pagina->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(pagina.get()));
    }

    ListaTrafos* lista() const { return pagina->lista(); }
    ModeloPrioridades* modelo() const { return pagina->modelo(); }
    QList<int> codigosLista() const
    {
        QList<int> codigos;
        for (int r = 0; r < modelo()->rowCount(); ++r)
            codigos << modelo()->index(r).data(ModeloPrioridades::RolCodigo).toInt();
        return codigos;
    }
    int filaDe(int codigo) const { return codigosLista().indexOf(codigo); }
    int codigoActual() const { return lista()->currentIndex().data(ModeloPrioridades::RolCodigo).toInt(); }
    QString texto(const char* nombre) const
    {
        if (auto* t = pagina->findChild<QPlainTextEdit*>(QString::fromLatin1(nombre)))
            return t->toPlainText();
        if (auto* l = pagina->findChild<QLineEdit*>(QString::fromLatin1(nombre)))
            return l->text();
        return QStringLiteral("<no existe>");
    }
    void clic(int fila) const
    {
        const QModelIndex i = modelo()->index(fila);
        lista()->scrollTo(i);
        QTest::mouseClick(lista()->viewport(), Qt::LeftButton, {}, lista()->visualRect(i).center());
    }

    TempData datos;
    RunState estado;
    DataViews vistas{estado};
    ScriptedMensajes mensajes;
    std::unique_ptr<PaginaPrioridades> pagina;
};

} // namespace

TEST(Prioridades, RedBeforeYellowWhateverTheSeverityTiesByCode)
{
    Pagina p;
    EXPECT_EQ(p.codigosLista(), kOrden);
    // The bound columns of each row.
    const QModelIndex i = p.modelo()->index(p.filaDe(12));
    EXPECT_EQ(i.data(ModeloPrioridades::RolArea).toString(), QStringLiteral("Area 12"));
    EXPECT_EQ(i.data(ModeloPrioridades::RolMarca).toString(), QStringLiteral("Marca 12"));
    EXPECT_EQ(i.data(ModeloPrioridades::RolNroSerie).toString(), QStringLiteral("S-12"));
    EXPECT_EQ(i.data(ModeloPrioridades::RolDenominacion).toString(), QStringLiteral("Trafo 12"));
    EXPECT_EQ(i.data(ModeloPrioridades::RolEstado).toInt(), 3);
}

TEST(Prioridades, EachRowShowsTheLightOfItsState)
{
    Pagina p;
    p.lista()->scrollToTop();
    QApplication::processEvents();
    const QImage imagen = p.lista()->viewport()->grab().toImage();
    const qreal dpi = lumerix::logicalDpi(p.lista());
    // Lamp centre of a row: the light stands at (7335, -15) twips, its lamp's centre 217.5 and
    // 202.5 twips into it.
    const QPoint centro(qRound((7335 + 217.5) * dpi / 1440), qRound((-15 + 202.5) * dpi / 1440));
    int vistas = 0;
    for (int r = 0; r < p.modelo()->rowCount(); ++r) {
        const QRect fila = p.lista()->visualRect(p.modelo()->index(r));
        if (!imagen.rect().contains(fila))
            continue;
        ++vistas;
        const int estado = p.modelo()->index(r).data(ModeloPrioridades::RolEstado).toInt();
        EXPECT_EQ(imagen.pixelColor(fila.topLeft() + centro), lumerix::lampColor(estado)) << "fila " << r;
    }
    EXPECT_GE(vistas, 8);
    // The rows are painted: no widget per row.
    EXPECT_TRUE(p.lista()->viewport()->findChildren<QWidget*>().isEmpty());
}

// Every way of making a row current moves the transformer view there, with both flags raised
// meanwhile and lowered after.
TEST(Prioridades, MakingARowCurrentMovesTheTransformerView)
{
    struct Caso
    {
        const char* nombre;
        int codigoEsperado;
        std::function<void(Pagina&)> accion;
    };
    const QList<Caso> casos{
        {"clic", 12, [](Pagina& p) { p.clic(p.filaDe(12)); }},
        {"flecha abajo", 12,
         [](Pagina& p) {
             p.clic(p.filaDe(7));
             QTest::keyClick(p.lista(), Qt::Key_Down);
         }},
        {"flecha arriba", 12,
         [](Pagina& p) {
             p.clic(p.filaDe(5));
             QTest::keyClick(p.lista(), Qt::Key_Up);
         }},
        {"fin", 9,
         [](Pagina& p) {
             p.clic(0);
             QTest::keyClick(p.lista(), Qt::Key_End);
         }},
        {"avance de página", 9,
         [](Pagina& p) {
             p.clic(0);
             QTest::keyClick(p.lista(), Qt::Key_PageDown);
         }},
        {"inicio", 2,
         [](Pagina& p) {
             p.clic(p.filaDe(20));
             QTest::keyClick(p.lista(), Qt::Key_Home);
         }},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        Pagina p;
        QList<QPair<bool, bool>> banderas;
        QObject::connect(&p.vistas.Data1, &RecordView::repositioned, [&] {
            banderas << qMakePair(p.estado.ListaSinc1.activo(), p.estado.ListaSinc2.activo());
        });
        caso.accion(p);
        EXPECT_EQ(p.vistas.Data1.value(u("CÓDIGO")).toInt(), caso.codigoEsperado);
        EXPECT_EQ(p.vistas.Ado1.value(u("CÓDIGO")).toInt(), caso.codigoEsperado);
        EXPECT_EQ(p.codigoActual(), caso.codigoEsperado);
        ASSERT_FALSE(banderas.isEmpty());
        EXPECT_EQ(banderas.last(), qMakePair(true, true));
        EXPECT_FALSE(p.estado.ListaSinc1);
        EXPECT_FALSE(p.estado.ListaSinc2);
        // The side panel shows the current row's diagnosis, plain summary and severity.
        const QString n = QString::number(caso.codigoEsperado);
        EXPECT_EQ(p.texto("Diagnostico"), u("Diagnóstico ") + n);
        EXPECT_EQ(p.texto("ResumenObs"), QStringLiteral("Obs ") + n + QStringLiteral("\nsegunda"));
        int gravedad = -1;
        for (const Fila& f : kFilas)
            if (f.codigo == caso.codigoEsperado)
                gravedad = f.gravedad;
        EXPECT_EQ(p.texto("Gravedad"), QString::number(gravedad));
    }
}

TEST(Prioridades, TheWheelOnlyScrollsAndTheClickAfterItSelects)
{
    Pagina p;
    for (int codigo = 100; codigo < 160; ++codigo)
        ASSERT_TRUE(
            p.vistas.database()
                ->exec(u("INSERT INTO Trafoge (\"CÓDIGO\", ESTADO, GRAVEDAD) VALUES (%1, 1, 0)").arg(codigo))
                .ok());
    // Every view sees the new rows once the file is opened again.
    p.vistas.openAll(p.datos.open(), false);
    ASSERT_EQ(p.modelo()->rowCount(), 68);
    p.clic(1);
    QSignalSpy movido(&p.vistas.Data1, &RecordView::repositioned);
    QWidget* vp = p.lista()->viewport();
    const QPoint centro = vp->rect().center();
    QWheelEvent rueda(centro, vp->mapToGlobal(centro), QPoint(), QPoint(0, -120 * 5), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(vp, &rueda);
    EXPECT_GT(p.lista()->verticalScrollBar()->value(), 0);
    EXPECT_EQ(movido.count(), 0);
    EXPECT_EQ(p.codigoActual(), 3);

    const QModelIndex bajo = p.lista()->indexAt(QPoint(20, 5));
    ASSERT_TRUE(bajo.isValid());
    ASSERT_GT(bajo.row(), 0);
    const int codigo = bajo.data(ModeloPrioridades::RolCodigo).toInt();
    QTest::mouseClick(vp, Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_EQ(p.lista()->currentIndex().row(), bajo.row());
    EXPECT_EQ(movido.count(), 1);
    EXPECT_EQ(p.vistas.Data1.value(u("CÓDIGO")).toInt(), codigo);
}

// A selection made while the list drives the views does nothing, and an empty table gives an
// empty list whose keys and clicks move nothing.
TEST(Prioridades, NadaSeMueveMientrasLaListaMueveOSinFilas)
{
    {
        Pagina p;
        ASSERT_TRUE(p.vistas.Data1.findFirst(u("[código]=3")).ok());
        Interruptor::Mientras lista(p.estado.ListaSinc1, true);
        QSignalSpy movido(&p.vistas.Data1, &RecordView::repositioned);
        p.clic(p.filaDe(12));
        EXPECT_EQ(movido.count(), 0);
        EXPECT_EQ(p.vistas.Data1.value(u("CÓDIGO")).toInt(), 3);
    }
    Pagina p(false);
    EXPECT_EQ(p.modelo()->rowCount(), 0);
    QSignalSpy movido(&p.vistas.Data1, &RecordView::repositioned);
    QTest::mouseClick(p.lista()->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    QTest::keyClick(p.lista(), Qt::Key_End);
    p.pagina->filaActualCambiada();
    EXPECT_EQ(movido.count(), 0);
    EXPECT_FALSE(p.estado.ListaSinc1 || p.estado.ListaSinc2);
    EXPECT_TRUE(p.texto("Diagnostico").isEmpty());
}

TEST(Prioridades, CaptionLineHasItsHeadingsAboveTheirColumns)
{
    // On screen: each heading of the 135-character caption line starts above its own column.
    Pagina p;
    QLabel* label = p.pagina->tituloLista();
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text().size(), 135);
    const qreal dpi = lumerix::logicalDpi(p.lista());
    const QList<int> inicios = ListaTrafos::inicioTitulos(label->font());
    ASSERT_EQ(inicios.size(), 6);
    const int origenTitulo = label->mapTo(p.pagina.get(), QPoint(label->contentsRect().left(), 0)).x();
    const int origenFila = p.lista()
                               ->viewport()
                               ->mapTo(p.pagina.get(), p.lista()->visualRect(p.modelo()->index(0)).topLeft())
                               .x();
    const QList<QPair<int, int>> columnas = ListaTrafos::columnasTwips();
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const int x = origenTitulo + inicios[i] - origenFila;
        // Past the end of the column before and short of the next one.
        EXPECT_GE(x, i == 0 ? 0 : lumerix::twipsToPixels(columnas[i - 1].second, dpi));
        EXPECT_LT(x, i < 5 ? lumerix::twipsToPixels(columnas[i + 1].first, dpi)
                           : lumerix::twipsToPixels(8025, dpi));
    }
    // Readable: not shrunk below 9 pixels.
    EXPECT_GE(QFontInfo(label->font()).pixelSize(), 9);
}

TEST(Prioridades, AMoveOfTheTransformerViewBringsTheListWithoutTheHandler)
{
    Pagina p;
    p.clic(p.filaDe(12));
    // The file changes under the list: transformer 1 turns red with the highest severity.
    ASSERT_TRUE(
        p.vistas.database()->exec(u("UPDATE Trafoge SET ESTADO=3, GRAVEDAD=99 WHERE \"CÓDIGO\"=1")).ok());
    QSignalSpy movido(&p.vistas.Data1, &RecordView::repositioned);
    ASSERT_TRUE(p.vistas.Data1.findFirst(u("[código]=7")).ok());
    EXPECT_EQ(movido.count(), 1); // the handler would have found in Data1 again
    EXPECT_EQ(p.codigoActual(), 7);
    EXPECT_EQ(p.vistas.Ado1.value(u("CÓDIGO")).toInt(), 7);
    EXPECT_FALSE(p.estado.ListaSinc1);
    EXPECT_FALSE(p.estado.ListaSinc2);
    EXPECT_EQ(p.texto("Diagnostico"), u("Diagnóstico 7"));
    // The query ran again: the new red transformer leads.
    EXPECT_EQ(p.codigosLista().first(), 1);
    EXPECT_TRUE(p.lista()->viewport()->rect().intersects(p.lista()->visualRect(p.lista()->currentIndex())));

    // While the list drives the views, a move of the transformer view leaves the list alone.
    {
        Interruptor::Mientras lista(p.estado.ListaSinc2, true);
        ASSERT_TRUE(p.vistas.Data1.findFirst(u("[código]=20")).ok());
        EXPECT_EQ(p.codigoActual(), 7);
    }

    // Whoever aligns the views can take the following over.
    p.pagina->setSeguirDatos1(false);
    ASSERT_TRUE(p.vistas.Data1.findFirst(u("[código]=5")).ok());
    EXPECT_EQ(p.codigoActual(), 7);
    p.pagina->seguirTransformador(5);
    EXPECT_EQ(p.codigoActual(), 5);
    EXPECT_EQ(movido.count(), 3);
}

TEST(Prioridades, ModelKeepsItsContractThroughRequeryResyncAndReopen)
{
    Pagina p;
    QStringList fallos;
    static QStringList* destino = nullptr;
    destino = &fallos;
    const QtMessageHandler anterior =
        qInstallMessageHandler([](QtMsgType tipo, const QMessageLogContext&, const QString& m) {
            if (tipo != QtDebugMsg && destino)
                *destino << m;
        });
    {
        QAbstractItemModelTester tester(p.modelo(), QAbstractItemModelTester::FailureReportingMode::Warning);
        EXPECT_EQ(p.modelo()->rowCount(), 8);
        ASSERT_TRUE(p.vistas.Ado1.requery().ok());
        p.datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", ESTADO, GRAVEDAD) VALUES (40, 3, 100)"));
        EXPECT_TRUE(p.vistas.Ado1.resync().ok());
        EXPECT_EQ(p.modelo()->rowCount(), 8); // a resync re-reads values, not the rows
        ASSERT_TRUE(p.vistas.Ado1.requery().ok());
        EXPECT_EQ(p.modelo()->rowCount(), 9);
        EXPECT_EQ(p.codigosLista().first(), 40);
        p.vistas.openAll(p.datos.open(), false);
        EXPECT_EQ(p.modelo()->rowCount(), 9);
        // A row without area, make or state reads as empty texts and as unlit.
        const QModelIndex nueva = p.modelo()->index(0);
        EXPECT_EQ(nueva.data(ModeloPrioridades::RolMarca).toString(), QString());
        EXPECT_EQ(nueva.data(ModeloPrioridades::RolArea).toString(), QString());
    }
    qInstallMessageHandler(anterior);
    destino = nullptr;
    EXPECT_TRUE(fallos.isEmpty()) << fallos.join(QLatin1Char('\n')).toStdString();
}
