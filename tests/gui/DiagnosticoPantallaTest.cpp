#include "app/ui/DiagnosticoPantalla.h"
#include "app/logic/RunState.h"
#include "data/logic/Database.h"
#include "data/logic/PriorityList.h"
#include "diagnosis/ui/Controles.h"
#include "diagnosis/ui/VentanaMetodo.h"
#include "records/logic/DataViews.h"
#include "records/logic/ModeloPrioridades.h"
#include "records/ui/ListaTrafos.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaPrioridades.h"
#include "records/ui/PaginaRevision.h"
#include "records/ui/Trafo.h"
#include "tests/support/ScriptedMensajes.h"
#include "tests/support/TempData.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

const QColor kNaranja(255, 192, 128);
const QColor kAmarillo(248, 254, 190);

// Transformers 1 to 6, each with one test, all stored green so that a diagnosis run must
// re-order them. 4 is forced doubtful with low gases, 5 has a thermal fault above 700 °C.
void llenar(const TempData& datos)
{
    datos.exec(
        u("INSERT INTO Trafoge (\"CÓDIGO\", AREA, MARCA, TIPO, \"DENOMINACIÓN\", \"NRO DE SERIE\", "
          "ESTADO, GRAVEDAD, AUTO) VALUES "
          "(1, 'A', 'M', 'SELLADO', 'T1', 'S1', 1, 0, 0), (2, 'A', 'M', 'SELLADO', 'T2', 'S2', 1, 0, 0),"
          "(3, 'A', 'M', 'SELLADO', 'T3', 'S3', 1, 0, 0), (4, 'A', 'M', 'SELLADO', 'T4', 'S4', 1, 0, 0),"
          "(5, 'A', 'M', 'SELLADO', 'T5', 'S5', 1, 0, 0), (6, 'A', 'M', 'SELLADO', 'T6', 'S6', 1, 0, 0)"));
    datos.exec(u("INSERT INTO Ensayos (\"Código\", Fecha, EFQ, GAS, FD, Diel, \"Hidrógeno\", Metano, Etano, "
                 "Etileno, Acetileno) VALUES "
                 "(1, '2024-01-01', 1, 0, 0, 27, NULL, NULL, NULL, NULL, NULL),"
                 "(2, '2024-01-01', 1, 0, 0, 20, NULL, NULL, NULL, NULL, NULL),"
                 "(3, '2024-01-01', 1, 0, 0, 60, NULL, NULL, NULL, NULL, NULL),"
                 "(4, '2024-01-01', 0, 1, 1, NULL, 5, 5, 5, 5, 0),"
                 "(5, '2024-01-01', 0, 1, 0, NULL, 100, 300, 50, 400, 1),"
                 "(6, '2024-01-01', 0, 1, 0, NULL, 5, 5, 5, 5, 0)"));
}

// The main window on the file above with the test tab wired to the evaluation.
struct Ventana
{
    explicit Ventana(bool soloLectura = false)
    {
        llenar(datos);
        estado.SoloLectura = soloLectura;
        trafo = std::make_unique<Trafo>(estado, vistas);
        trafo->paginaEnsayos()->setSemaforo(
            quorvela::createControl(QStringLiteral("Quorvela.Semaforo"), trafo->paginaEnsayos()));
        diagnostico = std::make_unique<DiagnosticoPantalla>(estado, vistas, mensajes, *trafo);
        vistas.openAll(datos.open(soloLectura), soloLectura);
        trafo->alinear();
        trafo->resize(1300, 800);
        trafo->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(trafo.get()));
    }
    ~Ventana()
    {
        diagnostico.reset();
        trafo.reset();
        vistas.closeAll();
    }

    void irA(int codigo)
    {
        ASSERT_TRUE(vistas.Data1.moveFirst().ok());
        while (!vistas.Data1.eof() && vistas.Data1.value(u("CÓDIGO")).toInt() != codigo)
            ASSERT_TRUE(vistas.Data1.moveNext().ok());
        ASSERT_FALSE(vistas.Data1.eof()) << codigo;
        QCoreApplication::processEvents();
    }
    PaginaEnsayos* ensayos() const { return trafo->paginaEnsayos(); }
    QString observaciones() const { return ensayos()->observaciones()->toPlainText(); }
    int semaforo() const { return ensayos()->semaforo()->property("Estado").toInt(); }
    QLineEdit* caja(int indice) const { return qobject_cast<QLineEdit*>(ensayos()->cajaTxt(indice)); }
    QColor fondo(int indice) const { return caja(indice)->palette().color(QPalette::Base); }
    // Shown on its sub-tab, whichever sub-tab is in front.
    bool visible(QWidget* w) const { return w && !w->isHidden(); }
    QStringList lineas() const
    {
        QStringList l = observaciones().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (QString& t : l)
            if (t.endsWith(QLatin1Char('\r')))
                t.chop(1);
        return l;
    }
    int estadoGuardado(int codigo) const
    {
        auto db = datos.open(true);
        auto st = Statement::prepare(*db, u("SELECT ESTADO FROM Trafoge WHERE \"CÓDIGO\" = %1").arg(codigo));
        if (!st.ok())
            return -1;
        const Result<bool> fila = st.value().step();
        if (!fila.ok() || !fila.value())
            return -1;
        return st.value().value(0).toInt();
    }

    TempData datos;
    RunState estado;
    DataViews vistas{estado};
    ScriptedMensajes mensajes;
    std::unique_ptr<Trafo> trafo;
    std::unique_ptr<DiagnosticoPantalla> diagnostico;
};

} // namespace

TEST(DiagnosticoPantalla, DielectricShowsObservationColourAndLight)
{
    Ventana v;
    struct Caso
    {
        int codigo;
        QString observacion; // empty: no dielectric observation
        int luz;
        QColor color;
    };
    const QColor normal = QApplication::palette(v.caja(65)).color(QPalette::Base);
    const Caso casos[] = {
        {1, u(" Dieléctrico Bajo"), 2, kNaranja},
        {2, u(" Dieléctrico muy Bajo"), 3, kNaranja},
        {3, QString(), 1, normal},
        // Back to a low one after a normal one: the colour comes back.
        {1, u(" Dieléctrico Bajo"), 2, kNaranja},
    };
    v.ensayos()->detalle()->setCurrentIndex(0);
    for (const Caso& c : casos) {
        v.irA(c.codigo);
        EXPECT_EQ(v.caja(65)->text().isEmpty(), false) << c.codigo;
        const QStringList dielectrico = v.lineas().filter(u("Dieléctrico"));
        EXPECT_EQ(dielectrico, c.observacion.isEmpty() ? QStringList() : QStringList{c.observacion})
            << c.codigo << " " << v.observaciones().toStdString();
        EXPECT_EQ(v.semaforo(), c.luz) << c.codigo;
        EXPECT_EQ(v.fondo(65), c.color) << c.codigo;
        // What is painted, not only the palette.
        const QImage imagen = v.caja(65)->grab().toImage();
        EXPECT_EQ(imagen.pixelColor(imagen.width() / 2, imagen.height() - 4), c.color) << c.codigo;
    }
}

TEST(DiagnosticoPantalla, ForcedGasTestIsDoubtfulAndMarkedForced)
{
    Ventana v;
    QLabel* forzado = v.ensayos()->etiquetaForzado();
    v.irA(4);
    EXPECT_TRUE(v.observaciones().contains(u(" Gases: Dudoso"))) << v.observaciones().toStdString();
    EXPECT_TRUE(v.visible(forzado));
    EXPECT_EQ(v.semaforo(), 2);
    // The marker belongs to that test only.
    v.irA(6);
    EXPECT_FALSE(v.visible(forzado));
    EXPECT_FALSE(v.observaciones().contains(u(" Gases: Dudoso")));
    v.irA(1);
    EXPECT_FALSE(v.visible(forzado));
}

TEST(DiagnosticoPantalla, GasRatioTableShowsTheFaultOfAQualifyingTest)
{
    Ventana v;
    PaginaEnsayos* p = v.ensayos();
    v.irA(5);
    // Row 6: C2H2/C2H4 < 0,2, CH4/H2 > 1, C2H4/C2H6 > 4.
    QStringList vistas;
    for (int i = 1; i <= 24; ++i)
        if (v.visible(p->etiquetaRelacion(i)))
            vistas << QString::number(i) + QLatin1Char(' ') + p->etiquetaRelacion(i)->text();
    EXPECT_TRUE(vistas.contains(u("24 Defecto T>700°C"))) << vistas.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(vistas.contains(u("21 <0,2")));
    EXPECT_TRUE(vistas.contains(u("22 >1")));
    EXPECT_TRUE(vistas.contains(u("23 >4")));
    EXPECT_FALSE(vistas.contains(u("20 Defecto 300°C < T < 700°C")));
    EXPECT_FALSE(vistas.contains(u("4 Descargas Parciales")));
    // Below the screen nothing shows.
    v.irA(6);
    for (int i = 1; i <= 24; ++i)
        EXPECT_FALSE(v.visible(p->etiquetaRelacion(i))) << i;
}

TEST(DiagnosticoPantalla, TypingAGasUpdatesBothTotalsOnlyWhileAllowed)
{
    Ventana v;
    v.irA(5);
    v.ensayos()->detalle()->setCurrentIndex(2);
    QLineEdit* h2 = v.caja(83);
    ASSERT_TRUE(h2 && h2->isEnabled());
    h2->setFocus();
    h2->selectAll();
    QTest::keyClicks(h2, QStringLiteral("150"));
    // Nine gases: 150 + 300 + 50 + 400 + 1; the burning ones are the same five here.
    EXPECT_EQ(v.caja(93)->text(), QStringLiteral("901"));
    EXPECT_EQ(v.caja(92)->text(), QStringLiteral("901"));

    // With reposition off nothing is recomputed.
    v.estado.ReposicionActiva = false;
    h2->selectAll();
    QTest::keyClicks(h2, QStringLiteral("10"));
    EXPECT_EQ(v.caja(93)->text(), QStringLiteral("901"));
    v.estado.ReposicionActiva = true;
    QTest::keyClicks(h2, QStringLiteral("0"));
    EXPECT_EQ(v.caja(93)->text(), QStringLiteral("851"));
}

TEST(DiagnosticoPantalla, MethodWindowRecomputesWhenTheTestMoves)
{
    Ventana v;
    v.irA(5);
    QTest::mouseClick(v.ensayos()->botonMetodo(2), Qt::LeftButton);
    VentanaMetodo* gases = v.diagnostico->ventanaMetodo(2);
    ASSERT_TRUE(gases);
    EXPECT_TRUE(gases->isVisible());
    EXPECT_EQ(gases->fallosVisibles(), QStringList{u("Defecto T>700°C")});
    v.irA(6);
    EXPECT_TRUE(gases->fallosVisibles().isEmpty());
    v.irA(5);
    EXPECT_EQ(gases->fallosVisibles(), QStringList{u("Defecto T>700°C")});
    // One instance: a second click raises the same window.
    QTest::mouseClick(v.ensayos()->botonMetodo(2), Qt::LeftButton);
    EXPECT_EQ(v.diagnostico->ventanaMetodo(2), gases);
    // The other two are separate windows.
    QTest::mouseClick(v.ensayos()->botonMetodo(0), Qt::LeftButton);
    ASSERT_TRUE(v.diagnostico->ventanaMetodo(0));
    EXPECT_NE(v.diagnostico->ventanaMetodo(0), gases);
    EXPECT_TRUE(v.diagnostico->ventanaMetodo(0)->isVisible());
}

TEST(DiagnosticoPantalla, RebuildReordersTheListAndWritesTheState)
{
    Ventana v;
    PaginaPrioridades* p = v.trafo->paginaPrioridades();
    ASSERT_TRUE(p->botonReconstruir()->isVisibleTo(p));
    EXPECT_EQ(v.estadoGuardado(2), 1);
    int maximo = 0;
    int ultimo = 0;
    QList<bool> listaOculta;
    QObject::connect(p->barraProgreso(), &QProgressBar::valueChanged, p, [&](int valor) {
        maximo = p->barraProgreso()->maximum();
        ultimo = valor;
        listaOculta << (!p->lista()->isVisibleTo(p) && p->barraProgreso()->isVisibleTo(p));
    });
    QTest::mouseClick(p->botonReconstruir(), Qt::LeftButton);
    EXPECT_EQ(v.estadoGuardado(2), 3);
    EXPECT_EQ(v.estadoGuardado(1), 2);
    EXPECT_EQ(maximo, 6);
    EXPECT_EQ(ultimo, 6);
    // Every step of the bar happened with the list out of sight.
    ASSERT_FALSE(listaOculta.isEmpty());
    EXPECT_FALSE(listaOculta.contains(false));
    EXPECT_TRUE(p->lista()->isVisibleTo(p));
    EXPECT_FALSE(p->barraProgreso()->isVisibleTo(p));
    EXPECT_TRUE(v.estado.ReposicionActiva);
    // Red first: transformer 2 heads the list and is the one shown.
    const QModelIndex primera = p->modelo()->index(0);
    EXPECT_EQ(primera.data(ModeloPrioridades::RolCodigo).toInt(), 2);
    EXPECT_EQ(p->lista()->currentIndex().row(), 0);
    EXPECT_EQ(v.vistas.Data1.value(u("CÓDIGO")).toInt(), 2);
    EXPECT_TRUE(v.mensajes.shown.isEmpty());
}

TEST(DiagnosticoPantalla, RebuildHiddenWhenReadOnly)
{
    Ventana v(true);
    EXPECT_FALSE(v.trafo->paginaPrioridades()->botonReconstruir()->isVisibleTo(v.trafo->paginaPrioridades()));
}

TEST(DiagnosticoPantalla, PolarizationIndicesFollowTheReadings)
{
    Ventana v;
    PaginaRevision* r = v.trafo->paginaRevision();
    auto m = [r](int i) { return r->findChild<QLineEdit*>(QStringLiteral("txtFieldsM_%1").arg(i)); };
    for (int i = 1; i <= 6; ++i)
        ASSERT_TRUE(m(i)) << i;
    ASSERT_TRUE(r->indicePolarizacion(1) && r->indicePolarizacion(3));
    EXPECT_TRUE(r->indicePolarizacion(1)->isReadOnly());
    m(1)->setText(QStringLiteral("500"));
    m(4)->setText(QStringLiteral("1000"));
    m(3)->setText(QStringLiteral("0"));
    m(6)->setText(QStringLiteral("300"));
    EXPECT_EQ(r->indicePolarizacion(1)->text(), QStringLiteral("2"));
    EXPECT_EQ(r->indicePolarizacion(2)->text(), QString());
    EXPECT_EQ(r->indicePolarizacion(3)->text(), QString());
    m(4)->clear();
    EXPECT_EQ(r->indicePolarizacion(1)->text(), QString());
}

TEST(DiagnosticoPantalla, RebuildFailureIsReportedAndTheListComesBack)
{
    Ventana v;
    // The file refuses every change of a transformer.
    v.datos.exec(
        u("CREATE TRIGGER sin_cambios BEFORE UPDATE ON Trafoge BEGIN SELECT RAISE(ABORT, 'bloqueado'); END"));
    PaginaPrioridades* p = v.trafo->paginaPrioridades();
    QTest::mouseClick(p->botonReconstruir(), Qt::LeftButton);
    ASSERT_EQ(v.mensajes.shown.size(), 1);
    EXPECT_EQ(v.mensajes.shown.first().title, u("¡Error!"));
    EXPECT_EQ(v.estadoGuardado(2), 1);
    EXPECT_TRUE(p->lista()->isVisibleTo(p));
    EXPECT_FALSE(p->barraProgreso()->isVisibleTo(p));
    EXPECT_TRUE(p->botonReconstruir()->isEnabled());
    EXPECT_TRUE(v.estado.ReposicionActiva);
}
