#include "data/logic/Rtf.h"

#include "tests/support/Texto.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

// What a rich-text box shows of the converted memo, one paragraph per line: each run's text
// with its formatting in brackets, as Qt itself reads the stored HTML back.
QString comoLoMuestraLaCaja(const QString& html)
{
    QTextDocument doc;
    doc.setHtml(html);
    QStringList parrafos;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QString p;
        if (b.blockFormat().alignment() & Qt::AlignHCenter)
            p += QStringLiteral("<centro>");
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat c = f.charFormat();
            QStringList marcas;
            if (c.fontWeight() >= QFont::Bold)
                marcas << QStringLiteral("n");
            if (c.fontItalic())
                marcas << QStringLiteral("c");
            if (c.fontUnderline())
                marcas << QStringLiteral("s");
            if (!c.fontFamilies().toStringList().isEmpty())
                marcas << c.fontFamilies().toStringList().first();
            marcas << QString::number(c.fontPointSize());
            if (c.hasProperty(QTextFormat::ForegroundBrush))
                marcas << c.foreground().color().name();
            p += f.text().replace(QChar::LineSeparator, QLatin1Char('|')) + QLatin1Char('[') +
                 marcas.join(QLatin1Char(',')) + QLatin1Char(']');
        }
        parrafos << p;
    }
    return parrafos.join(QLatin1Char('\n'));
}

} // namespace

TEST(Rtf, MemosOfTheRichTextBoxKeepTheirFormattingTextAndParagraphs)
{
    const QString cabecera =
        u("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang11274{\\fonttbl{\\f0\\fswiss\\fcharset0 "
          "Arial;}{\\f1\\froman\\fcharset0 Times New Roman;}{\\f2\\fnil\\fcharset204 "
          "Courier New;}{\\f3\\fnil\\fcharset161{\\*\\panose 0}Tahoma;}}\n"
          "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\n"
          "\\viewkind4\\uc1\\pard\\lang3082\\f0\\fs17 ");
    struct Caso
    {
        const char* que;
        const char* cuerpo;
        const char* muestra;
    };
    const Caso casos[] = {
        {"texto simple", "Buen estado\\par }", "Buen estado[Arial,8.5]"},
        {"negrita, cursiva y subrayado",
         "a \\b neg\\b0  \\i cur\\i0  \\ul sub\\ulnone  \\b\\i\\ul todo\\plain\\par }",
         "a [Arial,8.5]neg[n,Arial,8.5] [Arial,8.5]cur[c,Arial,8.5] [Arial,8.5]sub[s,Arial,8.5] "
         "[Arial,8.5]todo[n,c,s,Arial,8.5]"},
        {"fuente, tamaño y color", "\\f1\\fs28 grande\\f0\\fs17  \\cf1 rojo\\cf2  verde\\cf0  auto\\par }",
         "grande[Times New Roman,14] [Arial,8.5]rojo[Arial,8.5,#ff0000] verde[Arial,8.5,#008000] "
         "auto[Arial,8.5]"},
        {"los grupos devuelven el formato", "{\\b dentro} fuera\\par }",
         "dentro[n,Arial,8.5] fuera[Arial,8.5]"},
        {"párrafos, línea vacía y salto de línea", "uno\\par\\par dos\\line tres\\par }",
         "uno[Arial,8.5]\n\ndos|tres[Arial,8.5]"},
        {"centrado", "\\qc centro\\par\\pard izq\\par }", "<centro>centro[Arial,8.5]\nizq[Arial,8.5]"},
        {"acentos en la página de códigos", "Aislaci\\'f3n, \\'d1and\\'fa \\'80\\par }",
         "Aislación, Ñandú €[Arial,8.5]"},
        {"cirílico por el juego de caracteres de la fuente", "\\f2\\'c6\\'e0\\par }", "Жа[Courier New,8.5]"},
        {"Unicode con su sustituto", "\\u945?\\u-3880?x\\u \\uc2\\u946\\'3f\\'3f\\par }",
         "\xce\xb1\xef\x83\x98x\xce\xb2[Arial,8.5]"},
        {"griego por la fuente, con su panose saltado", "\\f3\\'e1\\par }", "α[Tahoma,8.5]"},
        {"grupos desconocidos y ocultos",
         "{\\*\\generator Riched20;}{\\*\\foo {bar}}{\\info{\\title T}}"
         "{\\pict\\wmetafile8 0102}visible\\par }",
         "visible[Arial,8.5]"},
        {"símbolos escapados", "\\{llave\\} \\\\ a\\tab b\\~c\\par }",
         "{llave} \\ a\tb\xc2\xa0"
         "c[Arial,8.5]"},
        {"caracteres que el HTML escapa", "<b>&amp;\"\\par }", "<b>&amp;\"[Arial,8.5]"},
    };
    for (const Caso& c : casos) {
        const QString rtf = cabecera + u(c.cuerpo);
        EXPECT_EQ(comoLoMuestraLaCaja(rtf::aTextoEnriquecido(rtf)).toStdString(), std::string(c.muestra))
            << c.que;
    }
}

TEST(Rtf, ConvertedMemosAreTheRichTextTheBoxesStoreAndReadBack)
{
    const QString rtf =
        u("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Cambio de \\b juntas\\b0\\par }\r\n");
    EXPECT_TRUE(rtf::esRtf(rtf));
    EXPECT_TRUE(rtf::esRtf(u("  {\\rtf1 x}")));
    EXPECT_FALSE(rtf::esRtf(u("Texto {\\rtf1 no al comienzo}")));
    const QString html = rtf::aTextoEnriquecido(rtf);
    EXPECT_TRUE(Qt::mightBeRichText(html));
    // A box of the program loads it and stores it again without losing the formatting.
    QTextEdit caja;
    caja.setHtml(html);
    EXPECT_EQ(caja.toPlainText(), u("Cambio de juntas"));
    EXPECT_EQ(comoLoMuestraLaCaja(caja.toHtml()), comoLoMuestraLaCaja(html));
}

TEST(Rtf, PlainTextKeepsTheWordsAndParagraphsWithCrLf)
{
    EXPECT_EQ(rtf::aTextoPlano(u("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"
                                 "\\b Acidez alta\\b0\\par Rigidez baja\\line ok\\par }")),
              u("Acidez alta\r\nRigidez baja\r\nok"));
    EXPECT_EQ(rtf::aTextoPlano(u("{\\rtf1 }")), QString());
}
