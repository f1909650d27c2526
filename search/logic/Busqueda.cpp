#include "search/logic/Busqueda.h"

#include "data/logic/Campos.h"
#include "data/logic/Database.h"
#include "data/logic/Fechas.h"
#include "data/logic/JetSql.h"
#include "data/logic/Schema.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <functional>

namespace busqueda {

namespace {

using Nodo = Condicion::Nodo;
using Tipo = Condicion::Nodo::Tipo;

enum class Ficha
{
    Abre,
    Cierra,
    Y,
    O,
    Xo,
    No,
    Comparacion,
    Fin,
};

struct Token
{
    Ficha ficha = Ficha::Fin;
    QString texto;
};

bool letra(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// The clause in tokens: parentheses, the connectors and each comparison's whole text. A
// comparison runs up to the next parenthesis or connector outside quotes, brackets and dates.
std::optional<QList<Token>> fichas(const QString& texto)
{
    static const QList<QPair<QString, Ficha>> kPalabras = {{QStringLiteral("and"), Ficha::Y},
                                                           {QStringLiteral("or"), Ficha::O},
                                                           {QStringLiteral("xor"), Ficha::Xo},
                                                           {QStringLiteral("not"), Ficha::No}};
    auto palabraEn = [&](qsizetype i) -> std::optional<QPair<Ficha, qsizetype>> {
        if (i > 0 && letra(texto.at(i - 1)))
            return std::nullopt;
        for (const auto& [palabra, ficha] : kPalabras) {
            const qsizetype fin = i + palabra.size();
            if (fin <= texto.size() &&
                texto.mid(i, palabra.size()).compare(palabra, Qt::CaseInsensitive) == 0 &&
                (fin == texto.size() || !letra(texto.at(fin))))
                return QPair<Ficha, qsizetype>(ficha, fin);
        }
        return std::nullopt;
    };

    QList<Token> out;
    qsizetype i = 0;
    while (i < texto.size()) {
        const QChar c = texto.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('(')) {
            out << Token{Ficha::Abre, {}};
            ++i;
        } else if (c == QLatin1Char(')')) {
            out << Token{Ficha::Cierra, {}};
            ++i;
        } else if (auto p = palabraEn(i)) {
            out << Token{p->first, {}};
            i = p->second;
        } else {
            const qsizetype inicio = i;
            while (i < texto.size()) {
                const QChar d = texto.at(i);
                if (d == QLatin1Char('(') || d == QLatin1Char(')') || palabraEn(i))
                    break;
                QChar cierre;
                if (d == QLatin1Char('\'') || d == QLatin1Char('"') || d == QLatin1Char('#'))
                    cierre = d;
                else if (d == QLatin1Char('['))
                    cierre = QLatin1Char(']');
                if (cierre.isNull()) {
                    ++i;
                    continue;
                }
                const qsizetype fin = texto.indexOf(cierre, i + 1);
                if (fin < 0)
                    return std::nullopt;
                i = fin + 1;
            }
            out << Token{Ficha::Comparacion, texto.mid(inicio, i - inicio).trimmed()};
        }
    }
    out << Token{Ficha::Fin, {}};
    return out;
}

// One table's field, a comparison and one literal value.
const QRegularExpression& formaComparacion()
{
    static const QRegularExpression k(
        QStringLiteral(
            "^(\\[[^\\]]+\\]|\\w+)\\s*\\.\\s*(\\[[^\\]]+\\]|\\w+)\\s*(<>|<=|>=|=|<|>|\\blike\\b)\\s*"
            "('(?:[^']|'')*'|\"(?:[^\"]|\"\")*\"|#[^#]*#|[+-]?\\d+(?:\\.\\d+)?(?:e[+-]?\\d+)?|true|false)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return k;
}

class Analizador
{
public:
    Analizador(QList<Token> fichas, QList<Condicion::Comparacion>& comparaciones)
        : m_fichas(std::move(fichas)), m_comparaciones(comparaciones)
    {
    }

    bool expresion(Nodo& n) { return binaria(n, 0); }
    bool alFinal() const { return m_fichas.at(m_pos).ficha == Ficha::Fin; }

private:
    // Levels from the loosest: Xor, Or, And.
    bool binaria(Nodo& n, int nivel)
    {
        static const Ficha kFichas[] = {Ficha::Xo, Ficha::O, Ficha::Y};
        static const Tipo kTipos[] = {Tipo::Xo, Tipo::O, Tipo::Y};
        if (nivel == 3)
            return negacion(n);
        Nodo izquierda;
        if (!binaria(izquierda, nivel + 1))
            return false;
        while (m_fichas.at(m_pos).ficha == kFichas[nivel]) {
            ++m_pos;
            Nodo derecha;
            if (!binaria(derecha, nivel + 1))
                return false;
            Nodo padre;
            padre.tipo = kTipos[nivel];
            padre.hijos.push_back(std::move(izquierda));
            padre.hijos.push_back(std::move(derecha));
            izquierda = std::move(padre);
        }
        n = std::move(izquierda);
        return true;
    }

    // Nesting deeper than any search a person writes is refused like any other faulty search,
    // before the recursion can exhaust the stack on a damaged or hostile saved file.
    static constexpr int kAnidamientoMaximo = 200;

    struct Nivel
    {
        explicit Nivel(int& p) : profundidad(++p) {}
        ~Nivel() { --profundidad; }
        bool cabe() const { return profundidad <= kAnidamientoMaximo; }
        int& profundidad;
    };

    bool negacion(Nodo& n)
    {
        if (m_fichas.at(m_pos).ficha == Ficha::No) {
            ++m_pos;
            const Nivel nivel(m_profundidad);
            Nodo hijo;
            if (!nivel.cabe() || !negacion(hijo))
                return false;
            n.tipo = Tipo::No;
            n.hijos.push_back(std::move(hijo));
            return true;
        }
        return primaria(n);
    }

    bool primaria(Nodo& n)
    {
        const Token t = m_fichas.at(m_pos);
        if (t.ficha == Ficha::Abre) {
            ++m_pos;
            const Nivel nivel(m_profundidad);
            if (!nivel.cabe() || !expresion(n) || m_fichas.at(m_pos).ficha != Ficha::Cierra)
                return false;
            ++m_pos;
            return true;
        }
        if (t.ficha != Ficha::Comparacion)
            return false;
        ++m_pos;
        return comparacion(t.texto, n);
    }

    bool comparacion(const QString& texto, Nodo& n)
    {
        const QRegularExpressionMatch m = formaComparacion().match(texto);
        if (!m.hasMatch())
            return false;
        const QString escrita = jetsql::unbracket(m.captured(1)).trimmed();
        QString tabla;
        for (const QString& t : nombresTablas())
            if (t.compare(escrita, Qt::CaseInsensitive) == 0)
                tabla = t;
        if (tabla.isEmpty())
            return false;
        const QString& trafoge = nombresTablas().first();
        auto traducida = jetsql::translateCriterion(texto, tabla == trafoge ? QStringList{trafoge}
                                                                            : QStringList{tabla, trafoge});
        if (!traducida)
            return false;
        n.tipo = Tipo::Comparacion;
        n.comparacion = int(m_comparaciones.size());
        m_comparaciones.append({tabla, traducida.value().sql, traducida.value().params});
        return true;
    }

    QList<Token> m_fichas;
    qsizetype m_pos = 0;
    int m_profundidad = 0;
    QList<Condicion::Comparacion>& m_comparaciones;
};

// Truth values as the engine has them: true, false, or Null (unknown).
enum Verdad : signed char
{
    Nulo = -1,
    Falso = 0,
    Cierto = 1,
};

Verdad evaluar(const Nodo& n, const std::vector<signed char>& valores)
{
    switch (n.tipo) {
    case Tipo::Comparacion:
        return Verdad(valores.at(size_t(n.comparacion)));
    case Tipo::No: {
        const Verdad v = evaluar(n.hijos.front(), valores);
        return v == Nulo ? Nulo : v == Cierto ? Falso : Cierto;
    }
    case Tipo::Y: {
        const Verdad a = evaluar(n.hijos.at(0), valores);
        if (a == Falso)
            return Falso;
        const Verdad b = evaluar(n.hijos.at(1), valores);
        if (b == Falso)
            return Falso;
        return a == Nulo || b == Nulo ? Nulo : Cierto;
    }
    case Tipo::O: {
        const Verdad a = evaluar(n.hijos.at(0), valores);
        if (a == Cierto)
            return Cierto;
        const Verdad b = evaluar(n.hijos.at(1), valores);
        if (b == Cierto)
            return Cierto;
        return a == Nulo || b == Nulo ? Nulo : Falso;
    }
    case Tipo::Xo: {
        const Verdad a = evaluar(n.hijos.at(0), valores);
        const Verdad b = evaluar(n.hijos.at(1), valores);
        if (a == Nulo || b == Nulo)
            return Nulo;
        return a != b ? Cierto : Falso;
    }
    }
    return Nulo;
}

const QString& campoCodigo(const QString& tabla)
{
    if (tabla == campo::tablas::Revision)
        return campo::revision::CODIGO;
    if (tabla == campo::tablas::Ensayos)
        return campo::ensayos::Codigo;
    if (tabla == campo::tablas::Mantenimiento)
        return campo::mantenimiento::Codigo;
    return campo::trafoge::CODIGO;
}

QString q(const QString& nombre)
{
    return schema::quoteIdentifier(nombre);
}

} // namespace

const QStringList& nombresTablas()
{
    static const QStringList k = {campo::tablas::Trafoge, campo::tablas::Revision, campo::tablas::Ensayos,
                                  campo::tablas::Mantenimiento};
    return k;
}

const QStringList& titulosTablas()
{
    static const QStringList k = {QStringLiteral("Trafos"), QStringLiteral("Revision"),
                                  QStringLiteral("Ensayos"), QStringLiteral("Manten"), QStringLiteral(" ")};
    return k;
}

namespace {

const schema::Table* tablaEsquema(int tabla)
{
    switch (tabla) {
    case 0:
        return &schema::trafoge();
    case 1:
        return &schema::revision();
    case 2:
        return &schema::ensayos();
    case 3:
        return &schema::mantenimiento();
    default:
        return nullptr;
    }
}

QString valorEnLinea(const schema::Field* f, const QString& valor)
{
    using K = schema::FieldKind;
    const K kind = f ? f->kind : K::Text;
    switch (kind) {
    case K::Text:
    case K::ListText:
    case K::Memo:
        return QLatin1Char('\'') + QString(valor).replace(QLatin1Char('\''), QStringLiteral("''")) +
               QLatin1Char('\'');
    case K::Date:
        // A date the program cannot read is left as typed: the search then refuses it.
        if (auto d = fechas::leer(valor))
            return literalFecha(*d);
        return valor;
    case K::Integer:
    case K::Number:
        return QString(valor).replace(QLatin1Char(','), QLatin1Char('.'));
    case K::YesNo: {
        static const QStringList kSi = {QStringLiteral("-1"),    QStringLiteral("1"),
                                        QString::fromUtf8("Sí"), QStringLiteral("Si"),
                                        QStringLiteral("True"),  QStringLiteral("Verdadero")};
        static const QStringList kNo = {QStringLiteral("0"), QStringLiteral("No"), QStringLiteral("False"),
                                        QStringLiteral("Falso")};
        if (kSi.contains(valor, Qt::CaseInsensitive))
            return QStringLiteral("True");
        if (kNo.contains(valor, Qt::CaseInsensitive))
            return QStringLiteral("False");
        return valor;
    }
    }
    return valor;
}

} // namespace

QStringList camposDe(int tabla)
{
    QStringList out;
    if (const schema::Table* t = tablaEsquema(tabla))
        for (const schema::Field& f : t->fields)
            out << f.name;
    return out;
}

QString mensajeCondicionIncompleta(bool primera)
{
    return primera ? QStringLiteral("Debe formar una condicion para agregar")
                   : QStringLiteral("Debe formar una condicion completa para agregar");
}

Result<QString> componerLinea(const EleccionLinea& e, bool primera)
{
    const schema::Table* t = tablaEsquema(e.tabla);
    const QString campo = e.campo.trimmed(), comparacion = e.comparacion.trimmed(), valor = e.valor.trimmed(),
                  conector = e.conector.trimmed();
    if (!t || campo.isEmpty() || comparacion.isEmpty() || valor.isEmpty() || (!primera && conector.isEmpty()))
        return Result<QString>::failure(mensajeCondicionIncompleta(primera));
    QString comparado = nombresTablas().at(e.tabla);
    comparado += QStringLiteral(".[") + campo + QStringLiteral("] ") + comparacion + QLatin1Char(' ') +
                 valorEnLinea(t->field(campo), valor);
    if (primera)
        return comparado;
    return QString(conector + QLatin1Char(' ') + (e.abre ? QStringLiteral("( ") : QString()) + comparado +
                   (e.cierra ? QStringLiteral(" )") : QString()));
}

QString fuenteValores(int tabla, const QString& campo)
{
    return QStringLiteral("SELECT DISTINCT [%1]  FROM %2 order by [%1] asc")
        .arg(campo, nombresTablas().value(tabla));
}

QString clausula(const QStringList& lineas)
{
    QString c;
    for (const QString& l : lineas)
        c += l + QLatin1Char(' ');
    return c;
}

QString mensajeErrorBusqueda()
{
    return QString::fromUtf8("La Busqueda Generó Error o no fué bien construida");
}

Result<Condicion> Condicion::analizar(const QStringList& lineas)
{
    const auto t = fichas(clausula(lineas));
    if (!t)
        return Result<Condicion>::failure(mensajeErrorBusqueda());
    Condicion c;
    Analizador a(*t, c.m_comparaciones);
    if (!a.expresion(c.m_raiz) || !a.alFinal())
        return Result<Condicion>::failure(mensajeErrorBusqueda());
    return c;
}

Result<QList<qint64>> Condicion::codigos(const Database& db) const
{
    using R = Result<QList<qint64>>;
    // Per table, the comparisons it reads, in the order of its query's columns.
    const QStringList& tablas = nombresTablas();
    QList<QList<int>> porTabla(tablas.size());
    for (int i = 0; i < m_comparaciones.size(); ++i)
        porTabla[tablas.indexOf(m_comparaciones.at(i).tabla)] << i;

    // code -> the distinct truth patterns of each table's comparisons over its rows.
    using Patrones = QSet<QByteArray>;
    QList<QHash<qint64, Patrones>> patrones(tablas.size());
    QList<qint64> todos;
    QSet<qint64> vistos;
    const QString trafoge = q(tablas.first()) + QLatin1Char('.') + q(campo::trafoge::CODIGO);
    for (int t = 0; t < tablas.size(); ++t) {
        if (t > 0 && porTabla.at(t).isEmpty())
            continue;
        QString sql = QStringLiteral("SELECT ") + trafoge;
        QVariantList parametros;
        for (int i : porTabla.at(t)) {
            sql += QStringLiteral(", (") + m_comparaciones.at(i).sql + QLatin1Char(')');
            parametros += m_comparaciones.at(i).parametros;
        }
        sql += QStringLiteral(" FROM ") + q(tablas.first());
        if (t > 0)
            sql += QStringLiteral(" LEFT JOIN %1 ON %2 = %1.%3")
                       .arg(q(tablas.at(t)), trafoge, q(campoCodigo(tablas.at(t))));
        auto st = Statement::prepare(db, sql, parametros);
        if (!st)
            return R::failure(mensajeErrorBusqueda());
        while (true) {
            auto paso = st.value().step();
            if (!paso)
                return R::failure(mensajeErrorBusqueda());
            if (!paso.value())
                break;
            const QVariant codigo = st.value().value(0);
            if (codigo.isNull())
                continue;
            const qint64 c = codigo.toLongLong();
            QByteArray patron;
            for (int k = 0; k < porTabla.at(t).size(); ++k) {
                const QVariant v = st.value().value(k + 1);
                patron += char(v.isNull() ? Nulo : v.toLongLong() != 0 ? Cierto : Falso);
            }
            patrones[t][c].insert(patron);
            if (t == 0 && !vistos.contains(c)) {
                vistos.insert(c);
                todos << c;
            }
        }
    }
    std::sort(todos.begin(), todos.end());

    QList<int> usadas;
    for (int t = 0; t < tablas.size(); ++t)
        if (t == 0 || !porTabla.at(t).isEmpty())
            usadas << t;
    std::vector<signed char> valores(size_t(m_comparaciones.size()), Nulo);
    QList<qint64> out;
    for (qint64 c : todos) {
        // One row per table at a time: the transformer matches when some choice makes it true.
        std::function<bool(int)> elegir = [&](int k) -> bool {
            if (k == usadas.size())
                return evaluar(m_raiz, valores) == Cierto;
            const int t = usadas.at(k);
            for (const QByteArray& patron : patrones.at(t).value(c)) {
                for (int j = 0; j < porTabla.at(t).size(); ++j)
                    valores[size_t(porTabla.at(t).at(j))] = static_cast<signed char>(patron.at(j));
                if (elegir(k + 1))
                    return true;
            }
            return false;
        };
        if (elegir(0))
            out << c;
    }
    return out;
}

Result<QList<qint64>> buscar(const Database& db, const QStringList& lineas)
{
    if (lineas.isEmpty())
        return Result<QList<qint64>>::failure(
            QStringLiteral("Debe agregar una condicion para realizar la busqueda"));
    auto c = Condicion::analizar(lineas);
    if (!c)
        return Result<QList<qint64>>::failure(c.error());
    jetsql::ReadOnlyScope soloLectura(db.handle());
    return c.value().codigos(db);
}

QString filtroCodigos(const QList<qint64>& codigos)
{
    QString f;
    for (int i = 0; i < codigos.size(); ++i)
        f += i == 0 ? QStringLiteral("(Código =%1)").arg(codigos.at(i))
                    : QStringLiteral("or(Código=%1)").arg(codigos.at(i));
    return f;
}

QString formulaTrafo(const QList<qint64>& codigos)
{
    QString f;
    for (int i = 0; i < codigos.size(); ++i)
        f += (i == 0 ? QString() : QStringLiteral(" or ")) +
             QStringLiteral("({Trafoge.CÓDIGO}=%1)").arg(codigos.at(i));
    return f;
}

QString listaCodigos(const QList<qint64>& codigos)
{
    QStringList l;
    for (qint64 c : codigos)
        l << QString::number(c);
    return l.join(QLatin1Char(','));
}

bool operadorFechaValido(const QString& operador)
{
    static const QStringList k = {QStringLiteral("="), QStringLiteral(">"),  QStringLiteral(">="),
                                  QStringLiteral("<"), QStringLiteral("<="), QStringLiteral("<>")};
    return k.contains(operador);
}

QString formulaFecha(const QString& tabla, const QString& operador, const QDate& fecha)
{
    return QStringLiteral("{%1.fecha}%2DATE(%3)")
        .arg(tabla, operador, fecha.toString(QStringLiteral("yyyy,MM,dd")));
}

QString literalFecha(const QDate& fecha)
{
    return QLatin1Char('#') + fecha.toString(QStringLiteral("MM/dd/yyyy")) + QLatin1Char('#');
}

Result<SeleccionFecha> seleccionarPorFecha(const Database& db, const QString& operador, const QDate& fecha,
                                           const std::optional<QList<qint64>>& subgrupo)
{
    using R = Result<SeleccionFecha>;
    if (!operadorFechaValido(operador))
        return R::failure(QString::fromUtf8("Comparación de fechas no válida: '%1'").arg(operador));
    if (!fecha.isValid())
        return R::failure(QStringLiteral("Fecha no válida"));
    SeleccionFecha s;
    QSet<qint64> codigos;
    struct Destino
    {
        const QString& tabla;
        QList<QPair<qint64, QDate>>& filas;
    };
    const Destino destinos[] = {{campo::tablas::Revision, s.revision},
                                {campo::tablas::Ensayos, s.ensayos},
                                {campo::tablas::Mantenimiento, s.mantenimiento}};
    jetsql::ReadOnlyScope soloLectura(db.handle());
    for (const Destino& d : destinos) {
        const QString codigo = q(campoCodigo(d.tabla)), campoFecha = q(campo::ensayos::Fecha);
        QString sql = QStringLiteral("SELECT %1, %2 FROM %3 WHERE %2 %4 ?")
                          .arg(codigo, campoFecha, q(d.tabla), operador);
        if (subgrupo)
            sql += QStringLiteral(" AND %1 IN (%2)").arg(codigo, listaCodigos(*subgrupo));
        sql += QStringLiteral(" ORDER BY %1 ASC, %2 DESC, rowid").arg(codigo, campoFecha);
        auto st = Statement::prepare(db, sql, {fecha.toString(Qt::ISODate)});
        if (!st)
            return R::failure(st.error());
        while (true) {
            auto paso = st.value().step();
            if (!paso)
                return R::failure(paso.error());
            if (!paso.value())
                break;
            const qint64 c = st.value().int64(0);
            d.filas.append({c, QDate::fromString(st.value().value(1).toString().left(10), Qt::ISODate)});
            codigos.insert(c);
        }
    }
    s.codigos = QList<qint64>(codigos.cbegin(), codigos.cend());
    std::sort(s.codigos.begin(), s.codigos.end());
    if (!s.vacia()) {
        s.formulaRevision = formulaFecha(campo::tablas::Revision, operador, fecha);
        s.formulaEnsayos = formulaFecha(campo::tablas::Ensayos, operador, fecha);
        s.formulaMantenimiento = formulaFecha(campo::tablas::Mantenimiento, operador, fecha);
    }
    return s;
}

} // namespace busqueda
