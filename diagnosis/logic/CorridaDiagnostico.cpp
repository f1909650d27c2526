#include "diagnosis/logic/CorridaDiagnostico.h"

#include "data/logic/Campos.h"
#include "data/logic/Database.h"
#include "diagnosis/logic/DiagnosticoGeneral.h"
#include "diagnosis/logic/Logging.h"
#include "diagnosis/logic/TextoPlano.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QList>
#include <algorithm>
#include <optional>
#include <sqlite3.h>

namespace diagnostico {

namespace {

struct Trafo
{
    qint64 fila = 0; // rowid of the `Trafoge` row
    QVariant codigo; // `CÓDIGO`
    QVariant aislante;
    QVariant manual;
    QVariant anio;
};

QString nombreArchivo(const Database& db)
{
    return QFileInfo(db.path()).fileName();
}

QString fallo(const Database& db, const QString& motivo)
{
    return QStringLiteral("No se pudo completar el diagnóstico general de '%1': %2")
        .arg(nombreArchivo(db), motivo);
}

Result<QList<Trafo>> leerTrafos(Database& db)
{
    using R = Result<QList<Trafo>>;
    auto st = Statement::prepare(
        db, QString::fromUtf8("SELECT rowid, \"CÓDIGO\", \"TIPO AISLANTE\", \"AUTO\", \"AÑO\" "
                              "FROM \"Trafoge\" ORDER BY \"CÓDIGO\", rowid"));
    if (!st)
        return R::failure(fallo(db, st.error()));
    QList<Trafo> trafos;
    while (true) {
        auto paso = st.value().step();
        if (!paso)
            return R::failure(fallo(db, paso.error()));
        if (!paso.value())
            break;
        const Statement& s = st.value();
        trafos.append({s.int64(0), s.value(1), s.value(2), s.value(3), s.value(4)});
    }
    return trafos;
}

// The connection's batch: BEGIN IMMEDIATE takes the write lock up front, so another program
// holding the file is found before any row is changed.
class Transaccion
{
public:
    explicit Transaccion(Database& db) : m_db(db) {}
    ~Transaccion()
    {
        if (m_abierta)
            ignorarFallo(m_db.exec(QStringLiteral("ROLLBACK")), logDiagnosis(), "Deshacer el lote");
    }
    Status abrir()
    {
        Status st = m_db.exec(QStringLiteral("BEGIN IMMEDIATE"));
        m_abierta = st.ok();
        return st;
    }
    Status confirmar()
    {
        Status st = m_db.exec(QStringLiteral("COMMIT"));
        if (st)
            m_abierta = false;
        return st;
    }
    bool abierta() const { return m_abierta; }
    // The engine rolled the batch back on its own: nothing is left to undo.
    void perdido() { m_abierta = false; }

private:
    Database& m_db;
    bool m_abierta = false;
};

constexpr int kFallidosNombrados = 10;

} // namespace

QString ResumenCorrida::avisoFallidos() const
{
    if (fallidos == 0)
        return {};
    QString codigos = primerosFallidos.join(QStringLiteral(", "));
    if (fallidos > primerosFallidos.size())
        codigos += QStringLiteral("...");
    return QString::fromUtf8("No se pudo diagnosticar %1 de los transformadores (códigos %2), que conservan "
                             "su diagnóstico anterior. Primer motivo: %3")
        .arg(fallidos)
        .arg(codigos, primerMotivo);
}

Result<ResumenCorrida> diagnosticarArchivo(Database& db, const ProgresoCorrida& progreso,
                                           const OpcionesCorrida& opciones)
{
    using R = Result<ResumenCorrida>;
    // A file opened for reading only, or write-protected on disk, is refused before any work.
    if (db.isReadOnly() || sqlite3_db_readonly(db.handle(), "main") == 1)
        return R::failure(QStringLiteral("No se puede hacer el diagnóstico general: el archivo '%1' es de "
                                         "solo lectura. No se modificó nada.")
                              .arg(nombreArchivo(db)));

    auto leidos = leerTrafos(db);
    if (!leidos)
        return R::failure(leidos.error());
    const QList<Trafo>& trafos = leidos.value();
    const int total = int(trafos.size());

    // One indexed query per transformer; equal dates keep the newest row first.
    auto ensayos = Statement::prepare(
        db, QString::fromUtf8(
                "SELECT * FROM \"Ensayos\" WHERE \"Código\" = ? ORDER BY \"Fecha\" DESC, rowid DESC"));
    auto conEstado = Statement::prepare(
        db, QStringLiteral("UPDATE \"Trafoge\" SET \"RESUMEN OBS\" = ?, \"DIAGNOSTICO\" = ?, \"ESTADO\" = ?, "
                           "\"GRAVEDAD\" = ? WHERE rowid = ?"));
    auto sinEstado = Statement::prepare(
        db,
        QStringLiteral("UPDATE \"Trafoge\" SET \"RESUMEN OBS\" = ?, \"DIAGNOSTICO\" = ? WHERE rowid = ?"));
    for (const auto* st : {&ensayos, &conEstado, &sinEstado})
        if (!*st)
            return R::failure(fallo(db, st->error()));

    Statement& consulta = ensayos.value();
    // Every test row is a copy of one map holding all the field names, filled in the map's own
    // key order: copying the tree and walking it costs no name comparisons, which would
    // otherwise be most of the run's work.
    QVariantMap plantilla;
    for (int c = 0; c < consulta.columnCount(); ++c)
        plantilla.insert(consulta.columnName(c), QVariant());
    QList<int> columnaDeClave;
    for (auto it = plantilla.cbegin(); it != plantilla.cend(); ++it)
        for (int c = 0; c < consulta.columnCount(); ++c)
            if (consulta.columnName(c) == it.key())
                columnaDeClave << c;
    const QString& campoObs = campo::ensayos::Observaciones;

    ResumenCorrida resumen;
    QElapsedTimer reloj;
    reloj.start();
    qint64 ultimoAviso = 0;
    if (progreso)
        progreso(0, total);

    const int porLote = std::max(1, opciones.trafosPorTransaccion);
    Transaccion lote(db);
    for (int i = 0; i < total; ++i) {
        const Trafo& t = trafos.at(i);
        auto enTrafo = [&](const QString& motivo) {
            return R::failure(
                fallo(db, QString::fromUtf8("transformador %1: %2").arg(t.codigo.toString(), motivo)));
        };
        if (!lote.abierta())
            if (Status st = lote.abrir(); !st)
                return enTrafo(st.error());
        // A failed statement alone is undone by the engine and the batch goes on: this
        // transformer keeps its old values. A failure that ended the batch stops the run.
        auto saltar = [&](const QString& motivo) -> std::optional<R> {
            if (sqlite3_get_autocommit(db.handle()) != 0) {
                lote.perdido();
                return enTrafo(motivo);
            }
            qCWarning(logDiagnosis())
                << "Transformador" << t.codigo.toString() << "sin diagnosticar:" << motivo;
            if (resumen.fallidos++ == 0)
                resumen.primerMotivo = motivo;
            if (resumen.primerosFallidos.size() < kFallidosNombrados)
                resumen.primerosFallidos << t.codigo.toString();
            return std::nullopt;
        };

        TrafoADiagnosticar entrada{t.aislante, t.manual, {}, t.anio};
        bool leido = true;
        if (Status st = consulta.bind({t.codigo}); !st) {
            if (auto fin = saltar(st.error()))
                return *fin;
            leido = false;
        }
        while (leido) {
            auto paso = consulta.step();
            if (!paso) {
                if (auto fin = saltar(paso.error()))
                    return *fin;
                leido = false;
                break;
            }
            if (!paso.value())
                break;
            QVariantMap fila = plantilla;
            int k = 0;
            for (auto it = fila.begin(); it != fila.end(); ++it)
                it.value() = consulta.value(columnaDeClave.at(k++));
            // The summary reads what the user wrote, whatever its formatting; the test row
            // itself is never rewritten.
            if (auto obs = fila.find(campoObs); obs != fila.end())
                obs.value() = textoPlano(obs.value().toString());
            entrada.ensayos.append(fila);
        }
        // A reset repeats the last step's error, which ended the loop above with a message.
        static_cast<void>(consulta.reset());
        resumen.ensayos += int(entrada.ensayos.size());

        if (leido) {
            const DiagnosticoTrafo d = diagnosticarTrafo(entrada);
            Statement& escribir = d.escribirEstado ? conEstado.value() : sinEstado.value();
            QVariantList valores = {d.resumenObs, d.diagnostico};
            if (d.escribirEstado)
                valores << d.estado << d.cuenta;
            valores << t.fila;
            Status escrito = escribir.bind(valores);
            if (escrito) {
                auto hecho = escribir.step();
                static_cast<void>(escribir.reset()); // repeats the step's error, handled below
                if (!hecho)
                    escrito = Status::failure(hecho.error());
            }
            if (escrito) {
                ++resumen.trafos;
            } else if (auto fin = saltar(escrito.error())) {
                return *fin;
            }
        }

        if ((i + 1) % porLote == 0 || i + 1 == total)
            if (Status st = lote.confirmar(); !st)
                return enTrafo(st.error());
        if (progreso && i + 1 < total && reloj.elapsed() - ultimoAviso >= opciones.intervaloProgresoMs) {
            ultimoAviso = reloj.elapsed();
            progreso(i + 1, total);
        }
    }
    if (progreso)
        progreso(total, total);
    return resumen;
}

} // namespace diagnostico
