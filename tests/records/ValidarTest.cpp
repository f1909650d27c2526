// The keystroke checkers and the checks of the editing commands: pure logic, no widget.
#include "records/logic/Validar.h"
#include "records/logic/Edicion.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <gtest/gtest.h>

using schema::Checker;
using validar::InputState;

namespace {

const QString kDia = u("Error en fecha (Dia)");
const QString kMes = u("Error en fecha (Mes)");
const QString kAnio = u("Error en fecha (Año)");

InputState alFinal(const QString& text)
{
    return {text, int(text.size()), int(text.size()), 0};
}

// Types keys one by one as the box does: the key replaces the selection, which runs to the
// end whenever there is one, then the checker settles the text.
validar::SettledResult teclear(Checker checker, QChar separator, const QString& keys)
{
    validar::SettledResult t;
    for (QChar key : keys) {
        const QStringList antes = t.messages;
        t = validar::checkUntilStable(checker, alFinal(t.state.text.left(t.state.selectionStart) + key),
                                      separator);
        t.messages = antes + t.messages;
    }
    return t;
}

} // namespace

TEST(Validar, KeystrokeByKeystroke)
{
    const struct
    {
        const char* nombre;
        Checker checker;
        char separator;
        const char* keys;
        const char* shown;
        QStringList messages = {};
        const char* selected = ""; // what the next key replaces
        bool complete = false;
    } casos[] = {
        // Decimal boxes: either key gives the locale's separator; a second one goes again.
        {"point becomes comma", Checker::Decimal, ',', "1.5", "1,5"},
        {"comma becomes point", Checker::Decimal, '.', "1,5", "1.5"},
        {"second separator by the other key", Checker::Decimal, ',', "1,5.", "1,5"},
        {"lone minus stays", Checker::Decimal, ',', "-", "-"},
        {"negative number", Checker::Decimal, '.', "-3.25", "-3.25"},
        {"double minus, minus after digits", Checker::Decimal, '.', "--4-", "-4"},
        {"lone separator, plus, dollar, blank and letters refused", Checker::Decimal, ',', ",+5$ 1e", "51"},
        // Whole numbers: no sign.
        {"minus in a code box", Checker::Whole, ',', "-42", "42"},
        {"letters refused", Checker::Whole, '.', "1x2", "12"},
        // A separator in a whole-number box is refused with a word and the number selected, so
        // the next digits replace it rather than glue on: "12,5" never becomes 125.
        {"separator in a code box",
         Checker::Whole,
         ',',
         "12,",
         "12",
         {u("Este campo admite solo números enteros")},
         "12"},
        {"retyped after the refusal",
         Checker::Whole,
         '.',
         "12.7",
         "7",
         {u("Este campo admite solo números enteros")}},
        // Year of manufacture.
        {"first year", Checker::Year, ',', "1940", "1940"},
        {"last year", Checker::Year, ',', "2050", "2050"},
        {"year above 2050", Checker::Year, ',', "2051", "2051", {kAnio}, "2051"},
        {"short year not tested", Checker::Year, ',', "193", "193"},
        {"letters in the year", Checker::Year, ',', "19ñ", "19ñ", {u("Error en fecha (AÑO)")}, "19ñ"},
        // Dates: day, month, four-digit year.
        {"day 31 in April", Checker::Date, ',', "31/4/", "31/4/", {kDia}, "31/4/"},
        {"day 30 in February", Checker::Date, ',', "30/2/", "30/2/", {kDia}, "30/2/"},
        {"29 February of a common year", Checker::Date, ',', "29/2/2023", "29/2/2023", {kDia}, "29/2/2023"},
        {"29 February of a leap year", Checker::Date, ',', "29/2/2024", "29/2/2024", {}, "", true},
        {"28 February of a common year", Checker::Date, ',', "28/2/2023", "28/2/2023", {}, "", true},
        {"month 0", Checker::Date, ',', "10/0/", "10/0/", {kMes}, "/0/"},
        {"month not tested before the second slash", Checker::Date, ',', "1/13", "1/13"},
        {"first year", Checker::Date, ',', "1/1/1970", "1/1/1970", {}, "", true},
        {"last day", Checker::Date, ',', "31/12/2050", "31/12/2050", {}, "", true},
        {"year 1969, then 2051", Checker::Date, ',', "1/1/1969/2051", "1/1/2051", {kAnio, kAnio}, "/2051"},
        {"five-digit year", Checker::Date, ',', "1/1/20245", "1/1/20245", {kAnio}, "/20245"},
        {"four digits alone are a year", Checker::Date, ',', "1969", "1969", {kAnio}, "1969"},
        {"day and year are no date", Checker::Date, ',', "5/2024", "5/2024"},
        {"month and year are no date", Checker::Date, ',', "/5/2024", "/5/2024"},
        {"day 32, then day 0", Checker::Date, ',', "32/0/", "0/", {kDia, kDia}, "0/"},
        {"blank and plus refused", Checker::Date, ',', "1 +", "1"},
        {"unchecked box", Checker::None, ',', "a-1.5 $", "a-1.5 $"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        const validar::SettledResult t = teclear(c.checker, QLatin1Char(c.separator), u(c.keys));
        const InputState& s = t.state;
        EXPECT_EQ(s.text, u(c.shown));
        EXPECT_EQ(t.messages, c.messages);
        EXPECT_EQ(s.text.mid(s.selectionStart, s.selectionLength), u(c.selected));
        // The cursor stands where the next key goes: the start of a faulty part, else the end.
        EXPECT_EQ(s.cursor, s.selectionLength ? s.selectionStart : s.text.size());
        EXPECT_EQ(t.complete, c.complete);
    }
}

TEST(Validar, OnePassOverAPastedOrEditedText)
{
    const InputState enMedio{u("12,5"), 1, 1, 0};
    const InputState seleccion{u("2024"), 4, 1, 3};
    const std::tuple<const char*, Checker, InputState, InputState> casos[] = {
        {"fraction cut in the year", Checker::Year, alFinal(u("1999.5")), alFinal(u("1999"))},
        {"two separators: only the last character goes", Checker::Decimal, alFinal(u("1,5,5")),
         alFinal(u("1,5,"))},
        {"date cut at the first separator", Checker::Date, alFinal(u("12.05.2024")), alFinal(u("12/"))},
        {"earliest of point and minus", Checker::Date, alFinal(u("1-2.3")), alFinal(u("1/"))},
        // Typing in the middle of a good text must not move the cursor or the selection.
        {"valid number", Checker::Decimal, enMedio, enMedio},
        {"valid year", Checker::Year, seleccion, seleccion},
    };
    for (const auto& [nombre, checker, in, out] : casos) {
        const validar::CheckResult r = validar::check(checker, in, QLatin1Char(','));
        EXPECT_EQ(r.state, out) << nombre;
        EXPECT_EQ(r.message, QString()) << nombre;
    }
    // A box's own rewrite is checked again until it stands.
    const auto r = validar::checkUntilStable(Checker::Decimal, alFinal(u("1,5,x")), QLatin1Char(','));
    EXPECT_EQ(r.state.text, u("1,5"));
}

TEST(Edicion, ComprobarCodigoYFecha)
{
    // The value read, or the message.
    const auto leido = [](const auto& r) { return r.ok() ? QVariant(r.value()).toString() : r.error(); };
    const QString falta = u("Debe ingresar el código");
    const QString rango = u("El código debe ser un número entero entre 1 y 32767.");
    const std::pair<const char*, QString> codigos[] = {
        {"", falta},           {"  ", falta},    {"0", falta},  {"12", u("12")}, {" 7 ", u("7")},
        {"32767", u("32767")}, {"32768", rango}, {"-3", rango}, {"1,5", rango}};
    for (const auto& [texto, esperado] : codigos)
        EXPECT_EQ(leido(edicion::comprobarCodigo(u(texto))), esperado) << texto;

    for (const char* texto : {"", "   "})
        EXPECT_EQ(leido(edicion::comprobarFecha(u(texto))), u("Debe Ingresar la Fecha")) << texto;
    for (const char* texto : {"31/02/2024", "29/02/2023", "10/01"})
        EXPECT_EQ(leido(edicion::comprobarFecha(u(texto))), u("La fecha no es correcta")) << texto;
    // Two-digit years 00-29 are this century's, 30-99 the last one's; four-digit ones stay.
    const std::pair<const char*, const char*> fechas[] = {
        {"29/02/2024", "2024-02-29"}, {"5/3/2024", "2024-03-05"}, {"05/03/24", "2024-03-05"},
        {"31/12/1999", "1999-12-31"}, {"15/03/95", "1995-03-15"}, {"1/1/29", "2029-01-01"},
        {"1/1/30", "1930-01-01"},     {"29/02/00", "2000-02-29"}};
    for (const auto& [texto, esperado] : fechas)
        EXPECT_EQ(leido(edicion::comprobarFecha(u(texto))), u(esperado)) << texto;
}

TEST(Edicion, ElCodigoPropuestoPasaElMayorEnUsoSinSalirDe16Bits)
{
    const std::pair<std::optional<int>, const char*> casos[] = {
        {std::nullopt, "1"}, {0, "1"}, {41, "42"}, {32766, "32767"}, {32767, ""}};
    for (const auto& [mayor, esperado] : casos)
        EXPECT_EQ(edicion::codigoPropuesto(mayor), u(esperado)) << mayor.value_or(-1);

    TempData datos;
    auto db = datos.open();
    const auto vacia = edicion::codigoMayor(*db);
    ASSERT_TRUE(vacia.ok()) << vacia.error().toStdString();
    EXPECT_FALSE(vacia.value().has_value());
    // The last row entered has a small code: the proposal must still pass every code in use.
    datos.exec(u("INSERT INTO Trafoge (\"CÓDIGO\") VALUES (41), (7), (39), (5)"));
    const auto mayor = edicion::codigoMayor(*db);
    ASSERT_TRUE(mayor.ok()) << mayor.error().toStdString();
    EXPECT_EQ(mayor.value(), 41);
}
