#include "records/logic/Edicion.h"
#include "tests/support/TempData.h"

#include <gtest/gtest.h>

namespace {

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

TEST(Edicion, CodigoPropuestoEsElMayorMasUno)
{
    const struct
    {
        std::optional<int> mayor;
        const char* esperado;
    } casos[] = {{std::nullopt, "1"}, {41, "42"}, {0, "1"}, {32766, "32767"}, {32767, ""}};
    for (const auto& c : casos)
        EXPECT_EQ(edicion::codigoPropuesto(c.mayor), u(c.esperado)) << c.mayor.value_or(-1);
}

TEST(Edicion, CodigoMayorLeeLaTablaNoElUltimoIngresado)
{
    TempData datos;
    auto db = datos.open();
    auto vacia = edicion::codigoMayor(*db);
    ASSERT_TRUE(vacia.ok()) << vacia.error().toStdString();
    EXPECT_FALSE(vacia.value().has_value());
    // The last row entered has a small code: the proposal must still pass every code in use.
    datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\") VALUES (41), (7), (39), (5)"));
    auto mayor = edicion::codigoMayor(*db);
    ASSERT_TRUE(mayor.ok());
    EXPECT_EQ(mayor.value(), 41);
    EXPECT_EQ(edicion::codigoPropuesto(mayor.value()), u("42"));
}

TEST(Edicion, ComprobarCodigo)
{
    const QString falta = u("Debe ingresar el código");
    const struct
    {
        const char* texto;
        int codigo;      // 0: refused
        bool faltaTexto; // refused as missing (else as out of range)
    } casos[] = {{"", 0, true},       {"  ", 0, true},   {"0", 0, true},          {"00", 0, true},
                 {"12", 12, false},   {" 7 ", 7, false}, {"32767", 32767, false}, {"32768", 0, false},
                 {"40000", 0, false}, {"-3", 0, false},  {"1,5", 0, false}};
    for (const auto& c : casos) {
        const Result<int> r = edicion::comprobarCodigo(u(c.texto));
        if (c.codigo) {
            ASSERT_TRUE(r.ok()) << c.texto;
            EXPECT_EQ(r.value(), c.codigo) << c.texto;
        } else {
            ASSERT_FALSE(r.ok()) << c.texto;
            if (c.faltaTexto)
                EXPECT_EQ(r.error(), falta) << c.texto;
            else
                EXPECT_TRUE(r.error().contains(u("32767"))) << c.texto;
        }
    }
}

TEST(Edicion, ComprobarFecha)
{
    const struct
    {
        const char* texto;
        QDate fecha; // invalid: refused
        const char* mensaje;
    } casos[] = {
        {"", QDate(), "Debe Ingresar la Fecha"},
        {"   ", QDate(), "Debe Ingresar la Fecha"},
        {"31/02/2024", QDate(), "La fecha no es correcta"},
        {"29/02/2023", QDate(), "La fecha no es correcta"},
        {"32/01/2024", QDate(), "La fecha no es correcta"},
        {"10/13/2024", QDate(), "La fecha no es correcta"},
        {"10/01", QDate(), "La fecha no es correcta"},
        {"29/02/2024", QDate(2024, 2, 29), ""},
        {"5/3/2024", QDate(2024, 3, 5), ""},
        {"05/03/24", QDate(2024, 3, 5), ""},
        {"31/12/1999", QDate(1999, 12, 31), ""},
    };
    for (const auto& c : casos) {
        const Result<QDate> r = edicion::comprobarFecha(u(c.texto));
        if (c.fecha.isValid()) {
            ASSERT_TRUE(r.ok()) << c.texto;
            EXPECT_EQ(r.value(), c.fecha) << c.texto;
        } else {
            ASSERT_FALSE(r.ok()) << c.texto;
            EXPECT_EQ(r.error(), u(c.mensaje)) << c.texto;
        }
    }
}

TEST(Edicion, PreguntasYTitulos)
{
    EXPECT_EQ(edicion::preguntaEliminarTrafo(u("12")),
              u("¿ Esta seguro de querer eliminar los datos del transformador: 12 ?"));
    EXPECT_EQ(edicion::preguntaEliminarFila(u("12"), u("10/01/2024")),
              u("¿ Esta seguro de querer eliminar el Registro de: 12 con Fecha:10/01/2024 ?"));
    EXPECT_EQ(edicion::tituloEliminar(Alineacion::Vista::Trafo), u("ELIMINAR REGISTRO DE TRANSFORMADORES"));
    EXPECT_EQ(edicion::tituloEliminar(Alineacion::Vista::Revision), u("ELIMINAR REGISTRO DE REVISIÓN"));
    EXPECT_EQ(edicion::tituloEliminar(Alineacion::Vista::Ensayos), u("ELIMINAR REGISTRO DE ENSAYOS"));
    EXPECT_EQ(edicion::tituloEliminar(Alineacion::Vista::Mantenimiento),
              u("ELIMINAR REGISTRO DE MANTENIMIENTO"));
}
