#include "data/logic/DemoPlant.h"
#include "records/ui/CabeceraTrafo.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/ModeloTabla.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaRevision.h"
#include "records/ui/PaginaTrafos.h"
#include "records/ui/TablaRegistros.h"
#include "tests/support/Texto.h"
#include "tests/support/VentanaPrueba.h"

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
struct Ventana : VentanaPrueba
{
    static Opciones opciones(const QString& archivo, bool soloLectura)
    {
        Opciones o;
        o.archivo = archivo;
        o.soloLectura = soloLectura;
        o.tamano = QSize(1366, 768);
        return o;
    }
    Ventana(const QString& archivo, bool soloLectura) : VentanaPrueba(nullptr, opciones(archivo, soloLectura))
    {
    }
    Trafo* operator->() const { return &trafo(); }
    void mostrarPestana(QWidget* pagina)
    {
        trafo().tabs()->setCurrentWidget(pagina);
        QCoreApplication::processEvents();
    }
};

struct Demo
{
    Demo() { EXPECT_TRUE(demo::createDemo(dir.path()).ok()); }
    QString archivo() const { return Database::rutaEn(dir.path()); }
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
        {v->paginaTrafos(), v->paginaTrafos()->cabecera()},
        {v->paginaRevision(), v->paginaRevision()->cabecera()},
        {v->paginaEnsayos(), v->paginaEnsayos()->cabecera()},
        {v->paginaMantenimiento(), v->paginaMantenimiento()->cabecera()}};
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

// Grid columns are as wide as their values need (from their kind and the first screen of rows)
// and their names read whole on two lines, broken at the blank that gives the narrowest column.
TEST(DisposicionPaginas, LaGrillaMuestraEnterosValoresYNombres)
{
    Demo demo;
    Ventana v(demo.archivo(), true);
    v.mostrarPestana(v->paginaEnsayos());
    v->paginaEnsayos()->subtabs()->setCurrentIndex(1);
    QCoreApplication::processEvents();
    for (TablaRegistros* tabla : {v->paginaTrafos()->tabla(), v->paginaRevision()->tabla(),
                                  v->paginaEnsayos()->tabla(), v->paginaMantenimiento()->tabla()}) {
        QHeaderView* cabecera = tabla->horizontalHeader();
        const QFontMetrics fm(cabecera->font());
        ASSERT_GE(cabecera->height(), fm.lineSpacing() * 2) << tabla->objectName().toStdString();
        for (int c = 0; c < tabla->modelo()->columnCount(); ++c) {
            const QString nombre = tabla->modelo()->headerData(c, Qt::Horizontal).toString();
            const QRect espacio(0, 0, tabla->columnWidth(c) - 8, 1000);
            const QRect ocupado = fm.boundingRect(espacio, Qt::AlignCenter | Qt::TextWordWrap, nombre);
            EXPECT_LE(ocupado.width(), espacio.width()) << nombre.toStdString();
            EXPECT_LE(ocupado.height(), fm.lineSpacing() * 2) << nombre.toStdString();
        }
    }
    TablaRegistros* tabla = v->paginaEnsayos()->tabla();
    ModeloTabla* modelo = tabla->modelo();
    auto columna = [modelo](const char* nombre) {
        for (int c = 0; c < modelo->columnCount(); ++c)
            if (modelo->headerData(c, Qt::Horizontal).toString() == u(nombre))
                return c;
        return -1;
    };
    const QFontMetrics fm(tabla->font());
    const std::pair<const char*, const char*> casos[] = {{"Fecha", "28/12/26"},
                                                         {"EFQ", "Sí"},
                                                         {"TIF", "1234567,891"},
                                                         {"Acidez", "-0,000012345"},
                                                         {"EMPRESA", "Laboratorio Central de Aceites"},
                                                         {"Sedimentos", "NO CONTIENE"}};
    for (const auto& [nombre, texto] : casos)
        EXPECT_LE(fm.horizontalAdvance(u(texto)) + 8, tabla->columnWidth(columna(nombre))) << nombre;
    // A yes/no under a long name does not take the room of a text column.
    EXPECT_LE(tabla->columnWidth(columna("EFQ")), tabla->columnWidth(columna("Observaciones")) / 2);
    const QString largo = u("RELÉ SOBREPRESE O MEMBRANA EXP");
    EXPECT_EQ(
        TablaRegistros::anchoEnDosLineas(fm, largo),
        std::max(fm.horizontalAdvance(u("RELÉ SOBREPRESE")), fm.horizontalAdvance(u("O MEMBRANA EXP"))));
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
        PaginaEnsayos* ensayos = v->paginaEnsayos();
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

// "Generar &informe" opens the report frame in place of the record buttons; Cancelar brings
// back what was shown (read-only mode keeps the editing buttons away); Aceptar asks for the
// chosen report by its number.
TEST(DisposicionPaginas, ElMarcoInformeReemplazaLosBotonesMientrasEstaAbierto)
{
    for (const bool soloLectura : {false, true}) {
        TempData datos;
        datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", AREA) VALUES (1, 'Norte')"));
        Ventana v(datos.file(), soloLectura);
        PaginaTrafos* p = v->paginaTrafos();
        v.mostrarPestana(p);
        auto visibles = [p] {
            QStringList v;
            for (const PaginaTrafos::Boton b :
                 {PaginaTrafos::Agregar, PaginaTrafos::Eliminar, PaginaTrafos::Refrescar,
                  PaginaTrafos::Guardar, PaginaTrafos::Cancelar})
                if (p->boton(b)->isVisible() && p->boton(b)->isEnabled())
                    v << p->boton(b)->objectName();
            return v;
        };
        const QStringList antes = visibles();
        EXPECT_EQ(antes.size(), soloLectura ? 1 : 5);
        QSignalSpy pedidos(p, &PaginaTrafos::informePedido);
        QTest::mouseClick(p->botonInforme(), Qt::LeftButton);
        EXPECT_TRUE(p->marcoInforme()->isVisible());
        EXPECT_FALSE(p->botonInforme()->isVisible());
        EXPECT_TRUE(visibles().isEmpty());
        QTest::mouseClick(p->cancelarInforme(), Qt::LeftButton);
        EXPECT_EQ(pedidos.count(), 0);
        EXPECT_FALSE(p->marcoInforme()->isVisible());
        EXPECT_EQ(visibles(), antes);
        for (int eleccion : {2, 1, 0}) {
            QTest::mouseClick(p->botonInforme(), Qt::LeftButton);
            QRadioButton* opcion = p->opcionInforme(eleccion);
            QTest::mouseClick(opcion, Qt::LeftButton, {}, QPoint(6, opcion->height() / 2));
            QTest::mouseClick(p->aceptarInforme(), Qt::LeftButton);
            ASSERT_EQ(pedidos.count(), 1);
            EXPECT_EQ(pedidos.takeFirst().at(0).toInt(), eleccion);
            EXPECT_EQ(visibles(), antes);
        }
    }
}

TEST(DisposicionPaginas, LasCajasDeCadaGrupoQuedanAlineadas)
{
    ConLocale locale(QLocale(QLocale::Spanish, QLocale::Argentina));
    Demo demo;
    Ventana v(demo.archivo(), true);
    PaginaRevision* revision = v->paginaRevision();
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
    // and reads whole, with two decimals and the locale's separator, however large it is.
    const std::tuple<const char*, const char*, const char*> indices[] = {
        {"1000", "4,168", "0,00"},
        {"1", "7074,2810854597", "7074,28"},
        {"0,001", "99999,999", "99999999,00"},
        {"0,25", "9999999999999", "39999999999996,00"}};
    for (const auto& [uno, diez, indice] : indices) {
        for (int i = 1; i <= 3; ++i) {
            revision->findChild<QLineEdit*>(QStringLiteral("txtFieldsM_%1").arg(i))->setText(u(uno));
            revision->findChild<QLineEdit*>(QStringLiteral("txtFieldsM_%1").arg(i + 3))->setText(u(diez));
        }
        QCoreApplication::processEvents();
        for (int i = 1; i <= 3; ++i) {
            QLineEdit* caja = revision->indicePolarizacion(i);
            EXPECT_EQ(caja->text().toStdString(), indice) << i;
            EXPECT_LE(caja->fontMetrics().horizontalAdvance(caja->text()), espacioTexto(caja))
                << i << " '" << caja->text().toStdString() << "'";
        }
    }

    // Code and date boxes are as wide as what they hold, not as half the page.
    auto* fecha = qobject_cast<QLineEdit*>(revision->findChild<QWidget*>(u("txtFields_119")));
    ASSERT_TRUE(fecha);
    EXPECT_LE(fecha->fontMetrics().horizontalAdvance(fecha->text()), espacioTexto(fecha));
    EXPECT_LT(fecha->width(), revision->width() / 5);
    EXPECT_LT(revision->cajaCodigo()->width(), revision->width() / 5);
}
