#include "controls/Palette.h"
#include "diagnosis/ui/Diagnostico1.h"
#include "diagnosis/ui/Dornenburg.h"
#include "diagnosis/ui/Semaforo.h"
#include "diagnosis/ui/VentanasMetodo.h"
#include "tests/diagnosis/Lista.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <optional>

using namespace diagnostico;

namespace {

// Pixel figures assume 96 dpi: 15 twips a pixel.
QImage render(QWidget& w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

const QColor kOscuro(64, 64, 64), kTermico(255, 192, 128), kArqueo(128, 128, 255);

// Chart units of the ratio chart to a pixel: 49.5 twips across and 39 twips down per unit.
QPoint pixel(double x, double y)
{
    return QPoint(int(std::floor(x * 49.5 / 15)), int(std::floor(y * 39 / 15)));
}

// Top (red) to bottom (green): the lit fill, the ray colour, the lamp's centre and a pixel on the
// part of its left ray outside the lamp.
struct Lampara
{
    QColor encendida, rayo;
    QPoint centro, enRayo;
};
const Lampara kLamparas[3] = {
    {QColor(192, 64, 0), QColor(244, 91, 9), {18, 20}, {5, 18}},
    {QColor(255, 255, 0), QColor(255, 255, 192), {18, 50}, {5, 49}},
    {QColor(0, 192, 0), QColor(0, 255, 0), {18, 80}, {5, 79}},
};

// Estado 3 lights the top lamp, 2 the middle one, 1 the bottom one; any other value none.
int lamparaDe(int estado)
{
    return estado >= 1 && estado <= 3 ? 3 - estado : -1;
}

// The lamps as state `lamparas` lights them, and the rays of lamp `rayos` (-1: none) only.
void comprobar(Semaforo& semaforo, int lamparas, int rayos)
{
    const QImage imagen = render(semaforo);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(imagen.pixelColor(kLamparas[i].centro),
                  i == lamparaDe(lamparas) ? kLamparas[i].encendida : kOscuro)
            << i;
        EXPECT_EQ(imagen.pixelColor(kLamparas[i].enRayo) == kLamparas[i].rayo, i == rayos) << i;
    }
}

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

// Opening a window, recalculating or coming back to the window shows what each method finds in
// the current test; the ratio chart shows the point when the method judges the test, and none otherwise.
TEST_F(VentanasMetodoTest, EachWindowShowsWhatItsMethodFindsInTheCurrentTest)
{
    actual = ensayo(400, 100, 40, 100, 200);
    const QList<VentanaMetodo*> v = abrirTodas();
    EXPECT_EQ(v[2]->fallosVisibles(), lista("Descargas Baja Energía|Descargas Alta Energía"));
    // Faults of each method, below the screen, without the gas group, without a test, forced or not.
    const EnsayoGases casos[] = {
        {true, true, false, {250, 130, 0, 0, 0}},     {true, true, false, {400, 100, 40, 100, 200}},
        {true, true, false, {100, 120, 0, 50, 35}},   {true, false, true, {400, 200, 100, 50, 10}},
        {false, true, true, {400, 200, 100, 50, 10}}, {true, true, true, {0, 0, 0, 0, 0}},
        {true, true, false, {400, 200, 100, 50, 10}}, {true, true, true, {400, 200, 100, 50, 10}},
    };
    // The ratio chart takes the method's point, and shows no point when the method does not judge
    // the test: its image is then the bare chart's, with nothing where the last point was.
    Dornenburg* chart = static_cast<Diagnostico1*>(v[0])->grafico();
    Dornenburg vacio;
    vacio.setMarcadorVisible(false);
    const QImage sinPunto = render(vacio);
    QSignalSpy movido(chart, &Dornenburg::ejeXChanged);
    std::optional<QPoint> anterior;
    int puntos = 0, quitados = 0;
    for (const EnsayoGases& e : casos) {
        SCOPED_TRACE(::testing::Message() << "caso " << (&e - casos));
        actual = e;
        metodos.recalcular();
        const ResultadoDornenburg d = evaluarDornenburg(e);
        const QImage imagen = render(*chart);
        EXPECT_EQ(chart->marcadorVisible(), d.punto.has_value());
        if (d.punto) {
            ++puntos;
            EXPECT_EQ(QPointF(chart->ejeX(), chart->ejeY()), *d.punto);
            const QPoint centro = chart->centroMarcador().toPoint();
            EXPECT_EQ(imagen.pixelColor(centro), QColor(Qt::black));
            EXPECT_FALSE(imagen == sinPunto);
            anterior = centro;
        } else {
            EXPECT_TRUE(imagen == sinPunto);
            if (anterior) {
                ++quitados;
                EXPECT_EQ(imagen.pixelColor(*anterior).name(), sinPunto.pixelColor(*anterior).name());
            }
        }
        const ResultadoMetodo r[3] = {d, evaluarRogers(e), evaluarRelacionGases(e)};
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(::testing::Message() << "ventana " << i);
            EXPECT_EQ(v[i]->celdasVisibles(), r[i].celdas);
            EXPECT_EQ(v[i]->fallosVisibles(), r[i].fallos);
            EXPECT_EQ(v[i]->forzadoVisible(), r[i].forzado);
        }
    }
    EXPECT_EQ(movido.count(), puntos);
    // The cases judge some tests, and leave some unjudged after a judged one.
    EXPECT_GE(puntos, 3);
    EXPECT_GE(quitados, 2);
    // The main window moved to another test meanwhile.
    actual = ensayo(10, 10, 10, 10, 10);
    QEvent activar(QEvent::WindowActivate);
    QApplication::sendEvent(v[2], &activar);
    EXPECT_TRUE(v[2]->fallosVisibles().isEmpty() && v[2]->celdasVisibles().isEmpty());
}

// Marks are painted in their colours; a hidden mark leaves its place white.
TEST_F(VentanasMetodoTest, MarksUseTheirColours)
{
    actual = ensayo(400, 200, 100, 50, 10, true);
    VentanaMetodo* v = metodos.abrir(1);
    const QImage imagen = v->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto colorEn = [&](const QWidget* w) { return imagen.pixelColor(w->mapTo(v, QPoint(1, 1))); };
    EXPECT_EQ(colorEn(v->celda(0, 0)), kTermico);
    EXPECT_EQ(colorEn(v->fallo(0)), QColor(255, 255, 0));
    EXPECT_EQ(colorEn(v->forzado()), QColor(255, 255, 192));
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

// Duval's windows mark the sample with a ring whose centre keeps the colour of the zone they name;
// a sample without the needed gases is told so and loses its mark.
TEST_F(VentanasMetodoTest, DuvalWindowsDrawTheSampleInsideItsZone)
{
    using F = DibujoDuval::Figura;
    const std::tuple<F, EnsayoGases, const char*, QColor> casos[] = {
        {F::Triangulo, ensayo(0, 40, 0, 35, 25), "D2", DibujoDuval::color(duval::ZonaTriangulo::D2)},
        {F::Triangulo, ensayo(0, 30, 0, 60, 10), "T3", DibujoDuval::color(duval::ZonaTriangulo::T3)},
        {F::Pentagono, ensayo(50, 0, 0, 0, 50), "D1", DibujoDuval::color(duval::ZonaPentagono::D1)},
        {F::Pentagono, ensayo(10, 30, 0, 60, 0), "T3", DibujoDuval::color(duval::ZonaPentagono::T3)},
    };
    for (const auto& [figura, muestra, zona, color] : casos) {
        SCOPED_TRACE(zona);
        actual = muestra;
        VentanaDuval* v = metodos.abrirDuval(figura);
        EXPECT_EQ(metodos.duval(figura), v);
        EXPECT_EQ(v->zona(), u(zona));
        EXPECT_TRUE(v->textoZona().startsWith(u("Zona %1: ").arg(u(zona)))) << v->textoZona().toStdString();
        ASSERT_TRUE(v->dibujo()->punto().has_value());
        const QPoint centro = v->dibujo()->aPantalla(*v->dibujo()->punto()).toPoint();
        const QImage imagen = render(*v->dibujo());
        EXPECT_EQ(imagen.pixelColor(centro), color);
        EXPECT_LT(imagen.pixelColor(centro + QPoint(7, 0)).lightness(), 80) << "the ring";
        // Without the needed gases: no mark, and the reason.
        actual = ensayo(300, 0, 0, 0, 0);
        if (figura == F::Pentagono)
            actual.gases.h2 = 0;
        metodos.recalcular();
        EXPECT_FALSE(v->dibujo()->punto().has_value());
        EXPECT_TRUE(v->textoZona().contains(u("no tiene los gases necesarios")))
            << v->textoZona().toStdString();
        EXPECT_GT(render(*v->dibujo()).pixelColor(centro + QPoint(7, 0)).lightness(), 80);
    }
}

// A known code relights the lamps and shows the lit lamp's rays only; an unknown one hides the
// rays and leaves the lamps as they were.
TEST(Semaforo, EveryStateChangeRedrawsFromTheLastOne)
{
    for (int antes = 0; antes <= 3; ++antes) {
        for (int despues : {0, 1, 2, 3, 7, -3, 4}) {
            SCOPED_TRACE(std::to_string(antes) + " -> " + std::to_string(despues));
            Semaforo semaforo;
            semaforo.setEstado(antes);
            render(semaforo);
            QSignalSpy avisos(&semaforo, &Semaforo::estadoChanged);
            semaforo.setEstado(despues);
            EXPECT_EQ(semaforo.estado(), despues);
            ASSERT_EQ(avisos.count(), 1);
            EXPECT_EQ(avisos.at(0).at(0).toInt(), despues);
            comprobar(semaforo, despues >= 0 && despues <= 3 ? despues : antes, lamparaDe(despues));
        }
    }
}

// Values outside 0.001..100, none at all included, are kept at the nearer end; the notification
// carries the kept value and the marker shows it. Neither the chart nor the light can be resized.
TEST(DornenburgGrafico, AxesAreClampedTheSizesFixedAndTheMarkerOnItsPoint)
{
    Dornenburg chart;
    ASSERT_EQ(lumerix::logicalDpi(&chart), 96.0);
    // A new chart starts in the bottom-left corner.
    EXPECT_EQ(QPointF(chart.ejeX(), chart.ejeY()), QPointF(0.001, 0.001));
    QSignalSpy x(&chart, &Dornenburg::ejeXChanged), y(&chart, &Dornenburg::ejeYChanged);
    const std::pair<double, double> casos[] = {{250, 100}, {100, 100},  {0.5, 0.5},           {0.001, 0.001},
                                               {0, 0.001}, {-1, 0.001}, {std::nan(""), 0.001}};
    for (const auto& [escrito, guardado] : casos) {
        chart.setEjeX(escrito);
        chart.setEjeY(escrito);
        EXPECT_EQ(QPointF(chart.ejeX(), chart.ejeY()), QPointF(guardado, guardado)) << escrito;
        EXPECT_EQ(QPointF(x.last().at(0).toDouble(), y.last().at(0).toDouble()), QPointF(guardado, guardado));
    }
    EXPECT_EQ(x.count() + y.count(), 2 * int(std::size(casos)));
    Semaforo semaforo;
    for (QWidget* w : {static_cast<QWidget*>(&chart), static_cast<QWidget*>(&semaforo)}) {
        const QSize fija = w->size();
        w->show();
        w->resize(100, 300);
        EXPECT_EQ(w->size(), fija) << w->metaObject()->className();
    }
    // Points inside each zone, away from the captions and the marker, and one outside them all.
    QImage imagen = render(chart);
    const std::tuple<double, double, QColor> zonas[] = {
        {20, 18, kTermico}, {42, 33, kTermico}, {63, 37, kArqueo}, {62, 63, Qt::red}, {60, 25, Qt::white}};
    for (const auto& [zx, zy, color] : zonas)
        EXPECT_EQ(imagen.pixelColor(pixel(zx, zy)), color) << zx << ", " << zy;
    // 0.01 across and 10 up is inside the thermal zone: the marker's dark centre sits on it.
    const QPoint centro = pixel(26, 25);
    EXPECT_EQ(imagen.pixelColor(centro), kTermico);
    chart.setEjeX(0.01);
    chart.setEjeY(10);
    imagen = render(chart);
    EXPECT_EQ(imagen.pixelColor(centro), QColor(Qt::black));
    EXPECT_EQ(imagen.pixelColor(centro + QPoint(12, 0)), kTermico);
    EXPECT_EQ(imagen.pixelColor(centro - QPoint(12, 0)), kTermico);
    // Clamped to the top-right corner: the marker left the point and its dark disc lies just
    // inside the frame's corner.
    chart.setEjeX(1000);
    chart.setEjeY(1000);
    imagen = render(chart);
    EXPECT_EQ(imagen.pixelColor(centro), kTermico);
    EXPECT_LT(qGray(imagen.pixel(pixel(66, 15) + QPoint(-1, 1))), 40);
}

} // namespace
