#include "diagnosis/logic/TextoPlano.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace diagnostico;

namespace {

QString u(const char* t)
{
    return QString::fromUtf8(t);
}

} // namespace

// The observation boxes store what a rich-text document writes; the summary must read the same
// text the box shows.
TEST(TextoPlano, ReadsTheTextOfWhatARichTextBoxStores)
{
    const char* textos[] = {
        "una línea",
        "dos\npárrafos",
        "con\n\nun párrafo vacío en medio",
        "\nempieza vacío",
        "termina vacío\n",
        "signos < > & \" ' y\tuna tabulación",
        "  blancos   repetidos  ",
        "á é í ó ú ñ Ñ ü °C ≥",
    };
    for (const char* t : textos) {
        QTextDocument doc;
        doc.setPlainText(u(t));
        EXPECT_EQ(textoPlano(doc.toHtml()), doc.toPlainText()) << t;
    }
    // Formatting inside a paragraph, and a line break within it.
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(u("normal "));
    QTextCharFormat negrita;
    negrita.setFontWeight(QFont::Bold);
    cursor.insertText(u("negrita"), negrita);
    cursor.insertText(QString(QChar::LineSeparator) + u("sigue"));
    cursor.insertBlock();
    cursor.insertHtml(u("<i>cursiva</i>&nbsp;y <u>subrayado</u>"));
    EXPECT_EQ(textoPlano(doc.toHtml()), doc.toPlainText());
    EXPECT_EQ(textoPlano(doc.toHtml()), u("normal negrita\nsigue\ncursiva y subrayado"));
}

TEST(TextoPlano, PlainTextAndOddMarkupAreKept)
{
    const struct
    {
        const char* memo;
        const char* texto;
    } casos[] = {
        {"", ""},
        {"texto llano con <etiquetas> que no son HTML", "texto llano con <etiquetas> que no son HTML"},
        {"a < b & c", "a < b & c"},
        {"línea\r\notra", "línea\r\notra"},
        {"<html><body>sin párrafos</body></html>", "sin párrafos"},
        {"<html><body><p>uno</p><p>dos<br>tres</p></body></html>", "uno\ndos\ntres"},
        {"<html><body><p>&#65;&#x42;&lt;&gt;&amp;&quot;&apos;&desconocida;</p></body></html>",
         "AB<>&\"'&desconocida;"},
        {"<html><body><p>sin cerrar", "sin cerrar"},
        {"<html><body><p>corta <b", "corta "},
    };
    for (const auto& c : casos)
        EXPECT_EQ(textoPlano(u(c.memo)), u(c.texto)) << c.memo;
}
