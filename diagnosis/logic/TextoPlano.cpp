#include "diagnosis/logic/TextoPlano.h"

namespace diagnostico {

namespace {

bool esTextoEnriquecido(const QString& memo)
{
    const QStringView inicio = QStringView(memo).trimmed().left(64);
    return inicio.startsWith(QLatin1String("<!DOCTYPE"), Qt::CaseInsensitive) ||
           inicio.startsWith(QLatin1String("<html"), Qt::CaseInsensitive) ||
           memo.contains(QLatin1String("<meta name=\"qrichtext\""));
}

bool esBloque(const QString& etiqueta)
{
    static const QLatin1String bloques[] = {QLatin1String("p"),  QLatin1String("div"), QLatin1String("li"),
                                            QLatin1String("h1"), QLatin1String("h2"),  QLatin1String("h3"),
                                            QLatin1String("h4"), QLatin1String("h5"),  QLatin1String("h6"),
                                            QLatin1String("tr"), QLatin1String("pre")};
    for (const QLatin1String& b : bloques)
        if (etiqueta == b)
            return true;
    return false;
}

QString entidad(const QString& nombre)
{
    if (nombre.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const uint codigo = nombre.startsWith(QLatin1String("#x"), Qt::CaseInsensitive)
                                ? nombre.mid(2).toUInt(&ok, 16)
                                : nombre.mid(1).toUInt(&ok, 10);
        if (!ok || codigo == 0 || codigo > 0x10FFFF)
            return {};
        if (codigo == 0xA0)
            return QStringLiteral(" ");
        const char32_t c = codigo;
        return QString::fromUcs4(&c, 1);
    }
    if (nombre == QLatin1String("amp"))
        return QStringLiteral("&");
    if (nombre == QLatin1String("lt"))
        return QStringLiteral("<");
    if (nombre == QLatin1String("gt"))
        return QStringLiteral(">");
    if (nombre == QLatin1String("quot"))
        return QStringLiteral("\"");
    if (nombre == QLatin1String("apos"))
        return QStringLiteral("'");
    if (nombre == QLatin1String("nbsp"))
        return QStringLiteral(" ");
    return {};
}

} // namespace

QString textoPlano(const QString& memo)
{
    if (!esTextoEnriquecido(memo))
        return memo;
    QString html = memo;
    // Only the body holds text; the head carries the style sheet.
    const qsizetype cuerpo = html.indexOf(QLatin1String("<body"), 0, Qt::CaseInsensitive);
    if (cuerpo >= 0) {
        const qsizetype fin = html.indexOf(QLatin1Char('>'), cuerpo);
        html = html.mid(fin < 0 ? html.size() : fin + 1);
    }
    const qsizetype cierre = html.indexOf(QLatin1String("</body"), 0, Qt::CaseInsensitive);
    if (cierre >= 0)
        html.truncate(cierre);

    QString out;
    int bloques = 0;     // blocks opened so far: the first needs no separator
    int profundidad = 0; // blank text between blocks is the markup's own layout
    qsizetype inicioBloque = 0;
    for (qsizetype i = 0; i < html.size();) {
        if (html.at(i) == QLatin1Char('<')) {
            const qsizetype fin = html.indexOf(QLatin1Char('>'), i);
            if (fin < 0)
                break;
            qsizetype j = i + 1;
            const bool cierra = j < fin && html.at(j) == QLatin1Char('/');
            if (cierra)
                ++j;
            QString etiqueta;
            while (j < fin && html.at(j).isLetterOrNumber())
                etiqueta += html.at(j++).toLower();
            i = fin + 1;
            if (etiqueta == QLatin1String("br")) {
                out += QLatin1Char('\n');
            } else if (esBloque(etiqueta) && !cierra) {
                if (bloques++ > 0)
                    out += QLatin1Char('\n');
                inicioBloque = out.size();
                ++profundidad;
            } else if (esBloque(etiqueta)) {
                // An empty paragraph is written with a lone break that is not part of its text.
                if (out.size() == inicioBloque + 1 && out.endsWith(QLatin1Char('\n')))
                    out.chop(1);
                profundidad = qMax(0, profundidad - 1);
            }
            continue;
        }
        qsizetype fin = html.indexOf(QLatin1Char('<'), i);
        if (fin < 0)
            fin = html.size();
        const QString tramo = html.mid(i, fin - i);
        i = fin;
        if (profundidad == 0 && tramo.trimmed().isEmpty())
            continue;
        for (qsizetype k = 0; k < tramo.size(); ++k) {
            const QChar c = tramo.at(k);
            if (c == QLatin1Char('&')) {
                const qsizetype pc = tramo.indexOf(QLatin1Char(';'), k);
                if (pc > k && pc - k <= 10) {
                    const QString t = entidad(tramo.mid(k + 1, pc - k - 1));
                    if (!t.isEmpty()) {
                        out += t;
                        k = pc;
                        continue;
                    }
                }
            }
            out += c == QChar::Nbsp ? QChar(QLatin1Char(' ')) : c;
        }
    }
    return out;
}

} // namespace diagnostico
