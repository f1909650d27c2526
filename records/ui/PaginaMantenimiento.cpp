#include "records/ui/PaginaMantenimiento.h"

#include "records/ui/EnlaceCampos.h"
#include "records/ui/FormularioCampos.h"

#include <QGroupBox>
#include <QTabWidget>
#include <QVBoxLayout>

PaginaMantenimiento::PaginaMantenimiento(QWidget* parent)
    : PaginaFechada(QStringLiteral("PaginaMantenimiento"), QStringLiteral("MAN"), 5, parent)
{
}

const schema::Table& PaginaMantenimiento::tablaEsquema() const
{
    return schema::mantenimiento();
}

void PaginaMantenimiento::construirDetalle(QTabWidget* detalle, EnlaceCampos& enlace)
{
    const QString realizado = QStringLiteral("MANTENIMIENTO REALIZADO");
    auto* general = new QWidget;
    auto* vertical = new QVBoxLayout(general);
    auto* marco = new QGroupBox(realizado, general);
    marco->setObjectName(QStringLiteral("grupo_MANTENIMIENTO"));
    auto* dentro = new QVBoxLayout(marco);
    dentro->addWidget(
        FormularioCampos::construirCampos(FormularioCampos::delGrupo(enlace.tabla(), realizado), enlace, 2));
    vertical->addWidget(marco);
    vertical->addStretch(1);
    detalle->addTab(desplazable(general), QStringLiteral("GENERAL"));
    detalle->addTab(FormularioCampos::construirGrupo(QStringLiteral("OBSERVACIONES"), enlace, 1),
                    QStringLiteral("OBSERVACIONES"));
}
