#pragma once

#include <QString>

// The memos of the earlier program were written by a rich-text box as RTF. These turn them
// into what Quorvela stores: the rich text (HTML) of its own rich-text boxes, or plain text.
namespace rtf {

// True when the text is an RTF document ("{\rtf1...").
bool esRtf(const QString& texto);

// The document as Qt rich text: paragraphs (with their alignment), line breaks and tabs, and
// per run bold, italic, underline, font, size and colour. \'hh is read in the document's code
// page (or its font's character set), \uN as Unicode; groups the box does not show (styles,
// pictures, document information, \* destinations) are left out. A document without any text
// gives an empty string, as an empty box stores nothing.
QString aTextoEnriquecido(const QString& rtf);

// The document's text, its paragraphs and line breaks separated by CR LF.
QString aTextoPlano(const QString& rtf);

} // namespace rtf
