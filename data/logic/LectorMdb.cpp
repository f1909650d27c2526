// The Jet reader over mdbtools' libmdb. Values are taken from the row's bytes rather than
// through libmdb's strings, which pass numbers through the process's locale, print dates
// before 1900 wrongly and clip memos to the bind buffer.
#include "data/logic/LectorJet.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <QtEndian>
#include <charconv>
#include <cstring>

#include <glib.h>
// glib.h first: mdbtools.h includes it inside extern "C".
#include <mdbtools.h>

namespace jet {

namespace {

// Flags in a row offset of a data page.
constexpr int kMascaraDesplazamiento = 0x1fff;
constexpr int kFilaBorrada = 0x4000;

TipoColumna tipoDe(int tipo)
{
    switch (tipo) {
    case MDB_BOOL:
        return TipoColumna::SiNo;
    case MDB_BYTE:
        return TipoColumna::Byte;
    case MDB_INT:
        return TipoColumna::Entero;
    case MDB_LONGINT:
        return TipoColumna::EnteroLargo;
    case MDB_MONEY:
        return TipoColumna::Moneda;
    case MDB_FLOAT:
        return TipoColumna::Simple;
    case MDB_DOUBLE:
        return TipoColumna::Doble;
    case MDB_DATETIME:
        return TipoColumna::FechaHora;
    case MDB_BINARY:
        return TipoColumna::Binario;
    case MDB_TEXT:
        return TipoColumna::Texto;
    case MDB_OLE:
        return TipoColumna::Ole;
    case MDB_MEMO:
        return TipoColumna::Memo;
    case MDB_REPID:
        return TipoColumna::Replica;
    case MDB_NUMERIC:
        return TipoColumna::Decimal;
    default:
        return TipoColumna::Otro;
    }
}

// Bytes of a value of a fixed-size type; 0 for the others.
int anchoFijo(int tipo)
{
    switch (tipo) {
    case MDB_BYTE:
        return 1;
    case MDB_INT:
        return 2;
    case MDB_LONGINT:
    case MDB_FLOAT:
        return 4;
    case MDB_MONEY:
    case MDB_DOUBLE:
    case MDB_DATETIME:
        return 8;
    default:
        return 0;
    }
}

QString nombreFormato(guint32 version)
{
    switch (version) {
    case MDB_VER_JET3:
        return QStringLiteral("Jet 3");
    case MDB_VER_JET4:
        return QStringLiteral("Jet 4");
    default:
        return QStringLiteral("Access 2007 o posterior");
    }
}

class LectorMdb : public Lector
{
public:
    explicit LectorMdb(MdbHandle* mdb) : m_mdb(mdb) {}
    ~LectorMdb() override { mdb_close(m_mdb); }
    LectorMdb(const LectorMdb&) = delete;
    LectorMdb& operator=(const LectorMdb&) = delete;

    Status cargarCatalogo(const QString& ruta)
    {
        GPtrArray* catalogo = mdb_read_catalog(m_mdb, MDB_TABLE);
        if (!catalogo)
            return Status::failure(
                QStringLiteral("No se puede leer la lista de tablas del archivo '%1'.").arg(ruta));
        for (guint i = 0; i < catalogo->len; ++i) {
            auto* entrada = static_cast<MdbCatalogEntry*>(g_ptr_array_index(catalogo, i));
            if (entrada->object_type != MDB_TABLE || !mdb_is_user_table(entrada))
                continue;
            MdbTableDef* def = mdb_read_table(entrada);
            if (!def)
                return Status::failure(QStringLiteral("No se puede leer la tabla '%1' del archivo '%2'.")
                                           .arg(QString::fromUtf8(entrada->object_name), ruta));
            mdb_read_columns(def);
            Tabla tabla;
            tabla.nombre = QString::fromUtf8(entrada->object_name);
            tabla.filas = def->num_rows;
            for (guint c = 0; c < def->num_cols; ++c) {
                auto* col = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, c));
                tabla.columnas.append({QString::fromUtf8(col->name), tipoDe(col->col_type)});
            }
            mdb_free_tabledef(def);
            m_entradas.append(entrada);
            m_tablas.append(tabla);
        }
        return {};
    }

    QString formato() const override { return nombreFormato(m_mdb->f->jet_version); }
    const QList<Tabla>& tablas() const override { return m_tablas; }

    Status leer(const QString& nombre, const std::function<bool(const Fila&)>& porFila) override
    {
        int indice = -1;
        for (int i = 0; i < m_tablas.size(); ++i)
            if (m_tablas[i].nombre == nombre)
                indice = i;
        if (indice < 0)
            return Status::failure(QStringLiteral("El archivo no tiene la tabla '%1'.").arg(nombre));
        MdbTableDef* def = mdb_read_table(m_entradas[indice]);
        if (!def)
            return Status::failure(QStringLiteral("No se puede leer la tabla '%1'.").arg(nombre));
        mdb_read_columns(def);
        mdb_rewind_table(def);
        Status resultado;
        std::vector<MdbField> campos(MDB_MAX_COLS);
        while (mdb_fetch_row(def)) {
            // libmdb has just read the row into the page buffer: split it again to see each
            // value's bytes and whether it is Null.
            int inicio = 0;
            size_t largo = 0;
            if (mdb_find_row(m_mdb, int(def->cur_row) - 1, &inicio, &largo) != 0 || (inicio & kFilaBorrada)) {
                resultado = Status::failure(
                    QStringLiteral("No se puede leer una fila de la tabla '%1': el archivo está dañado.")
                        .arg(nombre));
                break;
            }
            inicio &= kMascaraDesplazamiento;
            const int n = mdb_crack_row(def, inicio, largo, campos.data());
            if (n < int(def->num_cols)) {
                resultado = Status::failure(
                    QStringLiteral("No se puede leer una fila de la tabla '%1': el archivo está dañado.")
                        .arg(nombre));
                break;
            }
            Fila fila;
            fila.reserve(int(def->num_cols));
            for (guint c = 0; c < def->num_cols; ++c)
                fila.append(valor(def, campos[c]));
            if (!porFila(fila))
                break;
        }
        mdb_free_tabledef(def);
        return resultado;
    }

private:
    bool jet3() const { return m_mdb->f->jet_version == MDB_VER_JET3; }

    // Text of a column: the file's code page in Jet 3; UCS-2 in Jet 4, where a text that
    // starts with FF FE switches between one byte per character and two at each 00 byte.
    QString texto(const char* p, int n) const
    {
        if (n <= 0)
            return QString();
        if (jet3())
            return decodificar(QByteArray(p, n), m_mdb->f->code_page);
        const auto* b = reinterpret_cast<const uchar*>(p);
        QString out;
        if (n >= 2 && b[0] == 0xff && b[1] == 0xfe) {
            out.reserve(n);
            bool comprimido = true;
            int i = 2;
            while (i < n) {
                if (b[i] == 0) {
                    comprimido = !comprimido;
                    ++i;
                } else if (comprimido) {
                    out.append(QLatin1Char(char(b[i])));
                    ++i;
                } else if (i + 1 < n) {
                    out.append(QChar(ushort(b[i] | (b[i + 1] << 8))));
                    i += 2;
                } else {
                    break;
                }
            }
            return out;
        }
        out.reserve(n / 2);
        for (int i = 0; i + 1 < n; i += 2)
            out.append(QChar(ushort(b[i] | (b[i + 1] << 8))));
        return out;
    }

    // The bytes of a memo or OLE value: inline in the row, in one row of another page, or
    // in a chain of them. Any length is read, not only what fits a bind buffer.
    QByteArray largo(const uchar* p, int n) const
    {
        if (n < MDB_MEMO_OVERHEAD)
            return QByteArray();
        const quint32 cabecera = qFromLittleEndian<quint32>(p);
        const quint32 total = cabecera & 0x3fffffff;
        if (cabecera & 0x80000000)
            return QByteArray(reinterpret_cast<const char*>(p) + MDB_MEMO_OVERHEAD, n - MDB_MEMO_OVERHEAD);
        gint32 paginaFila = qFromLittleEndian<qint32>(p + 4);
        void* buf = nullptr;
        int inicio = 0;
        size_t len = 0;
        if (cabecera & 0x40000000) {
            if (mdb_find_pg_row(m_mdb, paginaFila, &buf, &inicio, &len) != 0)
                return QByteArray();
            return QByteArray(static_cast<const char*>(buf) + inicio, int(std::min<size_t>(len, total)));
        }
        QByteArray out;
        out.reserve(int(total));
        while (paginaFila && quint32(out.size()) < total) {
            if (mdb_find_pg_row(m_mdb, paginaFila, &buf, &inicio, &len) != 0 || len < 4)
                break;
            const auto* fila = static_cast<const uchar*>(buf) + inicio;
            const size_t resto = std::min<size_t>(len - 4, total - quint32(out.size()));
            out.append(reinterpret_cast<const char*>(fila) + 4, int(resto));
            paginaFila = qFromLittleEndian<qint32>(fila);
        }
        return out;
    }

    QVariant valor(MdbTableDef* def, const MdbField& campo) const
    {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, campo.colnum));
        // A Yes/No column keeps its value in the null mask: a set bit is Yes.
        if (col->col_type == MDB_BOOL)
            return QVariant(!campo.is_null);
        if (campo.is_null)
            return QVariant();
        const int n = campo.siz;
        if (campo.start < 0 || n < 0 || campo.start + n > int(sizeof m_mdb->pg_buf))
            return QVariant();
        const uchar* p = m_mdb->pg_buf + campo.start;
        // A fixed-size value shorter than its type only comes from a damaged page.
        const int ancho = anchoFijo(col->col_type);
        if (n < ancho)
            return QVariant();
        switch (col->col_type) {
        case MDB_BYTE:
            return QVariant(qlonglong(p[0]));
        case MDB_INT:
            return QVariant(qlonglong(qFromLittleEndian<qint16>(p)));
        case MDB_LONGINT:
            return QVariant(qlonglong(qFromLittleEndian<qint32>(p)));
        case MDB_MONEY:
            return QVariant(double(qFromLittleEndian<qint64>(p)) / 10000.0);
        case MDB_FLOAT: {
            float f = 0;
            std::memcpy(&f, p, sizeof f);
            f = qFromLittleEndian(f);
            // The shortest decimal that reads back as the single, as the user typed it.
            char buf[32];
            const auto r = std::to_chars(buf, buf + sizeof buf, f);
            return QVariant(QByteArray(buf, int(r.ptr - buf)).toDouble());
        }
        case MDB_DOUBLE:
        case MDB_DATETIME: {
            double d = 0;
            std::memcpy(&d, p, sizeof d);
            return QVariant(qFromLittleEndian(d));
        }
        case MDB_TEXT:
            return QVariant(texto(reinterpret_cast<const char*>(p), n));
        case MDB_MEMO: {
            const QByteArray bytes = largo(p, n);
            return QVariant(texto(bytes.constData(), int(bytes.size())));
        }
        case MDB_OLE:
            return QVariant(largo(p, n));
        case MDB_REPID: {
            if (n < 16)
                return QVariant();
            const QUuid id(qFromLittleEndian<quint32>(p), qFromLittleEndian<quint16>(p + 4),
                           qFromLittleEndian<quint16>(p + 6), p[8], p[9], p[10], p[11], p[12], p[13], p[14],
                           p[15]);
            return QVariant(id.toString(QUuid::WithBraces).toUpper());
        }
        case MDB_NUMERIC: {
            char* s = mdb_numeric_to_string(m_mdb, campo.start, col->col_scale, col->col_prec);
            QByteArray t(s);
            g_free(s);
            return QVariant(t.replace(',', '.').toDouble());
        }
        default:
            return QVariant(QByteArray(reinterpret_cast<const char*>(p), n));
        }
    }

    MdbHandle* m_mdb;
    QList<MdbCatalogEntry*> m_entradas;
    QList<Tabla> m_tablas;
};

} // namespace

Result<std::unique_ptr<Lector>> abrir(const QString& ruta)
{
    using R = Result<std::unique_ptr<Lector>>;
    QFile archivo(ruta);
    if (!QFileInfo(ruta).isFile())
        return R::failure(QStringLiteral("No se encuentra el archivo '%1'.").arg(ruta));
    if (!archivo.open(QIODevice::ReadOnly))
        return R::failure(QStringLiteral("No tiene permiso para leer el archivo '%1'.").arg(ruta));
    archivo.close();
    if (!esArchivoJet(ruta))
        return R::failure(
            QStringLiteral("El archivo '%1' no es una base de datos Jet (.mdb) del programa anterior.")
                .arg(ruta));
    MdbHandle* mdb = mdb_open(QFile::encodeName(ruta).constData(), MDB_NOFLAGS);
    if (!mdb)
        return R::failure(
            QStringLiteral("No se puede leer el archivo '%1': la base de datos Jet está dañada o "
                           "protegida.")
                .arg(ruta));
    auto lector = std::make_unique<LectorMdb>(mdb);
    if (Status st = lector->cargarCatalogo(ruta); !st)
        return R::failure(st.error());
    return R(std::unique_ptr<Lector>(std::move(lector)));
}

} // namespace jet
