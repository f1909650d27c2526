#include "controls/Factory.h"
#include "controls/Registro.h"
#include "controls/SemaforoLuz.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

TEST(Factory, CreatesBothControlsByIdentifier)
{
    QWidget padre;
    QString error = QStringLiteral("sin tocar");
    QWidget* luz = lumerix::createControl(QStringLiteral("Lumerix.SemaforoLuz"), &padre, &error);
    ASSERT_NE(luz, nullptr);
    EXPECT_EQ(luz->parentWidget(), &padre);
    EXPECT_NE(qobject_cast<lumerix::SemaforoLuz*>(luz), nullptr);
    EXPECT_TRUE(luz->setProperty("EstadoLuz", 3));
    EXPECT_EQ(luz->property("EstadoLuz").toInt(), 3);

    QWidget* fila = lumerix::createControl(QStringLiteral("Lumerix.Registro"), &padre, &error);
    ASSERT_NE(fila, nullptr);
    EXPECT_NE(qobject_cast<lumerix::Registro*>(fila), nullptr);
    EXPECT_TRUE(fila->setProperty("Codigo", QStringLiteral("12")));
    EXPECT_EQ(fila->property("Codigo").toString(), QStringLiteral("12"));
    EXPECT_EQ(error, QStringLiteral("sin tocar"));
}

TEST(Factory, IdentifiersIgnoreCase)
{
    std::unique_ptr<QWidget> luz(lumerix::createControl(QStringLiteral("lumerix.semaforoluz"), nullptr));
    EXPECT_NE(qobject_cast<lumerix::SemaforoLuz*>(luz.get()), nullptr);
    std::unique_ptr<QWidget> fila(lumerix::createControl(QStringLiteral("LUMERIX.REGISTRO"), nullptr));
    EXPECT_NE(qobject_cast<lumerix::Registro*>(fila.get()), nullptr);
}

TEST(Factory, UnknownIdentifierIsAnError)
{
    for (const QString& nombre : {QStringLiteral("Lumerix.Semaforo"), QStringLiteral("Quorvela.Semaforo"),
                                  QStringLiteral(""), QStringLiteral("Lumerix.Registro2")}) {
        QString error;
        EXPECT_EQ(lumerix::createControl(nombre, nullptr, &error), nullptr);
        EXPECT_EQ(error, QStringLiteral("No existe el control '%1' en la biblioteca Lumerix").arg(nombre));
        EXPECT_EQ(lumerix::createControl(nombre, nullptr), nullptr);
    }
}
