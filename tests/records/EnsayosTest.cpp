#include "diagnosis/ui/Semaforo.h"
#include "diagnosis/ui/VentanaMetodo.h"
#include "diagnosis/ui/VentanasMetodo.h"
#include "records/logic/Validar.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaPrioridades.h"
#include "records/ui/PaginaRevision.h"
#include "tests/records/Planta.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

const QColor kNaranja(255, 192, 128);

// Transformers 1 to 6, each with one test, all stored green so that a diagnosis run must
// re-order them. 1 has a low dielectric, 2 a very low one, 3 a good one with high acidity;
// 4 is forced doubtful with low gases, 5 has a thermal fault above 700 °C, 6 low gases.
void llenar(const TempData& datos)
{
    datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", TIPO, ESTADO, GRAVEDAD, AUTO) VALUES "
                 "(1, 'SELLADO', 1, 0, 0), (2, 'SELLADO', 1, 0, 0), (3, 'SELLADO', 1, 0, 0),"
                 "(4, 'SELLADO', 1, 0, 0), (5, 'SELLADO', 1, 0, 0), (6, 'SELLADO', 1, 0, 0)"));
    datos.exec(u("INSERT INTO Ensayos (\"Código\", Fecha, EFQ, GAS, FD, Diel, Acidez, \"Hidrógeno\", Metano, "
                 "Etano, Etileno, Acetileno) VALUES "
                 "(1, '2024-01-01', 1, 0, 0, 27, NULL, NULL, NULL, NULL, NULL, NULL),"
                 "(2, '2024-01-01', 1, 0, 0, 20, NULL, NULL, NULL, NULL, NULL, NULL),"
                 "(3, '2024-01-01', 1, 0, 0, 60, 0.25, NULL, NULL, NULL, NULL, NULL),"
                 "(4, '2024-01-01', 0, 1, 1, NULL, NULL, 5, 5, 5, 5, 0),"
                 "(5, '2024-01-01', 0, 1, 0, NULL, NULL, 100, 300.5, 50, 400, 1),"
                 "(6, '2024-01-01', 0, 1, 0, NULL, NULL, 5, 5, 5, 5, 0)"));
}

struct Ensayos : VentanaPrueba
{
    Ensayos() : VentanaPrueba(llenar) {}
    PaginaEnsayos* pagina() const { return trafo().paginaEnsayos(); }
    QString observaciones() const { return pagina()->observaciones()->toPlainText(); }
    int luz() const { return qobject_cast<Semaforo*>(pagina()->semaforo())->estado(); }
    QLineEdit* caja(const char* campo) const { return VentanaPrueba::caja(pagina(), u(campo)); }
    QStringList etiquetasVisibles() const
    {
        QStringList vistas;
        for (int i = 1; i <= 24; ++i)
            if (!pagina()->etiquetaRelacion(i)->isHidden())
                vistas << QString::number(i) + QLatin1Char(' ') + pagina()->etiquetaRelacion(i)->text();
        return vistas;
    }
};

} // namespace

// Every test shown is evaluated: its observations, its highlighted boxes (painted, not only in
// the palette), its light and its gas-ratio table; nothing stays from the test before.
TEST(Ensayos, CadaEnsayoMostradoSeEvalua)
{
    Ensayos e;
    const QColor normal = QApplication::palette(e.caja("Diel")).color(QPalette::Base);
    const struct
    {
        int codigo;
        const char* observacion;
        int luz;
        QColor dielectrico;
    } casos[] = {{1, " Dieléctrico Bajo", 2, kNaranja}, {2, " Dieléctrico muy Bajo", 3, kNaranja},
                 {3, " Acidez Alta", 2, normal},        {4, " Gases: Dudoso", 2, normal},
                 {5, " Defecto T>700°C", 3, normal},    {1, " Dieléctrico Bajo", 2, kNaranja}};
    e.pagina()->detalle()->setCurrentIndex(0);
    for (const auto& c : casos) {
        SCOPED_TRACE(c.codigo);
        e.irA(c.codigo);
        EXPECT_TRUE(e.observaciones().contains(u(c.observacion))) << e.observaciones().toStdString();
        EXPECT_EQ(e.luz(), c.luz);
        const QImage imagen = e.caja("Diel")->grab().toImage();
        EXPECT_EQ(imagen.pixelColor(imagen.width() / 2, imagen.height() - 4), c.dielectrico);
        // "Forzado" shows for the forced test only.
        EXPECT_EQ(!e.pagina()->etiquetaForzado()->isHidden(), c.codigo == 4);
    }
    // The gas-ratio table: row 6 for transformer 5, nothing below the screen for 6.
    e.irA(5);
    const QStringList vistas = e.etiquetasVisibles();
    for (const char* esperada : {"21 <0,2", "22 >1", "23 >4", "24 Defecto T>700°C"})
        EXPECT_TRUE(vistas.contains(u(esperada))) << vistas.join(u("|")).toStdString();
    EXPECT_FALSE(vistas.contains(u("4 Descargas Parciales")));
    // Beside the light, the gas levels: hydrogen and methane far above the typical values.
    EXPECT_EQ(e.pagina()->etiquetaIeee()->text(), u("IEEE: 3"));
    EXPECT_TRUE(e.observaciones().contains(u(" Gases: Concentración elevada (IEEE C57.104-2019)")));
    // Each cell stands under the heading of its ratio, as in the method window.
    e.trafo().tabs()->setCurrentWidget(e.pagina());
    e.pagina()->subtabs()->setCurrentIndex(0);
    QTabWidget* detalle = e.pagina()->detalle();
    for (int i = 0; i < detalle->count(); ++i)
        if (detalle->tabText(i) == u("DIAGNÓSTICO"))
            detalle->setCurrentIndex(i);
    QApplication::processEvents();
    const QStringList titulos = {u("C2H2/C2H4"), u("CH4/H2"), u("C2H4/C2H6"), u("Fallo")};
    for (int c = 0; c < 4; ++c) {
        const QLabel* titulo = e.pagina()->findChild<QLabel*>(u("TituloRelacion_%1").arg(c));
        ASSERT_TRUE(titulo) << c;
        EXPECT_EQ(titulo->text(), titulos.at(c));
        ASSERT_TRUE(titulo->isVisible()) << c;
        const QRect celda = e.pagina()->etiquetaRelacion(21 + c)->geometry();
        EXPECT_LT(titulo->geometry().bottom(), celda.top()) << c;
        EXPECT_LT(std::abs(titulo->geometry().left() - celda.left()), 4) << c;
    }
    e.irA(6);
    EXPECT_TRUE(e.etiquetasVisibles().isEmpty());
    EXPECT_FALSE(e.observaciones().contains(u("Gases")));
    EXPECT_EQ(e.pagina()->etiquetaIeee()->text(), u("IEEE: 1"));

    // The forced-doubtful box re-evaluates the test shown at once.
    qobject_cast<QAbstractButton*>(e.pagina()->casilla(6))->click();
    EXPECT_TRUE(e.observaciones().contains(u(" Gases: Dudoso")));
    EXPECT_FALSE(e.pagina()->etiquetaForzado()->isHidden());
}

// The evaluation reads numbers with the locale's separator, and typing a gas updates both
// totals with it, only while the program is not moving the views itself.
TEST(Ensayos, TeclearUnGasActualizaLosTotales)
{
    for (const QLocale& l : {QLocale(QLocale::Spanish, QLocale::Argentina), QLocale(QLocale::English)}) {
        const QLocale antes;
        QLocale::setDefault(l);
        const QString sep = l.decimalPoint();
        {
            Ensayos e;
            // 0.25 shown as "0,25" is high acidity; read as 0 it would not be.
            e.irA(3);
            EXPECT_EQ(e.caja("Acidez")->text(), u("0") + sep + u("25"));
            EXPECT_TRUE(e.observaciones().contains(u(" Acidez Alta"))) << e.observaciones().toStdString();
            e.irA(5);
            QLineEdit* h2 = e.caja("Hidrógeno");
            ASSERT_TRUE(h2->isEnabled());
            // Methane is shown as "300,5" with a comma: the total reads it so.
            EXPECT_EQ(e.caja("Metano")->text(), u("300") + sep + u("5"));
            VentanaPrueba::escribir(h2, u("150"));
            // Nine gases: 150 + 300.5 + 50 + 400 + 1, all of them burning ones here.
            EXPECT_EQ(e.caja("Total Gas")->text(), u("901") + sep + u("5"));
            EXPECT_EQ(e.caja("Total combustible")->text(), u("901") + sep + u("5"));
            {
                Interruptor::Mientras programa(e.estado.ReposicionActiva, false);
                VentanaPrueba::escribir(h2, u("10"));
                EXPECT_EQ(e.caja("Total Gas")->text(), u("901") + sep + u("5"));
            }
            VentanaPrueba::escribir(h2, u("100"));
            EXPECT_EQ(e.caja("Total Gas")->text(), u("851") + sep + u("5"));
            // Gases take decimals as the laboratory reports them.
            // Typed with either key, the box shows the system's separator.
            const std::pair<const char*, double> decimales[] = {{"Acetileno", 0.5}, {"Dióxido", 3000.5}};
            for (const auto& [campo, valor] : decimales) {
                VentanaPrueba::escribir(e.caja(campo), QString::number(valor));
                EXPECT_EQ(e.caja(campo)->text(),
                          QString::number(valor).replace(QLatin1Char('.'), validar::systemDecimalSeparator()))
                    << campo;
            }
            ASSERT_TRUE(e.vistas.Data3.update().ok());
            for (const auto& [campo, valor] : decimales)
                EXPECT_DOUBLE_EQ(
                    e.valor(u("SELECT \"%1\" FROM Ensayos WHERE \"Código\"=5").arg(u(campo))).toDouble(),
                    valor)
                    << campo;
            EXPECT_TRUE(e.mensajes.shown.isEmpty()) << e.mensajes.texts().join(u("|")).toStdString();
        }
        QLocale::setDefault(antes);
    }
}

// The method windows follow the test shown; each opens once and a second click raises it.
TEST(Ensayos, LasVentanasDeMetodoSiguenAlEnsayo)
{
    Ensayos e;
    e.irA(5);
    QTest::mouseClick(e.pagina()->botonMetodo(2), Qt::LeftButton);
    VentanaMetodo* gases = e.metodos().ventana(2);
    ASSERT_TRUE(gases && gases->isVisible());
    EXPECT_EQ(gases->fallosVisibles(), QStringList{u("Defecto T>700°C")});
    e.irA(6);
    EXPECT_TRUE(gases->fallosVisibles().isEmpty());
    e.irA(5);
    EXPECT_EQ(gases->fallosVisibles(), QStringList{u("Defecto T>700°C")});
    QTest::mouseClick(e.pagina()->botonMetodo(2), Qt::LeftButton);
    EXPECT_EQ(e.metodos().ventana(2), gases);
    QTest::mouseClick(e.pagina()->botonMetodo(0), Qt::LeftButton);
    ASSERT_TRUE(e.metodos().ventana(0));
    EXPECT_NE(e.metodos().ventana(0), gases);
    // Duval's triangle and pentagon follow the test shown as well.
    e.irA(5);
    QTest::mouseClick(e.pagina()->botonMetodo(3), Qt::LeftButton);
    QTest::mouseClick(e.pagina()->botonMetodo(4), Qt::LeftButton);
    VentanaDuval* triangulo = e.metodos().duval(DibujoDuval::Figura::Triangulo);
    VentanaDuval* pentagono = e.metodos().duval(DibujoDuval::Figura::Pentagono);
    ASSERT_TRUE(triangulo && triangulo->isVisible() && pentagono && pentagono->isVisible());
    EXPECT_EQ(std::pair(triangulo->zona(), pentagono->zona()), std::pair(u("T3"), u("T3")));
    e.irA(1);
    EXPECT_EQ(std::pair(triangulo->zona(), pentagono->zona()), std::pair(QString(), QString()));
    EXPECT_EQ(triangulo->textoZona(), u("El ensayo no tiene análisis de gases disueltos."));
}

// RECONSTRUIR diagnoses every transformer with the bar in the list's place, re-orders the list
// (red first) and stands on its first row; a transformer the file refuses is reported, keeps
// its state, and the list comes back all the same.
TEST(Ensayos, ReconstruirReordenaLaListaOInformaElFallo)
{
    for (const bool rechaza : {false, true}) {
        SCOPED_TRACE(rechaza);
        Ensayos e;
        // A refusing write, put on the window's own connection: a file holding a trigger is
        // never opened again.
        if (rechaza) {
            ASSERT_TRUE(
                e.vistas.database()
                    ->exec(
                        u("CREATE TRIGGER sin_cambios BEFORE UPDATE ON Trafoge WHEN NEW.\"CÓDIGO\" = 2 BEGIN "
                          "SELECT RAISE(ABORT, 'bloqueado'); END"))
                    .ok());
        }
        PaginaPrioridades* p = e.trafo().paginaPrioridades();
        int maximo = 0, ultimo = 0;
        QList<bool> listaOculta;
        QObject::connect(p->barraProgreso(), &QProgressBar::valueChanged, p, [&](int valor) {
            maximo = p->barraProgreso()->maximum();
            ultimo = valor;
            listaOculta << (p->lista()->isHidden() && !p->barraProgreso()->isHidden());
        });
        QTest::mouseClick(p->botonReconstruir(), Qt::LeftButton);
        EXPECT_FALSE(p->lista()->isHidden());
        EXPECT_TRUE(p->barraProgreso()->isHidden());
        EXPECT_TRUE(p->botonReconstruir()->isEnabled());
        EXPECT_TRUE(e.estado.ReposicionActiva);
        const QString estado2 = u("SELECT ESTADO FROM Trafoge WHERE \"CÓDIGO\"=2");
        if (rechaza) {
            // The refused transformer keeps its state; the others are diagnosed all the same.
            ASSERT_EQ(e.mensajes.texts().size(), 1);
            EXPECT_TRUE(e.mensajes.texts().first().startsWith(
                u("No se pudo diagnosticar 1 de los transformadores (códigos 2)")))
                << e.mensajes.texts().first().toStdString();
            ASSERT_TRUE(e.vistas.database()->exec(u("DROP TRIGGER sin_cambios")).ok());
            EXPECT_EQ(e.valor(estado2).toInt(), 1);
            EXPECT_EQ(e.valor(u("SELECT ESTADO FROM Trafoge WHERE \"CÓDIGO\"=1")).toInt(), 2);
            continue;
        }
        EXPECT_TRUE(e.mensajes.shown.isEmpty());
        EXPECT_EQ(e.valor(estado2).toInt(), 3);
        EXPECT_EQ(e.valor(u("SELECT ESTADO FROM Trafoge WHERE \"CÓDIGO\"=1")).toInt(), 2);
        // 5 counts its thermal fault and its gas levels: the red transformer with most findings.
        EXPECT_EQ(e.valor(u("SELECT GRAVEDAD FROM Trafoge WHERE \"CÓDIGO\"=5")).toInt(), 2);
        EXPECT_EQ(maximo, 6);
        EXPECT_EQ(ultimo, 6);
        ASSERT_FALSE(listaOculta.isEmpty());
        EXPECT_FALSE(listaOculta.contains(false));
        EXPECT_EQ(p->modelo()->index(0).data(ModeloPrioridades::RolCodigo).toInt(), 5);
        EXPECT_EQ(p->lista()->currentIndex().row(), 0);
        EXPECT_EQ(e.codigo(e.vistas.Data1), u("5"));
    }
}

// Each polarization index is the ten-minute reading over the one-minute one of its pair, with
// the locale's separator; an empty or zero reading gives none.
TEST(Ensayos, IndicesDePolarizacion)
{
    const QLocale antes;
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    {
        Ensayos e;
        PaginaRevision* r = e.trafo().paginaRevision();
        auto m = [r](int i) { return r->findChild<QLineEdit*>(u("txtFieldsM_%1").arg(i)); };
        m(1)->setText(u("400"));
        m(4)->setText(u("500"));
        m(2)->setText(u("250,5"));
        m(5)->setText(u("501"));
        m(3)->setText(u("0"));
        m(6)->setText(u("300"));
        EXPECT_EQ(r->indicePolarizacion(1)->text(), u("1,25"));
        EXPECT_EQ(r->indicePolarizacion(2)->text(), u("2,00"));
        EXPECT_EQ(r->indicePolarizacion(3)->text(), QString());
        EXPECT_TRUE(r->indicePolarizacion(1)->isReadOnly());
        m(4)->clear();
        EXPECT_EQ(r->indicePolarizacion(1)->text(), QString());
    }
    QLocale::setDefault(antes);
}
