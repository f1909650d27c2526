#include "app/logic/RunState.h"
#include "app/ui/DiagnosticoPantalla.h"
#include "data/logic/Database.h"
#include "data/logic/DemoPlant.h"
#include "diagnosis/ui/Controles.h"
#include "records/logic/DataViews.h"
#include "records/ui/CabeceraTrafo.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/ModeloTabla.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaRevision.h"
#include "records/ui/PaginaTrafos.h"
#include "records/ui/TablaRegistros.h"
#include "records/ui/Trafo.h"
#include "tests/support/ScriptedMensajes.h"
#include "tests/support/TempData.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <climits>
#include <gtest/gtest.h>

namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

// Sets the program's locale for one test and puts the previous one back.
struct ConLocale
{
    explicit ConLocale(const QLocale& l) { QLocale::setDefault(l); }
    ~ConLocale() { QLocale::setDefault(m_antes); }
    QLocale m_antes;
};

// The text room of a line box: its width less the frame and the inner margins.
int espacioTexto(const QLineEdit* caja)
{
    const int marco = caja->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, caja);
    return caja->contentsRect().width() - 2 * marco - 4;
}

// The main window opened on a data file, as the program shows it.
struct Ventana
{
    Ventana(const QString& archivo, bool soloLectura)
    {
        estado.SoloLectura = soloLectura;
        trafo = std::make_unique<Trafo>(estado, vistas);
        trafo->paginaEnsayos()->setSemaforo(
            quorvela::createControl(QStringLiteral("Quorvela.Semaforo"), trafo->paginaEnsayos()));
        diagnostico = std::make_unique<DiagnosticoPantalla>(estado, vistas, mensajes, *trafo);
        EXPECT_TRUE(vistas.openAll(archivo, soloLectura).ok());
        trafo->mostrarEstado();
        trafo->alinear();
        trafo->resize(1366, 768);
        trafo->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(trafo.get()));
    }
    ~Ventana()
    {
        diagnostico.reset();
        trafo.reset();
        vistas.closeAll();
    }
    void mostrarPestana(QWidget* pagina)
    {
        trafo->tabs()->setCurrentWidget(pagina);
        QCoreApplication::processEvents();
    }

    RunState estado;
    DataViews vistas{estado};
    ScriptedMensajes mensajes;
    std::unique_ptr<Trafo> trafo;
    std::unique_ptr<DiagnosticoPantalla> diagnostico;
};

struct Demo
{
    Demo() { EXPECT_TRUE(demo::createDemo(dir.path()).ok()); }
    QString archivo() const { return dir.filePath(QStringLiteral("trafos.mdb")); }
    QTemporaryDir dir;
};

QVariant leer(const TempData& datos, const QString& sql)
{
    const QList<QVariantList> filas = queryRows(*datos.open(true), sql);
    return filas.isEmpty() || filas.first().isEmpty() ? QVariant() : filas.first().first();
}

} // namespace

TEST(DisposicionPaginas, LaCabeceraMuestraEnteroCadaValorDeLaPlanta)
{
    Demo demo;
    Ventana v(demo.archivo(), true);
    const QList<std::pair<QWidget*, CabeceraTrafo*>> paginas = {
        {v.trafo->paginaTrafos(), v.trafo->paginaTrafos()->cabecera()},
        {v.trafo->paginaRevision(), v.trafo->paginaRevision()->cabecera()},
        {v.trafo->paginaEnsayos(), v.trafo->paginaEnsayos()->cabecera()},
        {v.trafo->paginaMantenimiento(), v.trafo->paginaMantenimiento()->cabecera()}};
    int largos = 0;
    for (const auto& [pagina, cabecera] : paginas) {
        v.mostrarPestana(pagina);
        ASSERT_EQ(cabecera->cajas().size(), 6);
        ASSERT_TRUE(v.vistas.Data1.moveFirst().ok());
        while (!v.vistas.Data1.eof()) {
            QCoreApplication::processEvents();
            for (QLineEdit* caja : cabecera->cajas()) {
                const int ancho = caja->fontMetrics().horizontalAdvance(caja->text());
                EXPECT_LE(ancho, espacioTexto(caja))
                    << caja->objectName().toStdString() << " '" << caja->text().toStdString() << "' en "
                    << pagina->objectName().toStdString();
                if (caja->text().size() >= 20)
                    ++largos;
            }
            ASSERT_TRUE(v.vistas.Data1.moveNext().ok());
        }
    }
    // The demo plant has long area, maker and designation names: the check above saw them.
    EXPECT_GT(largos, 0);
}

TEST(DisposicionPaginas, LasColumnasDeLaGrillaCabenSusValores)
{
    Demo demo;
    Ventana v(demo.archivo(), true);
    PaginaEnsayos* ensayos = v.trafo->paginaEnsayos();
    v.mostrarPestana(ensayos);
    ensayos->subtabs()->setCurrentIndex(1);
    QCoreApplication::processEvents();
    TablaRegistros* tabla = ensayos->tabla();
    ModeloTabla* modelo = tabla->modelo();
    ASSERT_GT(modelo->rowCount(), 0);
    auto columna = [modelo](const char* nombre) {
        for (int c = 0; c < modelo->columnCount(); ++c)
            if (modelo->headerData(c, Qt::Horizontal).toString() == u(nombre))
                return c;
        return -1;
    };
    const QFontMetrics fm(tabla->font());
    auto cabe = [&](int c, const QString& texto) {
        // Cell margins of the grid's style on both sides.
        return fm.horizontalAdvance(texto) + 8 <= tabla->columnWidth(c);
    };
    const struct
    {
        const char* columna;
        const char* texto;
    } casos[] = {
        {"Fecha", "28/12/26"},                         // a date as the grid writes it
        {"EFQ", "Sí"},                                 // a yes/no
        {"TIF", "1234567,891"},                        // a number of ten figures under a short name
        {"Acidez", "-0,000012345"},                    // small values with a sign
        {"NROENSAYO", "E-00001"},                      // a short text
        {"EMPRESA", "Laboratorio Central de Aceites"}, // the laboratory's name in the demo plant
        {"Sedimentos", "NO CONTIENE"},                 // a value of a list
    };
    for (const auto& c : casos) {
        const int col = columna(c.columna);
        ASSERT_GE(col, 0) << c.columna;
        EXPECT_TRUE(cabe(col, u(c.texto))) << c.columna << " " << tabla->columnWidth(col);
    }
    // A yes/no under a long name does not take the room of a text column.
    const int limpieza = columna("Observaciones");
    ASSERT_GE(limpieza, 0);
    EXPECT_LE(tabla->columnWidth(columna("EFQ")), tabla->columnWidth(limpieza) / 2);
    EXPECT_EQ(modelo->data(modelo->index(0, columna("EMPRESA"))).toString(),
              u("Laboratorio Central de Aceites"));
}

TEST(DisposicionPaginas, LosNombresDeColumnaSeLeenEnterosEnDosLineas)
{
    Demo demo;
    Ventana v(demo.archivo(), true);
    QList<TablaRegistros*> tablas{v.trafo->paginaTrafos()->tabla(), v.trafo->paginaRevision()->tabla(),
                                  v.trafo->paginaEnsayos()->tabla(), v.trafo->paginaMantenimiento()->tabla()};
    for (TablaRegistros* tabla : tablas) {
        QHeaderView* cabecera = tabla->horizontalHeader();
        const QFontMetrics fm(cabecera->font());
        ASSERT_GE(cabecera->height(), fm.lineSpacing() * 2) << tabla->objectName().toStdString();
        ModeloTabla* modelo = tabla->modelo();
        ASSERT_GT(modelo->columnCount(), 1);
        for (int c = 0; c < modelo->columnCount(); ++c) {
            const QString nombre = modelo->headerData(c, Qt::Horizontal).toString();
            // The room the style leaves for the text inside a section.
            const QRect espacio(0, 0, tabla->columnWidth(c) - 8, 1000);
            const QRect ocupado = fm.boundingRect(espacio, Qt::AlignCenter | Qt::TextWordWrap, nombre);
            EXPECT_LE(ocupado.width(), espacio.width()) << nombre.toStdString();
            EXPECT_LE(ocupado.height(), fm.lineSpacing() * 2) << nombre.toStdString();
        }
    }
    // The split takes the blank that gives the narrowest column.
    const QFontMetrics fm(QApplication::font());
    const QString largo = u("RELÉ SOBREPRESE O MEMBRANA EXP");
    const int ancho = TablaRegistros::anchoEnDosLineas(fm, largo);
    EXPECT_LT(ancho, fm.horizontalAdvance(largo) * 2 / 3);
    EXPECT_EQ(ancho, std::max(fm.horizontalAdvance(u("RELÉ SOBREPRESE")),
                              fm.horizontalAdvance(u("O MEMBRANA EXP"))));
    EXPECT_EQ(TablaRegistros::anchoEnDosLineas(fm, u("Acidez")), fm.horizontalAdvance(u("Acidez")));
}

TEST(DisposicionPaginas, ElSeparadorDecimalEsElDeLaConfiguracionRegional)
{
    TempData datos;
    datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", AREA, GRAVEDAD) VALUES (1, 'Norte', 2.5), (2, 'Sur', 1)"));
    datos.exec(u("INSERT INTO Ensayos (\"Código\", Fecha, EFQ, Acidez, \"%_Inhibidor\", SP_GR_) VALUES "
                 "(1, '2026-11-20', 1, 0.25, 0.5, 0.30000000000000004), (2, '2026-10-02', 1, 0.05, 1, 2)"));
    const struct
    {
        QLocale locale;
        const char* mostrado; // %_Inhibidor as the box shows it
        const char* escrito;  // what the user leaves in the box
        double guardado;      // what the file then holds
    } casos[] = {
        {QLocale(QLocale::Spanish, QLocale::Argentina), "0,5", "0,75", 0.75},
        // A point typed where the comma is the separator still means a fraction.
        {QLocale(QLocale::Spanish, QLocale::Argentina), "0,75", "1.5", 1.5},
        // Never a group separator: in a comma locale "1,500" is one and a half.
        {QLocale(QLocale::German), "1,5", "1,500", 1.5},
        {QLocale(QLocale::English, QLocale::UnitedStates), "1.5", "0.25", 0.25},
        {QLocale(QLocale::English, QLocale::UnitedStates), "0.25", "0.5", 0.5},
    };
    for (const auto& c : casos) {
        ConLocale locale(c.locale);
        Ventana v(datos.file(), false);
        PaginaEnsayos* ensayos = v.trafo->paginaEnsayos();
        auto* inhibidor = qobject_cast<QLineEdit*>(ensayos->enlace()->caja(u("%_Inhibidor")));
        auto* densidad = qobject_cast<QLineEdit*>(ensayos->enlace()->caja(u("SP_GR_")));
        ASSERT_TRUE(inhibidor && densidad);
        const QString sep = c.locale.decimalPoint();
        EXPECT_EQ(inhibidor->text(), u(c.mostrado)) << sep.toStdString();
        EXPECT_EQ(densidad->text(), QStringLiteral("0") + sep + QStringLiteral("3"));
        // The grid and the strip use the same separator.
        ModeloTabla* modelo = ensayos->tabla()->modelo();
        const int acidez = v.vistas.Data3.fieldIndex(u("Acidez"));
        EXPECT_EQ(modelo->data(modelo->index(0, acidez)).toString(),
                  QStringLiteral("0") + sep + QStringLiteral("25"));

        // Shown values are not written back by moving on: the density keeps all its digits.
        ASSERT_TRUE(v.vistas.Data3.moveNext().ok());
        ASSERT_TRUE(v.vistas.Data3.moveFirst().ok());
        EXPECT_EQ(v.vistas.Data3.editMode(), RecordView::EditMode::None);
        EXPECT_EQ(leer(datos, u("SELECT SP_GR_ FROM Ensayos WHERE \"Código\" = 1")).toDouble(),
                  0.30000000000000004);

        inhibidor->setText(u(c.escrito));
        ASSERT_TRUE(v.vistas.Data3.update().ok());
        EXPECT_DOUBLE_EQ(
            leer(datos, u("SELECT \"%_Inhibidor\" FROM Ensayos WHERE \"Código\" = 1")).toDouble(), c.guardado)
            << c.escrito;
        EXPECT_EQ(leer(datos, u("SELECT SP_GR_ FROM Ensayos WHERE \"Código\" = 1")).toDouble(),
                  0.30000000000000004);
        datos.exec(
            QStringLiteral("UPDATE Ensayos SET \"%_Inhibidor\" = %1 WHERE \"Código\" = 1").arg(c.guardado));
    }
}

TEST(DisposicionPaginas, LaEvaluacionLeeLaComaDeLasCajas)
{
    TempData datos;
    datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", AREA) VALUES (1, 'Norte')"));
    datos.exec(u("INSERT INTO Ensayos (\"Código\", Fecha, EFQ, GAS, Acidez, \"Hidrógeno\", Metano) VALUES "
                 "(1, '2026-11-20', 1, 1, 0.25, 10, 2)"));
    for (const QLocale& l : {QLocale(QLocale::Spanish, QLocale::Argentina), QLocale(QLocale::English)}) {
        ConLocale locale(l);
        const QString sep = l.decimalPoint();
        Ventana v(datos.file(), false);
        PaginaEnsayos* ensayos = v.trafo->paginaEnsayos();
        EXPECT_EQ(qobject_cast<QLineEdit*>(ensayos->enlace()->caja(u("Acidez")))->text(),
                  QStringLiteral("0") + sep + QStringLiteral("25"));
        // 0.25 is high acidity; read as 0 it would not be.
        EXPECT_TRUE(ensayos->observaciones()->toPlainText().contains(u(" Acidez Alta")))
            << ensayos->observaciones()->toPlainText().toStdString();
        // A typed gas updates the total, written with the regional separator.
        auto* hidrogeno = qobject_cast<QLineEdit*>(ensayos->enlace()->caja(u("Hidrógeno")));
        hidrogeno->clear();
        QTest::keyClicks(hidrogeno, QStringLiteral("1"));
        QTest::sendKeyEvent(QTest::Click, hidrogeno, Qt::Key_unknown, sep, Qt::NoModifier);
        QTest::keyClicks(hidrogeno, QStringLiteral("5"));
        EXPECT_EQ(qobject_cast<QLineEdit*>(ensayos->enlace()->caja(u("Total Gas")))->text(),
                  QStringLiteral("3") + sep + QStringLiteral("5"));
        v.vistas.Data3.cancelUpdate();

        // Polarization indices read the megohm boxes with the same separator and write theirs.
        PaginaRevision* revision = v.trafo->paginaRevision();
        auto megohm = [revision](int i) {
            return revision->findChild<QLineEdit*>(QStringLiteral("txtFieldsM_%1").arg(i));
        };
        auto* indice = revision->findChild<QLineEdit*>(QStringLiteral("Text39"));
        ASSERT_TRUE(megohm(1) && megohm(4) && indice);
        megohm(1)->setText(QStringLiteral("400"));
        megohm(4)->setText(QStringLiteral("500"));
        EXPECT_EQ(indice->text(), QStringLiteral("1") + sep + QStringLiteral("25"));
        megohm(1)->setText(QStringLiteral("250") + sep + QStringLiteral("5"));
        megohm(4)->setText(QStringLiteral("501"));
        EXPECT_EQ(indice->text(), QStringLiteral("2"));
        v.vistas.Data2.cancelUpdate();
    }
}

TEST(DisposicionPaginas, ElMarcoInformeReemplazaLosBotonesMientrasEstaAbierto)
{
    for (const bool soloLectura : {false, true}) {
        TempData datos;
        datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", AREA) VALUES (1, 'Norte')"));
        Ventana v(datos.file(), soloLectura);
        PaginaTrafos* p = v.trafo->paginaTrafos();
        v.mostrarPestana(p);
        QPushButton* generar = p->botonInforme();
        QGroupBox* marco = p->marcoInforme();
        ASSERT_TRUE(generar && marco);
        EXPECT_EQ(generar->objectName(), u("Command36"));
        EXPECT_EQ(generar->text(), u("Generar &informe"));
        EXPECT_EQ(marco->objectName(), u("Frame3"));
        EXPECT_EQ(marco->title(), u("Informe"));
        EXPECT_FALSE(marco->isVisible());
        EXPECT_TRUE(generar->isVisible());

        const QList<PaginaTrafos::Boton> edicion = {PaginaTrafos::Agregar, PaginaTrafos::Eliminar,
                                                    PaginaTrafos::Guardar, PaginaTrafos::Cancelar};
        auto visibles = [&] {
            QStringList v;
            for (const PaginaTrafos::Boton b :
                 {PaginaTrafos::Agregar, PaginaTrafos::Eliminar, PaginaTrafos::Refrescar,
                  PaginaTrafos::Guardar, PaginaTrafos::Cancelar})
                if (p->boton(b)->isVisible() && p->boton(b)->isEnabled())
                    v << p->boton(b)->objectName();
            return v;
        };
        const QStringList antes = visibles();
        EXPECT_EQ(antes, soloLectura ? QStringList({u("cmdRefresh")})
                                     : QStringList({u("cmdAdd"), u("cmdDelete"), u("cmdRefresh"),
                                                    u("cmdUpdate"), u("Command29")}));

        QSignalSpy pedidos(p, &PaginaTrafos::informePedido);
        QTest::mouseClick(generar, Qt::LeftButton);
        EXPECT_TRUE(marco->isVisible() && marco->isEnabled());
        EXPECT_FALSE(generar->isVisible());
        EXPECT_FALSE(generar->isEnabled());
        EXPECT_TRUE(visibles().isEmpty());
        for (const PaginaTrafos::Boton b : edicion)
            EXPECT_FALSE(p->boton(b)->isEnabled());
        // The buttons stay within the page.
        EXPECT_TRUE(p->rect().contains(
            QRect(p->cancelarInforme()->mapTo(p, QPoint(0, 0)), p->cancelarInforme()->size())));

        QTest::mouseClick(p->cancelarInforme(), Qt::LeftButton);
        EXPECT_EQ(pedidos.count(), 0);
        EXPECT_FALSE(marco->isVisible());
        EXPECT_TRUE(generar->isVisible() && generar->isEnabled());
        EXPECT_EQ(visibles(), antes);

        // Each choice is asked for by its number, and "Aceptar" closes the frame too.
        const char* nombres[] = {"Option8", "Option7", "Option9"};
        const char* textos[] = {"General", "Resumido", "Detallado"};
        for (int eleccion : {2, 1, 0}) {
            QTest::mouseClick(generar, Qt::LeftButton);
            QRadioButton* opcion = p->opcionInforme(eleccion);
            ASSERT_TRUE(opcion);
            EXPECT_EQ(opcion->objectName(), u(nombres[eleccion]));
            EXPECT_EQ(opcion->text(), u(textos[eleccion]));
            QTest::mouseClick(opcion, Qt::LeftButton, {}, QPoint(6, opcion->height() / 2));
            QTest::mouseClick(p->aceptarInforme(), Qt::LeftButton);
            ASSERT_EQ(pedidos.count(), 1);
            EXPECT_EQ(pedidos.takeFirst().at(0).toInt(), eleccion);
            EXPECT_FALSE(marco->isVisible());
            EXPECT_EQ(visibles(), antes);
        }
    }
}

TEST(DisposicionPaginas, LasCajasDeCadaGrupoQuedanAlineadas)
{
    Demo demo;
    Ventana v(demo.archivo(), true);
    PaginaRevision* revision = v.trafo->paginaRevision();
    v.mostrarPestana(revision);
    QTabWidget* detalle = revision->detalle();
    auto izquierda = [revision](QWidget* w) { return w->mapTo(revision, QPoint(0, 0)).x(); };

    // The blocks of one page put their boxes on the same columns.
    detalle->setCurrentIndex(1);
    QCoreApplication::processEvents();
    auto primeraColumna = [&](const char* bloque) {
        auto* g = revision->findChild<QGroupBox*>(u(bloque));
        int x = INT_MAX;
        for (QWidget* w : g ? g->findChildren<QComboBox*>() : QList<QComboBox*>())
            x = std::min(x, izquierda(w));
        return x;
    };
    EXPECT_NE(primeraColumna("grupo_DISPAROS"), INT_MAX);
    EXPECT_EQ(primeraColumna("grupo_DISPAROS"), primeraColumna("grupo_ALARMAS"));

    // Each polarization index stands under the readings it comes from.
    detalle->setCurrentIndex(2);
    QCoreApplication::processEvents();
    for (int i = 1; i <= 3; ++i) {
        QWidget* lectura = revision->findChild<QWidget*>(QStringLiteral("txtFieldsM_%1").arg(i));
        QWidget* indice = revision->findChild<QWidget*>(QStringLiteral("Text%1").arg(38 + i));
        ASSERT_TRUE(lectura && indice);
        EXPECT_EQ(izquierda(indice), izquierda(lectura)) << i;
        EXPECT_GT(indice->mapTo(revision, QPoint(0, 0)).y(), lectura->mapTo(revision, QPoint(0, 0)).y());
    }

    // Code and date boxes are as wide as what they hold, not as half the page.
    auto* fecha = qobject_cast<QLineEdit*>(revision->findChild<QWidget*>(u("txtFields_119")));
    ASSERT_TRUE(fecha);
    EXPECT_LE(fecha->fontMetrics().horizontalAdvance(fecha->text()), espacioTexto(fecha));
    EXPECT_LT(fecha->width(), revision->width() / 5);
    EXPECT_LT(revision->cajaCodigo()->width(), revision->width() / 5);
}
