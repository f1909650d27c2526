#include "app/logic/RunState.h"
#include "app/logic/Settings.h"
#include "data/logic/Database.h"
#include "data/logic/DemoPlant.h"
#include "maintenance/logic/Mantenimiento.h"
#include "maintenance/logic/NombresCopia.h"
#include "maintenance/logic/PasswordStore.h"
#include "maintenance/ui/Back.h"
#include "maintenance/ui/Compact.h"
#include "maintenance/ui/PassFrm.h"
#include "maintenance/ui/Rest.h"
#include "tests/maintenance/Firma.h"
#include "tests/support/ScriptedMensajes.h"
#include "tests/support/Texto.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QDate kHoy(2026, 12, 5);

// A click on a choice's round mark, where the user clicks.
void elegir(QRadioButton* opcion)
{
    QTest::mouseClick(opcion, Qt::LeftButton, {}, QPoint(8, opcion->height() / 2));
}

template <typename T> T* hijo(QWidget& w, const char* nombre)
{
    T* h = w.findChild<T*>(QLatin1String(nombre));
    EXPECT_TRUE(h) << nombre;
    return h;
}

void pulsar(QWidget& w, const char* boton)
{
    QTest::mouseClick(hijo<QPushButton>(w, boton), Qt::LeftButton);
}

// A data folder with the demo plant in the run state, a folder of copies, and the calls the
// windows make to the main window.
struct Mesa
{
    Mesa()
    {
        EXPECT_TRUE(demo::createDemo(datos.path()).ok());
        estado.apuntarDatos(datos.path());
        firma = firmaContenido(estado.RutaBase);
        enlace.guardarPendientes = [this] {
            pasos += u("g");
            return guardar;
        };
        enlace.cerrarDatos = [this] { pasos += u("c"); };
        enlace.reconectar = [this] { pasos += u("r"); };
        enlace.copiaAutomatica = [this] {
            pasos += estado.RecargaEnCurso ? u("A") : u("a");
            return copiaBien;
        };
    }
    // A copy of the plant with one transformer less, in the copies' folder.
    QString copiaDistinta(const QString& nombre)
    {
        const QString ruta = copias.filePath(nombre);
        EXPECT_TRUE(QFile::copy(estado.RutaBase, ruta));
        auto db = Database::open(ruta);
        EXPECT_TRUE(db.ok() && db.value()->exec(u("DELETE FROM Trafoge WHERE rowid = 1")).ok());
        return ruta;
    }
    QTemporaryDir datos, copias, destino;
    RunState estado;
    ScriptedMensajes mensajes;
    EnlaceDatos enlace;
    QString pasos, firma;
    bool guardar = true, copiaBien = true;
};

} // namespace

TEST(Back, NamesTheBackupAsksBeforeReplacingAndSaysWhatHappened)
{
    Mesa m;
    Back back(
        m.estado, m.mensajes, [] { return kHoy; }, m.enlace.guardarPendientes);
    back.show();
    EXPECT_EQ(hijo<QLineEdit>(back, "Directorio")->text(), QDir::toNativeSeparators(m.datos.path()));
    EXPECT_EQ(hijo<QLabel>(back, "Label2")->text(), u("Archivo: T-051226.mdb"));
    elegir(hijo<QRadioButton>(back, "Option1_0"));
    EXPECT_EQ(hijo<QLabel>(back, "Label2")->text(), u("Archivo: T-051226.zip"));
    elegir(hijo<QRadioButton>(back, "Option1_1"));
    EXPECT_EQ(hijo<QLabel>(back, "Label2")->text(), u("Archivo: T-051226.mdb"));

    // The folder chosen through the dialog seam; a missing folder is an error.
    m.mensajes.folders.enqueue(m.destino.filePath(u("falta")));
    pulsar(back, "Examinar");
    pulsar(back, "Command25");
    ASSERT_EQ(m.mensajes.shown.size(), 1);
    EXPECT_EQ(m.mensajes.shown[0].title, u("¡Error!"));
    EXPECT_EQ(m.mensajes.shown[0].icon, Mensajes::Icon::Critical);

    m.mensajes.folders.enqueue(m.destino.path());
    pulsar(back, "Examinar");
    pulsar(back, "Command25");
    const QString hecho = m.destino.filePath(u("T-051226.mdb"));
    EXPECT_EQ(m.mensajes.texts().last(), u("Archivo Copiado"));
    EXPECT_EQ(back.result(), QDialog::Accepted);
    EXPECT_EQ(firmaContenido(hecho), m.firma);
    EXPECT_EQ(m.pasos, u("g"));

    // The same day again: the question, then No leaves the window open and the file as it was.
    Back otra(
        m.estado, m.mensajes, [] { return kHoy; }, m.enlace.guardarPendientes);
    otra.show();
    m.mensajes.folders.enqueue(m.destino.path());
    pulsar(otra, "Examinar");
    m.mensajes.shown.clear();
    m.mensajes.answers.enqueue(Mensajes::Answer::No);
    const QByteArray antes = bytesDe(hecho);
    pulsar(otra, "Command25");
    ASSERT_EQ(m.mensajes.shown.size(), 1);
    EXPECT_EQ(m.mensajes.shown[0].text, u("El Archivo ya existe\n¿Desea Reemplazarlo?"));
    EXPECT_EQ(m.mensajes.shown[0].title, u("Backup"));
    EXPECT_EQ(m.mensajes.shown[0].buttons, Mensajes::Buttons::YesNo);
    EXPECT_EQ(m.mensajes.shown[0].icon, Mensajes::Icon::Exclamation);
    EXPECT_TRUE(otra.isVisible());
    // A pending edit the file refuses stops the backup too.
    m.guardar = false;
    m.mensajes.answers.enqueue(Mensajes::Answer::Yes);
    pulsar(otra, "Command25");
    EXPECT_TRUE(otra.isVisible());
    m.guardar = true;
    m.mensajes.answers.enqueue(Mensajes::Answer::Yes);
    pulsar(otra, "Command25");
    EXPECT_EQ(m.mensajes.texts().last(), u("Archivo Copiado"));
    EXPECT_FALSE(otra.isVisible());
    EXPECT_EQ(bytesDe(hecho).size(), antes.size());
}

TEST(Rest, ListsTheCopiesChecksAndAsksBeforeReplacing)
{
    Mesa m;
    const QString copia = m.copiaDistinta(u("AB041226.mdb"));
    const QString esperada = firmaContenido(copia);
    for (const char* otro : {"notas.txt", ".AB041226.mdb-abc123.tmp", "temporal.mdb"})
        QFile(m.copias.filePath(u(otro))).open(QIODevice::WriteOnly);
    {
        QFile roto(m.copias.filePath(u("T-031226.mdb")));
        ASSERT_TRUE(roto.open(QIODevice::WriteOnly));
        roto.write("no es una base de datos");
    }
    Rest rest(
        m.estado, m.mensajes, m.copias.path(), [] { return QDateTime(kHoy, QTime(11, 0)); }, m.enlace);
    rest.show();
    QListWidget* lista = hijo<QListWidget>(rest, "File1");
    QStringList vistos;
    for (int i = 0; i < lista->count(); ++i)
        vistos << lista->item(i)->text();
    EXPECT_EQ(vistos, (QStringList{u("AB041226.mdb"), u("T-031226.mdb")}));

    const auto aceptar = [&](const char* nombre, QList<Mensajes::Answer> respuestas) {
        m.mensajes.shown.clear();
        m.pasos.clear();
        for (const auto r : respuestas)
            m.mensajes.answers.enqueue(r);
        lista->setCurrentItem(nullptr);
        lista->clearSelection();
        if (nombre) {
            const auto items = lista->findItems(u(nombre), Qt::MatchExactly);
            if (!items.isEmpty())
                lista->setCurrentItem(items.first());
        }
        pulsar(rest, "Command25");
    };
    aceptar(nullptr, {});
    EXPECT_EQ(m.mensajes.texts(), QStringList{u("Seleccione el Archivo a restaurar")});

    aceptar("AB041226.mdb", {Mensajes::Answer::No});
    ASSERT_EQ(m.mensajes.shown.size(), 1);
    EXPECT_EQ(m.mensajes.shown[0].text,
              u("La Base de Datos Existente será reemplazada por la copia de seguridad\n"
                "¿Está seguro que desea Reemplazarla?"));
    EXPECT_EQ(m.mensajes.shown[0].title, u("Restaurar Backup"));
    EXPECT_EQ(m.mensajes.shown[0].buttons, Mensajes::Buttons::YesNo);
    EXPECT_EQ(m.mensajes.shown[0].defaultAnswer, Mensajes::Answer::No);
    EXPECT_EQ(firmaContenido(m.estado.RutaBase), m.firma);
    EXPECT_EQ(m.pasos, QString());

    // A candidate that fails its check: the reason, the views back on the unchanged file.
    aceptar("T-031226.mdb", {Mensajes::Answer::Yes});
    ASSERT_EQ(m.mensajes.shown.size(), 2);
    EXPECT_EQ(m.mensajes.shown[1].title, u("¡Error!"));
    EXPECT_TRUE(m.mensajes.shown[1].text.contains(u("quedó como estaba")))
        << m.mensajes.shown[1].text.toStdString();
    EXPECT_EQ(m.pasos, u("gcr"));
    EXPECT_EQ(firmaContenido(m.estado.RutaBase), m.firma);
    EXPECT_TRUE(rest.isVisible());

    // A copy gone since it was listed.
    ASSERT_TRUE(QFile::remove(m.copias.filePath(u("T-031226.mdb"))));
    aceptar("T-031226.mdb", {});
    ASSERT_EQ(m.mensajes.shown.size(), 1);
    EXPECT_EQ(m.mensajes.shown[0].text, u("No se encuentra la Base de Datos en esa ubicación"));
    EXPECT_EQ(m.mensajes.shown[0].title, u("Restaurar Backup"));

    // The data file itself.
    m.mensajes.folders.enqueue(m.datos.path());
    pulsar(rest, "Examinar");
    aceptar("trafos.mdb", {Mensajes::Answer::Yes});
    ASSERT_EQ(m.mensajes.shown.size(), 2);
    EXPECT_EQ(m.mensajes.shown[1].text, u("No se puede copiar el Archivo a su mismo directorio"));
    EXPECT_EQ(m.mensajes.shown[1].title, u("Backup"));
    EXPECT_EQ(m.mensajes.shown[1].icon, Mensajes::Icon::Critical);

    // Read-only work cannot restore.
    rest.mostrarCarpeta(m.copias.path());
    m.estado.SoloLectura = true;
    aceptar("AB041226.mdb", {Mensajes::Answer::Yes});
    EXPECT_EQ(m.mensajes.texts(), QStringList{Rest::mensajeSoloLectura()});
    EXPECT_EQ(firmaContenido(m.estado.RutaBase), m.firma);
    m.estado.SoloLectura = false;

    aceptar("AB041226.mdb", {Mensajes::Answer::Yes});
    EXPECT_EQ(m.mensajes.texts().last(), u("Archivo Restaurado"));
    EXPECT_EQ(m.pasos, u("gcr"));
    EXPECT_EQ(firmaContenido(m.estado.RutaBase), esperada);
    EXPECT_FALSE(rest.isVisible());
    // The file as it was is kept among the copies.
    EXPECT_EQ(firmaContenido(m.copias.filePath(u("PreRestauracion-051226-110000.mdb"))), m.firma);
}

TEST(Compact, CopiesFirstCompactsAndReconnectsWhateverHappens)
{
    Mesa m;
    {
        auto db = Database::open(m.estado.RutaBase);
        ASSERT_TRUE(db.ok() && db.value()->exec(u("DELETE FROM Ensayos")).ok());
    }
    const QString firma = firmaContenido(m.estado.RutaBase);
    const qint64 antes = QFileInfo(m.estado.RutaBase).size();
    const auto compactar = [&m] {
        m.mensajes.shown.clear();
        m.pasos.clear();
        Compact compact(m.estado, m.mensajes, m.enlace);
        compact.show();
        EXPECT_EQ(hijo<QLabel>(compact, "Consejo")->text(),
                  u("Se Recomienda que realice primero un Backup de la Base de Datos"));
        pulsar(compact, "Command25");
        EXPECT_FALSE(m.estado.RecargaEnCurso);
        return compact.isVisible();
    };
    // No automatic copy, no compaction: the views are never closed.
    m.copiaBien = false;
    EXPECT_TRUE(compactar());
    EXPECT_EQ(m.pasos, u("gA"));
    EXPECT_EQ(QFileInfo(m.estado.RutaBase).size(), antes);

    m.copiaBien = true;
    EXPECT_FALSE(compactar());
    EXPECT_EQ(m.pasos, u("gAcr"));
    EXPECT_EQ(m.mensajes.texts(), QStringList{u("Archivo Compactado")});
    EXPECT_LT(QFileInfo(m.estado.RutaBase).size(), antes);
    EXPECT_EQ(firmaContenido(m.estado.RutaBase), firma);

    // A damaged file stays in place, and the views come back all the same.
    ASSERT_TRUE(danar(m.estado.RutaBase));
    const QByteArray danada = bytesDe(m.estado.RutaBase);
    EXPECT_FALSE(compactar());
    EXPECT_EQ(m.pasos, u("gAcr"));
    ASSERT_EQ(m.mensajes.shown.size(), 1);
    EXPECT_EQ(m.mensajes.shown[0].title, u("¡Error!"));
    EXPECT_EQ(bytesDe(m.estado.RutaBase), danada);

    m.estado.SoloLectura = true;
    EXPECT_TRUE(compactar());
    EXPECT_EQ(m.pasos, QString());
    EXPECT_EQ(m.mensajes.texts(), QStringList{Rest::mensajeSoloLectura()});
}

TEST(PassFrm, MessagesTitlesFocusAndTheStoredPasswordFollowTheBoxes)
{
    const struct
    {
        const char* guardada; // "" for none
        const char* vieja;
        const char* nueva;
        const char* confirmada;
        const char* mensaje;
        const char* titulo; // "" for the program's
        bool cierra;
        const char* despues; // the password that opens the mode afterwards; "-" none set
        int foco;            // the box with focus when the window stays
    } casos[] = {
        {"", "", "clave1", "clave1", "Se ha habilitado la contraseña", "", true, "clave1", -1},
        {"abc", "abc", "nueva", "nueva", "La contraseña se ha cambiado con Éxito", "", true, "nueva", -1},
        {"abc", "mal", "nueva", "nueva", "La contraseña no es válida. Vuelva a intentarlo",
         "Inicio de sesión", false, "abc", 0},
        {"abc", "abc", "", "", "Se ha deshabilitado la contraseña", "", true, "-", -1},
        {"", "", "", "", "Se ha deshabilitado la contraseña", "", true, "-", -1},
        {"abc", "abc", "uno", "dos", "Las nuevas contraseñas no son iguales. Vuelva a intentarlo",
         "Inicio de sesión", false, "abc", 1},
        {"", "", "uno", "", "Las nuevas contraseñas no son iguales. Vuelva a intentarlo", "Inicio de sesión",
         false, "-", 1},
    };
    for (const QString& seccion : {PasswordStore::seccionLectura(), PasswordStore::seccionEscritura()}) {
        for (const auto& c : casos) {
            // The two windows differ only in their section: the write one runs the first cases.
            if (seccion == PasswordStore::seccionEscritura() && &c - casos > 1)
                break;
            QTemporaryDir dir;
            Settings ajustes(dir.filePath(u("Quorvela.conf")));
            PasswordStore claves(ajustes);
            ASSERT_TRUE(claves.setPassword(seccion, u(c.guardada)).ok());
            ScriptedMensajes mensajes;
            PassFrm ventana(seccion, claves, mensajes);
            ventana.show();
            ventana.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana));
            EXPECT_EQ(ventana.windowTitle(),
                      seccion == u("QL1") ? u("Contraseña Lectura") : u("Contraseña Escritura"));
            EXPECT_EQ(ventana.objectName(), seccion == u("QL1") ? u("PassFrm1") : u("PassFrm2"));
            QLineEdit* cajas[] = {hijo<QLineEdit>(ventana, "txtPassword_0"),
                                  hijo<QLineEdit>(ventana, "txtPassword_1"),
                                  hijo<QLineEdit>(ventana, "txtPassword_2")};
            EXPECT_EQ(ventana.sinClaveAnterior(), QString::fromUtf8(c.guardada).isEmpty()) << c.guardada;
            EXPECT_EQ(cajas[0]->isEnabled(), !ventana.sinClaveAnterior());
            const char* textos[] = {c.vieja, c.nueva, c.confirmada};
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(cajas[i]->echoMode(), QLineEdit::Password);
                if (cajas[i]->isEnabled())
                    QTest::keyClicks(cajas[i], QString::fromUtf8(textos[i]));
            }
            pulsar(ventana, "cmdOK");
            const std::string caso =
                seccion.toStdString() + " " + c.guardada + "/" + c.vieja + "/" + c.nueva + "/" + c.confirmada;
            ASSERT_EQ(mensajes.shown.size(), 1) << caso;
            EXPECT_EQ(mensajes.shown[0].text, QString::fromUtf8(c.mensaje)) << caso;
            EXPECT_EQ(mensajes.shown[0].title, QString::fromUtf8(c.titulo)) << caso;
            EXPECT_EQ(ventana.isVisible(), !c.cierra) << caso;
            if (QString::fromUtf8(c.despues) == u("-")) {
                EXPECT_FALSE(claves.hasPassword(seccion)) << caso;
            } else {
                EXPECT_TRUE(claves.matches(seccion, QString::fromUtf8(c.despues))) << caso;
            }
            if (c.foco >= 0) {
                EXPECT_TRUE(cajas[c.foco]->hasFocus()) << caso;
                EXPECT_EQ(cajas[c.foco]->selectedText(), cajas[c.foco]->text()) << caso;
                EXPECT_FALSE(cajas[c.foco]->text().isEmpty()) << caso;
            }
        }
    }
}

TEST(PassFrm, APasswordLongerThanTheConnectionBoxCannotBeSet)
{
    QTemporaryDir dir;
    Settings ajustes(dir.filePath(u("Quorvela.conf")));
    PasswordStore claves(ajustes);
    ScriptedMensajes mensajes;
    PassFrm ventana(PasswordStore::seccionEscritura(), claves, mensajes);
    ventana.show();
    for (const char* caja : {"txtPassword_1", "txtPassword_2"})
        QTest::keyClicks(hijo<QLineEdit>(ventana, caja), u("0123456789ABC"));
    pulsar(ventana, "cmdOK");
    EXPECT_EQ(mensajes.texts(), QStringList{u("Se ha habilitado la contraseña")});
    EXPECT_TRUE(claves.matches(PasswordStore::seccionEscritura(), u("0123456789")));
    EXPECT_FALSE(claves.setPassword(PasswordStore::seccionEscritura(), u("0123456789A")).ok());
    EXPECT_TRUE(claves.matches(PasswordStore::seccionEscritura(), u("0123456789")));
}
