#include "diagnosis/ui/VentanasMetodo.h"
#include "diagnosis/ui/Diagnostico1.h"
#include "diagnosis/ui/Dornenburg.h"
#include "tests/diagnosis/Lista.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace diagnostico;

namespace {

EnsayoGases ensayo(double h2, double ch4, double c2h6, double c2h4, double c2h2, bool forzado = false)
{
    return EnsayoGases{true, true, forzado, {h2, ch4, c2h6, c2h4, c2h2}};
}

// Counts how many times each watched window is brought forward.
struct Subidas : QObject
{
    QMap<QObject*, int> veces;
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (evento->type() == QEvent::ZOrderChange)
            ++veces[objeto];
        return false;
    }
};

// The three windows over one current test the fixture can change, as the main window's is.
class VentanasMetodoTest : public ::testing::Test
{
protected:
    QList<VentanaMetodo*> abrirTodas() { return {metodos.abrir(0), metodos.abrir(1), metodos.abrir(2)}; }

    EnsayoGases actual;
    int lecturas = 0;
    VentanasMetodo metodos{[this] {
        ++lecturas;
        return actual;
    }};
};

TEST_F(VentanasMetodoTest, RecalcularShowsWhatEachMethodFinds)
{
    const QList<VentanaMetodo*> v = abrirTodas();
    EnsayoGases sinGas = ensayo(400, 200, 100, 50, 10, true);
    sinGas.gas = false;
    // Faults of each method, forced or not, below the screen, without the gas group, without a test.
    const EnsayoGases casos[] = {ensayo(250, 130, 0, 0, 0),
                                 ensayo(400, 100, 40, 100, 200),
                                 ensayo(0, 0, 0, 0, 0, true),
                                 ensayo(400, 200, 100, 50, 10, true),
                                 ensayo(400, 200, 100, 50, 10),
                                 ensayo(100, 120, 0, 50, 35),
                                 sinGas,
                                 EnsayoGases()};
    for (size_t n = 0; n < std::size(casos); ++n) {
        const EnsayoGases& e = actual = casos[n];
        metodos.recalcular();
        // Every window marks what its method finds.
        const ResultadoMetodo r[3] = {evaluarDornenburg(e), evaluarRogers(e), evaluarRelacionGases(e)};
        for (int i = 0; i < 3; ++i) {
            const std::string caso = "caso " + std::to_string(n) + ", ventana " + std::to_string(i);
            EXPECT_EQ(v[i]->celdasVisibles(), r[i].celdas) << caso;
            EXPECT_EQ(v[i]->fallosVisibles(), r[i].fallos) << caso;
            EXPECT_EQ(v[i]->forzadoVisible(), r[i].forzado) << caso;
        }
    }
}

TEST_F(VentanasMetodoTest, ChartMovesOnlyWhenTheMethodApplies)
{
    auto* d1 = static_cast<Diagnostico1*>(metodos.abrir(0));
    Dornenburg* chart = d1->grafico();
    actual = ensayo(250, 130, 0, 0, 0);
    d1->recalcular();
    // C2H2/C2H4 is not computable and goes to the left edge; CH4/H2 is 0.52.
    EXPECT_EQ(QPointF(chart->ejeX(), chart->ejeY()), QPointF(0.001, 0.52));

    // A test the method does not judge leaves the point where it was.
    QSignalSpy x(chart, &Dornenburg::ejeXChanged), y(chart, &Dornenburg::ejeYChanged);
    for (const EnsayoGases& otro : {ensayo(10, 10, 10, 10, 10), EnsayoGases()}) {
        actual = otro;
        d1->recalcular();
    }
    EXPECT_EQ(x.count() + y.count(), 0);
    EXPECT_DOUBLE_EQ(chart->ejeY(), 0.52);

    actual = ensayo(400, 200, 100, 50, 10); // C2H2/C2H4 0.2, CH4/H2 0.5
    d1->recalcular();
    EXPECT_EQ(QPointF(chart->ejeX(), chart->ejeY()), QPointF(0.2, 0.5));
}

TEST_F(VentanasMetodoTest, OpeningAndActivationReadTheCurrentTest)
{
    actual = ensayo(400, 100, 40, 100, 200);
    VentanaMetodo* v = metodos.abrir(2);
    EXPECT_EQ(v->fallosVisibles(), lista("Descargas Baja Energía|Descargas Alta Energía"));

    // The main window moves to another test; coming back to the window shows it.
    actual = ensayo(10, 10, 10, 10, 10);
    const int antes = lecturas;
    QEvent activar(QEvent::WindowActivate);
    QApplication::sendEvent(v, &activar);
    EXPECT_GT(lecturas, antes);
    EXPECT_TRUE(v->fallosVisibles().isEmpty());
    EXPECT_TRUE(v->celdasVisibles().isEmpty());
}

TEST_F(VentanasMetodoTest, MarksUseTheirColours)
{
    actual = ensayo(400, 200, 100, 50, 10, true);
    VentanaMetodo* v = metodos.abrir(1);
    const QImage imagen = v->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto colorEn = [&](const QWidget* w) { return imagen.pixelColor(w->mapTo(v, QPoint(1, 1))); };
    EXPECT_EQ(colorEn(v->celda(0, 0)), QColor(255, 192, 128));
    EXPECT_EQ(colorEn(v->fallo(0)), QColor(255, 255, 0));
    EXPECT_EQ(colorEn(v->forzado()), QColor(255, 255, 192));
    EXPECT_EQ(v->forzado()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    // A hidden mark leaves its place white.
    ASSERT_TRUE(v->fallo(2)->isHidden());
    EXPECT_EQ(colorEn(v->fallo(2)), QColor(Qt::white));
}

// "Siempre Visible" brings its window forward on every recalculation, until it is cleared or the
// window closes; a closed window is not recomputed either.
TEST_F(VentanasMetodoTest, KeptVisibleWindowsComeForwardUntilClosed)
{
    const QList<VentanaMetodo*> v = abrirTodas();
    Subidas subidas;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(metodos.abrir(i), v[i]) << "opening again gives the same window";
        EXPECT_EQ(metodos.ventana(i), v[i]);
        v[i]->installEventFilter(&subidas);
    }
    const auto clic = [](VentanaMetodo* w) {
        QTest::mouseClick(w->check1(), Qt::LeftButton, {}, w->check1()->rect().center());
    };
    const auto recalcular = [&] {
        subidas.veces.clear();
        metodos.recalcular();
        return QList<int>{subidas.veces.value(v[0]), subidas.veces.value(v[1]), subidas.veces.value(v[2])};
    };
    EXPECT_EQ(recalcular(), (QList<int>{0, 0, 0}));
    clic(v[1]);
    EXPECT_EQ(recalcular(), (QList<int>{0, 1, 0}));
    clic(v[0]);
    clic(v[2]);
    clic(v[1]);
    EXPECT_EQ(recalcular(), (QList<int>{1, 0, 1}));

    v[0]->close();
    EXPECT_FALSE(v[0]->check1()->isChecked());
    const int antes = lecturas;
    EXPECT_EQ(recalcular(), (QList<int>{0, 0, 1}));
    EXPECT_EQ(lecturas, antes + 2);
    EXPECT_EQ(metodos.abrir(0), v[0]);
    EXPECT_EQ(recalcular(), (QList<int>{0, 0, 1}));
}

} // namespace
