#include "data/logic/Database.h"
#include "data/logic/DemoPlant.h"
#include "diagnosis/logic/MetodosGas.h"
#include "diagnosis/logic/ValorNumerico.h"

#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace diagnostico;

// The demo plant is meant to show every fault of the three gas methods on some test.
TEST(MuestrasDemo, EveryGasFaultShowsOnSomeDemoTest)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Status creado = demo::createDemo(dir.path());
    ASSERT_TRUE(creado.ok()) << creado.error().toStdString();
    auto db = Database::open(dir.filePath(QStringLiteral("trafos.mdb")), true);
    ASSERT_TRUE(db.ok()) << db.error().toStdString();
    auto st =
        Statement::prepare(*db.value(), QString::fromUtf8("SELECT \"Hidrógeno\", \"Metano\", \"Etano\", "
                                                          "\"Etileno\", \"Acetileno\", \"GAS\", \"FD\" "
                                                          "FROM \"Ensayos\""));
    ASSERT_TRUE(st.ok()) << st.error().toStdString();
    QSet<QString> dornenburg, rogers, relacion;
    int filas = 0;
    while (true) {
        auto paso = st.value().step();
        ASSERT_TRUE(paso.ok()) << paso.error().toStdString();
        if (!paso.value())
            break;
        ++filas;
        const Statement& s = st.value();
        EnsayoGases e;
        e.hayEnsayo = true;
        e.gas = s.value(5).toBool();
        e.forzado = s.value(6).toBool();
        e.gases = {valorGuardado(s.value(0)), valorGuardado(s.value(1)), valorGuardado(s.value(2)),
                   valorGuardado(s.value(3)), valorGuardado(s.value(4))};
        for (const QString& f : evaluarDornenburg(e).fallos)
            dornenburg << f;
        for (const QString& f : evaluarRogers(e).fallos)
            rogers << f;
        for (const QString& f : evaluarRelacionGases(e).fallos)
            relacion << f;
    }
    ASSERT_GT(filas, 0);
    const struct
    {
        const TablaMetodo& tabla;
        const QSet<QString>& vistos;
    } metodos[] = {
        {tablaDornenburg(), dornenburg}, {tablaRogers(), rogers}, {tablaRelacionGases(), relacion}};
    for (const auto& m : metodos)
        for (const FilaCriterios& fila : m.tabla.filas)
            EXPECT_TRUE(m.vistos.contains(fila.fallo))
                << m.tabla.titulo.toStdString() << ": " << fila.fallo.toStdString();
}
