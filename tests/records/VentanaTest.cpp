#include "controls/SemaforoLuz.h"
#include "data/logic/Schema.h"
#include "diagnosis/ui/Semaforo.h"
#include "records/logic/DisposicionTrafo.h"
#include "records/ui/CabeceraTrafo.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/EntradaValidada.h"
#include "records/ui/FormularioCampos.h"
#include "records/ui/ModeloTabla.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaHerramientas.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaRevision.h"
#include "records/ui/TablaRegistros.h"
#include "tests/records/Planta.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QString etiqueta(const Trafo& w, const char* nombre)
{
    auto* l = w.findChild<QLabel*>(QString::fromLatin1(nombre));
    return l ? l->text() : u("<sin etiqueta>");
}

QList<PaginaFechada*> fechadas(const Trafo& t)
{
    return {t.paginaRevision(), t.paginaEnsayos(), t.paginaMantenimiento()};
}

} // namespace

// A move in any tab brings the others and the list to its transformer; a dated tab without
// rows for it parks its view, and a step on a parked bar lands on the ends of the table.
TEST(Ventana, CadaVistaLlevaALasOtrasYLasVistasSinFilasSeAparcan)
{
    Planta p;
    Trafo& t = p.trafo();
    PaginaRevision* revision = t.paginaRevision();
    // Start-up aligned everything on the first transformer, which has no inspection.
    EXPECT_EQ(p.codigo(p.vistas.Data1), u("10"));
    EXPECT_TRUE(revision->sinRegistros());
    EXPECT_TRUE(revision->textoCodigo().isEmpty());
    EXPECT_EQ(t.paginaEnsayos()->textoCodigo(), u("10"));
    EXPECT_EQ(p.codigoLista(), u("10"));

    // Previous from the parked view: the last inspection of the table, and the window follows.
    p.pulsar(revision->barra(), BarraNavegacion::Anterior);
    EXPECT_EQ(revision->textoFecha(), u("01/09/2025"));
    EXPECT_EQ(revision->barra()->caption(), u("REV:4-4"));
    EXPECT_EQ(p.codigo(p.vistas.Data1), u("30"));
    EXPECT_EQ(t.paginaTrafos()->cabecera()->caja(0)->text(), u("30"));
    EXPECT_EQ(t.paginaEnsayos()->textoCodigo(), u("30"));
    EXPECT_TRUE(t.paginaMantenimiento()->sinRegistros());
    EXPECT_EQ(p.codigoLista(), u("30"));

    // A move in the tests view: transformer 30's test brings its first inspection.
    p.pulsar(t.paginaEnsayos()->barra(), BarraNavegacion::Ultimo);
    EXPECT_EQ(p.codigo(p.vistas.Data1), u("30"));
    EXPECT_EQ(revision->textoFecha(), u("01/03/2025"));

    // A main tab change shows a dated tab's notice while its code box is empty.
    p.pulsar(t.paginaTrafos()->barra(), BarraNavegacion::Primero);
    revision->setSinRegistros(false);
    t.tabs()->setCurrentWidget(revision);
    EXPECT_TRUE(revision->sinRegistros());
    t.tabs()->setCurrentWidget(t.paginaEnsayos());
    EXPECT_FALSE(t.paginaEnsayos()->sinRegistros());
}

// The boxes show the row (dates DD/MM/YYYY, plain numbers, lists, yes/no), what the user
// typed is written when the row is left, a box only shown is never written, and leaving an
// inspection blanks its boxes before the next one shows.
TEST(Ventana, LasCajasMuestranLaFilaYLoEscritoSeGuardaAlDejarla)
{
    Planta p;
    Trafo& t = p.trafo();
    EnlaceCampos* trafos = t.paginaTrafos()->enlace();
    auto* marca = qobject_cast<QLineEdit*>(trafos->caja(u("MARCA")));
    auto* tipo = qobject_cast<QComboBox*>(trafos->caja(u("TIPO")));
    ASSERT_TRUE(marca && tipo);
    EXPECT_EQ(marca->text(), u("Tadeo"));
    EXPECT_EQ(tipo->currentText(), u("SECO"));
    QStringList cabecera;
    for (QLineEdit* e : t.paginaMantenimiento()->cabecera()->cajas())
        cabecera << e->text();
    EXPECT_EQ(cabecera, (QStringList{u("10"), u("Norte"), u("SECO"), u("Bombeo"), u("Tadeo"), u("S-100")}));
    EXPECT_EQ(t.paginaEnsayos()->textoFecha(), u("01/02/2024"));
    EXPECT_EQ(p.caja(t.paginaEnsayos(), u("%_Inhibidor"))->text(), u("0.3"));
    EnlaceCampos* mant = t.paginaMantenimiento()->enlace();
    auto* termo = qobject_cast<QCheckBox*>(mant->caja(u("Rep  o cambio termocuadrante")));
    ASSERT_TRUE(termo);
    EXPECT_TRUE(termo->isChecked());
    EXPECT_FALSE(qobject_cast<QCheckBox*>(mant->caja(u("Limpieza General")))->isChecked());
    // The sludge list offers the blank and shows it for a test that did not say.
    auto* lodos = qobject_cast<QComboBox*>(t.paginaEnsayos()->enlace()->caja(u("Sedimentos")));
    EXPECT_EQ(lodos->currentText(), u(" "));

    // Typed values (an accent too) are saved on leaving the row; MODELO, only shown, stays NULL.
    VentanaPrueba::escribir(marca, u("Tadeoñ"));
    QTest::mouseClick(termo, Qt::LeftButton, {}, QPoint(5, termo->height() / 2));
    p.pulsar(t.paginaTrafos()->barra(), BarraNavegacion::Siguiente);
    EXPECT_EQ(p.valor(u("SELECT MARCA FROM Trafoge WHERE \"CÓDIGO\"=10")).toString(), u("Tadeoñ"));
    EXPECT_TRUE(p.valor(u("SELECT MODELO IS NULL FROM Trafoge WHERE \"CÓDIGO\"=10")).toBool());
    EXPECT_EQ(p.valor(u("SELECT \"Rep  o cambio termocuadrante\" FROM Mantenimiento")).toInt(), 0);
    EXPECT_EQ(tipo->currentText(), u("SELLADO"));

    // An inspection: the list edit is kept, and the page is blank when the row is left.
    PaginaRevision* revision = t.paginaRevision();
    auto* limpieza = qobject_cast<QComboBox*>(revision->enlace()->caja(u("LIMPIEZA")));
    EXPECT_EQ(revision->textoFecha(), u("10/01/2024"));
    EXPECT_EQ(p.caja(revision, u("SEC  / PRIM A TIERRA 10'"))->text(), u("250"));
    limpieza->setCurrentIndex(limpieza->findText(u("NO REALIZADA")));
    QStringList alDejar;
    QObject::connect(t.alineacion(), &Alineacion::blanquearRevision, &t, [&] {
        for (QWidget* c : revision->enlace()->cajas())
            if (auto* l = qobject_cast<QComboBox*>(c))
                alDejar << l->currentText().trimmed();
        alDejar << revision->textoCodigo();
    });
    p.pulsar(revision->barra(), BarraNavegacion::Siguiente);
    ASSERT_FALSE(alDejar.isEmpty());
    EXPECT_EQ(alDejar.join(QString()), QString()) << alDejar.join(u("|")).toStdString();
    EXPECT_EQ(limpieza->currentText(), u("REGULAR"));
    EXPECT_EQ(p.valor(u("SELECT LIMPIEZA FROM Revision WHERE FECHA='2024-01-10'")).toString(),
              u("NO REALIZADA"));

    // Past the last row the boxes are empty; moving back shows what was saved, unchanged.
    p.pulsar(t.paginaTrafos()->barra(), BarraNavegacion::Primero);
    EXPECT_EQ(marca->text(), u("Tadeoñ"));
    EXPECT_FALSE(trafos->hayCambios());
}

// Every field shown outside the table view has exactly one bound box with its caption; the
// test boxes the evaluation reads carry their element names.
TEST(Ventana, CadaCampoTieneUnaCajaConSuRotulo)
{
    Planta p;
    Trafo& t = p.trafo();
    const QList<std::pair<QWidget*, EnlaceCampos*>> paginas = {
        {t.paginaTrafos(), t.paginaTrafos()->enlace()},
        {t.paginaRevision(), t.paginaRevision()->enlace()},
        {t.paginaEnsayos(), t.paginaEnsayos()->enlace()},
        {t.paginaMantenimiento(), t.paginaMantenimiento()->enlace()}};
    for (const auto& [pagina, enlace] : paginas) {
        const schema::Table& tabla = enlace->tabla();
        const QList<QLabel*> rotulos = pagina->findChildren<QLabel*>();
        int esperados = 0;
        for (const schema::Field& f : tabla.fields) {
            const std::string quien = QString(tabla.name + QLatin1Char('.') + f.name).toStdString();
            QWidget* caja = enlace->caja(f.name);
            if (f.tableOnly) {
                EXPECT_FALSE(caja) << quien;
                continue;
            }
            ++esperados;
            ASSERT_TRUE(caja && pagina->isAncestorOf(caja)) << quien;
            EXPECT_EQ(pagina->findChildren<QWidget*>(caja->objectName()).size(), 1) << quien;
            if (f.name == u("AUTO"))
                continue; // the mode button's caption is the mode
            if (auto* b = qobject_cast<QCheckBox*>(caja)) {
                EXPECT_EQ(b->text(), FormularioCampos::rotulo(f)) << quien;
                continue;
            }
            const auto r = std::find_if(rotulos.begin(), rotulos.end(),
                                        [caja](QLabel* l) { return l->buddy() == caja; });
            ASSERT_NE(r, rotulos.end()) << quien << " sin rótulo";
            EXPECT_EQ((*r)->text(), FormularioCampos::rotulo(f)) << quien;
        }
        EXPECT_EQ(enlace->campos().size(), esperados) << tabla.name.toStdString();
    }
    PaginaEnsayos* ensayos = t.paginaEnsayos();
    const QList<std::pair<const char*, const char*>> elementos = {
        {"txtFields_83", "Hidrógeno"}, {"txtFields_68", "%_Inhibidor"}, {"txtFields_101", "TOTAL PCB"},
        {"chkFieldsEns_0", "EFQ"},     {"chkFieldsEns_6", "FD"},        {"chkFieldsEns_8", "IN"},
        {"Combo10_25", "Sedimentos"}};
    for (const auto& [nombre, campo] : elementos)
        EXPECT_EQ(ensayos->enlace()->caja(u(campo)), ensayos->findChild<QWidget*>(u(nombre))) << nombre;
    EXPECT_EQ(t.paginaRevision()->enlace()->caja(u("SEC  / PRIM A TIERRA 10'")),
              t.paginaRevision()->findChild<QWidget*>(u("txtFieldsM_5")));
    EXPECT_EQ(qobject_cast<QCheckBox*>(ensayos->enlace()->caja(u("FD")))->text(),
              u("Forzar Diagnóstico (Dudoso)"));
    // The test voltage has its unit after the box.
    QWidget* tension = t.paginaRevision()->enlace()->caja(u("TENSION"));
    auto* voltios = t.paginaRevision()->findChild<QLabel*>(u("unidad_TENSION"));
    ASSERT_TRUE(tension && voltios);
    EXPECT_EQ(voltios->text(), u("V"));
    EXPECT_EQ(voltios->parentWidget(), tension->parentWidget());
    QLayout* juntos = voltios->parentWidget()->layout();
    ASSERT_TRUE(juntos);
    EXPECT_GT(juntos->indexOf(voltios), juntos->indexOf(tension));
}

// Every test shown enables the boxes of its ticked groups; ticking a group's box changes its
// own boxes and no others, the inhibitor box follows IN and the sludge list LD.
TEST(Ventana, CadaCasillaDeGrupoHabilitaSusCajas)
{
    Planta p;
    PaginaEnsayos* e = p.trafo().paginaEnsayos();
    const QList<std::pair<int, QList<int>>> grupos = {{0, {41, 43, 62, 63, 64, 65, 66, 67}},
                                                      {1, {71, 72, 73, 74, 75, 76}},
                                                      {2, {77, 78, 79, 80, 81, 82}},
                                                      {3, {94, 95, 96}},
                                                      {4, {97, 98, 99, 100, 101}},
                                                      {5, {83, 84, 85, 86, 87, 88, 89, 90, 91, 92, 93}},
                                                      {8, {68}}};
    auto habilitadas = [e] {
        QList<int> out;
        for (int i = 41; i <= 101; ++i)
            if (QWidget* c = e->cajaTxt(i); c && c->isEnabled())
                out << i;
        return out;
    };
    auto juntas = [&](std::initializer_list<int> indices) {
        QList<int> out;
        for (int g : indices)
            for (const auto& [casilla, cajas] : grupos)
                if (casilla == g)
                    out << cajas;
        std::sort(out.begin(), out.end());
        return out;
    };
    QWidget* lodos = e->enlace()->caja(u("Sedimentos"));
    // Test 1 of transformer 10: EFQ, GAS and PCB.
    EXPECT_EQ(habilitadas(), juntas({0, 4, 5}));
    EXPECT_FALSE(lodos->isEnabled());
    // Transformer 30's test: GAS, IN and LD, and its sludge shown from the list.
    p.pulsar(e->barra(), BarraNavegacion::Ultimo);
    EXPECT_EQ(habilitadas(), juntas({5, 8}));
    EXPECT_TRUE(lodos->isEnabled());
    EXPECT_EQ(qobject_cast<QComboBox*>(lodos)->currentText(), u("MEDIA"));

    p.pulsar(e->barra(), BarraNavegacion::Primero);
    for (const auto& [casilla, cajas] : grupos) {
        QList<int> despues = habilitadas();
        auto* b = qobject_cast<QAbstractButton*>(e->casilla(casilla));
        ASSERT_TRUE(b) << casilla;
        const bool ahora = !b->isChecked();
        b->click();
        for (const int c : cajas) {
            despues.removeAll(c);
            if (ahora)
                despues << c;
        }
        std::sort(despues.begin(), despues.end());
        EXPECT_EQ(habilitadas(), despues) << "casilla " << casilla;
    }
    qobject_cast<QAbstractButton*>(e->casilla(7))->click();
    EXPECT_TRUE(lodos->isEnabled());
}

// The state area follows the transformer: manual unlocks state and severity, and all eight
// lights (six on the record tabs, PRIORIDADES and BUSCAR) show its state, painted.
TEST(Ventana, ModoManualYLasOchoLuces)
{
    Planta p;
    Trafo& t = p.trafo();
    PaginaTrafos* trafos = t.paginaTrafos();
    const QList<QWidget*> luces = t.luces();
    ASSERT_EQ(luces.size(), 8);
    const struct
    {
        const char* codigo;
        const char* boton;
        bool manual;
        int estado;
        const char* gravedad;
    } casos[] = {{"10", "Manual", true, 3, "12.5"},
                 {"20", "Automático", false, 1, "0"},
                 {"30", "Automático", false, 2, "4"}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.codigo);
        ASSERT_EQ(p.codigo(p.vistas.Data1), u(c.codigo));
        EXPECT_EQ(trafos->botonModo()->text(), u(c.boton));
        EXPECT_EQ(trafos->listaEstado()->isEnabled(), c.manual);
        EXPECT_EQ(trafos->cajaGravedad()->isReadOnly(), !c.manual);
        EXPECT_EQ(trafos->listaEstado()->currentIndex(), c.estado);
        EXPECT_EQ(trafos->cajaGravedad()->text(), u(c.gravedad));
        const QColor lampara = lumerix::SemaforoLuz::lookFor(c.estado, {}).lamp;
        for (QWidget* l : luces) {
            const QImage img = l->grab().toImage();
            EXPECT_EQ(img.pixelColor(img.width() / 2, img.height() / 2).rgb(), lampara.rgb())
                << l->objectName().toStdString();
        }
        p.pulsar(trafos->barra(), BarraNavegacion::Siguiente);
    }
    // A click switches an automatic transformer to manual at once.
    QTest::mouseClick(trafos->botonModo(), Qt::LeftButton);
    EXPECT_EQ(trafos->botonModo()->text(), u("Manual"));
    EXPECT_TRUE(trafos->listaEstado()->isEnabled());
}

// Read-only mode hides every button that changes rows (RECONSTRUIR too), opens no calendar on
// a date box, and the tabs still align.
TEST(Ventana, SoloLecturaOcultaLosBotonesDeEdicionYSigueAlineando)
{
    for (const bool soloLectura : {false, true}) {
        SCOPED_TRACE(soloLectura);
        VentanaPrueba::Opciones o;
        o.soloLectura = soloLectura;
        Planta p(o);
        Trafo& t = p.trafo();
        EXPECT_EQ(etiqueta(t, "LabelModo"), soloLectura ? u("MODO: Solo Lectura") : u("MODO: Edición"));
        for (PaginaFechada* f : fechadas(t)) {
            for (const auto b : {PaginaFechada::Agregar, PaginaFechada::Eliminar, PaginaFechada::Guardar,
                                 PaginaFechada::Cancelar})
                EXPECT_EQ(f->boton(b)->isHidden(), soloLectura) << f->objectName().toStdString();
            EXPECT_FALSE(f->boton(PaginaFechada::Refrescar)->isHidden());
        }
        for (const auto b : {PaginaTrafos::Agregar, PaginaTrafos::Guardar, PaginaTrafos::GuardarAccesorios})
            EXPECT_EQ(t.paginaTrafos()->boton(b)->isHidden(), soloLectura);
        EXPECT_EQ(t.paginaPrioridades()->botonReconstruir()->isHidden(), soloLectura);
        EXPECT_EQ(p.vistas.Data1.isReadOnly(), soloLectura);

        // Nothing shown takes a change in read-only mode: a typed brand, the type list, a check
        // box, the mode button and, for a manual transformer, the state list.
        PaginaTrafos* trafos = t.paginaTrafos();
        t.tabs()->setCurrentWidget(trafos);
        QApplication::setActiveWindow(&t);
        auto* marca = qobject_cast<QLineEdit*>(trafos->enlace()->caja(u("MARCA")));
        marca->setFocus();
        QTest::keyClicks(marca, u("xy"));
        EXPECT_EQ(marca->text() == u("Tadeo"), soloLectura) << marca->text().toStdString();
        auto* tipo = qobject_cast<QComboBox*>(trafos->enlace()->caja(u("TIPO")));
        QTest::keyClicks(tipo->lineEdit(), u("zz"));
        EXPECT_EQ(tipo->currentText() == u("SECO"), soloLectura);
        // Transformer 10 is manual: its state and severity are editable only in edit mode.
        EXPECT_EQ(trafos->listaEstado()->isEnabled(), !soloLectura);
        EXPECT_EQ(trafos->cajaGravedad()->isReadOnly(), soloLectura);
        QTest::mouseClick(trafos->botonModo(), Qt::LeftButton);
        EXPECT_EQ(trafos->botonModo()->text(), soloLectura ? u("Manual") : u("Automático"));
        auto* efq = qobject_cast<QAbstractButton*>(t.paginaEnsayos()->casilla(0));
        t.tabs()->setCurrentWidget(t.paginaEnsayos());
        const bool marcada = efq->isChecked();
        QTest::mouseClick(efq, Qt::LeftButton, {}, QPoint(5, efq->height() / 2));
        EXPECT_EQ(efq->isChecked() == marcada, soloLectura);
        p.vistas.Data1.cancelUpdate();
        p.vistas.Data3.cancelUpdate();
        trafos->mostrarGuardado();

        p.pulsar(t.paginaTrafos()->barra(), BarraNavegacion::Siguiente);
        EXPECT_EQ(p.codigo(p.vistas.Data2), u("20"));
        EXPECT_TRUE(t.paginaEnsayos()->sinRegistros());
        t.tabs()->setCurrentWidget(t.paginaRevision());
        QLineEdit* fecha = p.caja(t.paginaRevision(), u("FECHA"));
        QTest::mouseClick(fecha, Qt::LeftButton);
        EXPECT_EQ(p.calendarios, soloLectura ? 0 : 1);
        EXPECT_EQ(fecha->text(), soloLectura ? u("10/01/2024") : u("04/03/2026"));
    }
}

// The window puts the keystroke checkers on the test's boxes with the system's separator, and
// Enter in the last box of a sub-tab brings up the next one.
TEST(Ventana, LasCajasDelEnsayoSeCompruebanAlTeclear)
{
    Planta p;
    PaginaEnsayos* ensayos = p.trafo().paginaEnsayos();
    p.trafo().tabs()->setCurrentWidget(ensayos);
    QTabWidget* detalle = ensayos->detalle();
    detalle->setCurrentIndex(0);
    QApplication::setActiveWindow(&p.trafo());
    QLineEdit* acidez = p.caja(ensayos, u("Acidez"));
    auto* entrada = acidez->findChild<EntradaValidada*>();
    ASSERT_TRUE(entrada);
    entrada->setSeparatorProvider([] { return QLatin1Char(','); });
    acidez->setFocus();
    QTRY_VERIFY(acidez->hasFocus());
    acidez->selectAll();
    QTest::keyClicks(acidez, u("1.5"));
    EXPECT_EQ(acidez->text(), u("1,5"));
    EXPECT_TRUE(p.mensajes.shown.isEmpty());
    for (const auto& [caja, pestana] : {std::pair{91, "GASES"}, std::pair{101, "OBSERVACION"}}) {
        detalle->setCurrentIndex(0);
        QTest::keyClick(ensayos->cajaTxt(caja), Qt::Key_Return);
        EXPECT_EQ(detalle->tabText(detalle->currentIndex()), u(pestana));
    }
    // Boxes without a checker, lists included, also select their text on entry and take Enter
    // as Tab.
    PaginaTrafos* trafos = p.trafo().paginaTrafos();
    const std::pair<QWidget*, EnlaceCampos*> cajas[] = {
        {ensayos, ensayos->enlace()}, {trafos, trafos->enlace()}, {trafos, trafos->enlace()}};
    const char* campos[] = {"EMPRESA", "AREA", "TIPO AISLANTE"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(campos[i]);
        p.trafo().tabs()->setCurrentWidget(cajas[i].first);
        QWidget* caja = cajas[i].second->caja(u(campos[i]));
        auto* lista = qobject_cast<QComboBox*>(caja);
        QLineEdit* texto = lista ? lista->lineEdit() : qobject_cast<QLineEdit*>(caja);
        ASSERT_TRUE(texto);
        texto->setText(u("Ñandú 3"));
        caja->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(caja->hasFocus());
        QTRY_COMPARE(texto->selectedText(), u("Ñandú 3"));
        QTest::keyClick(caja, Qt::Key_Return);
        EXPECT_FALSE(caja->hasFocus());
        EXPECT_EQ(texto->text(), u("Ñandú 3"));
    }
}

// The grid shows every column of the table and reads only the rows it paints.
TEST(Ventana, LaTablaMuestraTodasLasColumnasSinRetenerTodasLasFilas)
{
    Planta p;
    p.datos.exec(u("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                   "INSERT INTO Ensayos (\"Código\", Fecha, Diel) SELECT 1000 + i, '2024-01-02', i FROM n"));
    ASSERT_TRUE(p.vistas.Data3.refresh().ok());
    TablaRegistros* tabla = p.trafo().paginaEnsayos()->tabla();
    ModeloTabla* m = tabla->modelo();
    EXPECT_EQ(m->rowCount(), 3003);
    EXPECT_EQ(m->columnCount(), schema::ensayos().fields.size());
    const int diel = schema::ensayos().fieldIndex(u("Diel"));
    EXPECT_EQ(m->data(m->index(3002, diel)).toString(), u("3000"));
    EXPECT_EQ(m->data(m->index(3002, schema::ensayos().fieldIndex(u("Fecha")))).toString(), u("02/01/24"));
    EXPECT_EQ(m->data(m->index(0, schema::ensayos().fieldIndex(u("EFQ")))).toString(), u("Sí"));
    EXPECT_LE(p.vistas.Data3.cachedRowCount(), RecordView::kCacheRows);
    ASSERT_TRUE(p.vistas.Data3.setAbsolutePosition(1500).ok());
    ASSERT_EQ(tabla->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(tabla->selectionModel()->selectedRows().first().row(), 1500);
}

// ---- The window around the tabs ----------------------------------------------------------

// Salir runs once whether by the button or by closing, lets go of the data file and ends the
// program; a window closed only to be loaded again keeps both.
TEST(Ventana, SalirUnaVezYLaRecargaConservaLosDatos)
{
    for (const bool recarga : {false, true}) {
        Planta p;
        int terminado = 0, alSalir = 0;
        p.trafo().setTerminar([&] { ++terminado; });
        p.trafo().setAlSalir([&] { ++alSalir; });
        p.estado.RecargaEnCurso = recarga;
        if (!recarga)
            QTest::mouseClick(p.trafo().findChild<QPushButton*>(u("Command9")), Qt::LeftButton);
        p.trafo().close();
        EXPECT_EQ(alSalir, 1);
        EXPECT_EQ(terminado, recarga ? 0 : 1);
        EXPECT_EQ(bool(p.vistas.database()), recarga);
        EXPECT_FALSE(p.trafo().isVisible());
    }
}

TEST(Ventana, BotonesDeHerramientasYEnlaces)
{
    Planta p;
    Trafo& t = p.trafo();
    QList<QUrl> enlaces;
    t.setAbrirEnlace([&](const QUrl& url) { enlaces << url; });
    t.tabs()->setCurrentWidget(t.paginaHerramientas());
    QPushButton* respaldo = t.paginaHerramientas()->boton(PaginaHerramientas::RealizarBackup);
    // A button without a window to open is disabled; giving it one enables it.
    EXPECT_FALSE(respaldo->isEnabled());
    int veces = 0;
    t.setComandoHerramientas(PaginaHerramientas::RealizarBackup, [&] { ++veces; });
    QTest::mouseClick(respaldo, Qt::LeftButton);
    EXPECT_EQ(veces, 1);
    t.setComandoHerramientas(PaginaHerramientas::RealizarBackup, nullptr);
    EXPECT_FALSE(respaldo->isEnabled());

    QTest::mouseClick(t.paginaHerramientas()->boton(PaginaHerramientas::BuscarActualizaciones),
                      Qt::LeftButton);
    auto* enlace = t.findChild<QLabel*>(u("Label7"));
    QTest::mouseClick(enlace, Qt::LeftButton, {}, enlace->rect().center());
    EXPECT_EQ(enlaces, (QList<QUrl>{Trafo::direccionWeb().resolved(QUrl(u("index_archivos/Quorvela.htm"))),
                                    Trafo::direccionWeb()}));
}

// A window too small for the tab control keeps every piece inside it.
TEST(Ventana, UnaVentanaChicaConservaTodoAdentro)
{
    const DisposicionTrafo::Piezas p{{1000, 580}, {1000, 48}, {120, 18}, {300, 18}, {140, 18}};
    const QSize minimo = DisposicionTrafo::minimo(p, 96);
    for (const QSize ventana : {QSize(1000, 600), QSize(900, 500), minimo, QSize(1366, 768)}) {
        const auto g = DisposicionTrafo::calcular(ventana, p, 96);
        EXPECT_GE(g.tabs.x(), 0);
        EXPECT_GE(g.tabs.y(), 0);
        if (ventana.height() >= minimo.height()) {
            EXPECT_LE(g.carpeta.bottom(), ventana.height() - 1) << ventana.height();
        }
    }
}

// Opening the views runs none of their handlers; re-opening on another folder resets the
// selections, drops parked views and edits, and aligns the window on the new file.
TEST(Ventana, ReabrirEnOtraCarpetaEmpiezaDeNuevo)
{
    Planta p;
    TempData otra;
    otra.exec(u("INSERT INTO Trafoge (\"CÓDIGO\") VALUES (1), (2)"));
    QList<bool> reposicionAlAbrir;
    QObject::connect(&p.vistas.Data1, &RecordView::repositioned,
                     [&] { reposicionAlAbrir << p.estado.ReposicionActiva.activo(); });
    ASSERT_TRUE(p.trafo().alineacion()->aparcada(Alineacion::Vista::Revision));
    p.estado.FormulaTrafo = u("[CÓDIGO]=2");
    p.estado.OperadorFecha = u(">");
    p.trafo().edicion()->agregar(Alineacion::Vista::Ensayos);
    ASSERT_TRUE(p.trafo().edicion()->agregando(Alineacion::Vista::Ensayos));

    ASSERT_TRUE(p.trafo().reabrir(otra.folder()).ok());
    EXPECT_EQ(p.estado.RutaBase, otra.file());
    EXPECT_EQ(p.estado.FormulaTrafo, u("1=1"));
    EXPECT_EQ(p.estado.OperadorFecha, u("="));
    ASSERT_FALSE(reposicionAlAbrir.isEmpty());
    EXPECT_FALSE(reposicionAlAbrir.first()) << "opening the views must not run their handlers";
    EXPECT_TRUE(p.estado.SincronizacionActiva);
    EXPECT_TRUE(p.estado.ReposicionActiva);
    EXPECT_EQ(p.vistas.Data1.value(0).toInt(), 1);
    EXPECT_EQ(p.vistas.Data1.recordCount(), 2);
    EXPECT_FALSE(p.trafo().alineacion()->aparcada(Alineacion::Vista::Revision));
    EXPECT_FALSE(p.trafo().edicion()->agregando(Alineacion::Vista::Ensayos));
    EXPECT_EQ(etiqueta(p.trafo(), "LabelCarpeta"), u("Dirección BD: ") + otra.folder());

    // A folder without a data file leaves empty views, reports why, and keeps the switches.
    QTemporaryDir vacia;
    EXPECT_FALSE(p.trafo().reabrir(vacia.path()).ok());
    EXPECT_FALSE(p.vistas.database());
    EXPECT_EQ(p.vistas.Data1.recordCount(), 0);
    EXPECT_TRUE(p.estado.ReposicionActiva);
}
