#include "search/logic/DefinicionInforme.h"

#include "data/logic/Campos.h"
#include "data/logic/Schema.h"

namespace informe {

namespace {

class Lector
{
public:
    Lector(const QString& nombre) : m_nombre(nombre) {}

    Status fallo(const QString& detalle) const
    {
        return Status::failure(QStringLiteral("El informe '%1' tiene un error en la línea %2: %3.")
                                   .arg(m_nombre)
                                   .arg(m_linea)
                                   .arg(detalle));
    }

    Result<Definicion> leer(const QString& texto)
    {
        const QStringList lineas = texto.split(u'\n');
        QString seccion;
        Banda* banda = nullptr;
        bool hayInforme = false;
        for (const QString& cruda : lineas) {
            ++m_linea;
            const QString linea = cruda.trimmed();
            if (linea.isEmpty() || linea.startsWith(u'#'))
                continue;
            if (linea.startsWith(u'[')) {
                if (!linea.endsWith(u']'))
                    return Result<Definicion>::failure(fallo(QStringLiteral("falta «]»")).error());
                seccion = linea.mid(1, linea.size() - 2).trimmed().toLower();
                if (seccion == QLatin1String("informe"))
                    hayInforme = true;
                else if (seccion == QLatin1String("detalle"))
                    banda = &m_def.detalle;
                else if (seccion == QLatin1String("seccion") || seccion == QStringLiteral("sección")) {
                    m_def.secciones.append(Banda());
                    banda = &m_def.secciones.last();
                } else if (seccion != QLatin1String("grupo"))
                    return Result<Definicion>::failure(
                        fallo(QStringLiteral("la sección «%1» no existe").arg(seccion)).error());
                continue;
            }
            const qsizetype igual = linea.indexOf(u'=');
            if (igual <= 0 || seccion.isEmpty())
                return Result<Definicion>::failure(
                    fallo(QStringLiteral("se esperaba «clave = valor» dentro de una sección")).error());
            const QString clave = linea.left(igual).trimmed().toLower();
            const QString valor = linea.mid(igual + 1).trimmed();
            Status st = seccion == QLatin1String("informe") ? informe(clave, valor)
                        : seccion == QLatin1String("grupo")
                            ? grupo(clave, valor)
                            : enBanda(*banda, clave, valor, banda == &m_def.detalle);
            if (!st)
                return Result<Definicion>::failure(st.error());
        }
        m_linea = 0;
        if (!hayInforme || m_def.detalle.tabla.isEmpty())
            return Result<Definicion>::failure(
                QStringLiteral("El informe '%1' no tiene la sección [informe] con su tabla.").arg(m_nombre));
        if (m_def.detalle.columnas.isEmpty() && m_def.detalle.ficha.isEmpty() && m_def.secciones.isEmpty())
            return Result<Definicion>::failure(
                QStringLiteral("El informe '%1' no imprime nada.").arg(m_nombre));
        for (const Banda& b : std::as_const(m_def.secciones))
            if (b.tabla.isEmpty())
                return Result<Definicion>::failure(
                    QStringLiteral("Una sección del informe '%1' no tiene tabla.").arg(m_nombre));
        return m_def;
    }

private:
    QString m_nombre;
    int m_linea = 0;
    Definicion m_def;

    static Result<bool> siNo(const QString& v)
    {
        if (v.compare(QLatin1String("si"), Qt::CaseInsensitive) == 0 ||
            v.compare(QStringLiteral("sí"), Qt::CaseInsensitive) == 0)
            return true;
        if (v.compare(QLatin1String("no"), Qt::CaseInsensitive) == 0)
            return false;
        return Result<bool>::failure(QStringLiteral("«%1» no es si ni no").arg(v));
    }

    Result<QString> tabla(const QString& v) const
    {
        const schema::Table* t = schema::table(v);
        if (!t)
            return Result<QString>::failure(fallo(QStringLiteral("la tabla «%1» no existe").arg(v)).error());
        return t->name;
    }

    Status informe(const QString& clave, const QString& valor)
    {
        if (clave == QLatin1String("titulo") || clave == QStringLiteral("título"))
            m_def.titulo = valor;
        else if (clave == QStringLiteral("orientacion") || clave == QStringLiteral("orientación")) {
            if (valor != QLatin1String("vertical") && valor != QLatin1String("apaisada"))
                return fallo(QStringLiteral("la orientación es vertical o apaisada"));
            m_def.apaisada = valor == QLatin1String("apaisada");
        } else if (clave == QLatin1String("tabla")) {
            auto t = tabla(valor);
            if (!t)
                return Status::failure(t.error());
            m_def.detalle.tabla = t.value();
        } else if (clave == QLatin1String("orden")) {
            return orden(m_def.detalle, valor);
        } else if (clave == QLatin1String("agrupar") || clave == QLatin1String("saltoporgrupo")) {
            auto b = siNo(valor);
            if (!b)
                return fallo(b.error());
            (clave == QLatin1String("agrupar") ? m_def.agrupar : m_def.saltoPorGrupo) = b.value();
        } else if (clave == QLatin1String("letra")) {
            bool ok = false;
            m_def.letra = valor.toDouble(&ok);
            if (!ok || m_def.letra < 5 || m_def.letra > 14)
                return fallo(QStringLiteral("la letra va de 5 a 14 puntos"));
        } else if (clave == QLatin1String("total"))
            m_def.total = valor;
        else if (clave == QLatin1String("totalgrupo"))
            m_def.totalGrupo = valor;
        else
            return fallo(QStringLiteral("la clave «%1» no existe en [informe]").arg(clave));
        return {};
    }

    Result<Valor> valor(const QString& texto) const
    {
        auto falla = [this](const QString& d) { return Result<Valor>::failure(fallo(d).error()); };
        const QString t = texto.trimmed();
        if (!t.startsWith(u'{') || !t.endsWith(u'}'))
            return falla(QStringLiteral("«%1» no es {Tabla.campo} ni {=Nombre}").arg(t));
        const QString dentro = t.mid(1, t.size() - 2).trimmed();
        Valor v;
        if (dentro.startsWith(u'=')) {
            v.calculado = dentro.mid(1).trimmed();
            for (const QString& n : valoresCalculados())
                if (n.compare(v.calculado, Qt::CaseInsensitive) == 0) {
                    v.calculado = n;
                    return v;
                }
            return falla(QStringLiteral("el valor calculado «%1» no existe").arg(v.calculado));
        }
        const qsizetype punto = dentro.indexOf(u'.');
        if (punto <= 0)
            return falla(QStringLiteral("«%1» no es {Tabla.campo}").arg(t));
        auto ref = resolverCampo(dentro.left(punto).trimmed(), dentro.mid(punto + 1).trimmed());
        if (!ref)
            return falla(ref.error());
        v.campo = ref.value();
        return v;
    }

    Status orden(Banda& banda, const QString& texto)
    {
        banda.orden.clear();
        for (const QString& parte : texto.split(u',')) {
            QString p = parte.trimmed();
            Orden o;
            if (p.endsWith(QLatin1String(" desc"), Qt::CaseInsensitive)) {
                o.descendente = true;
                p.chop(5);
            } else if (p.endsWith(QLatin1String(" asc"), Qt::CaseInsensitive))
                p.chop(4);
            auto v = valor(p);
            if (!v)
                return Status::failure(v.error());
            if (v.value().esCalculado())
                return fallo(QStringLiteral("no se puede ordenar por un valor calculado"));
            o.campo = v.value().campo;
            banda.orden << o;
        }
        return {};
    }

    Result<Plantilla> plantilla(const QString& texto) const
    {
        Plantilla p;
        QString literal;
        qsizetype i = 0;
        while (i < texto.size()) {
            if (texto[i] == u'{') {
                const qsizetype fin = texto.indexOf(u'}', i);
                if (fin < 0)
                    return Result<Plantilla>::failure(fallo(QStringLiteral("falta «}»")).error());
                auto v = valor(texto.mid(i, fin - i + 1));
                if (!v)
                    return Result<Plantilla>::failure(v.error());
                p.textos << literal;
                literal.clear();
                p.valores << v.value();
                i = fin + 1;
            } else
                literal += texto[i++];
        }
        p.textos << literal;
        return p;
    }

    Status grupo(const QString& clave, const QString& valor)
    {
        if (clave != QStringLiteral("linea") && clave != QStringLiteral("línea"))
            return fallo(QStringLiteral("la clave «%1» no existe en [grupo]").arg(clave));
        auto p = plantilla(valor);
        if (!p)
            return Status::failure(p.error());
        m_def.lineasGrupo << p.value();
        return {};
    }

    Result<Formato> formato(const QString& texto) const
    {
        static const QList<QPair<QString, Formato>> formatos = {
            {QStringLiteral("texto"), Formato::Texto},     {QStringLiteral("entero"), Formato::Entero},
            {QStringLiteral("decimal"), Formato::Decimal}, {QStringLiteral("fecha"), Formato::Fecha},
            {QStringLiteral("sino"), Formato::SiNo},       {QStringLiteral("lampara"), Formato::Lampara},
            {QStringLiteral("lámpara"), Formato::Lampara}, {QStringLiteral("estado"), Formato::Estado},
        };
        if (texto.isEmpty())
            return Formato::Auto;
        for (const auto& [n, f] : formatos)
            if (n == texto.toLower())
                return f;
        return Result<Formato>::failure(
            fallo(QStringLiteral("el formato «%1» no existe").arg(texto)).error());
    }

    Status enBanda(Banda& b, const QString& clave, const QString& texto, bool esDetalle)
    {
        const QStringList partes = [&] {
            QStringList p = texto.split(u'|');
            for (QString& s : p)
                s = s.trimmed();
            return p;
        }();
        // The fields a band prints belong to its table (and, for the rows walked, to their transformer).
        auto propio = [&](const Valor& v) -> Status {
            if (v.esCalculado() || v.campo.tabla == b.tabla ||
                (esDetalle && v.campo.tabla == campo::tablas::Trafoge))
                return {};
            return fallo(
                QStringLiteral("%1.%2 no es de la tabla %3").arg(v.campo.tabla, v.campo.campo, b.tabla));
        };
        if (clave == QLatin1String("columna")) {
            if (partes.size() < 3 || partes.size() > 5)
                return fallo(
                    QStringLiteral("una columna es «Título | valor | ancho [| alineación [| formato]]»"));
            Columna c;
            c.titulo = partes[0];
            auto v = valor(partes[1]);
            if (!v)
                return Status::failure(v.error());
            if (Status st = propio(v.value()); !st)
                return st;
            c.valor = v.value();
            bool ok = false;
            c.ancho = partes[2].toDouble(&ok);
            if (!ok || c.ancho <= 0 || c.ancho > 400)
                return fallo(QStringLiteral("el ancho «%1» no es un número de milímetros").arg(partes[2]));
            if (partes.size() > 3) {
                const QString a = partes[3].toLower();
                if (a == QLatin1String("izquierda"))
                    c.alineacion = Alineacion::Izquierda;
                else if (a == QLatin1String("centro"))
                    c.alineacion = Alineacion::Centro;
                else if (a == QLatin1String("derecha"))
                    c.alineacion = Alineacion::Derecha;
                else
                    return fallo(QStringLiteral("la alineación es izquierda, centro o derecha"));
            }
            auto f = formato(partes.value(4));
            if (!f)
                return Status::failure(f.error());
            c.formato = f.value();
            b.columnas << c;
        } else if (clave == QLatin1String("campo") || clave == QLatin1String("texto")) {
            if (partes.size() < 2 || partes.size() > 3)
                return fallo(QStringLiteral("se esperaba «Título | valor [| formato]»"));
            Elemento e;
            e.ancho = clave == QLatin1String("texto");
            e.titulo = partes[0];
            auto v = valor(partes[1]);
            if (!v)
                return Status::failure(v.error());
            if (Status st = propio(v.value()); !st)
                return st;
            e.valor = v.value();
            auto f = formato(partes.value(2));
            if (!f)
                return Status::failure(f.error());
            e.formato = f.value();
            b.ficha << e;
        } else if (clave == QLatin1String("campos")) {
            const schema::Table* t = schema::table(texto);
            if (!t || (t->name != b.tabla && !(esDetalle && t->name == campo::tablas::Trafoge)))
                return fallo(QStringLiteral("«%1» no es la tabla de esta sección").arg(texto));
            // Every field with its caption as the forms show it; the code is in the header already.
            for (const schema::Field& f : t->fields) {
                if (schema::sameName(f.name, t->codeField))
                    continue;
                Elemento e;
                e.ancho = f.kind == schema::FieldKind::Memo;
                e.omitirVacio = f.tableOnly;
                QString titulo = f.caption.isEmpty() ? f.name : f.caption;
                if (titulo.endsWith(u':'))
                    titulo.chop(1);
                e.titulo = titulo;
                e.valor.campo = CampoRef{t->name, f.name};
                if (t->name == campo::tablas::Trafoge && f.name == campo::trafoge::ESTADO)
                    e.formato = Formato::Lampara;
                b.ficha << e;
            }
        } else if (clave == QLatin1String("columnasficha")) {
            bool ok = false;
            b.columnasFicha = texto.toInt(&ok);
            if (!ok || b.columnasFicha < 1 || b.columnasFicha > 4)
                return fallo(QStringLiteral("columnasFicha va de 1 a 4"));
        } else if (!esDetalle && (clave == QLatin1String("titulo") || clave == QStringLiteral("título")))
            b.titulo = texto;
        else if (!esDetalle && clave == QLatin1String("tabla")) {
            auto t = tabla(texto);
            if (!t)
                return Status::failure(t.error());
            if (!b.columnas.isEmpty() || !b.ficha.isEmpty())
                return fallo(QStringLiteral("la tabla va antes que lo que imprime la sección"));
            b.tabla = t.value();
        } else if (!esDetalle && clave == QLatin1String("filas")) {
            if (texto != QLatin1String("todas") && texto != QStringLiteral("ultima") &&
                texto != QStringLiteral("última"))
                return fallo(QStringLiteral("filas es todas o ultima"));
            b.soloUltima = texto != QLatin1String("todas");
        } else if (!esDetalle && clave == QLatin1String("orden"))
            return orden(b, texto);
        else
            return fallo(QStringLiteral("la clave «%1» no existe aquí").arg(clave));
        return {};
    }
};

} // namespace

QStringList Definicion::tablasFilas() const
{
    QStringList t{detalle.tabla};
    if (detalle.tabla != campo::tablas::Trafoge)
        t << campo::tablas::Trafoge;
    return t;
}

const QStringList& valoresCalculados()
{
    static const QStringList nombres = {QStringLiteral("Dornenburg"),     QStringLiteral("Rogers"),
                                        QStringLiteral("RelacionGases"),  QStringLiteral("DuvalTriangulo"),
                                        QStringLiteral("DuvalPentagono"), QStringLiteral("Trabajos")};
    return nombres;
}

Result<Definicion> leerDefinicion(const QString& texto, const QString& nombre)
{
    return Lector(nombre).leer(texto);
}

} // namespace informe
