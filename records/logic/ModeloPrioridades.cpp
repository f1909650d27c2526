#include "records/logic/ModeloPrioridades.h"

#include "data/logic/Campos.h"
#include "data/logic/RecordView.h"

#include <algorithm>

namespace {

// Fields behind the roles RolCodigo .. RolResumenObs, in that order.
const QString* const kCampos[] = {
    &campo::trafoge::CODIGO,       &campo::trafoge::AREA,         &campo::trafoge::MARCA,
    &campo::trafoge::NRO_DE_SERIE, &campo::trafoge::DENOMINACION, &campo::trafoge::ESTADO,
    &campo::trafoge::GRAVEDAD,     &campo::trafoge::DIAGNOSTICO,  &campo::trafoge::RESUMEN_OBS};
constexpr int kNumCampos = int(sizeof(kCampos) / sizeof(kCampos[0]));

QString comoTexto(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return QString();
    // A number stored as a whole value shows without decimals ("12", not "12.0").
    if (v.typeId() == QMetaType::Double) {
        const double d = v.toDouble();
        if (d == qint64(d))
            return QString::number(qint64(d));
    }
    return v.toString();
}

} // namespace

ModeloPrioridades::ModeloPrioridades(RecordView& vista, QObject* parent)
    : QAbstractListModel(parent), m_vista(&vista)
{
    static_assert(kNumCampos == int(sizeof(m_campos) / sizeof(m_campos[0])));
    buscarCampos();
    m_filas = m_vista->isOpen() ? m_vista->recordCount() : 0;
    connect(m_vista, &RecordView::rowsChanged, this, &ModeloPrioridades::reiniciar);
}

void ModeloPrioridades::reiniciar()
{
    beginResetModel();
    buscarCampos();
    m_filas = m_vista->isOpen() ? std::max(0, m_vista->recordCount()) : 0;
    endResetModel();
}

void ModeloPrioridades::buscarCampos()
{
    for (int i = 0; i < kNumCampos; ++i)
        m_campos[i] = m_vista->isOpen() ? m_vista->fieldIndex(*kCampos[i]) : -1;
}

int ModeloPrioridades::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_filas;
}

QVariant ModeloPrioridades::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const int fila = index.row();
    auto valor = [&](Rol rol) {
        const int campo = m_campos[rol - RolCodigo];
        return campo < 0 ? QVariant() : m_vista->valueAt(fila, campo);
    };
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
    case RolCodigo:
        return comoTexto(valor(RolCodigo));
    case RolCodigoValor:
        return valor(RolCodigo);
    case RolArea:
    case RolMarca:
    case RolNroSerie:
    case RolDenominacion:
    case RolDiagnostico:
    case RolResumenObs:
        return comoTexto(valor(Rol(role)));
    case RolGravedad:
        return valor(RolGravedad);
    case RolEstado:
        return valor(RolEstado).toInt();
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> ModeloPrioridades::roleNames() const
{
    QHash<int, QByteArray> nombres = QAbstractListModel::roleNames();
    nombres.insert(RolCodigo, "codigo");
    nombres.insert(RolArea, "area");
    nombres.insert(RolMarca, "marca");
    nombres.insert(RolNroSerie, "nroserie");
    nombres.insert(RolDenominacion, "denominacion");
    nombres.insert(RolEstado, "estado");
    nombres.insert(RolGravedad, "gravedad");
    nombres.insert(RolDiagnostico, "diagnostico");
    nombres.insert(RolResumenObs, "resumenObs");
    nombres.insert(RolCodigoValor, "codigoValor");
    return nombres;
}
