#include "records/ui/PaginaRevision.h"

#include "records/ui/EnlaceCampos.h"
#include "records/ui/FormularioCampos.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTextEdit>

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
    for (const auto& p : paginas)
        detalle->addTab(
            desplazable(FormularioCampos::construirGrupo(QString::fromUtf8(p.grupo), enlace, p.columnas)),
            QString::fromUtf8(p.titulo));
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
