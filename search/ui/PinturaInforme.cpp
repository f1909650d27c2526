#include "search/ui/PinturaInforme.h"

#include "controls/Palette.h"
#include "data/logic/Schema.h"
#include "search/logic/MotorInforme.h"

#include <QFontMetricsF>
#include <QHash>
#include <QLocale>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocumentFragment>
#include <QTextLayout>

#include <cmath>
#include <functional>
#include <optional>

namespace informe {

namespace {

constexpr double kMargenMm = 12;

QString estadoTexto(int estado)
{
    switch (estado) {
    case lumerix::kEstadoVerde:
        return QStringLiteral("Verde");
    case lumerix::kEstadoAmarillo:
        return QStringLiteral("Amarillo");
    case lumerix::kEstadoRojo:
        return QStringLiteral("Rojo");
    default:
        return QStringLiteral("Apagado");
    }
}

// A memo as plain text: rich text from the editing boxes loses its markup, CR LF becomes a line break.
QString textoPlano(const QString& texto)
{
    QString t = Qt::mightBeRichText(texto) ? QTextDocumentFragment::fromHtml(texto).toPlainText() : texto;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    while (t.endsWith(u'\n') || t.endsWith(u' '))
        t.chop(1);
    return t;
}

struct Texto
{
    QString texto;
    std::optional<int> lampara; // the state whose lamp goes before the text
};

Texto formatear(const QVariant& v, const CampoRef& campo, Formato formato)
{
    Texto out;
    if (!v.isValid() || v.isNull())
        return out;
    const schema::Table* t = schema::table(campo.tabla);
    const schema::Field* f = t ? t->field(campo.campo) : nullptr;
    if (formato == Formato::Auto && f) {
        switch (f->kind) {
        case schema::FieldKind::Integer:
            formato = Formato::Entero;
            break;
        case schema::FieldKind::Number:
            formato = Formato::Decimal;
            break;
        case schema::FieldKind::Date:
            formato = Formato::Fecha;
            break;
        case schema::FieldKind::YesNo:
            formato = Formato::SiNo;
            break;
        default:
            formato = Formato::Texto;
        }
    }
    QLocale local = QLocale::system();
    local.setNumberOptions(QLocale::OmitGroupSeparator);
    switch (formato) {
    case Formato::Entero: {
        bool ok = false;
        const double d = v.toDouble(&ok);
        out.texto = ok ? local.toString(qint64(d)) : v.toString();
        break;
    }
    case Formato::Decimal: {
        bool ok = false;
        const double d = v.toDouble(&ok);
        // Stored readings carry binary noise (3693.6000000000004): six decimals are plenty.
        out.texto = ok ? local.toString(std::round(d * 1e6) / 1e6, 'f', QLocale::FloatingPointShortest)
                       : v.toString();
        break;
    }
    case Formato::Fecha: {
        const QDate d = QDate::fromString(v.toString().left(10), Qt::ISODate);
        out.texto = d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : v.toString();
        break;
    }
    case Formato::SiNo:
        out.texto = v.toInt() != 0 ? QStringLiteral("Sí") : QStringLiteral("No");
        break;
    case Formato::Lampara:
    case Formato::Estado:
        out.texto = estadoTexto(v.toInt());
        if (formato == Formato::Lampara)
            out.lampara = v.toInt();
        break;
    default:
        out.texto = textoPlano(v.toString());
    }
    return out;
}

// One cell of a line band: its place, its wrapped lines and how it is drawn.
struct Celda
{
    double x = 0, ancho = 0;
    QStringList lineas;
    Alineacion alineacion = Alineacion::Izquierda;
    std::optional<int> lampara;
    bool rotulo = false; // a label: bold
};

enum class Estilo
{
    Normal,
    Cabecera, // column heads: bold on a shaded band
    Grupo,    // a transformer's heading
    Seccion,  // a section's title
    Total,
};

struct Renglon
{
    QList<Celda> celdas;
    Estilo estilo = Estilo::Normal;
    bool lineaDebajo = false;

    int lineas() const
    {
        int n = 1;
        for (const Celda& c : celdas)
            n = std::max(n, int(c.lineas.size()));
        return n;
    }
};

// Lays the report out page by page; without a painter it only counts the pages.
class Paginador
{
public:
    // `paginado` turns the pages of a paged device; without it only page `soloPagina` is painted
    // (on a picture of one page) and the walk may stop once it is done. `hasta` > 0 stops the
    // walk (of a count) once that many pages are passed.
    Paginador(const InformePreparado& informe, QPaintDevice& dispositivo, QPagedPaintDevice* paginado,
              QPainter* painter, int totalPaginas, const QDateTime& impreso, int soloPagina = 0,
              int hasta = 0)
        : m_informe(informe), m_dispositivo(dispositivo), m_paginado(paginado), m_pintor(painter),
          m_total(totalPaginas), m_impreso(impreso), m_soloPagina(soloPagina), m_hasta(hasta)
    {
        m_mm = dispositivo.logicalDpiY() / 25.4;
        const QRectF pagina(0, 0, dispositivo.width(), dispositivo.height());
        m_ancho = pagina.width() - 2 * kMargenMm * m_mm;
        m_izquierda = kMargenMm * m_mm;
        m_arriba = kMargenMm * m_mm;
        m_abajo = pagina.height() - kMargenMm * m_mm;
        const QString familia = QStringLiteral("DejaVu Sans");
        const double letra = informe.definicion().letra;
        m_normal = QFont(familia);
        m_normal.setPointSizeF(letra);
        m_negrita = m_normal;
        m_negrita.setBold(true);
        m_grupo = QFont(familia, 10, QFont::Bold);
        m_titulo = QFont(familia, 14, QFont::Bold);
        m_pie = QFont(familia, 7);
        for (QFont* f : {&m_normal, &m_negrita, &m_grupo, &m_titulo, &m_pie}) {
            f->setStyleHint(QFont::SansSerif);
            // No ligatures: "flotantes" stays six letters for whoever searches the PDF.
            f->setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
        }
        m_fmNormal.emplace(m_normal, &dispositivo);
        m_fmNegrita.emplace(m_negrita, &dispositivo);
        m_fmGrupo.emplace(m_grupo, &dispositivo);
    }

    int paginas() const { return m_pagina; }
    // Nothing more of the walk is wanted: the one page is painted, or the count is past its bound.
    bool basta() const
    {
        return (m_soloPagina > 0 && m_pagina > m_soloPagina) || (m_hasta > 0 && m_pagina > m_hasta);
    }
    double ancho() const { return m_ancho; }
    double mm() const { return m_mm; }

    // The width of a text in a style's font. Plant lists repeat their values (areas, types,
    // voltages) on every row and both walks measure them: shaping them once is most of the speed.
    double anchoDe(const QString& texto, Estilo estilo) const
    {
        const bool negrita = estilo != Estilo::Normal && estilo != Estilo::Grupo;
        QHash<QString, double>& cache = estilo == Estilo::Grupo ? m_anchosGrupo
                                        : negrita               ? m_anchosNegrita
                                                                : m_anchos;
        if (auto it = cache.constFind(texto); it != cache.cend())
            return *it;
        // The cache stays small whatever the report's size.
        if (cache.size() > 20000)
            cache.clear();
        const double w = metricas(estilo).horizontalAdvance(texto);
        cache.insert(texto, w);
        return w;
    }

    // Wraps a text to a width in the style's font; never clips.
    QStringList envolver(const QString& texto, double ancho, Estilo estilo) const
    {
        if (!texto.contains(u'\n') && anchoDe(texto, estilo) <= ancho)
            return {texto};
        const QString clave =
            texto + QChar(0x1f) + QString::number(qRound(ancho)) + QChar(0x1f) + QString::number(int(estilo));
        if (auto it = m_envueltos.constFind(clave); it != m_envueltos.cend())
            return *it;
        if (m_envueltos.size() > 5000)
            m_envueltos.clear();
        QStringList out;
        for (const QString& parrafo : texto.split(u'\n')) {
            if (parrafo.isEmpty() || anchoDe(parrafo, estilo) <= ancho) {
                out << parrafo;
                continue;
            }
            QTextLayout layout(parrafo, fuente(estilo), &m_dispositivo);
            QTextOption opcion;
            opcion.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            layout.setTextOption(opcion);
            layout.beginLayout();
            for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
                l.setLineWidth(ancho);
                out << parrafo.mid(l.textStart(), l.textLength()).trimmed();
            }
            layout.endLayout();
        }
        m_envueltos.insert(clave, out);
        return out;
    }

    // The band repeated at the top of each new page while it applies (column heads, the
    // transformer's heading); empty for none.
    void ponerRepeticion(QList<Renglon> renglones) { m_repetir = std::move(renglones); }

    void empezar() { nuevaPagina(); }

    void terminar() { pie(); }

    void saltoDePagina()
    {
        if (m_y > m_vacia + 0.5)
            nuevaPagina();
    }

    // Space is kept for `siguientes` lines after this band, so that a heading never ends a page.
    void poner(const Renglon& r, int siguientes = 0)
    {
        const double alto = altoLinea(r.estilo);
        const int total = r.lineas();
        const double relleno = r.estilo == Estilo::Normal ? 0.4 * m_mm : 0.8 * m_mm;
        const double necesario = total * alto + relleno + siguientes * altoLinea(Estilo::Normal);
        // A band that a new page holds moves there whole; a longer one starts here when a few of
        // its lines fit, rather than leave a page all but empty.
        const double aqui = m_abajoCuerpo - m_y;
        if (necesario > aqui && m_y > m_vacia + 0.5 &&
            (necesario <= m_abajoCuerpo - m_vacia || aqui < 3 * alto + relleno))
            nuevaPagina();
        // A band longer than a page goes on over the next ones, line by line.
        int desde = 0;
        while (desde < total) {
            int caben = int((m_abajoCuerpo - m_y - relleno) / alto);
            if (caben <= 0) {
                nuevaPagina();
                caben = std::max(1, int((m_abajoCuerpo - m_y - relleno) / alto));
            }
            const int hasta = std::min(total, desde + caben);
            dibujar(r, desde, hasta, alto, relleno);
            m_y += (hasta - desde) * alto + relleno;
            desde = hasta;
            if (desde < total)
                nuevaPagina();
        }
    }

    void espacio(double mm) { m_y = std::min(m_abajoCuerpo, m_y + mm * m_mm); }

private:
    const InformePreparado& m_informe;
    QPaintDevice& m_dispositivo;
    QPagedPaintDevice* m_paginado;
    QPainter* m_pintor;
    QPainter* m_p = nullptr; // the painter while the page being laid out is painted
    int m_total;
    QDateTime m_impreso;
    int m_soloPagina, m_hasta;
    double m_mm = 1, m_ancho = 0, m_izquierda = 0, m_arriba = 0, m_abajo = 0;
    double m_y = 0, m_cuerpo = 0, m_abajoCuerpo = 0;
    double m_vacia = 0; // where a page's own content starts, under the repeated heads
    int m_pagina = 0;
    QFont m_normal, m_negrita, m_grupo, m_titulo, m_pie;
    std::optional<QFontMetricsF> m_fmNormal, m_fmNegrita, m_fmGrupo;
    QList<Renglon> m_repetir;
    mutable QHash<QString, double> m_anchos, m_anchosNegrita, m_anchosGrupo;
    mutable QHash<QString, QStringList> m_envueltos;

    const QFont& fuente(Estilo e) const
    {
        switch (e) {
        case Estilo::Normal:
            return m_normal;
        case Estilo::Grupo:
            return m_grupo;
        default:
            return m_negrita;
        }
    }
    const QFontMetricsF& metricas(Estilo e) const
    {
        switch (e) {
        case Estilo::Normal:
            return *m_fmNormal;
        case Estilo::Grupo:
            return *m_fmGrupo;
        default:
            return *m_fmNegrita;
        }
    }
    double altoLinea(Estilo e) const { return metricas(e).lineSpacing(); }

    void dibujar(const Renglon& r, int desde, int hasta, double alto, double relleno)
    {
        if (!m_p)
            return;
        const QFont& f = fuente(r.estilo);
        m_p->setFont(f);
        const double altoTotal = (hasta - desde) * alto + relleno;
        if (r.estilo == Estilo::Cabecera || r.estilo == Estilo::Grupo || r.estilo == Estilo::Total) {
            m_p->fillRect(QRectF(m_izquierda, m_y, m_ancho, altoTotal),
                          r.estilo == Estilo::Grupo ? QColor(0xdd, 0xe6, 0xf0) : QColor(0xee, 0xee, 0xee));
        }
        const double ascenso = metricas(r.estilo).ascent();
        for (const Celda& c : r.celdas) {
            m_p->setFont(c.rotulo && r.estilo == Estilo::Normal ? m_negrita : f);
            double x = m_izquierda + c.x + 0.8 * m_mm;
            double ancho = c.ancho - 1.6 * m_mm;
            if (c.lampara && desde == 0) {
                const double d = alto * 0.75;
                const QColor color = lumerix::lampColor(*c.lampara);
                m_p->save();
                m_p->setRenderHint(QPainter::Antialiasing);
                m_p->setPen(QPen(QColor(0x30, 0x30, 0x30), 0.15 * m_mm));
                m_p->setBrush(color.isValid() ? color : QColor(0x40, 0x40, 0x40));
                m_p->drawEllipse(QRectF(x, m_y + relleno / 2 + (alto - d) / 2, d, d));
                m_p->restore();
                x += d + 1.2 * m_mm;
                ancho -= d + 1.2 * m_mm;
            }
            for (int i = desde; i < hasta && i < c.lineas.size(); ++i) {
                const QString& linea = c.lineas[i];
                double xi = x;
                if (c.alineacion != Alineacion::Izquierda) {
                    const double w = anchoDe(linea, c.rotulo ? Estilo::Cabecera : r.estilo);
                    xi = c.alineacion == Alineacion::Derecha ? x + ancho - w : x + (ancho - w) / 2;
                }
                m_p->drawText(QPointF(xi, m_y + relleno / 2 + (i - desde) * alto + ascenso), linea);
            }
        }
        if (r.lineaDebajo || r.estilo == Estilo::Seccion) {
            m_p->setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 0.1 * m_mm));
            m_p->drawLine(QPointF(m_izquierda, m_y + altoTotal),
                          QPointF(m_izquierda + m_ancho, m_y + altoTotal));
            m_p->setPen(Qt::black);
        }
    }

    void pie()
    {
        if (!m_p || m_pagina == 0)
            return;
        m_p->setFont(m_pie);
        QFontMetricsF fm(m_pie, &m_dispositivo);
        const double y = m_abajo - fm.descent();
        m_p->setPen(QPen(QColor(0x80, 0x80, 0x80), 0.1 * m_mm));
        m_p->drawLine(QPointF(m_izquierda, m_abajoCuerpo + 1 * m_mm),
                      QPointF(m_izquierda + m_ancho, m_abajoCuerpo + 1 * m_mm));
        m_p->setPen(Qt::black);
        QString izquierda = QStringLiteral("Quorvela · %1").arg(m_informe.nombre());
        const QString seleccion = m_informe.seleccion();
        if (!seleccion.isEmpty())
            izquierda += QStringLiteral(" · Selección: ") + seleccion;
        // A preview may show a page before the pages are counted.
        const QString derecha = QStringLiteral("Página %1 de %2")
                                    .arg(m_pagina)
                                    .arg(m_total > 0 ? QString::number(m_total) : QStringLiteral("…"));
        const double wDerecha = fm.horizontalAdvance(derecha);
        m_p->drawText(QPointF(m_izquierda + m_ancho - wDerecha, y), derecha);
        m_p->drawText(QPointF(m_izquierda, y),
                      fm.elidedText(izquierda, Qt::ElideRight, m_ancho - wDerecha - 5 * m_mm));
    }

    void nuevaPagina()
    {
        if (m_pagina > 0) {
            pie();
            if (m_p && m_paginado)
                m_paginado->newPage();
        }
        ++m_pagina;
        m_p = m_soloPagina == 0 || m_pagina == m_soloPagina ? m_pintor : nullptr;
        QFontMetricsF fmTitulo(m_titulo, &m_dispositivo);
        QFontMetricsF fmPie(m_pie, &m_dispositivo);
        m_y = m_arriba;
        if (m_p) {
            m_p->setFont(m_titulo);
            m_p->drawText(QPointF(m_izquierda, m_y + fmTitulo.ascent()), m_informe.definicion().titulo);
            m_p->setFont(m_pie);
            const QString fecha =
                QStringLiteral("Impreso el %1").arg(m_impreso.toString(QStringLiteral("dd/MM/yyyy HH:mm")));
            m_p->drawText(
                QPointF(m_izquierda + m_ancho - fmPie.horizontalAdvance(fecha), m_y + fmTitulo.ascent()),
                fecha);
            m_p->setPen(QPen(Qt::black, 0.3 * m_mm));
            const double linea = m_y + fmTitulo.height() + 1 * m_mm;
            m_p->drawLine(QPointF(m_izquierda, linea), QPointF(m_izquierda + m_ancho, linea));
            m_p->setPen(Qt::black);
        }
        m_cuerpo = m_arriba + fmTitulo.height() + 3 * m_mm;
        m_abajoCuerpo = m_abajo - fmPie.height() - 2 * m_mm;
        m_y = m_cuerpo;
        const QList<Renglon> repetir = m_repetir;
        for (const Renglon& r : repetir) {
            const double alto = altoLinea(r.estilo);
            const double relleno = 0.8 * m_mm;
            const int n = std::min(r.lineas(), 3);
            dibujar(r, 0, n, alto, relleno);
            m_y += n * alto + relleno;
        }
        m_vacia = m_y;
    }
};

// Walks the report's rows once, putting every band through the paginator.
class Recorrido
{
public:
    Recorrido(const InformePreparado& informe, Paginador& pag, std::function<bool()> seguir = {})
        : m_inf(informe), m_def(informe.definicion()), m_pag(pag), m_seguir(std::move(seguir))
    {
    }

    Status correr()
    {
        auto filas = m_inf.filas();
        if (!filas)
            return Status::failure(filas.error());
        Consulta& c = filas.value();
        std::vector<std::optional<Consulta>> secciones(m_def.secciones.size());
        const schema::Table* t = schema::table(m_def.detalle.tabla);
        const CampoRef codigoRef{t->name, t->codeField};
        m_pag.empezar();
        std::optional<qint64> grupo;
        qint64 filasGrupo = 0, total = 0;
        bool primero = true;
        for (qint64 vuelta = 1;; ++vuelta) {
            if (m_pag.basta())
                return {};
            if (m_seguir && vuelta % 50 == 0 && !m_seguir())
                return Status::failure(QStringLiteral("Se interrumpió el informe."));
            auto hay = c.siguiente();
            if (!hay)
                return Status::failure(
                    QStringLiteral("No se pudieron leer las filas del informe: %1").arg(hay.error()));
            if (!hay.value())
                break;
            const qint64 codigo = c.valor(codigoRef).toLongLong();
            const bool nuevoGrupo = !grupo || *grupo != codigo;
            if (m_def.agrupar && nuevoGrupo) {
                if (grupo)
                    pieDeGrupo(filasGrupo);
                filasGrupo = 0;
                if (m_def.saltoPorGrupo && !primero)
                    m_pag.saltoDePagina();
                cabeceraDeGrupo(c);
            } else if (!m_def.agrupar && m_def.saltoPorGrupo && !primero)
                m_pag.saltoDePagina();
            if (primero && !m_def.agrupar)
                cabeceraDeColumnas(m_def.detalle, {});
            grupo = codigo;
            primero = false;
            detalle(m_def.detalle, c, true);
            for (int i = 0; i < m_def.secciones.size(); ++i) {
                if (!secciones[i]) {
                    auto s = m_inf.filasSeccion(i, codigo);
                    if (!s)
                        return Status::failure(s.error());
                    secciones[i].emplace(std::move(s.value()));
                } else if (Status st = m_inf.volverACorrerSeccion(*secciones[i], codigo); !st)
                    return st;
                if (Status st = seccion(m_def.secciones[i], *secciones[i]); !st)
                    return st;
            }
            ++filasGrupo;
            ++total;
        }
        if (m_def.agrupar && grupo)
            pieDeGrupo(filasGrupo);
        m_pag.ponerRepeticion({});
        if (total == 0) {
            Renglon r;
            r.celdas << celda(0, m_pag.ancho(), QStringLiteral("Ninguna fila cumple la selección."),
                              Estilo::Normal);
            m_pag.poner(r);
        }
        if (!m_def.total.isEmpty()) {
            m_pag.espacio(2);
            Renglon r;
            r.estilo = Estilo::Total;
            r.celdas << celda(0, m_pag.ancho(), QStringLiteral("%1: %2").arg(m_def.total).arg(total),
                              Estilo::Total);
            m_pag.poner(r);
        }
        m_pag.terminar();
        return {};
    }

private:
    const InformePreparado& m_inf;
    const Definicion& m_def;
    Paginador& m_pag;
    std::function<bool()> m_seguir;

    Celda celda(double x, double ancho, const QString& texto, Estilo estilo,
                Alineacion al = Alineacion::Izquierda) const
    {
        Celda c;
        c.x = x;
        c.ancho = ancho;
        c.alineacion = al;
        c.lineas = m_pag.envolver(texto, std::max(1.0, ancho - 1.6 * m_pag.mm()), estilo);
        return c;
    }

    Texto valor(const Valor& v, Formato f, const Consulta& c, const QString& tabla) const
    {
        if (v.esCalculado())
            return Texto{m_inf.calcular(v.calculado, c.fila(tabla)), {}};
        return formatear(c.valor(v.campo), v.campo, f);
    }

    QList<double> anchos(const Banda& b) const
    {
        double suma = 0;
        for (const Columna& col : b.columnas)
            suma += col.ancho * m_pag.mm();
        const double escala = suma > m_pag.ancho() ? m_pag.ancho() / suma : 1.0;
        QList<double> out;
        for (const Columna& col : b.columnas)
            out << col.ancho * m_pag.mm() * escala;
        return out;
    }

    Renglon cabeceraColumnasRenglon(const Banda& b) const
    {
        Renglon r;
        r.estilo = Estilo::Cabecera;
        double x = 0;
        const QList<double> w = anchos(b);
        for (int i = 0; i < b.columnas.size(); ++i) {
            r.celdas << celda(x, w[i], b.columnas[i].titulo, Estilo::Cabecera, b.columnas[i].alineacion);
            x += w[i];
        }
        return r;
    }

    // The column heads of the walked rows, repeated at the top of each page with the heading.
    void cabeceraDeColumnas(const Banda& b, QList<Renglon> antes)
    {
        if (b.columnas.isEmpty()) {
            m_pag.ponerRepeticion(antes);
            return;
        }
        const Renglon r = cabeceraColumnasRenglon(b);
        m_pag.poner(r, 1);
        antes << r;
        m_pag.ponerRepeticion(antes);
    }

    void cabeceraDeGrupo(const Consulta& c)
    {
        m_pag.ponerRepeticion({});
        QStringList lineas;
        for (const Plantilla& p : m_def.lineasGrupo) {
            QString texto = p.textos.value(0);
            for (int i = 0; i < p.valores.size(); ++i)
                texto +=
                    valor(p.valores[i], Formato::Auto, c, m_def.detalle.tabla).texto + p.textos.value(i + 1);
            lineas << texto;
        }
        m_pag.espacio(1.5);
        Renglon r;
        r.estilo = Estilo::Grupo;
        r.celdas << celda(0, m_pag.ancho(), lineas.join(u'\n'), Estilo::Grupo);
        m_pag.poner(r, 3);
        Renglon repetido = r;
        if (!repetido.celdas.isEmpty() && !repetido.celdas[0].lineas.isEmpty())
            repetido.celdas[0].lineas = {repetido.celdas[0].lineas.first() +
                                         QStringLiteral(" (continuación)")};
        cabeceraDeColumnas(m_def.detalle, {repetido});
    }

    void pieDeGrupo(qint64 filas)
    {
        if (m_def.totalGrupo.isEmpty())
            return;
        Renglon r;
        r.celdas << celda(0, m_pag.ancho(), QStringLiteral("%1: %2").arg(m_def.totalGrupo).arg(filas),
                          Estilo::Cabecera, Alineacion::Derecha);
        r.celdas[0].rotulo = true;
        m_pag.poner(r);
    }

    void detalle(const Banda& b, const Consulta& c, bool lineaDebajo)
    {
        if (!b.columnas.isEmpty()) {
            Renglon r;
            r.lineaDebajo = lineaDebajo;
            const QList<double> w = anchos(b);
            double x = 0;
            for (int i = 0; i < b.columnas.size(); ++i) {
                const Columna& col = b.columnas[i];
                const Texto t = valor(col.valor, col.formato, c, b.tabla);
                Celda ce = celda(x, w[i], t.texto, Estilo::Normal, col.alineacion);
                if (t.lampara) {
                    ce.lampara = t.lampara;
                    ce.lineas = m_pag.envolver(t.texto, std::max(1.0, w[i] - 6 * m_pag.mm()), Estilo::Normal);
                }
                r.celdas << ce;
                x += w[i];
            }
            m_pag.poner(r);
            return;
        }
        ficha(b, c);
    }

    // Label and value pairs side by side, long texts across the page under their label.
    void ficha(const Banda& b, const Consulta& c)
    {
        const int n = b.columnasFicha;
        const double bloque = m_pag.ancho() / n;
        const double rotulo = bloque * 0.42;
        Renglon r;
        int enRenglon = 0;
        auto cerrar = [&] {
            if (enRenglon > 0)
                m_pag.poner(r);
            r = Renglon();
            enRenglon = 0;
        };
        for (const Elemento& e : b.ficha) {
            const Texto t = valor(e.valor, e.formato, c, b.tabla);
            if (e.omitirVacio && t.texto.isEmpty())
                continue;
            if (e.ancho) {
                cerrar();
                Renglon titulo;
                titulo.celdas << celda(0, m_pag.ancho(), e.titulo, Estilo::Cabecera);
                titulo.celdas[0].rotulo = true;
                m_pag.poner(titulo, 1);
                Renglon texto;
                texto.celdas << celda(3 * m_pag.mm(), m_pag.ancho() - 3 * m_pag.mm(),
                                      t.texto.isEmpty() ? QStringLiteral("—") : t.texto, Estilo::Normal);
                m_pag.poner(texto);
                continue;
            }
            const double x = enRenglon * bloque;
            Celda etiqueta = celda(x, rotulo, e.titulo, Estilo::Cabecera);
            etiqueta.rotulo = true;
            r.celdas << etiqueta;
            Celda v = celda(x + rotulo, bloque - rotulo, t.texto, Estilo::Normal);
            if (t.lampara) {
                v.lampara = t.lampara;
                v.lineas =
                    m_pag.envolver(t.texto, std::max(1.0, bloque - rotulo - 6 * m_pag.mm()), Estilo::Normal);
            }
            r.celdas << v;
            if (++enRenglon == n)
                cerrar();
        }
        cerrar();
    }

    Status seccion(const Banda& b, Consulta& c)
    {
        m_pag.espacio(2);
        Renglon titulo;
        titulo.estilo = Estilo::Seccion;
        titulo.celdas << celda(0, m_pag.ancho(), b.titulo, Estilo::Seccion);
        m_pag.poner(titulo, 2);
        bool alguna = false;
        for (;;) {
            auto hay = c.siguiente();
            if (!hay)
                return Status::failure(
                    QStringLiteral("No se pudieron leer las filas del informe: %1").arg(hay.error()));
            if (!hay.value())
                break;
            if (!alguna && !b.columnas.isEmpty())
                m_pag.poner(cabeceraColumnasRenglon(b), 1);
            if (alguna && b.columnas.isEmpty())
                m_pag.espacio(1);
            alguna = true;
            detalle(b, c, true);
        }
        if (!alguna) {
            Renglon r;
            r.celdas << celda(0, m_pag.ancho(), QStringLiteral("Sin registros."), Estilo::Normal);
            m_pag.poner(r);
        }
        return {};
    }
};

} // namespace

void prepararPagina(const InformePreparado& informe, QPagedPaintDevice& dispositivo)
{
    dispositivo.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4),
                    informe.definicion().apaisada ? QPageLayout::Landscape : QPageLayout::Portrait,
                    QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

Status pintar(const InformePreparado& informe, QPagedPaintDevice& dispositivo, const QDateTime& impreso)
{
    int paginas = 0;
    {
        Paginador contar(informe, dispositivo, &dispositivo, nullptr, 0, impreso);
        Recorrido r(informe, contar);
        if (Status st = r.correr(); !st)
            return st;
        paginas = contar.paginas();
    }
    QPainter painter;
    if (!painter.begin(&dispositivo))
        return Status::failure(QStringLiteral("No se puede dibujar el informe en el destino elegido."));
    Paginador pag(informe, dispositivo, &dispositivo, &painter, paginas, impreso);
    Recorrido r(informe, pag);
    Status st = r.correr();
    painter.end();
    return st;
}

Status exportarPdf(const InformePreparado& informe, const QString& ruta, const QDateTime& impreso)
{
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly))
        return Status::failure(
            QStringLiteral("No se puede escribir '%1': %2.").arg(ruta, archivo.errorString()));
    {
        QPdfWriter pdf(&archivo);
        pdf.setResolution(300);
        pdf.setTitle(informe.definicion().titulo);
        pdf.setCreator(QStringLiteral("Quorvela"));
        prepararPagina(informe, pdf);
        if (Status st = pintar(informe, pdf, impreso); !st) {
            archivo.cancelWriting();
            return st;
        }
    }
    if (!archivo.commit())
        return Status::failure(
            QStringLiteral("No se pudo guardar '%1': %2.").arg(ruta, archivo.errorString()));
    return {};
}

namespace {

// One page of the report at `dpi`, as the preview shows it.
QImage hojaEnBlanco(const InformePreparado& informe, double dpi)
{
    const QSizeF mm = informe.definicion().apaisada ? QSizeF(297, 210) : QSizeF(210, 297);
    QImage hoja(qRound(mm.width() / 25.4 * dpi), qRound(mm.height() / 25.4 * dpi), QImage::Format_RGB32);
    hoja.setDotsPerMeterX(qRound(dpi / 0.0254));
    hoja.setDotsPerMeterY(qRound(dpi / 0.0254));
    hoja.fill(Qt::white);
    return hoja;
}

} // namespace

Result<QImage> pintarPagina(const InformePreparado& informe, int pagina, int total, const QDateTime& impreso,
                            double dpi)
{
    QImage hoja = hojaEnBlanco(informe, dpi);
    QPainter painter(&hoja);
    painter.setRenderHint(QPainter::TextAntialiasing);
    Paginador pag(informe, hoja, nullptr, &painter, total, impreso, pagina);
    Recorrido r(informe, pag);
    if (Status st = r.correr(); !st)
        return Result<QImage>::failure(st.error());
    painter.end();
    return hoja;
}

Result<int> contarPaginas(const InformePreparado& informe, const QDateTime& impreso, double dpi, int hasta,
                          const std::function<bool()>& seguir)
{
    QImage hoja = hojaEnBlanco(informe, dpi);
    Paginador pag(informe, hoja, nullptr, nullptr, 0, impreso, 0, hasta);
    Recorrido r(informe, pag, seguir);
    if (Status st = r.correr(); !st)
        return Result<int>::failure(st.error());
    return pag.paginas();
}

} // namespace informe
