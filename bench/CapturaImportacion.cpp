// Pictures of the start-up's offer to convert an earlier program's data file and of the report
// that follows, as the program's own message boxes show them:
//   quorvela-captura-importacion DIR SALIDA
// DIR holds a Jet trafos.mdb. The start-up runs on DIR with access granted; each message box is
// saved as SALIDA/N.png and answered with its default button (Yes for the offer).
#include "app/logic/RunState.h"
#include "app/logic/Settings.h"
#include "app/logic/StartupSequence.h"
#include "app/logic/StartupUi.h"
#include "utilities/ui/MensajesQt.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

// The program's message boxes, each one photographed once it is up and then answered.
class MensajesFotografiados : public MensajesQt
{
public:
    explicit MensajesFotografiados(QString salida) : m_salida(std::move(salida)) {}
    Answer show(const QString& text, const QString& title, Icon icon, Buttons buttons,
                Answer defaultAnswer) override
    {
        const QString archivo = QDir(m_salida).filePath(QStringLiteral("%1.png").arg(++m_n));
        QTimer::singleShot(400, [archivo] {
            auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!caja)
                return;
            if (!caja->grab().save(archivo))
                std::fprintf(stderr, "No se pudo guardar %s\n", qPrintable(archivo));
            if (QAbstractButton* b = caja->defaultButton())
                b->click();
            else
                caja->accept();
        });
        return MensajesQt::show(text, title, icon, buttons, defaultAnswer);
    }

private:
    QString m_salida;
    int m_n = 0;
};

// Start-up with access granted and no other window: only its messages are of interest here.
struct SoloMensajes : StartupUi
{
    explicit SoloMensajes(RunState& e) : estado(e) {}
    void showConnection() override { estado.AccesoConcedido = true; }
    void showLocation() override {}
    void showRestore() override {}
    void loadMainWindow(const std::shared_ptr<Database>& db) override { abierto = db != nullptr; }
    RunState& estado;
    bool abierto = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "uso: quorvela-captura-importacion DIR SALIDA\n");
        return 2;
    }
    QDir().mkpath(args[2]);
    QTemporaryDir config;
    Settings ajustes(config.filePath(QStringLiteral("Quorvela.conf")));
    RunState estado;
    SoloMensajes ui(estado);
    MensajesFotografiados mensajes(args[2]);
    StartupSequence inicio(estado, ajustes, ui, mensajes);
    inicio.setDataFolderOverride(args[1]);
    inicio.run(QCoreApplication::applicationDirPath());
    std::printf("archivo de datos %s\n", ui.abierto ? "abierto" : "sin abrir");
    return ui.abierto ? 0 : 1;
}
