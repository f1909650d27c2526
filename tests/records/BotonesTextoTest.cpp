#include "records/ui/BotonesTexto.h"
#include "app/logic/RunState.h"
#include "data/logic/Database.h"
#include "records/logic/DataViews.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/PaginaEnsayos.h"
#include "records/ui/PaginaMantenimiento.h"
#include "records/ui/PaginaRevision.h"
#include "records/ui/PaginaTrafos.h"
#include "tests/support/TempData.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

// The formats of every non-empty fragment of the box, in order.
QList<QTextCharFormat> formatos(const QTextEdit& caja)
{
    QList<QTextCharFormat> out;
    for (QTextBlock b = caja.document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().length() > 0)
                out << it.fragment().charFormat();
    return out;
}

// A box with its buttons and another box to take the focus away.
struct Caja
{
    explicit Caja(const QString& html)
    {
        auto* vertical = new QVBoxLayout(&ventana);
        caja = new QTextEdit(&ventana);
        botones = new BotonesTexto(caja, &ventana);
        otra = new QLineEdit(&ventana);
        vertical->addWidget(caja);
        vertical->addWidget(botones);
        vertical->addWidget(otra);
        caja->setHtml(html);
        caja->selectAll();
        ventana.show();
        QApplication::setActiveWindow(&ventana);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&ventana));
        otra->setFocus();
    }
    void pulsar(BotonesTexto::Boton b) { QTest::mouseClick(botones->boton(b), Qt::LeftButton); }

    QWidget ventana;
    QTextEdit* caja = nullptr;
    BotonesTexto* botones = nullptr;
    QLineEdit* otra = nullptr;
};

TEST(BotonesTexto, TogglesInvertTheSelectionAndAMixedSelectionBecomesSet)
{
    struct Caso
    {
        const char* nombre;
        BotonesTexto::Boton boton;
        const char* html; // "uno" carries the property, "dos" does not
        std::function<bool(const QTextCharFormat&)> tiene;
    };
    const QList<Caso> casos = {
        {"Negrita", BotonesTexto::Negrita, "<b>uno</b> dos",
         [](const QTextCharFormat& f) { return f.fontWeight() >= QFont::Bold; }},
        {"Cursiva", BotonesTexto::Cursiva, "<i>uno</i> dos",
         [](const QTextCharFormat& f) { return f.fontItalic(); }},
        {"Subrayar", BotonesTexto::Subrayar, "<u>uno</u> dos",
         [](const QTextCharFormat& f) { return f.fontUnderline(); }},
    };
    for (const Caso& caso : casos) {
        Caja c(u(caso.html));
        EXPECT_EQ(c.botones->boton(caso.boton)->toolTip(), u(caso.nombre));
        auto todos = [&](bool valor) {
            const QList<QTextCharFormat> fs = formatos(*c.caja);
            return !fs.isEmpty() && std::all_of(fs.begin(), fs.end(), [&](const QTextCharFormat& f) {
                return caso.tiene(f) == valor;
            });
        };
        ASSERT_FALSE(todos(true) || todos(false)) << caso.nombre;
        c.pulsar(caso.boton);
        EXPECT_TRUE(todos(true)) << caso.nombre;
        EXPECT_EQ(QApplication::focusWidget(), c.caja) << caso.nombre;
        c.pulsar(caso.boton);
        EXPECT_TRUE(todos(false)) << caso.nombre;
        EXPECT_EQ(c.caja->toPlainText(), u("uno dos")) << caso.nombre;
    }
}

TEST(BotonesTexto, OnlyTheSelectionChanges)
{
    Caja c(u("uno dos"));
    QTextCursor cursor = c.caja->textCursor();
    cursor.setPosition(4);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    c.caja->setTextCursor(cursor);
    c.pulsar(BotonesTexto::Negrita);
    const QList<QTextCharFormat> fs = formatos(*c.caja);
    ASSERT_EQ(fs.size(), 2);
    EXPECT_LT(fs[0].fontWeight(), QFont::Bold);
    EXPECT_GE(fs[1].fontWeight(), QFont::Bold);
}

TEST(BotonesTexto, FontPresetsFromTheSelectionOrArialTenWhereItMixes)
{
    struct Caso
    {
        const char* html;
        QString familia;
        double tamano;
        bool negrita;
        bool cursiva;
    };
    const QList<Caso> casos = {
        {"<span style=\"font-family:Courier; font-size:14pt; font-weight:700\">uno</span>"
         "<span style=\"font-family:Times; font-size:8pt; font-style:italic\">dos</span>",
         u("Arial"), 10, false, false},
        {"<span style=\"font-family:Times; font-size:14pt; font-weight:700; font-style:italic\">uno</span>"
         "<span style=\"font-family:Times; font-size:14pt; font-weight:700; font-style:italic\"> dos</span>",
         u("Times"), 14, true, true},
        // Only the size mixes: the rest comes from the selection.
        {"<span style=\"font-family:Courier; font-size:9pt; font-weight:700\">uno</span>"
         "<span style=\"font-family:Courier; font-size:12pt; font-weight:700\">dos</span>",
         u("Courier"), 10, true, false},
    };
    for (const Caso& caso : casos) {
        Caja c(u(caso.html));
        std::optional<QFont> recibida;
        QFont elegida(u("Courier New"), 16);
        elegida.setBold(true);
        elegida.setItalic(true);
        elegida.setUnderline(true);
        c.botones->setDialogoFuente([&](const QFont& inicial, QWidget*) {
            recibida = inicial;
            return std::optional<QFont>(elegida);
        });
        c.pulsar(BotonesTexto::Fuente);
        ASSERT_TRUE(recibida.has_value()) << caso.html;
        EXPECT_EQ(recibida->family(), caso.familia) << caso.html;
        EXPECT_DOUBLE_EQ(recibida->pointSizeF(), caso.tamano) << caso.html;
        EXPECT_EQ(recibida->bold(), caso.negrita) << caso.html;
        EXPECT_EQ(recibida->italic(), caso.cursiva) << caso.html;
        for (const QTextCharFormat& f : formatos(*c.caja)) {
            EXPECT_EQ(f.font().family(), u("Courier New")) << caso.html;
            EXPECT_DOUBLE_EQ(f.fontPointSize(), 16) << caso.html;
            EXPECT_GE(f.fontWeight(), QFont::Bold) << caso.html;
            EXPECT_TRUE(f.fontItalic()) << caso.html;
            // Only name, size, bold and italic are taken from the dialog.
            EXPECT_FALSE(f.fontUnderline()) << caso.html;
        }
        EXPECT_EQ(QApplication::focusWidget(), c.caja) << caso.html;
    }
}

TEST(BotonesTexto, CancellingADialogChangesNothingAndGivesTheFocusBack)
{
    Caja c(u("<b>uno</b> dos"));
    const QString antes = c.caja->toHtml();
    c.botones->setDialogoFuente([](const QFont&, QWidget*) { return std::optional<QFont>(); });
    c.botones->setDialogoColor([](const QColor&, QWidget*) { return std::optional<QColor>(); });
    c.pulsar(BotonesTexto::Fuente);
    EXPECT_EQ(QApplication::focusWidget(), c.caja);
    c.otra->setFocus();
    c.pulsar(BotonesTexto::Color);
    EXPECT_EQ(QApplication::focusWidget(), c.caja);
    EXPECT_EQ(c.caja->toHtml(), antes);
}

TEST(BotonesTexto, ColorPresetsTheSelectionsColourAndAppliesTheChoice)
{
    struct Caso
    {
        const char* html;
        QColor inicial;
    };
    const QList<Caso> casos = {
        {"<span style=\"color:#c00000\">uno dos</span>", QColor(0xc0, 0x00, 0x00)},
        {"<span style=\"color:#c00000\">uno</span><span style=\"color:#00a000\"> dos</span>",
         QColor(Qt::black)},
    };
    for (const Caso& caso : casos) {
        Caja c(u(caso.html));
        QColor recibido;
        c.botones->setDialogoColor([&](const QColor& inicial, QWidget*) {
            recibido = inicial;
            return std::optional<QColor>(QColor(0x00, 0x40, 0xff));
        });
        c.pulsar(BotonesTexto::Color);
        EXPECT_EQ(recibido, caso.inicial) << caso.html;
        for (const QTextCharFormat& f : formatos(*c.caja))
            EXPECT_EQ(f.foreground().color(), QColor(0x00, 0x40, 0xff)) << caso.html;
        EXPECT_EQ(QApplication::focusWidget(), c.caja) << caso.html;
    }
}

// The four tabs bound to a data file with one row in each table.
struct Paginas
{
    explicit Paginas(bool soloLectura = false)
    {
        datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\", AREA, DIAGNOSTICO) VALUES (1, 'Norte', 'Sin fallas'), "
                     "(2, 'Sur', NULL)"));
        datos.exec(u("INSERT INTO Revision (\"CÓDIGO\", FECHA) VALUES (1, '2026-12-05'), (2, '2026-12-06')"));
        datos.exec(u("INSERT INTO Ensayos (\"Código\", Fecha) VALUES (1, '2026-11-20')"));
        datos.exec(u("INSERT INTO Mantenimiento (\"Código\", Fecha) VALUES (1, '2026-06-30')"));
        vistas.openAll(datos.open(soloLectura), soloLectura);
        trafos.enlazar(vistas.Data1);
        revision.enlazar(vistas.Data2, vistas.Data1);
        ensayos.enlazar(vistas.Data3, vistas.Data1);
        mantenimiento.enlazar(vistas.Data4, vistas.Data1);
    }
    ~Paginas() { vistas.closeAll(); }

    struct Memo
    {
        QWidget* pagina;
        EnlaceCampos* enlace;
        QString campo;
    };
    QList<Memo> editables()
    {
        return {{&trafos, trafos.enlace(), u("OTROS")},
                {&revision, revision.enlace(), u("OBS GENERALES")},
                {&ensayos, ensayos.enlace(), u("Observaciones")},
                {&mantenimiento, mantenimiento.enlace(), u("Observaciones")}};
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
    PaginaEnsayos ensayos;
    PaginaMantenimiento mantenimiento;
};

TEST(BotonesTexto, TheUsersNotesHaveButtonsAndComputedMemosStayLocked)
{
    Paginas p;
    for (const Paginas::Memo& m : p.editables()) {
        auto* caja = qobject_cast<QTextEdit*>(m.enlace->caja(m.campo));
        ASSERT_TRUE(caja) << m.campo.toStdString();
        EXPECT_FALSE(caja->isReadOnly()) << m.campo.toStdString();
        BotonesTexto* botones = Paginas::botonesDe(caja);
        ASSERT_TRUE(botones) << m.campo.toStdString();
        QStringList tips;
        for (int b = BotonesTexto::Negrita; b <= BotonesTexto::Color; ++b)
            tips << botones->boton(BotonesTexto::Boton(b))->toolTip();
        EXPECT_EQ(tips, (QStringList{u("Negrita"), u("Cursiva"), u("Subrayar"), u("Fuente"), u("Color")}));
    }
    for (const char* calculado : {"DIAGNOSTICO", "RESUMEN OBS"}) {
        auto* caja = qobject_cast<QTextEdit*>(p.trafos.enlace()->caja(u(calculado)));
        ASSERT_TRUE(caja) << calculado;
        EXPECT_TRUE(caja->isReadOnly()) << calculado;
        EXPECT_EQ(Paginas::botonesDe(caja), nullptr) << calculado;
    }
}

TEST(BotonesTexto, BoldTypedInTheBoxIsStoredAsHtmlAndComesBackBold)
{
    Paginas p;
    p.revision.resize(1000, 700);
    p.revision.show();
    QApplication::setActiveWindow(&p.revision);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p.revision));
    auto* caja = qobject_cast<QTextEdit*>(p.revision.enlace()->caja(u("OBS GENERALES")));
    ASSERT_TRUE(caja);
    caja->setFocus();
    QTest::keyClicks(caja, u("aceite bajo"));
    caja->selectAll();
    QTest::mouseClick(Paginas::botonesDe(caja)->boton(BotonesTexto::Negrita), Qt::LeftButton);

    // Leaving the row saves it.
    ASSERT_TRUE(p.vistas.Data2.moveNext().ok());
    const QList<QVariantList> filas =
        queryRows(*p.datos.open(true), u("SELECT \"OBS GENERALES\" FROM Revision WHERE \"CÓDIGO\" = 1"));
    ASSERT_EQ(filas.size(), 1);
    const QString html = filas[0][0].toString();
    EXPECT_TRUE(Qt::mightBeRichText(html)) << html.toStdString();
    EXPECT_TRUE(html.contains(u("font-weight:700"))) << html.toStdString();
    EXPECT_TRUE(html.contains(u("aceite bajo"))) << html.toStdString();

    ASSERT_TRUE(p.vistas.Data2.movePrevious().ok());
    EXPECT_EQ(caja->toPlainText(), u("aceite bajo"));
    const QList<QTextCharFormat> fs = formatos(*caja);
    ASSERT_FALSE(fs.isEmpty());
    for (const QTextCharFormat& f : fs)
        EXPECT_GE(f.fontWeight(), QFont::Bold);
}

TEST(BotonesTexto, ReadOnlyModeLocksTheBoxesAndHidesTheButtons)
{
    Paginas p(true);
    p.trafos.setSoloLectura(true);
    for (PaginaFechada* tab : QList<PaginaFechada*>{&p.revision, &p.ensayos, &p.mantenimiento})
        tab->setSoloLectura(true);
    for (const Paginas::Memo& m : p.editables()) {
        m.pagina->show();
        auto* caja = qobject_cast<QTextEdit*>(m.enlace->caja(m.campo));
        ASSERT_TRUE(caja);
        const QString antes = caja->toPlainText();
        caja->setFocus();
        QTest::keyClicks(caja, u("xyz"));
        EXPECT_EQ(caja->toPlainText(), antes) << m.campo.toStdString();
        EXPECT_TRUE(caja->isReadOnly()) << m.campo.toStdString();
        EXPECT_TRUE(Paginas::botonesDe(caja)->isHidden()) << m.campo.toStdString();
    }
    // Back to editing: the buttons come back.
    p.revision.setSoloLectura(false);
    auto* obs = qobject_cast<QTextEdit*>(p.revision.enlace()->caja(u("OBS GENERALES")));
    EXPECT_FALSE(obs->isReadOnly());
    EXPECT_FALSE(Paginas::botonesDe(obs)->isHidden());
}

} // namespace
