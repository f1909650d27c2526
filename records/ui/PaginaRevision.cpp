#include "records/ui/PaginaRevision.h"

#include "records/ui/EnlaceCampos.h"
#include "records/ui/FormularioCampos.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QVBoxLayout>

#include <QTabWidget>

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
            // The three polarization indices follow the insulation readings they come from.
            auto* marco = new QWidget;
            auto* columna = new QVBoxLayout(marco);
            columna->setContentsMargins(0, 0, 0, 0);
            columna->addWidget(grupo);
            auto* fila = new QHBoxLayout;
            fila->addWidget(new QLabel(QStringLiteral("IP"), marco));
            for (int i = 39; i <= 41; ++i) {
                auto* caja = new QLineEdit(marco);
                caja->setObjectName(QStringLiteral("Text%1").arg(i));
                caja->setReadOnly(true);
                caja->setMaximumWidth(90);
                m_indices << caja;
                fila->addWidget(caja);
            }
            fila->addStretch(1);
            columna->addLayout(fila);
            columna->addStretch(1);
            grupo = marco;
        }
        detalle->addTab(desplazable(grupo), QString::fromUtf8(p.titulo));
    }
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
