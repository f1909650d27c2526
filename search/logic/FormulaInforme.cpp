#include "search/logic/FormulaInforme.h"

#include "data/logic/JetSql.h"
#include "data/logic/Schema.h"

#include <QDate>
#include <QHash>
#include <cmath>

namespace informe {

namespace {

using Nodo = Formula::Nodo;
using Operando = Formula::Operando;

// A message that quotes the formula, so that the user sees which of the two failed.
QString mensaje(const QString& formula, const QString& detalle)
{
    return QStringLiteral("La fórmula de selección «%1» no es válida: %2.").arg(formula, detalle);
}

class Analizador
{
public:
    explicit Analizador(const QString& texto) : m_t(texto) {}

    Result<Nodo> formula()
    {
        auto n = disyuncion();
        if (!n)
            return n;
        saltarBlancos();
        if (m_i < m_t.size())
            return fallo(QStringLiteral("sobra «%1» en la posición %2").arg(m_t.mid(m_i, 12)).arg(m_i + 1));
        return n;
    }

private:
    // Deeper nesting than any formula a person writes is refused before the recursion can
    // exhaust the stack.
    static constexpr int kAnidamientoMaximo = 200;

    const QString& m_t;
    qsizetype m_i = 0;
    int m_anidamiento = 0;

    Result<Nodo> fallo(const QString& detalle) const { return Result<Nodo>::failure(mensaje(m_t, detalle)); }

    void saltarBlancos()
    {
        while (m_i < m_t.size() && m_t[m_i].isSpace())
            ++m_i;
    }
    // A keyword (and, or, not, date) in any case, not followed by a letter or digit.
    bool palabra(QLatin1StringView p)
    {
        saltarBlancos();
        const qsizetype n = p.size();
        if (m_t.size() - m_i < n || QStringView(m_t).mid(m_i, n).compare(p, Qt::CaseInsensitive) != 0)
            return false;
        if (m_i + n < m_t.size() && (m_t[m_i + n].isLetterOrNumber() || m_t[m_i + n] == u'_'))
            return false;
        m_i += n;
        return true;
    }
    QString donde() const
    {
        if (m_i >= m_t.size())
            return QStringLiteral("al final");
        return QStringLiteral("en la posición %1 («%2»)").arg(m_i + 1).arg(m_t.mid(m_i, 12));
    }

    Result<Nodo> combinar(Nodo::Tipo tipo, QLatin1StringView clave, Result<Nodo> (Analizador::*siguiente)())
    {
        auto primero = (this->*siguiente)();
        if (!primero)
            return primero;
        Nodo n;
        n.tipo = tipo;
        n.hijos.push_back(primero.value());
        while (palabra(clave)) {
            auto otro = (this->*siguiente)();
            if (!otro)
                return otro;
            n.hijos.push_back(otro.value());
        }
        if (n.hijos.size() == 1)
            return primero;
        return n;
    }
    Result<Nodo> disyuncion()
    {
        return combinar(Nodo::Tipo::O, QLatin1StringView("or"), &Analizador::conjuncion);
    }
    Result<Nodo> conjuncion()
    {
        return combinar(Nodo::Tipo::Y, QLatin1StringView("and"), &Analizador::negacion);
    }

    Result<Nodo> negacion()
    {
        struct Nivel
        {
            explicit Nivel(int& a) : anidamiento(++a) {}
            ~Nivel() { --anidamiento; }
            int& anidamiento;
        } nivel(m_anidamiento);
        if (nivel.anidamiento > kAnidamientoMaximo)
            return fallo(
                QStringLiteral("tiene más de %1 niveles de «(» o «not» anidados").arg(kAnidamientoMaximo));
        if (palabra(QLatin1StringView("not"))) {
            auto dentro = negacion();
            if (!dentro)
                return dentro;
            Nodo n;
            n.tipo = Nodo::Tipo::No;
            n.hijos.push_back(dentro.value());
            return n;
        }
        saltarBlancos();
        if (m_i < m_t.size() && m_t[m_i] == u'(') {
            // A parenthesis opens a sub-formula unless it only wraps an operand of a comparison;
            // the forms the program writes always put comparisons inside.
            ++m_i;
            auto dentro = disyuncion();
            if (!dentro)
                return dentro;
            saltarBlancos();
            if (m_i >= m_t.size() || m_t[m_i] != u')')
                return fallo(QStringLiteral("falta «)» %1").arg(donde()));
            ++m_i;
            return dentro;
        }
        return comparacion();
    }

    Result<Nodo> comparacion()
    {
        Nodo n;
        auto izq = operando();
        if (!izq)
            return Result<Nodo>::failure(izq.error());
        saltarBlancos();
        static const QStringList operadores = {QStringLiteral("<>"), QStringLiteral("<="),
                                               QStringLiteral(">="), QStringLiteral("="),
                                               QStringLiteral("<"),  QStringLiteral(">")};
        for (const QString& op : operadores)
            if (QStringView(m_t).mid(m_i).startsWith(op)) {
                n.operador = op;
                m_i += op.size();
                break;
            }
        if (n.operador.isEmpty())
            return fallo(QStringLiteral("se esperaba una comparación (=, <>, <, >, <=, >=) %1").arg(donde()));
        auto der = operando();
        if (!der)
            return Result<Nodo>::failure(der.error());
        n.izquierda = izq.value();
        n.derecha = der.value();
        return n;
    }

    Result<Operando> falloOperando(const QString& detalle) const
    {
        return Result<Operando>::failure(mensaje(m_t, detalle));
    }

    Result<Operando> operando()
    {
        saltarBlancos();
        if (m_i >= m_t.size())
            return falloOperando(QStringLiteral("falta un valor al final"));
        const QChar c = m_t[m_i];
        Operando o;
        if (c == u'{') {
            const qsizetype fin = m_t.indexOf(u'}', m_i);
            if (fin < 0)
                return falloOperando(QStringLiteral("falta «}» después de «%1»").arg(m_t.mid(m_i)));
            const QString dentro = m_t.mid(m_i + 1, fin - m_i - 1);
            const qsizetype punto = dentro.indexOf(u'.');
            if (punto <= 0 || punto == dentro.size() - 1)
                return falloOperando(QStringLiteral("«{%1}» no tiene la forma {Tabla.campo}").arg(dentro));
            auto ref = resolverCampo(dentro.left(punto).trimmed(), dentro.mid(punto + 1).trimmed());
            if (!ref)
                return falloOperando(ref.error());
            o.tipo = Operando::Tipo::Campo;
            o.campo = ref.value();
            m_i = fin + 1;
            return o;
        }
        if (c == u'\'' || c == u'"') {
            QString valor;
            qsizetype j = m_i + 1;
            for (;; ++j) {
                if (j >= m_t.size())
                    return falloOperando(
                        QStringLiteral("falta la comilla que cierra el texto %1").arg(donde()));
                if (m_t[j] == c) {
                    if (j + 1 < m_t.size() && m_t[j + 1] == c) { // a doubled quote is one quote
                        valor += c;
                        ++j;
                        continue;
                    }
                    break;
                }
                valor += m_t[j];
            }
            m_i = j + 1;
            o.tipo = Operando::Tipo::Texto;
            o.valor = valor;
            return o;
        }
        if (c.isDigit() || c == u'-' || c == u'.') {
            qsizetype j = m_i + 1;
            while (j < m_t.size() && (m_t[j].isDigit() || m_t[j] == u'.'))
                ++j;
            bool ok = false;
            const QString numero = m_t.mid(m_i, j - m_i);
            const double v = numero.toDouble(&ok);
            if (!ok)
                return falloOperando(QStringLiteral("«%1» no es un número").arg(numero));
            m_i = j;
            o.tipo = Operando::Tipo::Numero;
            // A whole number beyond 64 bits stays a real number rather than wrapping around.
            const bool entero = !numero.contains(u'.') && std::abs(v) < 9.2e18;
            o.valor = entero ? QVariant(qint64(v)) : QVariant(v);
            return o;
        }
        const qsizetype inicio = m_i;
        if (palabra(QLatin1StringView("date"))) {
            saltarBlancos();
            if (m_i >= m_t.size() || m_t[m_i] != u'(')
                return falloOperando(QStringLiteral("falta «(» después de DATE %1").arg(donde()));
            const qsizetype fin = m_t.indexOf(u')', m_i);
            if (fin < 0)
                return falloOperando(QStringLiteral("falta «)» en DATE %1").arg(donde()));
            const QStringList partes = m_t.mid(m_i + 1, fin - m_i - 1).split(u',');
            QList<int> n;
            for (const QString& p : partes) {
                bool ok = false;
                const int v = p.trimmed().toInt(&ok);
                if (!ok)
                    break;
                n << v;
            }
            const QDate fecha = n.size() == 3 && partes.size() == 3 ? QDate(n[0], n[1], n[2]) : QDate();
            if (!fecha.isValid())
                return falloOperando(QStringLiteral("«%1» no es una fecha DATE(año,mes,día) válida")
                                         .arg(m_t.mid(inicio, fin + 1 - inicio)));
            m_i = fin + 1;
            o.tipo = Operando::Tipo::Fecha;
            o.valor = fecha.toString(Qt::ISODate);
            return o;
        }
        return falloOperando(
            QStringLiteral("se esperaba {Tabla.campo}, un número, un 'texto' o DATE(a,m,d) %1").arg(donde()));
    }
};

void tablasDe(const Nodo& n, QStringList& out)
{
    for (const Operando* o : {&n.izquierda, &n.derecha})
        if (n.tipo == Nodo::Tipo::Comparacion && o->tipo == Operando::Tipo::Campo &&
            !out.contains(o->campo.tabla))
            out << o->campo.tabla;
    for (const Nodo& h : n.hijos)
        tablasDe(h, out);
}

bool esTexto(const CampoRef& c)
{
    const schema::Table* t = schema::table(c.tabla);
    const schema::Field* f = t ? t->field(c.campo) : nullptr;
    return f && (f->kind == schema::FieldKind::Text || f->kind == schema::FieldKind::Memo ||
                 f->kind == schema::FieldKind::ListText);
}

QString operandoSql(const Operando& o, const QHash<QString, QString>& alias, Formula::Sql& out)
{
    if (o.tipo == Operando::Tipo::Campo)
        return alias.value(o.campo.tabla) + QLatin1Char('.') + schema::quoteIdentifier(o.campo.campo);
    out.parametros << o.valor;
    return QStringLiteral("?");
}

void nodoSql(const Nodo& n, const QStringList& fuente, const QString& codigoFila, Formula::Sql& out)
{
    switch (n.tipo) {
    case Nodo::Tipo::Comparacion: {
        // Each field is read where its table is: from the row when the table is one of the
        // rows', otherwise from some row of that table for the same transformer. Two fields of
        // other tables are read from one pair of such rows.
        QHash<QString, QString> alias;
        QStringList desde, enlaces;
        for (const Operando* o : {&n.izquierda, &n.derecha}) {
            if (o->tipo != Operando::Tipo::Campo || alias.contains(o->campo.tabla))
                continue;
            const QString& tabla = o->campo.tabla;
            if (fuente.contains(tabla)) {
                alias.insert(tabla, schema::quoteIdentifier(tabla));
                continue;
            }
            const QString a = QStringLiteral("f%1").arg(++out.subconsultas);
            alias.insert(tabla, a);
            desde << schema::quoteIdentifier(tabla) + QLatin1Char(' ') + a;
            enlaces << a + QLatin1Char('.') + schema::quoteIdentifier(schema::table(tabla)->codeField) +
                           QStringLiteral(" = ") + codigoFila;
        }
        if (!desde.isEmpty())
            out.texto += QStringLiteral("EXISTS (SELECT 1 FROM %1 WHERE %2 AND ")
                             .arg(desde.join(QStringLiteral(", ")), enlaces.join(QStringLiteral(" AND ")));
        const bool texto = (n.izquierda.tipo == Operando::Tipo::Campo && esTexto(n.izquierda.campo)) ||
                           (n.derecha.tipo == Operando::Tipo::Campo && esTexto(n.derecha.campo));
        // Texts compare without regard to case, as the engine's searches do.
        QString izquierda = operandoSql(n.izquierda, alias, out);
        if (texto)
            izquierda += QStringLiteral(" COLLATE UNOCASE");
        out.texto += QLatin1Char('(') + izquierda + QLatin1Char(' ') + n.operador + QLatin1Char(' ');
        out.texto += operandoSql(n.derecha, alias, out) + QLatin1Char(')');
        if (!desde.isEmpty())
            out.texto += QLatin1Char(')');
        return;
    }
    case Nodo::Tipo::No:
        out.texto += QStringLiteral("(NOT ");
        nodoSql(n.hijos.front(), fuente, codigoFila, out);
        out.texto += QLatin1Char(')');
        return;
    case Nodo::Tipo::Y:
    case Nodo::Tipo::O: {
        const QString union_ = n.tipo == Nodo::Tipo::Y ? QStringLiteral(" AND ") : QStringLiteral(" OR ");
        out.texto += QLatin1Char('(');
        for (size_t i = 0; i < n.hijos.size(); ++i) {
            if (i > 0)
                out.texto += union_;
            nodoSql(n.hijos[i], fuente, codigoFila, out);
        }
        out.texto += QLatin1Char(')');
        return;
    }
    }
}

} // namespace

Result<CampoRef> resolverCampo(const QString& tablaEscrita, const QString& campoEscrito)
{
    // Names may come bracketed, as in the engine's SQL.
    const QString tabla = jetsql::unbracket(tablaEscrita), campo = jetsql::unbracket(campoEscrito);
    const schema::Table* t = schema::table(tabla);
    if (!t)
        return Result<CampoRef>::failure(QStringLiteral("la tabla «%1» no existe").arg(tabla));
    const schema::Field* f = t->field(campo);
    if (!f)
        return Result<CampoRef>::failure(
            QStringLiteral("la tabla %1 no tiene el campo «%2»").arg(t->name, campo));
    return CampoRef{t->name, f->name};
}

Result<Formula> Formula::analizar(const QString& texto)
{
    Formula f;
    f.m_texto = texto;
    if (texto.trimmed().isEmpty())
        return f;
    auto raiz = Analizador(texto).formula();
    if (!raiz)
        return Result<Formula>::failure(raiz.error());
    f.m_raiz = std::make_shared<const Nodo>(raiz.value());
    return f;
}

Formula::Sql Formula::sql(const QStringList& tablasFuente, const QString& codigoFila) const
{
    Sql out;
    if (!m_raiz) {
        out.texto = QStringLiteral("1");
        return out;
    }
    nodoSql(*m_raiz, tablasFuente, codigoFila, out);
    return out;
}

QStringList Formula::tablas() const
{
    QStringList out;
    if (m_raiz)
        tablasDe(*m_raiz, out);
    return out;
}

} // namespace informe
