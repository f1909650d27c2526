// The rich-text notes with their formatting buttons, alone and on the record tabs bound to a
// data file, and the CALENDARIO sub-tabs of the dated tabs.
#include "app/logic/RunState.h"
#include "records/logic/DataViews.h"
#include "records/ui/BotonesTexto.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/PaginaCalendario.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaRevision.h"
#include "records/ui/PaginaTrafos.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QListView>
#include <QTabWidget>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// A box holding "uno" and "dos" (with or without a blank between), all of it selected, its
// buttons, and the focus in another box.
struct Caja
{
    explicit Caja(const char* html)
    {
        caja->setHtml(u(html));
        caja->selectAll();
        ventana.show();
        QApplication::setActiveWindow(&ventana);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&ventana));
        otra->setFocus();
    }
    void pulsar(BotonesTexto::Boton b) { QTest::mouseClick(botones->boton(b), Qt::LeftButton); }
    // The formats of a letter of "uno" and of the last letter.
    QList<QTextCharFormat> formatos() const
    {
        QTextCursor uno(caja->document()), fin(caja->document());
        uno.setPosition(2);
        fin.movePosition(QTextCursor::End);
        return {uno.charFormat(), fin.charFormat()};
    }

    QWidget ventana;
    QTextEdit* caja = new QTextEdit(&ventana);
    BotonesTexto* botones = new BotonesTexto(caja, &ventana);
    QLineEdit* otra = new QLineEdit(&ventana);
};

// "Name size" and the styles a font has.
QString describir(const QFont& f)
{
    return f.family() + QLatin1Char(' ') + QString::number(f.pointSizeF()) +
           (f.bold() ? u(" negrita") : QString()) + (f.italic() ? u(" cursiva") : QString()) +
           (f.underline() ? u(" subrayada") : QString());
}

// The four tabs as the main window holds them, the calendars linked. Transformer 2's test
// dates are not transformer 1's, one date is shared by both, one test is of the last century
// and one has no date.
struct Paginas
{
    Paginas()
    {
        datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", AREA) VALUES (1, 'Norte'), (2, 'Sur')"));
        datos.exec(u("INSERT INTO Revision (\"CÓDIGO\", FECHA) VALUES (1, '2026-12-05'), (2, '2025-03-01')"));
        datos.exec(u("INSERT INTO Ensayos (\"Código\", Fecha) VALUES (1, '2026-11-20'), (1, '2024-07-15'), "
                     "(2, '2026-10-02'), (2, '2024-07-15'), (2, '1998-05-04'), (2, NULL)"));
        datos.exec(u("INSERT INTO Mantenimiento (\"Código\", Fecha) VALUES (1, '2026-06-30')"));
        vistas.openAll(datos.open(), false);
        trafos.enlazar(vistas.Data1);
        for (int i = 0; i < 3; ++i) {
            fechadas[i]->enlazar(*vistas.data(2 + i), vistas.Data1);
            fechadas[i]->setCalendario(estado, *vistas.data(8 - i));
            calendarios << fechadas[i]->calendario();
        }
        PaginaCalendario::enlazarCalendarios(calendarios);
    }
    ~Paginas() { vistas.closeAll(); }

    QList<QDate> dias() const
    {
        QList<QDate> out;
        for (PaginaCalendario* p : calendarios)
            out << p->calendario()->selectedDate();
        return out;
    }
    static QStringList fechasDe(PaginaCalendario* p)
    {
        QStringList out;
        for (int i = 0; i < p->listaFechas()->model()->rowCount(); ++i)
            out << p->textoFila(i);
        return out;
    }
    // The users' notes of the four tabs.
    QList<QTextEdit*> notas()
    {
        return {nota(trafos.enlace(), "OTROS"), nota(revision.enlace(), "OBS GENERALES"),
                nota(ensayos.enlace(), "Observaciones"), nota(mantenimiento.enlace(), "Observaciones")};
    }
    static QTextEdit* nota(EnlaceCampos* enlace, const char* campo)
    {
        return qobject_cast<QTextEdit*>(enlace->caja(u(campo)));
    }
    static BotonesTexto* botonesDe(QTextEdit* caja)
    {
        for (BotonesTexto* b : caja->window()->findChildren<BotonesTexto*>())
            if (b->caja() == caja)
                return b;
        return nullptr;
    }

    TempData datos;
    RunState estado;
    DataViews vistas{estado};
    PaginaTrafos trafos;
    PaginaRevision revision;
    PaginaEnsayos ensayos{estado};
    PaginaMantenimiento mantenimiento;
    const QList<PaginaFechada*> fechadas{&revision, &ensayos, &mantenimiento};
    QList<PaginaCalendario*> calendarios;
};

void abrirCalendario(PaginaFechada* tab)
{
    tab->subtabs()->setCurrentIndex(0);
    tab->subtabs()->setCurrentIndex(3);
}

} // namespace

TEST(BotonesTexto, TogglesInvertTheSelectionAndAMixedSelectionBecomesSet)
{
    const struct
    {
        BotonesTexto::Boton boton;
        const char* html;
        std::function<bool(const QTextCharFormat&)> tiene;
    } casos[] = {
        {BotonesTexto::Negrita, "<b>uno</b> dos",
         [](const auto& f) { return f.fontWeight() >= QFont::Bold; }},
        {BotonesTexto::Cursiva, "<i>uno</i> dos", [](const auto& f) { return f.fontItalic(); }},
        {BotonesTexto::Subrayar, "<u>uno</u> dos", [](const auto& f) { return f.fontUnderline(); }},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.html);
        Caja c(caso.html);
        const auto estado = [&] {
            QList<bool> out;
            for (const QTextCharFormat& f : c.formatos())
                out << caso.tiene(f);
            return out;
        };
        ASSERT_EQ(estado(), (QList<bool>{true, false}));
        c.pulsar(caso.boton);
        EXPECT_EQ(estado(), (QList<bool>{true, true}));
        EXPECT_EQ(QApplication::focusWidget(), c.caja);
        c.pulsar(caso.boton);
        EXPECT_EQ(estado(), (QList<bool>{false, false}));
        // Only the selection changes.
        QTextCursor dos = c.caja->textCursor();
        dos.setPosition(4);
        dos.setPosition(7, QTextCursor::KeepAnchor);
        c.caja->setTextCursor(dos);
        c.pulsar(caso.boton);
        EXPECT_EQ(estado(), (QList<bool>{false, true}));
        EXPECT_EQ(c.caja->toPlainText(), u("uno dos"));
    }
}

TEST(BotonesTexto, FontAndColourStartFromTheSelectionAndApplyTheChoice)
{
    // The font starts as Arial, 10, not bold, not italic for each value the selection mixes:
    // name and italic mix in the first box, size and bold in the second. Mixed colours start black.
    const char* primera =
        "<span style=\"font-family:Courier; font-size:14pt; font-weight:700\">uno</span>"
        "<span style=\"font-family:Times; font-size:14pt; font-weight:700; font-style:italic\">dos</span>";
    const char* segunda =
        "<span style=\"font-family:Courier; font-size:9pt; font-style:italic\">uno</span>"
        "<span style=\"font-family:Courier; font-size:12pt; font-weight:700; font-style:italic\">dos</span>";
    const char* colores = "<span style=\"color:#c00000\">uno</span><span style=\"color:#00a000\"> dos</span>";
    const struct
    {
        BotonesTexto::Boton boton;
        const char* html;
        const char* inicial;
        bool cancelar = false;
    } casos[] = {
        {BotonesTexto::Fuente, primera, "Arial 14 negrita"},
        {BotonesTexto::Fuente, segunda, "Courier 10 cursiva"},
        {BotonesTexto::Fuente, primera, "Arial 14 negrita", true},
        {BotonesTexto::Color, "<span style=\"color:#c00000\">uno dos</span>", "#c00000"},
        {BotonesTexto::Color, colores, "#000000"},
        {BotonesTexto::Color, colores, "#000000", true},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.html);
        Caja c(caso.html);
        const QString antes = c.caja->toHtml();
        QString recibido;
        c.botones->setDialogoFuente([&](const QFont& inicial, QWidget*) {
            recibido = describir(inicial);
            QFont elegida(u("Courier New"), 16, QFont::Bold, true);
            elegida.setUnderline(true);
            return caso.cancelar ? std::nullopt : std::optional<QFont>(elegida);
        });
        c.botones->setDialogoColor([&](const QColor& inicial, QWidget*) {
            recibido = inicial.name();
            return caso.cancelar ? std::nullopt : std::optional<QColor>(QColor(0x00, 0x40, 0xff));
        });
        c.pulsar(caso.boton);
        EXPECT_EQ(recibido, u(caso.inicial));
        EXPECT_EQ(QApplication::focusWidget(), c.caja);
        EXPECT_EQ(c.caja->toHtml() == antes, caso.cancelar);
        // Only name, size, bold and italic are taken from the font dialog.
        const bool fuente = caso.boton == BotonesTexto::Fuente;
        for (const QTextCharFormat& f : c.formatos()) {
            const QString aplicado = fuente ? describir(f.font()) : f.foreground().color().name();
            EXPECT_TRUE(caso.cancelar ||
                        aplicado == (fuente ? u("Courier New 16 negrita cursiva") : u("#0040ff")))
                << aplicado.toStdString();
        }
    }
}

TEST(Notas, TheUsersNotesHaveButtonsTheComputedMemosNotAndReadOnlyLocksThem)
{
    Paginas p;
    for (const char* calculado : {"DIAGNOSTICO", "RESUMEN OBS"}) {
        QTextEdit* caja = Paginas::nota(p.trafos.enlace(), calculado);
        ASSERT_TRUE(caja) << calculado;
        EXPECT_TRUE(caja->isReadOnly()) << calculado;
        EXPECT_EQ(Paginas::botonesDe(caja), nullptr) << calculado;
    }
    for (const bool soloLectura : {false, true, false}) {
        p.trafos.setSoloLectura(soloLectura);
        for (PaginaFechada* tab : p.fechadas)
            tab->setSoloLectura(soloLectura);
        for (QTextEdit* caja : p.notas()) {
            ASSERT_TRUE(caja && Paginas::botonesDe(caja));
            SCOPED_TRACE(caja->window()->metaObject()->className());
            EXPECT_EQ(caja->isReadOnly(), soloLectura);
            EXPECT_EQ(Paginas::botonesDe(caja)->isHidden(), soloLectura);
        }
    }
}

TEST(Notas, BoldTypedInTheBoxIsStoredAsHtmlAndComesBackBold)
{
    Paginas p;
    p.revision.show();
    QApplication::setActiveWindow(&p.revision);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p.revision));
    QTextEdit* caja = p.notas()[1];
    caja->setFocus();
    QTest::keyClicks(caja, u("aceite bajo"));
    caja->selectAll();
    QTest::mouseClick(Paginas::botonesDe(caja)->boton(BotonesTexto::Negrita), Qt::LeftButton);

    ASSERT_TRUE(p.vistas.Data2.moveNext().ok()); // leaving the row saves it
    const QList<QVariantList> filas =
        queryRows(*p.datos.open(true), u("SELECT \"OBS GENERALES\" FROM Revision WHERE \"CÓDIGO\" = 1"));
    ASSERT_EQ(filas.size(), 1);
    const QString html = filas[0][0].toString();
    EXPECT_TRUE(Qt::mightBeRichText(html) && html.contains(u("font-weight:700")) &&
                html.contains(u("aceite bajo")))
        << html.toStdString();

    // The next record's notes start plain: what is typed there is stored without the bold.
    caja->setFocus();
    QTest::keyClicks(caja, u("nuevo"));
    ASSERT_TRUE(p.vistas.Data2.movePrevious().ok());
    const QString otra =
        queryRows(*p.datos.open(true), u("SELECT \"OBS GENERALES\" FROM Revision WHERE \"CÓDIGO\" = 2"))
            .value(0)
            .value(0)
            .toString();
    EXPECT_TRUE(otra.contains(u("nuevo")) && !otra.contains(u("font-weight:700"))) << otra.toStdString();
    EXPECT_EQ(caja->toPlainText(), u("aceite bajo"));
    QTextCursor cursor(caja->document());
    cursor.setPosition(11); // after the last letter
    EXPECT_GE(cursor.charFormat().fontWeight(), QFont::Bold);
}

TEST(Calendario, SelectingThePageReadsEveryDateOfTheTableAgainWithRepositionOff)
{
    for (const bool reposicion : {true, false}) {
        SCOPED_TRACE(reposicion);
        Paginas p;
        Interruptor::Mientras valor(p.estado.ReposicionActiva, reposicion);
        // A search left another source on the view, and a row came after.
        p.vistas.Data6.setRecordSource(u("SELECT DISTINCT [Fecha]  FROM mantenimiento WHERE 1=0"));
        ASSERT_TRUE(p.vistas.Data6.refresh().ok());
        p.datos.exec(u("INSERT INTO Mantenimiento (\"Código\", Fecha) VALUES (2, '2027-01-09')"));
        QList<bool> durante;
        for (RecordView* v : {&p.vistas.Data6, &p.vistas.Data7, &p.vistas.Data8})
            QObject::connect(v, &RecordView::repositioned, v,
                             [&] { durante << p.estado.ReposicionActiva.activo(); });
        // The test view stands on transformer 1; its list still has every transformer's dates.
        ASSERT_EQ(p.vistas.Data3.value(u("Código")).toInt(), 1);
        const QList<QStringList> esperadas = {
            {u("01/03/25"), u("05/12/26")},
            {QString(), u("02/10/26"), u("04/05/98"), u("15/07/24"), u("20/11/26")},
            {u("09/01/27"), u("30/06/26")}};
        for (int i = 0; i < 3; ++i) {
            abrirCalendario(p.fechadas[i]);
            QStringList fechas = Paginas::fechasDe(p.calendarios[i]);
            fechas.sort();
            EXPECT_EQ(fechas, esperadas[i]) << i;
        }
        EXPECT_FALSE(durante.isEmpty());
        EXPECT_FALSE(durante.contains(true));
        EXPECT_EQ(p.estado.ReposicionActiva.activo(), reposicion);
    }
}

TEST(Calendario, ADateChosenInAnyListOrCalendarSetsAllThree)
{
    Paginas p;
    for (PaginaFechada* tab : p.fechadas) {
        tab->show();
        abrirCalendario(tab);
    }
    const struct
    {
        int pagina;
        const char*
            fila; // in the list (empty: the row without a date, which changes nothing); none: on the calendar
        QDate dia;
    } casos[] = {{0, "01/03/25", QDate(2025, 3, 1)}, {1, "20/11/26", QDate(2026, 11, 20)},
                 {1, "04/05/98", QDate(1998, 5, 4)}, {2, "30/06/26", QDate(2026, 6, 30)},
                 {1, "", QDate(2026, 6, 30)},        {0, nullptr, QDate(2026, 12, 6)},
                 {1, nullptr, QDate(2019, 2, 28)},   {2, nullptr, QDate(2030, 1, 1)}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.fila ? c.fila : "calendar");
        PaginaCalendario* pagina = p.calendarios[c.pagina];
        if (!c.fila) {
            pagina->calendario()->setSelectedDate(c.dia);
        } else {
            const int fila = Paginas::fechasDe(pagina).indexOf(u(c.fila));
            ASSERT_GE(fila, 0);
            QListView* lista = pagina->listaFechas();
            QTest::mouseClick(lista->viewport(), Qt::LeftButton, {},
                              lista->visualRect(lista->model()->index(fila, 0)).center());
        }
        EXPECT_EQ(p.dias(), QList<QDate>(3, c.dia));
    }
    // The month is named in Spanish whatever the system's language: January is shown now.
    QStringList textos;
    for (QToolButton* b : p.calendarios[0]->calendario()->findChildren<QToolButton*>())
        textos << b->text();
    EXPECT_TRUE(textos.contains(u("enero"))) << textos.join(u(",")).toStdString();
}
