#include "data/logic/Rtf.h"

#include "data/logic/LectorJet.h"

#include <QHash>
#include <QList>
#include <QStack>
#include <algorithm>

namespace rtf {

namespace {

struct Formato
{
    bool negrita = false;
    bool cursiva = false;
    bool subrayado = false;
    QString fuente;
    int mediosPuntos = 24; // RTF sizes count half points; 12 pt unless said otherwise
    QString color;         // "#rrggbb", empty for the automatic colour

    bool operator==(const Formato&) const = default;
};

struct Tramo
{
    Formato formato;
    QString texto; // '\n' stands for a line break inside the paragraph
};

struct Parrafo
{
    QString alineacion; // empty, "center", "right" or "justify"
    QList<Tramo> tramos;
    bool vacio() const
    {
        for (const Tramo& t : tramos)
            if (!t.texto.isEmpty())
                return false;
        return true;
    }
};

struct Fuente
{
    QString nombre;
    int paginaCodigos = 0; // from its character set; 0: the document's
};

// The state that a group keeps and restores.
struct Estado
{
    bool negrita = false, cursiva = false, subrayado = false;
    int fuente = -1;
    int mediosPuntos = 24;
    int color = 0;
    int uc = 1; // characters that stand in for each \uN
    enum class Destino
    {
        Texto,
        TablaFuentes,
        TablaColores,
        Saltar,
    } destino = Destino::Texto;
};

int paginaDeJuegoCaracteres(int juego)
{
    switch (juego) {
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return 0;
    }
}

// Destinations whose text the rich-text box never shows.
bool destinoOculto(const QString& palabra)
{
    static const QStringList ocultos = {
        QStringLiteral("stylesheet"),   QStringLiteral("info"),
        QStringLiteral("pict"),         QStringLiteral("object"),
        QStringLiteral("header"),       QStringLiteral("headerl"),
        QStringLiteral("headerr"),      QStringLiteral("headerf"),
        QStringLiteral("footer"),       QStringLiteral("footerl"),
        QStringLiteral("footerr"),      QStringLiteral("footerf"),
        QStringLiteral("footnote"),     QStringLiteral("fldinst"),
        QStringLiteral("listtable"),    QStringLiteral("listoverridetable"),
        QStringLiteral("rsidtbl"),      QStringLiteral("xmlnstbl"),
        QStringLiteral("themedata"),    QStringLiteral("colorschememapping"),
        QStringLiteral("latentstyles"), QStringLiteral("datastore"),
        QStringLiteral("generator"),    QStringLiteral("filetbl"),
        QStringLiteral("revtbl"),       QStringLiteral("shp"),
        QStringLiteral("nonshppict"),   QStringLiteral("bkmkstart"),
        QStringLiteral("bkmkend"),      QStringLiteral("annotation"),
    };
    return ocultos.contains(palabra);
}

class Lector
{
public:
    explicit Lector(const QString& rtf) : m_rtf(rtf) { m_parrafos.append(Parrafo()); }

    QList<Parrafo> leer()
    {
        const int n = int(m_rtf.size());
        int i = 0;
        bool inicioGrupo = false;
        while (i < n) {
            const QChar c = m_rtf[i];
            if (c == QLatin1Char('{')) {
                volcarBytes();
                m_pila.push(m_estado);
                inicioGrupo = true;
                m_saltarCaracteres = 0;
                ++i;
                continue;
            }
            if (c == QLatin1Char('}')) {
                volcarBytes();
                if (m_estado.destino == Estado::Destino::TablaFuentes)
                    cerrarFuente();
                if (m_pila.isEmpty())
                    break;
                m_estado = m_pila.pop();
                if (m_pila.isEmpty())
                    break; // the document's own closing brace: anything after it is not text
                inicioGrupo = false;
                m_saltarCaracteres = 0;
                ++i;
                continue;
            }
            if (c == QLatin1Char('\\')) {
                i = controlar(i, inicioGrupo);
                inicioGrupo = false;
                continue;
            }
            inicioGrupo = false;
            if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                ++i;
                continue;
            }
            texto(QString(c));
            ++i;
        }
        volcarBytes();
        // The closing \par of the box ends the last paragraph; it starts no new one.
        if (m_parrafos.size() > 1 && m_parrafos.last().vacio() && m_cierreConPar)
            m_parrafos.removeLast();
        return m_parrafos;
    }

private:
    bool mostrando() const { return m_estado.destino == Estado::Destino::Texto; }

    // A run of text: the font name in the font table, a colour in the colour table, or
    // what the box shows.
    void texto(const QString& t)
    {
        if (m_saltarCaracteres > 0) {
            m_saltarCaracteres -= 1;
            return;
        }
        volcarBytes();
        switch (m_estado.destino) {
        case Estado::Destino::TablaFuentes:
            for (const QChar ch : t) {
                if (ch == QLatin1Char(';'))
                    cerrarFuente();
                else
                    m_nombreFuente += ch;
            }
            return;
        case Estado::Destino::TablaColores:
            for (const QChar ch : t) {
                if (ch == QLatin1Char(';')) {
                    m_colores.append(m_colorDefinido ? QStringLiteral("#%1%2%3")
                                                           .arg(m_rojo, 2, 16, QLatin1Char('0'))
                                                           .arg(m_verde, 2, 16, QLatin1Char('0'))
                                                           .arg(m_azul, 2, 16, QLatin1Char('0'))
                                                     : QString());
                    m_rojo = m_verde = m_azul = 0;
                    m_colorDefinido = false;
                }
            }
            return;
        case Estado::Destino::Saltar:
            return;
        case Estado::Destino::Texto:
            break;
        }
        m_cierreConPar = false;
        Formato f;
        f.negrita = m_estado.negrita;
        f.cursiva = m_estado.cursiva;
        f.subrayado = m_estado.subrayado;
        f.fuente = m_fuentes.value(m_estado.fuente >= 0 ? m_estado.fuente : m_fuentePorDefecto).nombre;
        f.mediosPuntos = m_estado.mediosPuntos;
        f.color =
            m_estado.color > 0 && m_estado.color < m_colores.size() ? m_colores[m_estado.color] : QString();
        QList<Tramo>& tramos = m_parrafos.last().tramos;
        if (!tramos.isEmpty() && tramos.last().formato == f)
            tramos.last().texto += t;
        else
            tramos.append({f, t});
    }

    void cerrarFuente()
    {
        if (m_numeroFuente >= 0) {
            Fuente& f = m_fuentes[m_numeroFuente];
            if (!m_nombreFuente.trimmed().isEmpty())
                f.nombre = m_nombreFuente.trimmed();
            f.paginaCodigos = paginaDeJuegoCaracteres(m_juegoFuente);
        }
        m_nombreFuente.clear();
        m_numeroFuente = -1;
        m_juegoFuente = 0;
    }

    int paginaActual() const
    {
        const int f = m_estado.fuente >= 0 ? m_estado.fuente : m_fuentePorDefecto;
        const auto it = m_fuentes.constFind(f);
        if (it != m_fuentes.cend() && it->paginaCodigos > 0)
            return it->paginaCodigos;
        return m_paginaCodigos;
    }

    // Bytes of \'hh escapes wait for their neighbours: a character of a double-byte code page
    // takes two.
    void byte(char b)
    {
        if (m_saltarCaracteres > 0) {
            m_saltarCaracteres -= 1;
            return;
        }
        if (!m_bytes.isEmpty() && m_paginaBytes != paginaActual())
            volcarBytes();
        m_paginaBytes = paginaActual();
        m_bytes.append(b);
    }

    void volcarBytes()
    {
        if (m_bytes.isEmpty())
            return;
        const QString t = jet::decodificar(m_bytes, m_paginaBytes);
        m_bytes.clear();
        texto(t);
    }

    void parrafo()
    {
        if (!mostrando())
            return;
        volcarBytes();
        Parrafo p;
        p.alineacion = m_alineacion;
        m_parrafos.append(p);
        m_cierreConPar = true;
    }

    // Reads the control word or symbol at i; returns the index after it.
    int controlar(int i, bool inicioGrupo)
    {
        const int n = int(m_rtf.size());
        if (i + 1 >= n)
            return n;
        const QChar c = m_rtf[i + 1];
        if (!c.isLetter() || c.unicode() > 127) {
            // Control symbols.
            if (c == QLatin1Char('\'')) {
                bool ok = false;
                const int valor = m_rtf.mid(i + 2, 2).toInt(&ok, 16);
                if (ok && mostrandoOTabla())
                    byte(char(valor));
                return i + 4;
            }
            if (c == QLatin1Char('*')) {
                // An optional destination: left out whatever it is.
                if (inicioGrupo)
                    m_estado.destino = Estado::Destino::Saltar;
                return i + 2;
            }
            if (c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}'))
                texto(QString(c));
            else if (c == QLatin1Char('~'))
                texto(QString(QChar(0xa0)));
            else if (c == QLatin1Char('_'))
                texto(QString(QChar(0x2011)));
            else if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
                parrafo();
            else if (c == QLatin1Char('\t'))
                texto(QStringLiteral("\t"));
            return i + 2;
        }
        int j = i + 1;
        while (j < n && m_rtf[j].unicode() < 128 && m_rtf[j].isLetter())
            ++j;
        const QString palabra = m_rtf.mid(i + 1, j - i - 1);
        bool conParametro = false;
        int parametro = 0;
        int k = j;
        if (k < n && (m_rtf[k] == QLatin1Char('-') || m_rtf[k].isDigit())) {
            ++k;
            while (k < n && m_rtf[k].isDigit() && k - j < 11)
                ++k;
            parametro = m_rtf.mid(j, k - j).toInt(&conParametro);
        }
        if (k < n && m_rtf[k] == QLatin1Char(' '))
            ++k;
        palabraDeControl(palabra, conParametro, parametro, inicioGrupo);
        return k;
    }

    bool mostrandoOTabla() const { return m_estado.destino != Estado::Destino::Saltar; }

    void palabraDeControl(const QString& w, bool conParametro, int p, bool inicioGrupo)
    {
        if (m_estado.destino == Estado::Destino::Saltar)
            return;
        if (w == QLatin1String("u")) {
            // The Unicode character, then the stand-ins that readers without Unicode show. A \u
            // without a number stands for nothing.
            if (!conParametro)
                return;
            volcarBytes();
            texto(QString(QChar(ushort(p < 0 ? p + 65536 : p))));
            m_saltarCaracteres = m_estado.uc;
            return;
        }
        if (m_saltarCaracteres > 0) {
            m_saltarCaracteres -= 1;
            return;
        }
        volcarBytes();
        if (inicioGrupo && w == QLatin1String("fonttbl")) {
            m_estado.destino = Estado::Destino::TablaFuentes;
            return;
        }
        if (inicioGrupo && w == QLatin1String("colortbl")) {
            m_estado.destino = Estado::Destino::TablaColores;
            return;
        }
        if (inicioGrupo && destinoOculto(w)) {
            m_estado.destino = Estado::Destino::Saltar;
            return;
        }
        const bool activo = !conParametro || p != 0;
        if (m_estado.destino == Estado::Destino::TablaFuentes) {
            if (w == QLatin1String("f"))
                m_numeroFuente = p;
            else if (w == QLatin1String("fcharset"))
                m_juegoFuente = p;
            return;
        }
        if (m_estado.destino == Estado::Destino::TablaColores) {
            m_colorDefinido = true;
            if (w == QLatin1String("red"))
                m_rojo = qBound(0, p, 255);
            else if (w == QLatin1String("green"))
                m_verde = qBound(0, p, 255);
            else if (w == QLatin1String("blue"))
                m_azul = qBound(0, p, 255);
            return;
        }
        if (w == QLatin1String("ansicpg"))
            m_paginaCodigos = p;
        else if (w == QLatin1String("deff"))
            m_fuentePorDefecto = p;
        else if (w == QLatin1String("b"))
            m_estado.negrita = activo;
        else if (w == QLatin1String("i"))
            m_estado.cursiva = activo;
        else if (w == QLatin1String("ul") || w == QLatin1String("uld") || w == QLatin1String("uldb") ||
                 w == QLatin1String("uldash") || w == QLatin1String("ulw") || w == QLatin1String("ulth") ||
                 w == QLatin1String("ulwave"))
            m_estado.subrayado = activo;
        else if (w == QLatin1String("ulnone"))
            m_estado.subrayado = false;
        else if (w == QLatin1String("f"))
            m_estado.fuente = p;
        else if (w == QLatin1String("fs") && p > 0)
            m_estado.mediosPuntos = p;
        else if (w == QLatin1String("cf"))
            m_estado.color = p;
        else if (w == QLatin1String("uc"))
            m_estado.uc = qMax(0, p);
        else if (w == QLatin1String("plain")) {
            m_estado.negrita = m_estado.cursiva = m_estado.subrayado = false;
            m_estado.fuente = -1;
            m_estado.mediosPuntos = 24;
            m_estado.color = 0;
        } else if (w == QLatin1String("par") || w == QLatin1String("page") || w == QLatin1String("row"))
            parrafo();
        else if (w == QLatin1String("pard") || w == QLatin1String("ql"))
            alinear(QString());
        else if (w == QLatin1String("qc"))
            alinear(QStringLiteral("center"));
        else if (w == QLatin1String("qr"))
            alinear(QStringLiteral("right"));
        else if (w == QLatin1String("qj"))
            alinear(QStringLiteral("justify"));
        else if (w == QLatin1String("line"))
            texto(QStringLiteral("\n"));
        else if (w == QLatin1String("tab") || w == QLatin1String("cell"))
            texto(QStringLiteral("\t"));
        else if (w == QLatin1String("emdash"))
            texto(QString(QChar(0x2014)));
        else if (w == QLatin1String("endash"))
            texto(QString(QChar(0x2013)));
        else if (w == QLatin1String("bullet"))
            texto(QString(QChar(0x2022)));
        else if (w == QLatin1String("lquote"))
            texto(QString(QChar(0x2018)));
        else if (w == QLatin1String("rquote"))
            texto(QString(QChar(0x2019)));
        else if (w == QLatin1String("ldblquote"))
            texto(QString(QChar(0x201c)));
        else if (w == QLatin1String("rdblquote"))
            texto(QString(QChar(0x201d)));
        // Any other word changes nothing the box shows.
    }

    // The alignment applies to the paragraph being written.
    void alinear(const QString& alineacion)
    {
        m_alineacion = alineacion;
        if (mostrando())
            m_parrafos.last().alineacion = m_alineacion;
    }

    const QString& m_rtf;
    QList<Parrafo> m_parrafos;
    QStack<Estado> m_pila;
    Estado m_estado;
    QHash<int, Fuente> m_fuentes;
    int m_fuentePorDefecto = 0;
    int m_paginaCodigos = 1252;
    QStringList m_colores;
    int m_rojo = 0, m_verde = 0, m_azul = 0;
    bool m_colorDefinido = false;
    int m_numeroFuente = -1;
    int m_juegoFuente = 0;
    QString m_nombreFuente;
    QByteArray m_bytes;
    int m_paginaBytes = 1252;
    int m_saltarCaracteres = 0;
    QString m_alineacion;
    bool m_cierreConPar = false;
};

QString escapar(const QString& t)
{
    QString out;
    out.reserve(t.size());
    for (const QChar c : t) {
        if (c == QLatin1Char('&'))
            out += QStringLiteral("&amp;");
        else if (c == QLatin1Char('<'))
            out += QStringLiteral("&lt;");
        else if (c == QLatin1Char('>'))
            out += QStringLiteral("&gt;");
        else if (c == QLatin1Char('"'))
            out += QStringLiteral("&quot;");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("<br />");
        else
            out += c;
    }
    return out;
}

QString estilo(const Formato& f)
{
    QString s;
    if (!f.fuente.isEmpty())
        s += QStringLiteral(" font-family:'%1';").arg(QString(f.fuente).remove(QLatin1Char('\'')));
    s += QStringLiteral(" font-size:%1pt;").arg(QString::number(f.mediosPuntos / 2.0, 'g', 6));
    if (f.negrita)
        s += QStringLiteral(" font-weight:700;");
    if (f.cursiva)
        s += QStringLiteral(" font-style:italic;");
    if (f.subrayado)
        s += QStringLiteral(" text-decoration: underline;");
    if (!f.color.isEmpty())
        s += QStringLiteral(" color:%1;").arg(f.color);
    return s;
}

} // namespace

bool esRtf(const QString& texto)
{
    return QStringView(texto).trimmed().startsWith(QLatin1String("{\\rtf"));
}

QString aTextoEnriquecido(const QString& rtf)
{
    const QList<Parrafo> parrafos = Lector(rtf).leer();
    if (std::all_of(parrafos.cbegin(), parrafos.cend(), [](const Parrafo& p) { return p.vacio(); }))
        return QString();
    QString html = QStringLiteral(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" \"http://www.w3.org/TR/REC-html40/strict.dtd\">\n"
        "<html><head><meta name=\"qrichtext\" content=\"1\" /><meta charset=\"utf-8\" />"
        "<style type=\"text/css\">\np, li { white-space: pre-wrap; }\n</style></head><body>");
    const QString margenes = QStringLiteral(" margin-top:0px; margin-bottom:0px; margin-left:0px; "
                                            "margin-right:0px; -qt-block-indent:0; text-indent:0px;");
    for (const Parrafo& p : parrafos) {
        const QString alinear =
            p.alineacion.isEmpty() ? QString() : QStringLiteral(" align=\"%1\"").arg(p.alineacion);
        if (p.vacio()) {
            // Qt drops an empty paragraph unless it is marked as one.
            html += QStringLiteral("\n<p%1 style=\"-qt-paragraph-type:empty;%2\"><br /></p>")
                        .arg(alinear, margenes);
            continue;
        }
        html += QStringLiteral("\n<p%1 style=\"%2\">").arg(alinear, margenes);
        for (const Tramo& t : p.tramos)
            if (!t.texto.isEmpty())
                html +=
                    QStringLiteral("<span style=\"%1\">%2</span>").arg(estilo(t.formato), escapar(t.texto));
        html += QStringLiteral("</p>");
    }
    return html + QStringLiteral("</body></html>");
}

QString aTextoPlano(const QString& rtf)
{
    QStringList lineas;
    for (const Parrafo& p : Lector(rtf).leer()) {
        QString linea;
        for (const Tramo& t : p.tramos)
            linea += t.texto;
        lineas << linea.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    }
    return lineas.join(QStringLiteral("\r\n"));
}

} // namespace rtf
