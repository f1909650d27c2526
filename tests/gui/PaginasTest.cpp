#include "app/logic/RunState.h"
#include "controls/SemaforoLuz.h"
#include "data/logic/Database.h"
#include "data/logic/Schema.h"
#include "diagnosis/ui/Controles.h"
#include "diagnosis/ui/Semaforo.h"
#include "records/logic/DataViews.h"
#include "records/ui/BarraNavegacion.h"
#include "records/ui/CabeceraTrafo.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/FormularioCampos.h"
#include "records/ui/ModeloTabla.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaRevision.h"
#include "records/ui/PaginaTrafos.h"
#include "records/ui/TablaRegistros.h"
#include "records/ui/Trafo.h"
#include "tests/support/TempData.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

// Three transformers: 1 red and manual with two inspections and a test, 2 green and
// automatic with a test of its own, 3 yellow without rows in the dated tables.
void llenar(const TempData& datos)
{
    datos.exec(
        u("INSERT INTO Trafoge (\"CÓDIGO\", AREA, MARCA, TIPO, \"DENOMINACIÓN\", \"NRO DE SERIE\", "
          "ESTADO, GRAVEDAD, AUTO, DIAGNOSTICO) VALUES "
          "(1, 'Norte', 'Tadeo', 'SECO', 'Bombeo', 'S-100', 3, 12.5, 1, '<p>Revisar <b>gases</b></p>'),"
          "(2, 'Sur', 'Ivera', 'SELLADO', 'Planta', 'S-200', 1, 0, 0, NULL),"
          "(3, 'Este', 'Ivera', 'T.EXPANSIÓN', 'Taller', 'S-300', 2, 4, 0, NULL)"));
    datos.exec(u("INSERT INTO Revision (\"CÓDIGO\", FECHA, LIMPIEZA, \"SEC  / PRIM A TIERRA 10'\") VALUES "
                 "(1, '2026-12-05', 'BIEN', 250), (1, '2025-03-01', 'NO REALIZADA', NULL)"));
    datos.exec(u("INSERT INTO Ensayos (\"Código\", Fecha, EFQ, \"IN\", LD, GAS, Diel, \"%_Inhibidor\", "
                 "\"Hidrógeno\", Sedimentos) VALUES "
                 "(1, '2026-11-20', 1, 0, 0, 0, 45, 0.3, 12, NULL),"
                 "(2, '2026-10-02', 0, 1, 1, 1, 20, 0.2, 7, 'MEDIA')"));
    datos.exec(u("INSERT INTO Mantenimiento (\"Código\", Fecha, Pintado, \"Rep  o cambio termocuadrante\") "
                 "VALUES (1, '2026-06-30', 1, 1)"));
}

struct Paginas
{
    explicit Paginas(bool soloLectura = false)
    {
        llenar(datos);
        vistas.openAll(datos.open(soloLectura), soloLectura);
        trafos.enlazar(vistas.Data1);
        revision.enlazar(vistas.Data2, vistas.Data1);
        ensayos.enlazar(vistas.Data3, vistas.Data1);
        mantenimiento.enlazar(vistas.Data4, vistas.Data1);
    }
    ~Paginas() { vistas.closeAll(); }
    QVariant leer(const QString& sql) const
    {
        auto db = datos.open(true);
        auto st = Statement::prepare(*db, sql);
        if (!st.ok())
            return QVariant();
        const Result<bool> fila = st.value().step();
        if (!fila.ok() || !fila.value())
            return QVariant();
        return st.value().value(0);
    }

    TempData datos;
    RunState estado;
    DataViews vistas{estado};
    PaginaTrafos trafos;
    PaginaRevision revision;
    PaginaEnsayos ensayos;
    PaginaMantenimiento mantenimiento;
};

template <typename T> T* hijo(QWidget& w, const QString& nombre)
{
    T* h = w.findChild<T*>(nombre);
    EXPECT_NE(h, nullptr) << nombre.toStdString();
    return h;
}

QString textoCaja(QWidget* caja)
{
    if (auto* t = qobject_cast<QLineEdit*>(caja))
        return t->text();
    if (auto* c = qobject_cast<QComboBox*>(caja))
        return c->currentText();
    return QStringLiteral("<no es caja de texto>");
}

} // namespace

// The forms are built from the schema: every field shown outside the table view has exactly one
// bound box with its caption, and table-only fields have none.
TEST(Paginas, CadaCampoTieneUnaCajaConSuRotulo)
{
    Paginas p;
    const struct
    {
        QWidget* pagina;
        EnlaceCampos* enlace;
        const schema::Table* tabla;
    } casos[] = {{&p.trafos, p.trafos.enlace(), &schema::trafoge()},
                 {&p.revision, p.revision.enlace(), &schema::revision()},
                 {&p.ensayos, p.ensayos.enlace(), &schema::ensayos()},
                 {&p.mantenimiento, p.mantenimiento.enlace(), &schema::mantenimiento()}};
    for (const auto& c : casos) {
        ASSERT_NE(c.enlace, nullptr);
        const QStringList ligados = c.enlace->campos();
        const QList<QLabel*> rotulos = c.pagina->findChildren<QLabel*>();
        int esperados = 0;
        for (const schema::Field& f : c.tabla->fields) {
            const std::string quien = QString(c.tabla->name + QLatin1Char('.') + f.name).toStdString();
            const int veces = int(
                std::count_if(ligados.begin(), ligados.end(), [&](const QString& n) { return n == f.name; }));
            if (f.tableOnly) {
                EXPECT_EQ(veces, 0) << quien;
                continue;
            }
            ++esperados;
            ASSERT_EQ(veces, 1) << quien;
            QWidget* caja = c.enlace->caja(f.name);
            ASSERT_NE(caja, nullptr) << quien;
            EXPECT_TRUE(c.pagina->isAncestorOf(caja)) << quien;
            EXPECT_EQ(c.pagina->findChildren<QWidget*>(caja->objectName()).size(), 1) << quien;
            if (f.name == QLatin1String("AUTO"))
                continue; // the mode button's caption is the mode
            if (auto* b = qobject_cast<QCheckBox*>(caja)) {
                EXPECT_EQ(b->text(), FormularioCampos::rotulo(f)) << quien;
                continue;
            }
            const auto rotulo = std::find_if(rotulos.begin(), rotulos.end(),
                                             [caja](QLabel* l) { return l->buddy() == caja; });
            ASSERT_NE(rotulo, rotulos.end()) << quien << " sin rótulo";
            EXPECT_EQ((*rotulo)->text(), FormularioCampos::rotulo(f)) << quien;
        }
        EXPECT_EQ(ligados.size(), esperados) << c.tabla->name.toStdString();
    }
}

TEST(Paginas, LasCajasDelEnsayoLlevanSuNumeroDeElemento)
{
    Paginas p;
    const QList<std::pair<const char*, const char*>> nombres = {
        {"txtFields_83", "Hidrógeno"}, {"txtFields_68", "%_Inhibidor"}, {"txtFields_93", "Total Gas"},
        {"txtFields_41", "HumSol"},    {"txtFields_101", "TOTAL PCB"},  {"txtFields_121", "Fecha"},
        {"chkFieldsEns_0", "EFQ"},     {"chkFieldsEns_1", "KF"},        {"chkFieldsEns_2", "FUR"},
        {"chkFieldsEns_3", "MET"},     {"chkFieldsEns_4", "PCB"},       {"chkFieldsEns_5", "GAS"},
        {"chkFieldsEns_6", "FD"},      {"chkFieldsEns_7", "LD"},        {"chkFieldsEns_8", "IN"},
        {"Combo10_25", "Sedimentos"}};
    for (const auto& [nombre, campo] : nombres)
        EXPECT_EQ(p.ensayos.enlace()->caja(u(campo)), p.ensayos.findChild<QWidget*>(u(nombre))) << nombre;
    EXPECT_EQ(p.revision.enlace()->caja(u("SEC  / PRIM A TIERRA 10'")),
              p.revision.findChild<QWidget*>(QStringLiteral("txtFieldsM_5")));
    EXPECT_EQ(p.revision.enlace()->caja(u("FECHA")),
              p.revision.findChild<QWidget*>(QStringLiteral("txtFields_119")));
    // The sludge list offers the blank and shows it for a test that did not say.
    auto* lodos = hijo<QComboBox>(p.ensayos, QStringLiteral("Combo10_25"));
    ASSERT_TRUE(lodos);
    EXPECT_GE(lodos->findText(QStringLiteral(" ")), 0);
    EXPECT_EQ(lodos->currentText(), QStringLiteral(" "));
    p.vistas.Data3.moveNext();
    EXPECT_EQ(lodos->currentText(), QStringLiteral("MEDIA"));
}

TEST(Paginas, MoverLaVistaMuestraLaFilaEnCajasYCabecera)
{
    Paginas p;
    auto* area = hijo<QLineEdit>(p.trafos, u("campo_AREA"));
    auto* tipo = hijo<QComboBox>(p.trafos, u("campo_TIPO"));
    ASSERT_TRUE(area && tipo);
    EXPECT_EQ(area->text(), u("Norte"));
    EXPECT_EQ(p.trafos.barra()->caption(), u("TRA:1-3"));
    ASSERT_TRUE(p.vistas.Data1.moveNext().ok());
    EXPECT_EQ(area->text(), u("Sur"));
    EXPECT_EQ(tipo->currentText(), u("SELLADO"));
    EXPECT_EQ(p.trafos.barra()->caption(), u("TRA:2-3"));
    // Every tab's strip names the current transformer.
    for (CabeceraTrafo* c :
         {p.trafos.cabecera(), p.revision.cabecera(), p.ensayos.cabecera(), p.mantenimiento.cabecera()}) {
        QStringList textos;
        for (QLineEdit* e : c->cajas())
            textos << e->text();
        EXPECT_EQ(textos, QStringList({u("2"), u("Sur"), u("SELLADO"), u("Planta"), u("Ivera"), u("S-200")}));
    }
    // Dates read DD/MM/YYYY in boxes; numbers in plain decimals; memos as rich text.
    EXPECT_EQ(textoCaja(p.revision.findChild<QWidget*>(u("txtFields_119"))), u("05/12/2026"));
    EXPECT_EQ(textoCaja(p.revision.findChild<QWidget*>(u("txtFieldsM_5"))), u("250"));
    EXPECT_EQ(textoCaja(p.ensayos.findChild<QWidget*>(u("txtFields_68"))), u("0.3"));
    EXPECT_EQ(hijo<QCheckBox>(p.mantenimiento, u("campo_Rep  o cambio termocuadrante"))->isChecked(), true);
    EXPECT_EQ(hijo<QCheckBox>(p.mantenimiento, u("campo_Limpieza General"))->isChecked(), false);
    // Past the last row the boxes are empty.
    ASSERT_TRUE(p.vistas.Data2.moveLast().ok());
    ASSERT_TRUE(p.vistas.Data2.moveNext().ok());
    EXPECT_EQ(textoCaja(p.revision.findChild<QWidget*>(u("txtFields_119"))), QString());
    EXPECT_EQ(p.revision.cajaCodigo()->text(), QString());
}

TEST(Paginas, LoEscritoSeGuardaAlDejarLaFila)
{
    Paginas p;
    auto* marca = hijo<QLineEdit>(p.trafos, u("campo_MARCA"));
    auto* modelo = hijo<QLineEdit>(p.trafos, u("campo_MODELO"));
    ASSERT_TRUE(marca && modelo);
    marca->selectAll();
    QTest::keyClicks(marca, QStringLiteral("Orvane"));
    QTest::sendKeyEvent(QTest::Click, marca, Qt::Key_unknown, u("ñ"), Qt::NoModifier);
    ASSERT_TRUE(p.vistas.Data1.moveNext().ok());
    EXPECT_EQ(p.leer(u("SELECT MARCA FROM Trafoge WHERE \"CÓDIGO\"=1")).toString(), u("Orvaneñ"));
    // A box that was only shown is not written: its NULL stays NULL.
    EXPECT_TRUE(p.leer(u("SELECT MODELO IS NULL FROM Trafoge WHERE \"CÓDIGO\"=1")).toBool());

    // A list and a yes/no box save on the next move as well, under names with two blanks.
    auto* limpieza = hijo<QComboBox>(p.revision, u("campo_LIMPIEZA"));
    auto* termo = hijo<QCheckBox>(p.mantenimiento, u("campo_Rep  o cambio termocuadrante"));
    ASSERT_TRUE(limpieza && termo);
    limpieza->setCurrentIndex(limpieza->findText(u("REGULAR")));
    QTest::mouseClick(termo, Qt::LeftButton, {}, QPoint(5, termo->height() / 2));
    auto* megado = hijo<QLineEdit>(p.revision, u("txtFieldsM_5"));
    megado->selectAll();
    QTest::keyClicks(megado, QStringLiteral("310.5"));
    ASSERT_TRUE(p.vistas.Data2.moveNext().ok());
    ASSERT_TRUE(p.vistas.Data4.moveNext().ok());
    EXPECT_EQ(p.leer(u("SELECT LIMPIEZA FROM Revision WHERE FECHA='2026-12-05'")).toString(), u("REGULAR"));
    EXPECT_DOUBLE_EQ(
        p.leer(u("SELECT \"SEC  / PRIM A TIERRA 10'\" FROM Revision WHERE FECHA='2026-12-05'")).toDouble(),
        310.5);
    EXPECT_EQ(p.leer(u("SELECT \"Rep  o cambio termocuadrante\" FROM Mantenimiento")).toInt(), 0);
    // Moving back shows what was saved, and nothing is written twice.
    ASSERT_TRUE(p.vistas.Data1.moveFirst().ok());
    EXPECT_EQ(marca->text(), u("Orvaneñ"));
    EXPECT_FALSE(p.trafos.enlace()->hayCambios());
}

TEST(Paginas, ModoManualDesbloqueaEstadoYGravedad)
{
    Paginas p;
    QPushButton* modo = p.trafos.botonModo();
    QComboBox* estado = p.trafos.listaEstado();
    QLineEdit* gravedad = p.trafos.cajaGravedad();
    ASSERT_EQ(estado->objectName(), u("Combo8"));
    ASSERT_EQ(gravedad->objectName(), u("Text1_0"));
    EXPECT_EQ(
        QStringList({estado->itemText(0), estado->itemText(1), estado->itemText(2), estado->itemText(3)}),
        QStringList({u("Apagado"), u("Verde"), u("Amarillo"), u("Rojo")}));
    // Transformer 1 is manual and red.
    EXPECT_TRUE(modo->isChecked());
    EXPECT_EQ(modo->text(), u("Manual"));
    EXPECT_EQ(estado->currentIndex(), 3);
    EXPECT_EQ(gravedad->text(), u("12.5"));
    EXPECT_TRUE(estado->isEnabled());
    EXPECT_FALSE(gravedad->isReadOnly());
    EXPECT_EQ(hijo<QLineEdit>(p.trafos, u("Text1_1"))->text(), u("12.5"));
    // Transformer 2 is automatic: both locked.
    ASSERT_TRUE(p.vistas.Data1.moveNext().ok());
    EXPECT_FALSE(modo->isChecked());
    EXPECT_EQ(modo->text(), u("Automático"));
    EXPECT_EQ(estado->currentIndex(), 1);
    EXPECT_FALSE(estado->isEnabled());
    EXPECT_TRUE(gravedad->isReadOnly());
    // A click switches to manual at once.
    QTest::mouseClick(modo, Qt::LeftButton);
    EXPECT_EQ(modo->text(), u("Manual"));
    EXPECT_TRUE(estado->isEnabled());
    EXPECT_FALSE(gravedad->isReadOnly());
}

TEST(Paginas, SoloLecturaOcultaLosBotonesDeEdicion)
{
    for (const bool soloLectura : {false, true}) {
        Paginas p(soloLectura);
        p.trafos.setSoloLectura(soloLectura);
        p.revision.setSoloLectura(soloLectura);
        p.ensayos.setSoloLectura(soloLectura);
        p.mantenimiento.setSoloLectura(soloLectura);
        const QList<std::pair<QWidget*, const char*>> edicion = {{&p.trafos, "cmdAdd"},
                                                                 {&p.trafos, "cmdDelete"},
                                                                 {&p.trafos, "cmdUpdate"},
                                                                 {&p.trafos, "Command29"},
                                                                 {&p.trafos, "cmdGuardarAccesorios"},
                                                                 {&p.revision, "cmdAdd"},
                                                                 {&p.revision, "cmdDelete"},
                                                                 {&p.revision, "cmdUpdate"},
                                                                 {&p.revision, "cmdCancel"},
                                                                 {&p.ensayos, "cmdAdd"},
                                                                 {&p.ensayos, "cmdUpdate"},
                                                                 {&p.ensayos, "cmdCancel"},
                                                                 {&p.mantenimiento, "cmdAdd"},
                                                                 {&p.mantenimiento, "cmdDelete"},
                                                                 {&p.mantenimiento, "cmdCancel"}};
        for (const auto& [pagina, nombre] : edicion) {
            auto* b = hijo<QPushButton>(*pagina, u(nombre));
            ASSERT_TRUE(b);
            EXPECT_EQ(b->isHidden(), soloLectura) << pagina->objectName().toStdString() << " " << nombre;
        }
        for (QWidget* pagina : QList<QWidget*>{&p.trafos, &p.revision, &p.ensayos, &p.mantenimiento}) {
            auto* refrescar = hijo<QPushButton>(*pagina, u("cmdRefresh"));
            ASSERT_TRUE(refrescar);
            EXPECT_FALSE(refrescar->isHidden());
            EXPECT_EQ(refrescar->text(), u("&Refrescar"));
        }
        EXPECT_EQ(hijo<QPushButton>(p.trafos, u("Command29"))->text(), u("Ca&ncelar"));
        EXPECT_EQ(hijo<QPushButton>(p.trafos, u("cmdGuardarAccesorios"))->text(), u("&Guardar"));
        EXPECT_EQ(p.vistas.Data1.isReadOnly(), soloLectura);
    }
}

TEST(Paginas, CadaCasillaDeGrupoHabilitaSusCajas)
{
    Paginas p;
    const QList<std::pair<int, QList<int>>> grupos = {{0, {41, 43, 62, 63, 64, 65, 66, 67}},
                                                      {1, {71, 72, 73, 74, 75, 76}},
                                                      {2, {77, 78, 79, 80, 81, 82}},
                                                      {3, {94, 95, 96}},
                                                      {4, {97, 98, 99, 100, 101}},
                                                      {5, {83, 84, 85, 86, 87, 88, 89, 90, 91, 92, 93}},
                                                      {8, {68}}};
    auto habilitadas = [&p] {
        QList<int> out;
        for (int i = 41; i <= 101; ++i)
            if (QWidget* c = p.ensayos.cajaTxt(i); c && c->isEnabled())
                out << i;
        return out;
    };
    // Test 1: only EFQ ticked; the inhibitor box follows IN, which is not.
    QList<int> esperadas = grupos[0].second;
    std::sort(esperadas.begin(), esperadas.end());
    EXPECT_EQ(habilitadas(), esperadas);
    EXPECT_FALSE(p.ensayos.findChild<QComboBox*>(u("Combo10_25"))->isEnabled());
    // Test 2: IN, LD and GAS ticked.
    ASSERT_TRUE(p.vistas.Data3.moveNext().ok());
    esperadas = grupos[5].second + QList<int>{68};
    std::sort(esperadas.begin(), esperadas.end());
    EXPECT_EQ(habilitadas(), esperadas);
    EXPECT_TRUE(p.ensayos.findChild<QComboBox*>(u("Combo10_25"))->isEnabled());

    // Clicking one group's box changes its boxes and no others; the inhibitor still follows IN.
    ASSERT_TRUE(p.vistas.Data3.moveFirst().ok());
    for (const auto& [casilla, cajas] : grupos) {
        const QList<int> antes = habilitadas();
        auto* b = qobject_cast<QAbstractButton*>(p.ensayos.casilla(casilla));
        ASSERT_TRUE(b) << casilla;
        const bool ahora = !b->isChecked();
        b->click();
        QList<int> despues = antes;
        for (const int c : cajas) {
            despues.removeAll(c);
            if (ahora)
                despues << c;
        }
        std::sort(despues.begin(), despues.end());
        EXPECT_EQ(habilitadas(), despues) << "casilla " << casilla;
        if (casilla == 0) {
            EXPECT_FALSE(p.ensayos.cajaTxt(68)->isEnabled());
        }
    }
    auto* lodos = qobject_cast<QAbstractButton*>(p.ensayos.casilla(7));
    lodos->click();
    EXPECT_TRUE(p.ensayos.findChild<QComboBox*>(u("Combo10_25"))->isEnabled());
}

TEST(Paginas, LaTablaMuestraTodasLasColumnasSinRetenerTodasLasFilas)
{
    Paginas p;
    p.datos.exec(u("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                   "INSERT INTO Ensayos (\"Código\", Fecha, Diel) SELECT 1000 + i, '2024-01-02', i FROM n"));
    ASSERT_TRUE(p.vistas.Data3.refresh().ok());
    TablaRegistros* tabla = p.ensayos.tabla();
    ASSERT_TRUE(tabla);
    ModeloTabla* m = tabla->modelo();
    EXPECT_EQ(m->rowCount(), 3002);
    EXPECT_EQ(m->columnCount(), schema::ensayos().fields.size());
    for (int c = 0; c < m->columnCount(); ++c)
        EXPECT_EQ(m->headerData(c, Qt::Horizontal).toString(), schema::ensayos().fields[c].name);
    const int diel = schema::ensayos().fieldIndex(u("Diel"));
    const int fecha = schema::ensayos().fieldIndex(u("Fecha"));
    EXPECT_EQ(m->data(m->index(2501, diel)).toString(), u("2500"));
    EXPECT_EQ(m->data(m->index(2501, fecha)).toString(), u("02/01/24"));
    EXPECT_EQ(m->data(m->index(0, schema::ensayos().fieldIndex(u("EFQ")))).toString(), u("Sí"));
    EXPECT_LE(p.vistas.Data3.cachedRowCount(), RecordView::kCacheRows);
    // Moving the view selects its row in the grid.
    ASSERT_TRUE(p.vistas.Data3.setAbsolutePosition(1500).ok());
    ASSERT_EQ(tabla->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(tabla->selectionModel()->selectedRows().first().row(), 1500);
    EXPECT_EQ(p.trafos.tabla()->modelo()->rowCount(), 3);
    EXPECT_EQ(p.trafos.tabla()->modelo()->columnCount(), schema::trafoge().fields.size());
}

TEST(Paginas, LasLucesMuestranElEstadoDelTrafo)
{
    Paginas p;
    QTabWidget tabs;
    tabs.addTab(&p.trafos, u("TRAFOS"));
    tabs.addTab(&p.revision, u("REVISIÓN"));
    tabs.addTab(&p.ensayos, u("ENSAYOS"));
    tabs.addTab(&p.mantenimiento, u("MANTENIMIENTO"));
    tabs.resize(1000, 580);
    tabs.show();
    QList<QWidget*> luces;
    for (int i = 0; i < 6; ++i) {
        auto* l = tabs.findChild<lumerix::SemaforoLuz*>(QStringLiteral("SemaforoLuz1_%1").arg(i));
        ASSERT_TRUE(l) << i;
        luces << l;
    }
    for (const auto& [fila, estado] : QList<std::pair<int, int>>{{0, 3}, {1, 1}, {2, 2}}) {
        ASSERT_TRUE(p.vistas.Data1.setAbsolutePosition(fila).ok());
        const QColor lampara = lumerix::SemaforoLuz::lookFor(estado, {}).lamp;
        for (QWidget* l : luces) {
            EXPECT_EQ(CabeceraTrafo::estadoLuz(l), estado) << l->objectName().toStdString();
            const QImage imagen = l->grab().toImage();
            EXPECT_EQ(imagen.pixelColor(imagen.width() / 2, imagen.height() / 2).rgb(), lampara.rgb())
                << l->objectName().toStdString() << " estado " << estado;
        }
    }
    tabs.hide();
    for (int i = tabs.count() - 1; i >= 0; --i) {
        QWidget* w = tabs.widget(i);
        tabs.removeTab(i);
        w->setParent(nullptr);
    }
}

TEST(Paginas, BarraDeNavegacion)
{
    Paginas p;
    BarraNavegacion* barra = p.revision.barra();
    EXPECT_EQ(barra->caption(), u("REV:1-2"));
    EXPECT_EQ(p.ensayos.barra()->caption(), u("ENS:1-2"));
    EXPECT_EQ(p.mantenimiento.barra()->caption(), u("MAN:1-1"));
    // The press is announced before the view moves.
    int posicionAlPulsar = -2;
    QObject::connect(barra, &BarraNavegacion::pulsado, barra,
                     [&](BarraNavegacion::Boton) { posicionAlPulsar = p.vistas.Data2.absolutePosition(); });
    barra->boton(BarraNavegacion::Siguiente)->click();
    EXPECT_EQ(posicionAlPulsar, 0);
    EXPECT_EQ(barra->caption(), u("REV:2-2"));
    // A step past an end stays on it.
    barra->boton(BarraNavegacion::Siguiente)->click();
    EXPECT_EQ(p.vistas.Data2.absolutePosition(), 1);
    barra->boton(BarraNavegacion::Primero)->click();
    barra->boton(BarraNavegacion::Anterior)->click();
    EXPECT_EQ(p.vistas.Data2.absolutePosition(), 0);
    // From past the last row (a parked view) the previous button lands on the last row.
    ASSERT_TRUE(p.vistas.Data2.moveLast().ok());
    ASSERT_TRUE(p.vistas.Data2.moveNext().ok());
    barra->boton(BarraNavegacion::Anterior)->click();
    EXPECT_EQ(p.vistas.Data2.absolutePosition(), 1);
    // The no-rows notice starts hidden and is the tab's to show.
    for (PaginaFechada* f : QList<PaginaFechada*>{&p.revision, &p.ensayos, &p.mantenimiento}) {
        EXPECT_FALSE(f->sinRegistros());
        f->setSinRegistros(true);
        EXPECT_TRUE(f->sinRegistros());
        EXPECT_EQ(f->avisoSinRegistros()->text(), u("S/ Registros"));
    }
}

// The main window binds its four record tabs to the run's views and applies the access mode.
TEST(Paginas, LaVentanaPrincipalEnlazaSusPestanas)
{
    for (const bool soloLectura : {false, true}) {
        TempData datos;
        llenar(datos);
        RunState estado;
        estado.SoloLectura = soloLectura;
        DataViews vistas(estado);
        vistas.openAll(datos.open(soloLectura), soloLectura);
        Trafo ventana(estado, vistas);
        ventana.setTerminar([] {});
        ASSERT_TRUE(ventana.paginaTrafos()->enlace());
        EXPECT_EQ(&ventana.paginaRevision()->enlace()->vista(), &vistas.Data2);
        EXPECT_EQ(&ventana.paginaEnsayos()->enlace()->vista(), &vistas.Data3);
        EXPECT_EQ(&ventana.paginaMantenimiento()->enlace()->vista(), &vistas.Data4);
        EXPECT_EQ(ventana.paginaTrafos()->boton(PaginaTrafos::Agregar)->isHidden(), soloLectura);
        EXPECT_EQ(ventana.paginaEnsayos()->boton(PaginaFechada::Guardar)->isHidden(), soloLectura);
        ASSERT_TRUE(vistas.Data1.moveNext().ok());
        EXPECT_EQ(ventana.paginaMantenimiento()->cabecera()->caja(0)->text(), u("2"));
        ventana.Salir();
    }
}

// Every test shown is evaluated (gas ratios, then diagnosis) before its groups are enabled, also
// when the test view is moved by choosing another transformer; leaving a test clears its diagnosis.
TEST(Paginas, CadaEnsayoMostradoSeEvalua)
{
    Paginas p;
    p.ensayos.setSemaforo(quorvela::createControl(QStringLiteral("Quorvela.Semaforo"), nullptr));
    auto* semaforo = qobject_cast<Semaforo*>(p.ensayos.semaforo());
    ASSERT_TRUE(semaforo);
    EXPECT_EQ(semaforo->objectName(), u("Semaforo1"));
    QStringList pasos;
    p.ensayos.setEvaluacion([&] { pasos << u("Calculus"); },
                            [&] {
                                // The boxes still show the previous test's enabling: ENS comes after.
                                pasos << (p.ensayos.cajaTxt(83)->isEnabled() ? u("Diagnos con gases")
                                                                             : u("Diagnos sin gases"));
                                p.ensayos.observaciones()->setPlainText(u(" Dieléctrico muy Bajo"));
                                semaforo->setEstado(3);
                            });
    ASSERT_TRUE(p.vistas.Data3.moveNext().ok());
    EXPECT_EQ(pasos, QStringList({u("Calculus"), u("Diagnos sin gases")}));
    EXPECT_TRUE(p.ensayos.cajaTxt(83)->isEnabled());
    EXPECT_EQ(semaforo->estado(), 3);

    // A move made for the transformer tab evaluates the test it lands on.
    pasos.clear();
    ASSERT_TRUE(p.vistas.Data3.findFirst(u("[código]=1")).value());
    EXPECT_EQ(pasos, QStringList({u("Calculus"), u("Diagnos con gases")}));
    EXPECT_FALSE(p.ensayos.cajaTxt(83)->isEnabled());

    // Leaving the row clears the diagnosis before the next one is evaluated.
    p.ensayos.setEvaluacion(nullptr, nullptr);
    ASSERT_TRUE(p.vistas.Data3.moveNext().ok());
    EXPECT_EQ(p.ensayos.observaciones()->toPlainText(), QString());
    EXPECT_EQ(semaforo->estado(), 1);

    // The forced-doubtful box runs the evaluation without a move.
    pasos.clear();
    p.ensayos.setEvaluacion([&] { pasos << u("Calculus"); }, [&] { pasos << u("Diagnos"); });
    qobject_cast<QAbstractButton*>(p.ensayos.casilla(6))->click();
    EXPECT_EQ(pasos, QStringList({u("Calculus"), u("Diagnos")}));
}
