#include "records/ui/BotonesCalendario.h"

#include "app/logic/RunState.h"
#include "data/logic/Campos.h"
#include "data/logic/Fechas.h"
#include "records/logic/DataViews.h"
#include "records/logic/Logging.h"
#include "records/ui/PaginaCalendario.h"
#include "records/ui/PaginaFechada.h"
#include "search/logic/Busqueda.h"
#include "search/logic/BusquedaFechas.h"
#include "utilities/logic/Mensajes.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Element names per tab: the chooser, then Buscar Detalle, Buscar Siguiente, Hoy, Fecha,
// Seleccionar Subgrupo, Restaurar Datos.
const char* const kNombres[3][7] = {
    {"Combo4", "Command38", "Command53", "Command39", "Command44", "Command45", "Command46"},
    {"Combo3", "Command40", "Command54", "Command41", "Command43", "Command47", "Command48"},
    {"Combo5", "Command11", "Command55", "Command10", "Command42", "Command50", "Command49"},
};
const char* const kTitulos[6] = {"Buscar &Detalle", "Buscar Siguiente",     "&Hoy",
                                 "&Fecha",          "Seleccionar Subgrupo", "Restaurar Datos"};

} // namespace

BotonesCalendario::BotonesCalendario(Pestana pestana, PaginaFechada& pagina, Contexto contexto,
                                     QObject* parent)
    : QObject(parent), m_pestana(pestana), m_pagina(pagina), m_c(std::move(contexto))
{
    QWidget* zona = pagina.calendario()->zonaBotones();
    auto* columna = qobject_cast<QVBoxLayout*>(zona->layout());
    m_comparacion = new QComboBox(zona);
    m_comparacion->setObjectName(QString::fromLatin1(kNombres[pestana][0]));
    m_comparacion->setEditable(true);
    m_comparacion->addItems({QStringLiteral("="), QStringLiteral(">"), QStringLiteral(">="),
                             QStringLiteral("<"), QStringLiteral("<="), QStringLiteral("<>")});
    columna->insertWidget(0, new QLabel(QStringLiteral("Comparación:"), zona));
    columna->insertWidget(1, m_comparacion);
    for (int i = 0; i < 6; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(kTitulos[i]), zona);
        b->setObjectName(QString::fromLatin1(kNombres[pestana][i + 1]));
        columna->insertWidget(2 + i, b);
        m_botones << b;
    }
    connect(m_botones[0], &QPushButton::clicked, this, &BotonesCalendario::buscarDetalle);
    connect(m_botones[1], &QPushButton::clicked, this, &BotonesCalendario::buscarSiguiente);
    connect(m_botones[2], &QPushButton::clicked, this, [this] { m_c.ponerDia(m_c.hoy()); });
    connect(m_botones[3], &QPushButton::clicked, this, [this] {
        // The date box shows its four-digit year.
        if (auto d = fechas::leer(m_pagina.textoFecha()))
            m_c.ponerDia(*d);
    });
    connect(m_botones[4], &QPushButton::clicked, this, &BotonesCalendario::seleccionarSubgrupo);
    connect(m_botones[5], &QPushButton::clicked, this, [this] {
        if (!m_c.guardarPendientes || m_c.guardarPendientes())
            m_c.vistas.reabrirVistas();
    });
}

void BotonesCalendario::enlazar(const QList<BotonesCalendario*>& botones)
{
    for (BotonesCalendario* b : botones)
        connect(b->m_comparacion, &QComboBox::editTextChanged, b, [botones, b](const QString& texto) {
            for (BotonesCalendario* otro : botones)
                if (otro != b && otro->m_comparacion->currentText() != texto)
                    otro->m_comparacion->setEditText(texto);
        });
}

RecordView& BotonesCalendario::vista() const
{
    RecordView* const vistas[] = {&m_c.vistas.Data2, &m_c.vistas.Data3, &m_c.vistas.Data4};
    return *vistas[m_pestana];
}

void BotonesCalendario::sinCoincidencia()
{
    m_c.mensajes.show(QString::fromUtf8("No se encontró coincidencia de registro"),
                      QStringLiteral("Busqueda"), Mensajes::Icon::Exclamation);
    ignorarFallo(vista().refresh(), logRecords(), "Releer la vista");
}

void BotonesCalendario::buscarDesde(int desde)
{
    // The rows are read where they stand; the view moves once, to the row found, so the other
    // tabs align once and no test is evaluated on the way.
    RecordView& v = vista();
    const QString op = m_comparacion->currentText();
    const QDate dia = m_c.dia();
    const int filas = v.recordCount();
    for (int i = desde; i < filas; ++i) {
        const QVariant f = v.valueAt(i, 1);
        const QDate fecha = f.typeId() == QMetaType::QDate
                                ? f.toDate()
                                : QDate::fromString(f.toString().left(10), Qt::ISODate);
        if (busqueda::fechaCumple(fecha, op, dia)) {
            ignorarFallo(v.setAbsolutePosition(i), logRecords(), "Ir a la fila hallada");
            return;
        }
    }
    sinCoincidencia();
}

void BotonesCalendario::buscarDetalle()
{
    if (m_c.guardarPendientes && !m_c.guardarPendientes())
        return;
    ignorarFallo(vista().refresh(), logRecords(), "Releer la vista");
    if (vista().recordCount() == 0)
        return;
    buscarDesde(0);
}

void BotonesCalendario::buscarSiguiente()
{
    if (m_c.guardarPendientes && !m_c.guardarPendientes())
        return;
    const int actual = vista().absolutePosition();
    if (actual < 0 || actual + 1 >= vista().recordCount()) {
        sinCoincidencia();
        return;
    }
    buscarDesde(actual + 1);
}

void BotonesCalendario::seleccionarSubgrupo()
{
    if (m_c.guardarPendientes && !m_c.guardarPendientes())
        return;
    RunState& e = m_c.estado;
    DataViews& v = m_c.vistas;
    e.OperadorFecha = m_comparacion->currentText();
    // The test tab's totals stay as they are while its rows change in bulk.
    Interruptor::Mientras recorrido(e.RecorridoEnsayos, m_pestana == Ensayos || bool(e.RecorridoEnsayos));
    const QDate dia = m_c.dia();
    const auto seleccion = busqueda::seleccionarPorFecha(*v.database(), e.OperadorFecha, dia,
                                                         busqueda::codigosDeFiltro(e.FiltroCodigos));
    if (!seleccion || seleccion.value().vacia()) {
        if (!seleccion)
            qCWarning(logRecords()) << "Selección por fecha:" << seleccion.error();
        m_c.mensajes.show(QString::fromUtf8("No se encontró coincidencia de registros"),
                          QString::fromUtf8("Selección"), Mensajes::Icon::Exclamation);
        Interruptor::Mientras reposicion(e.ReposicionActiva, false);
        const std::pair<RecordView*, const char*> tablas[] = {
            {&v.Data2, "Revision"}, {&v.Data3, "Ensayos"}, {&v.Data4, "Mantenimiento"}};
        for (const auto& [d, tabla] : tablas) {
            d->setRecordSource(QString::fromLatin1(tabla));
            ignorarFallo(d->refresh(), logRecords(), "Releer la vista");
        }
        return;
    }
    const busqueda::SeleccionFecha& s = seleccion.value();
    e.FormulaRevision = s.formulaRevision;
    e.FormulaEnsayos = s.formulaEnsayos;
    e.FormulaMantenimiento = s.formulaMantenimiento;
    // The date with its four-digit year: 2045 is never read as 1945.
    QString dentro = QStringLiteral(" WHERE fecha %1 %2").arg(e.OperadorFecha, busqueda::literalFecha(dia));
    if (auto sub = busqueda::codigosDeFiltro(e.FiltroCodigos))
        dentro += QString::fromUtf8(" and Código In (%1)").arg(busqueda::listaCodigos(*sub));
    const QString orden = QString::fromUtf8(" order by código asc , fecha desc");
    const QString trafos = QString::fromUtf8("SELECT * FROM Trafoge WHERE Código In (%1)")
                               .arg(busqueda::listaCodigos(s.codigos));
    {
        Interruptor::Mientras reposicion(e.ReposicionActiva, false);
        v.Data2.setRecordSource(QStringLiteral("SELECT * FROM revision") + dentro + orden);
        v.Data3.setRecordSource(QStringLiteral("SELECT * FROM ensayos") + dentro + orden);
        v.Data4.setRecordSource(QStringLiteral("SELECT * FROM mantenimiento") + dentro + orden);
        v.Ado1.setRecordSource(
            trafos +
            QStringLiteral(" Order By Trafoge.ESTADO Desc ,Trafoge.GRAVEDAD Desc ,Trafoge.CÓDIGO Asc"));
        ignorarFallo(v.Ado1.requery(), logRecords(), "Releer la lista de prioridades");
        v.Data1.setRecordSource(trafos + QString::fromUtf8(" order by CÓDIGO"));
        for (RecordView* d : {&v.Data1, &v.Data2, &v.Data3, &v.Data4})
            ignorarFallo(d->refresh(), logRecords(), "Releer la vista");
    }
    ignorarFallo(v.Data1.moveFirst(), logRecords(), "Ir al primer transformador");
}
