#include "records/ui/PaginaRevision.h"

#include "data/logic/Campos.h"
#include "diagnosis/logic/Totales.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/FormularioCampos.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextEdit>
#include <QVBoxLayout>

#include <QTabWidget>

#include <algorithm>

namespace {

// A read-only polarization index box, never narrower than its text: the whole index reads from
// its first digit, whatever its size.
class CajaIndice : public QLineEdit
{
public:
    explicit CajaIndice(QWidget* parent) : QLineEdit(parent)
    {
        setReadOnly(true);
        connect(this, &QLineEdit::textChanged, this, [this] {
            setCursorPosition(0);
            updateGeometry();
        });
    }

    QSize sizeHint() const override { return tamanoPara(text()); }
    QSize minimumSizeHint() const override { return sizeHint(); }

private:
    // Room for the text, the cursor and QLineEdit's own inner margins (2 pixels a side), and
    // at least for an index of four digits and two decimals.
    QSize tamanoPara(const QString& texto) const
    {
        ensurePolished();
        QStyleOptionFrame opcion;
        initStyleOption(&opcion);
        const QFontMetrics fm = fontMetrics();
        const QMargins margenes = textMargins();
        const int ocupado =
            std::max(fm.horizontalAdvance(texto), fm.horizontalAdvance(QStringLiteral("0000,00")));
        const int ancho = ocupado + 2 * 2 + margenes.left() + margenes.right() +
                          style()->pixelMetric(QStyle::PM_TextCursorWidth, &opcion, this);
        const QSize base = QLineEdit::sizeHint();
        return QSize(style()
                         ->sizeFromContents(QStyle::CT_LineEdit, &opcion, QSize(ancho, base.height()), this)
                         .width(),
                     base.height());
    }
};

} // namespace

PaginaRevision::PaginaRevision(QWidget* parent)
    : PaginaFechada(QStringLiteral("PaginaRevision"), QStringLiteral("REV"), 3, parent)
{
}

const schema::Table& PaginaRevision::tablaEsquema() const
{
    return schema::revision();
}

void PaginaRevision::construirDetalle(QTabWidget* detalle, EnlaceCampos& enlace)
{
    const struct
    {
        const char* grupo;
        const char* titulo;
        int columnas;
    } paginas[] = {{"GENERAL", "GE&NERAL", 2},
                   {"PROTECCIONES", "PROTECCIONES", 2},
                   {"AISLACIÓN", "AISLACIÓN", 3},
                   {"ACCESORIOS", "ACCESORIOS", 2},
                   {"OBSERVACIÓN", "&OBSERVACIÓN", 1}};
    for (const auto& p : paginas) {
        QWidget* grupo = FormularioCampos::construirGrupo(QString::fromUtf8(p.grupo), enlace, p.columnas);
        if (QString::fromUtf8(p.grupo) == QString::fromUtf8("AISLACIÓN")) {
            // Each polarization index sits under the pair of readings it comes from.
            QGridLayout* megado = nullptr;
            if (auto* bloque = grupo->findChild<QGroupBox*>(QStringLiteral("grupo_MEGADO")))
                if (bloque->layout() && bloque->layout()->count() > 0)
                    if (QWidget* campos = bloque->layout()->itemAt(0)->widget())
                        megado = qobject_cast<QGridLayout*>(campos->layout());
            int filaIp = 0;
            for (int i = 0; megado && i < megado->count(); ++i) {
                int fila = 0, columna = 0, filas = 0, columnas = 0;
                megado->getItemPosition(i, &fila, &columna, &filas, &columnas);
                filaIp = std::max(filaIp, fila + filas);
            }
            auto* fila = new QHBoxLayout;
            for (int i = 39; i <= 41; ++i) {
                auto* caja = new CajaIndice(grupo);
                caja->setObjectName(QStringLiteral("Text%1").arg(i));
                m_indices << caja;
                auto* rotulo = new QLabel(QStringLiteral("IP:"), grupo);
                rotulo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                rotulo->setBuddy(caja);
                if (megado) {
                    megado->addWidget(rotulo, filaIp, (i - 39) * 2);
                    megado->addWidget(caja, filaIp, (i - 39) * 2 + 1);
                } else {
                    fila->addWidget(rotulo);
                    fila->addWidget(caja);
                }
            }
            if (megado) {
                delete fila;
            } else {
                auto* marco = new QWidget;
                auto* columna = new QVBoxLayout(marco);
                columna->setContentsMargins(0, 0, 0, 0);
                columna->addWidget(grupo);
                columna->addLayout(fila);
                columna->addStretch(1);
                grupo = marco;
            }
        }
        detalle->addTab(desplazable(grupo), QString::fromUtf8(p.titulo));
    }
    for (const QString& lectura : campo::revision::megado())
        if (auto* caja = qobject_cast<QLineEdit*>(enlace.caja(lectura)))
            connect(caja, &QLineEdit::textChanged, this, &PaginaRevision::calcularIndices);
}

void PaginaRevision::ajustarEntrada(EntradaValidada& entrada, const schema::Field& campo)
{
    // The inspection's own boxes check every keystroke and leave Enter alone; only the fan
    // consumption and the oxygen share wait, as the other tabs do, for the program's moves.
    if (schema::sameName(campo.name, campo::revision::CONSUMO_VENT) ||
        schema::sameName(campo.name, campo::revision::PORCENTAJE_OXIGENO))
        return;
    QLineEdit* caja = entrada.box();
    entrada.setActiveWhen([caja] { return caja->hasFocus(); });
    entrada.setEnterAsTab(false);
}

void PaginaRevision::calcularIndices()
{
    const QStringList lecturas = campo::revision::megado();
    auto lectura = [this, &lecturas](int i) {
        const auto* caja = qobject_cast<QLineEdit*>(enlace()->caja(lecturas.at(i)));
        return caja ? EnlaceCampos::conPunto(caja->text().trimmed()) : QString();
    };
    for (int par = 0; par < 3; ++par)
        if (QLineEdit* ip = m_indices.value(par))
            ip->setText(EnlaceCampos::conSeparadorLocal(
                diagnostico::indicePolarizacion(lectura(par), lectura(par + 3))));
}

void PaginaRevision::blanquear()
{
    if (!enlace())
        return;
    for (QWidget* caja : enlace()->cajas()) {
        if (auto* lista = qobject_cast<QComboBox*>(caja)) {
            if (lista->isEditable())
                lista->setEditText(QStringLiteral(" "));
            else
                lista->setCurrentIndex(-1);
        } else if (auto* linea = qobject_cast<QLineEdit*>(caja)) {
            linea->clear();
        } else if (auto* texto = qobject_cast<QTextEdit*>(caja)) {
            texto->clear();
        }
    }
}
