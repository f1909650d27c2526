#include "search/ui/VistaPreviaInforme.h"

#include "app/logic/RunState.h"
#include "search/ui/PinturaInforme.h"
#include "utilities/logic/Mensajes.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

namespace informe {

Status mostrarVistaPrevia(const InformePreparado& informe, Mensajes& mensajes, QWidget* parent)
{
    // The rows are asked for once before the window opens, so that a report that cannot be
    // read is told instead of showing an empty preview.
    if (auto filas = informe.filas(); !filas)
        return Status::failure(filas.error());
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setDocName(informe.definicion().titulo);
    prepararPagina(informe, impresora);
    QPrintPreviewDialog dialogo(&impresora, parent);
    dialogo.setObjectName(QStringLiteral("VistaPreviaInforme"));
    dialogo.setWindowTitle(QStringLiteral("Vista previa: %1").arg(informe.definicion().titulo));
    const QDateTime impreso = QDateTime::currentDateTime();
    Status resultado;
    // A long report takes a while to lay out: the wait pointer shows until its pages are ready.
    QObject::connect(&dialogo, &QPrintPreviewDialog::paintRequested, &dialogo, [&](QPrinter* p) {
        mensajes.setBusy(true);
        if (Status st = pintar(informe, *p, impreso); !st && resultado)
            resultado = st;
        mensajes.setBusy(false);
    });
    if (auto* barra = dialogo.findChild<QToolBar*>()) {
        barra->addSeparator();
        QAction* pdf = barra->addAction(QStringLiteral("Exportar PDF"));
        pdf->setObjectName(QStringLiteral("ExportarPdf"));
        QObject::connect(pdf, &QAction::triggered, &dialogo, [&] {
            QString base = informe.nombre();
            base.replace(QStringLiteral(".rpt"), QStringLiteral(".pdf"));
            const QString ruta =
                mensajes.chooseFile(QStringLiteral("Exportar PDF"), QDir::home().filePath(base),
                                    QStringLiteral("Documentos PDF (*.pdf)"), true);
            if (ruta.isEmpty())
                return;
            mensajes.setBusy(true);
            const Status st = exportarPdf(informe, ruta, impreso);
            mensajes.setBusy(false);
            if (!st)
                mensajes.error(st.error());
        });
    }
    dialogo.exec();
    return resultado;
}

ImpresionInformes::ImpresionInformes(RunState& estado, Mensajes& mensajes, Calculador calculador,
                                     QWidget* ventana)
    : QObject(ventana), m_estado(estado), m_mensajes(mensajes), m_ventana(ventana)
{
    m_motor.ponerCalculador(std::move(calculador));
    m_salida = [this](const InformePreparado& informe) {
        return mostrarVistaPrevia(informe, m_mensajes, m_ventana);
    };
}

int ImpresionInformes::imprimir(const QString& archivo, SegundaFormula segunda)
{
    const int resultado = imprimirInforme(m_motor, m_estado, archivo, segunda, m_salida);
    // The engine's own text, in a box with only OK and the program's title.
    if (resultado != 0)
        m_mensajes.show(m_motor.ultimoError());
    return resultado;
}

} // namespace informe
