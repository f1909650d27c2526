#include "tests/support/VentanaPrueba.h"

#include "graphs/ui/Graficos.h"
#include "records/ui/EnlaceCampos.h"
#include "records/ui/PaginaFechada.h"
#include "search/ui/VistaPreviaInforme.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

VentanaPrueba::VentanaPrueba(const std::function<void(const TempData&)>& llenar, Opciones opciones)
{
    if (llenar)
        llenar(datos);
    estado.SoloLectura = opciones.soloLectura;
    // The reports come from the source tree and read the file the window opens.
    estado.RutaPrograma = QString::fromUtf8(QUORVELA_INFORMES_DIR);
    estado.RutaBase =
        QFileInfo(opciones.archivo.isEmpty() ? datos.file() : opciones.archivo).absoluteFilePath();
    m_ventana = componerVentana(estado, vistas, mensajes, [] { return QDate(2026, 12, 5); });
    m_ventana.graficos->nombrarArchivos(datos.folder());
    // A report button records what it printed instead of opening the modal preview.
    informes().ponerSalida([this](const informe::InformePreparado& p) {
        informesImpresos << p.nombre() + QStringLiteral(": ") + p.seleccion();
        return Status();
    });
    if (!opciones.calendarioReal) {
        trafo().setSelectorFecha([this](QWidget*, const QDate&) {
            ++calendarios;
            return diaElegido;
        });
    }
    if (opciones.archivo.isEmpty()) {
        vistas.openAll(datos.open(opciones.soloLectura), opciones.soloLectura);
    } else {
        const Status abierto = vistas.openAll(opciones.archivo, opciones.soloLectura);
        EXPECT_TRUE(abierto.ok()) << abierto.error().toStdString();
    }
    trafo().mostrarEstado();
    trafo().alinear();
    trafo().resize(opciones.tamano);
    trafo().show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&trafo()));
}

VentanaPrueba::~VentanaPrueba()
{
    m_ventana.trafo.reset();
    vistas.closeAll();
}

void VentanaPrueba::irA(int codigo)
{
    const Result<bool> hallado = vistas.Data1.findFirst(QStringLiteral("[código]=%1").arg(codigo));
    ASSERT_TRUE(hallado.ok() && hallado.value()) << codigo;
}

QString VentanaPrueba::codigo(const RecordView& v)
{
    return v.isOpen() && !v.bof() && !v.eof() ? v.value(0).toString() : QString();
}

QLineEdit* VentanaPrueba::caja(PaginaFechada* pagina, const QString& campo)
{
    return qobject_cast<QLineEdit*>(pagina->enlace()->caja(campo));
}

void VentanaPrueba::escribir(QWidget* caja, const QString& texto)
{
    caja->setFocus();
    if (auto* linea = qobject_cast<QLineEdit*>(caja))
        linea->selectAll();
    QTest::keyClick(caja, Qt::Key_Delete);
    for (const QChar c : texto)
        QTest::sendKeyEvent(QTest::Click, caja, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QVariant VentanaPrueba::valor(const QString& sql) const
{
    auto db = datos.open(true);
    const QList<QVariantList> filas = queryRows(*db, sql);
    return filas.isEmpty() || filas.first().isEmpty() ? QVariant() : filas.first().first();
}
