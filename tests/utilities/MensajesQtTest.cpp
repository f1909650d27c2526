#include "utilities/ui/MensajesQt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(MensajesQt, SpanishButtonsDefaultAndTitle)
{
    struct Caso
    {
        Mensajes::Buttons botones;
        Mensajes::Answer porDefecto;
        QString titulo;
        QStringList textos;
        QString tituloVisto;
    };
    const Caso casos[] = {
        {Mensajes::Buttons::Ok,
         Mensajes::Answer::Ok,
         QString(),
         {QStringLiteral("Aceptar")},
         QStringLiteral("Quorvela")},
        {Mensajes::Buttons::YesNo,
         Mensajes::Answer::No,
         QString::fromUtf8("¡Error!"),
         {QString::fromUtf8("Sí"), QStringLiteral("No")},
         QString::fromUtf8("¡Error!")},
        {Mensajes::Buttons::YesNo,
         Mensajes::Answer::Yes,
         QString(),
         {QString::fromUtf8("Sí"), QStringLiteral("No")},
         QStringLiteral("Quorvela")},
        {Mensajes::Buttons::OkCancel,
         Mensajes::Answer::Cancel,
         QString(),
         {QStringLiteral("Aceptar"), QStringLiteral("Cancelar")},
         QStringLiteral("Quorvela")},
    };
    for (const Caso& c : casos) {
        MensajesQt mensajes;
        mensajes.setBusy(true);
        ASSERT_TRUE(QGuiApplication::overrideCursor());
        QStringList vistos;
        QString tituloVisto;
        bool conCursorNormal = false;
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            conCursorNormal = QGuiApplication::overrideCursor() == nullptr;
            tituloVisto = box->windowTitle();
            for (QAbstractButton* b : box->buttons())
                vistos << b->text();
            QTest::keyClick(box, Qt::Key_Return); // Enter chooses the default button
        });
        const auto respuesta = mensajes.show(QStringLiteral("texto"), c.titulo, Mensajes::Icon::Question,
                                             c.botones, c.porDefecto);
        vistos.sort();
        QStringList esperados = c.textos;
        esperados.sort();
        EXPECT_EQ(vistos, esperados);
        EXPECT_EQ(tituloVisto, c.tituloVisto);
        EXPECT_TRUE(conCursorNormal);
        EXPECT_EQ(respuesta, c.porDefecto);
    }
    EXPECT_FALSE(QGuiApplication::overrideCursor());
}

TEST(MensajesQt, EscapeAnswersNoOrCancel)
{
    MensajesQt mensajes;
    QTimer::singleShot(50, [] {
        if (auto* box = QApplication::activeModalWidget())
            QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(mensajes.show(QStringLiteral("¿Borrar?"), QString(), Mensajes::Icon::Question,
                            Mensajes::Buttons::YesNo, Mensajes::Answer::Yes),
              Mensajes::Answer::No);
}
