#include "diagnosis/ui/Diagnostico1.h"
#include "diagnosis/ui/Diagnostico2.h"
#include "diagnosis/ui/Diagnostico3.h"
#include "diagnosis/ui/Dornenburg.h"
#include "diagnosis/ui/SiempreVisible.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

using namespace diagnostico;

QT_BEGIN_NAMESPACE
// Readable failures: gtest prints QStrings as text rather than bytes.
inline void PrintTo(const QString& texto, std::ostream* os)
{
    *os << '"' << texto.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

QString u(const char* texto)
{
    return QString::fromUtf8(texto);
}

QStringList lista(std::initializer_list<const char*> textos)
{
    QStringList out;
    for (const char* t : textos)
        out << u(t);
    return out;
}

EnsayoGases ensayo(double h2, double ch4, double c2h6, double c2h4, double c2h2, bool forzado = false)
{
    EnsayoGases e;
    e.hayEnsayo = true;
    e.gas = true;
    e.forzado = forzado;
    e.gases = {h2, ch4, c2h6, c2h4, c2h2};
    return e;
}

// The three windows over one current test the fixture can change, as the main window would.
class VentanasMetodoTest : public ::testing::Test
{
protected:
    VentanasMetodoTest()
        : d1(fuente(), flags.dornenburg), d2(fuente(), flags.rogers), d3(fuente(), flags.relacionGases)
    {
    }
    FuenteEnsayo fuente()
    {
        return [this] {
            ++lecturas;
            return actual;
        };
    }
    void calcularTodas()
    {
        d1.Calcula();
        d2.Calcula();
        d3.Calcula();
    }

    EnsayoGases actual;
    int lecturas = 0;
    SiempreVisible flags;
    Diagnostico1 d1;
    Diagnostico2 d2;
    Diagnostico3 d3;
};

TEST_F(VentanasMetodoTest, CaptionsAndTitles)
{
    EXPECT_EQ(d1.windowTitle(), u("Diagnóstico Dornenburg"));
    EXPECT_EQ(d2.windowTitle(), u("Diagnóstico Rogers"));
    EXPECT_EQ(d3.windowTitle(), u("Relación de Gases"));
    for (VentanaMetodo* v : {static_cast<VentanaMetodo*>(&d1), static_cast<VentanaMetodo*>(&d2),
                             static_cast<VentanaMetodo*>(&d3)}) {
        EXPECT_TRUE(v->isWindow());
        EXPECT_FALSE(v->isModal());
        auto* check = v->findChild<QCheckBox*>(QStringLiteral("Check1"));
        ASSERT_NE(check, nullptr);
        EXPECT_EQ(check->text(), QStringLiteral("Siempre Visible"));
        EXPECT_EQ(v->forzado()->text(), QStringLiteral("Forzado"));
    }
    QStringList titulos;
    for (const QLabel* l : d1.findChildren<QLabel*>())
        titulos << l->text();
    EXPECT_TRUE(titulos.contains(u("Método Dornenburg para Gases Disueltos")));
    EXPECT_TRUE(titulos.contains(QStringLiteral("Fallo")));
    titulos.clear();
    for (const QLabel* l : d2.findChildren<QLabel*>())
        titulos << l->text();
    EXPECT_TRUE(titulos.contains(u("Método Rogers para Gases Disueltos")));
    // The chart sits at the left of the Dörnenburg table.
    d1.show();
    ASSERT_EQ(d1.grafico()->window(), &d1);
    EXPECT_LE(d1.grafico()->mapTo(&d1, QPoint(d1.grafico()->width(), 0)).x(),
              d1.celda(0, 0)->mapTo(&d1, QPoint(0, 0)).x());
}

struct Caso
{
    const char* nombre;
    EnsayoGases ensayo;
    // Cells left out (nullopt) are only compared with the method's own result.
    std::optional<QStringList> celdas1;
    QStringList fallos1;
    std::optional<QStringList> celdas2;
    QStringList fallos2;
    std::optional<QStringList> celdas3;
    QStringList fallos3;
};

TEST_F(VentanasMetodoTest, ShowWhatTheMethodsFind)
{
    const EnsayoGases sinEnsayo;
    EnsayoGases sinGas = ensayo(400, 200, 100, 50, 10, true);
    sinGas.gas = false;
    const Caso casos[] = {
        // Dörnenburg's worked example: only the CH4/H2 and C2H2/CH4 cells can be judged.
        {"H2 250, CH4 130",
         ensayo(250, 130, 0, 0, 0),
         lista({"<0,3", "0.1-1.0", "-", "<0,3"}),
         {},
         std::nullopt,
         {},
         lista({"0.1-1.0"}),
         {}},
        // Rogers rows 1 and 2 together: ratios 0.5, 0.5, 0.5 and 0.2.
        {"Rogers Normal y Corona",
         ensayo(400, 200, 100, 50, 10),
         lista({"<0,75", ">0,4", "<0,3", "0.1-1.0", "-", ">0,4", "<0,3"}),
         {},
         std::nullopt,
         lista({"Normal", "Descarga parcial - Corona"}),
         lista({"0.1-0.5", "0.1-1.0", "<1"}),
         {}},
        // Gas ratio rows 2 and 3 together: C2H2/C2H4 2, CH4/H2 0.25, C2H4/C2H6 2.5.
        {"Baja y Alta Energía", ensayo(400, 100, 40, 100, 200), std::nullopt,
         lista({"Descargas Eléctricas Excepto Corona"}), std::nullopt,
         lista({"Arco - Con potencia por el mismo"}),
         lista({">1", "0.1-0.5", ">1", "0.6-2.5", "0.1-1.0", ">2", "1.0-4.0"}),
         lista({"Descargas Baja Energía", "Descargas Alta Energía"})},
        // Below the screen and not forced: nothing but the cell that has no test.
        {"Bajo la pantalla",
         ensayo(100, 120, 0, 50, 35),
         lista({"-"}),
         {},
         QStringList(),
         {},
         QStringList(),
         {}},
        {"Sin GAS", sinGas, lista({"-"}), {}, QStringList(), {}, QStringList(), {}},
        {"Sin ensayo", sinEnsayo, lista({"-"}), {}, QStringList(), {}, QStringList(), {}},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        actual = caso.ensayo;
        calcularTodas();
        EXPECT_EQ(d1.fallosVisibles(), caso.fallos1);
        EXPECT_EQ(d2.fallosVisibles(), caso.fallos2);
        EXPECT_EQ(d3.fallosVisibles(), caso.fallos3);
        // Cells checked where the case spells them out; every window agrees with its method.
        if (caso.celdas1) {
            EXPECT_EQ(d1.celdasVisibles(), *caso.celdas1);
        }
        if (caso.celdas2) {
            EXPECT_EQ(d2.celdasVisibles(), *caso.celdas2);
        }
        if (caso.celdas3) {
            EXPECT_EQ(d3.celdasVisibles(), *caso.celdas3);
        }
        const ResultadoDornenburg r1 = evaluarDornenburg(caso.ensayo);
        const ResultadoMetodo r2 = evaluarRogers(caso.ensayo), r3 = evaluarRelacionGases(caso.ensayo);
        EXPECT_EQ(d1.celdasVisibles(), r1.celdas);
        EXPECT_EQ(d1.fallosVisibles(), r1.fallos);
        EXPECT_EQ(d2.celdasVisibles(), r2.celdas);
        EXPECT_EQ(d2.fallosVisibles(), r2.fallos);
        EXPECT_EQ(d3.celdasVisibles(), r3.celdas);
        EXPECT_EQ(d3.fallosVisibles(), r3.fallos);
        EXPECT_FALSE(d1.forzadoVisible());
        EXPECT_FALSE(d2.forzadoVisible());
        EXPECT_FALSE(d3.forzadoVisible());
    }
}

TEST_F(VentanasMetodoTest, ChartTakesTheRatiosOnlyWhenTheMethodApplies)
{
    Dornenburg* chart = d1.grafico();
    actual = ensayo(250, 130, 0, 0, 0);
    d1.Calcula();
    // C2H2/C2H4 is not computable and goes to the left edge; CH4/H2 is 0.52.
    EXPECT_DOUBLE_EQ(chart->ejeX(), 0.001);
    EXPECT_DOUBLE_EQ(chart->ejeY(), 0.52);

    // A test the method does not judge leaves the point where it was.
    QSignalSpy spy(chart, &Dornenburg::propertyChanged);
    for (const EnsayoGases& otro : {ensayo(10, 10, 10, 10, 10), EnsayoGases()}) {
        actual = otro;
        d1.Calcula();
    }
    EXPECT_EQ(spy.count(), 0);
    EXPECT_DOUBLE_EQ(chart->ejeY(), 0.52);

    // Forced with no gas at all: every ratio is not computable, the marker goes to the corner.
    actual = ensayo(0, 0, 0, 0, 0, true);
    d1.Calcula();
    EXPECT_DOUBLE_EQ(chart->ejeX(), 0.001);
    EXPECT_DOUBLE_EQ(chart->ejeY(), 0.001);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("EjeX"));
    EXPECT_EQ(spy.at(1).at(0).toString(), QStringLiteral("EjeY"));

    actual = ensayo(400, 200, 100, 50, 10); // C2H2/C2H4 0.2, CH4/H2 0.5
    d1.Calcula();
    EXPECT_DOUBLE_EQ(chart->ejeX(), 0.2);
    EXPECT_DOUBLE_EQ(chart->ejeY(), 0.5);
}

TEST_F(VentanasMetodoTest, ForzadoShowsOnlyWhenForced)
{
    actual = ensayo(0, 0, 0, 0, 0, true);
    calcularTodas();
    for (VentanaMetodo* v : {static_cast<VentanaMetodo*>(&d1), static_cast<VentanaMetodo*>(&d2),
                             static_cast<VentanaMetodo*>(&d3)}) {
        EXPECT_TRUE(v->forzadoVisible());
        EXPECT_TRUE(v->fallosVisibles().isEmpty());
    }
    EXPECT_EQ(d1.celdasVisibles(), lista({"-"}));
    EXPECT_TRUE(d2.celdasVisibles().isEmpty());

    // Forced over a qualifying test still marks what the ratios meet.
    actual = ensayo(400, 200, 100, 50, 10, true);
    d2.Calcula();
    EXPECT_TRUE(d2.forzadoVisible());
    EXPECT_EQ(d2.fallosVisibles(), lista({"Normal", "Descarga parcial - Corona"}));

    actual.forzado = false;
    calcularTodas();
    EXPECT_FALSE(d1.forzadoVisible());
    EXPECT_FALSE(d2.forzadoVisible());
    EXPECT_FALSE(d3.forzadoVisible());
}

TEST_F(VentanasMetodoTest, LoadAndActivationReadTheCurrentTest)
{
    actual = ensayo(400, 100, 40, 100, 200);
    d3.show();
    EXPECT_EQ(d3.fallosVisibles(), lista({"Descargas Baja Energía", "Descargas Alta Energía"}));

    // The main window moves to another test; coming back to the window shows it.
    actual = ensayo(10, 10, 10, 10, 10);
    const int antes = lecturas;
    QEvent activar(QEvent::WindowActivate);
    QApplication::sendEvent(&d3, &activar);
    EXPECT_GT(lecturas, antes);
    EXPECT_TRUE(d3.fallosVisibles().isEmpty());
    EXPECT_TRUE(d3.celdasVisibles().isEmpty());
}

TEST_F(VentanasMetodoTest, MarksUseTheirColours)
{
    actual = ensayo(400, 200, 100, 50, 10, true);
    d2.show();
    const QImage image = d2.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto colorEn = [&](const QWidget* w) { return image.pixelColor(w->mapTo(&d2, QPoint(1, 1))); };
    EXPECT_EQ(colorEn(d2.celda(0, 0)), QColor(255, 192, 128));
    EXPECT_EQ(colorEn(d2.fallo(0)), QColor(255, 255, 0));
    EXPECT_EQ(colorEn(d2.forzado()), QColor(255, 255, 192));
    EXPECT_EQ(d2.forzado()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    // A hidden mark leaves its place white.
    ASSERT_TRUE(d2.fallo(2)->isHidden());
    EXPECT_EQ(colorEn(d2.fallo(2)), QColor(Qt::white));
}

TEST_F(VentanasMetodoTest, KeepVisibleFollowsTheBoxAndClearsOnClose)
{
    struct Par
    {
        VentanaMetodo* ventana;
        bool* flag;
    } pares[] = {{&d1, &flags.dornenburg}, {&d2, &flags.rogers}, {&d3, &flags.relacionGases}};
    for (const Par& par : pares) {
        SCOPED_TRACE(par.ventana->windowTitle().toStdString());
        par.ventana->show();
        QCheckBox* box = par.ventana->check1();
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        EXPECT_TRUE(*par.flag);
        EXPECT_FALSE(flags.dornenburg && par.flag != &flags.dornenburg);
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        EXPECT_FALSE(*par.flag);
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        EXPECT_TRUE(*par.flag);
        par.ventana->close();
        EXPECT_FALSE(*par.flag);
        EXPECT_FALSE(box->isChecked());
    }
}

TEST(VentanaMetodoVida, ClosingADeleteOnCloseWindowClearsItsFlag)
{
    SiempreVisible flags;
    auto* ventana = new Diagnostico2(FuenteEnsayo(), flags.rogers);
    ventana->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<Diagnostico2> vigia(ventana);
    ventana->show();
    QTest::mouseClick(ventana->check1(), Qt::LeftButton, {}, ventana->check1()->rect().center());
    ASSERT_TRUE(flags.rogers);
    ventana->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(vigia.isNull());
    EXPECT_FALSE(flags.rogers);
    EXPECT_FALSE(flags.dornenburg);
    EXPECT_FALSE(flags.relacionGases);
}

} // namespace
