#include "data/logic/JetSql.h"
#include "data/logic/Database.h"
#include "tests/support/TempData.h"
#include "tests/support/Texto.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

std::string str(const QString& s)
{
    return s.toStdString();
}

// The search clause ahead of "where" in the main window's search, and the sub-group's.
const char* kSearchHead =
    "SELECT Trafoge.*, Ensayos.*, Revision.*, Mantenimiento.* FROM ((Trafoge LEFT JOIN Ensayos ON "
    "Trafoge.CÓDIGO=Ensayos.Código) LEFT JOIN Revision ON Trafoge.CÓDIGO=Revision.CÓDIGO) LEFT JOIN "
    "Mantenimiento ON Trafoge.CÓDIGO=Mantenimiento.Código where ";
const char* kSubgroupHead = "SELECT DISTINCT Trafoge.Código FROM ((Trafoge LEFT JOIN Ensayos ON "
                            "Trafoge.CÓDIGO=Ensayos.Código) LEFT JOIN Revision ON "
                            "Trafoge.CÓDIGO=Revision.CÓDIGO) LEFT JOIN Mantenimiento ON "
                            "Trafoge.CÓDIGO=Mantenimiento.Código where ";
const char* kByCode = " Order By Trafoge.CÓDIGO Asc";
const char* kPriority = " Order By Trafoge.ESTADO Desc ,Trafoge.GRAVEDAD Desc ,Trafoge.CÓDIGO Asc";

class JetSqlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Rows are added out of code order so that "order of addition" and "code order" differ.
        m_data.exec(u(
            R"(INSERT INTO "Trafoge" ("CÓDIGO","AREA","MARCA","TIPO AISLANTE","ESTADO","GRAVEDAD","AUTO") VALUES
             (12,'Sur','Tubos',NULL,1,9.0,0), (5,'PLANTA','O''Brien','óleo mineral',2,3.5,1),
             (17,NULL,'tubos','Silicona',0,0.0,NULL), (9,'Norte',NULL,'silicona',3,1.0,1),
             (7,'planta','Tubos','ÓLEO MINERAL',3,1.0,0), (20,'Este','Tubos','silicona',3,4.0,0);
             INSERT INTO "Revision" ("CÓDIGO","FECHA","LIMPIEZA","SEC  / PRIM A TIERRA 10'") VALUES
             (7,'2003-06-01','BIEN',150), (9,'2003-05-19','REGULAR',NULL),
             (7,'2003-07-01','MAL',80), (12,'2003-05-20','bien',200);
             INSERT INTO "Ensayos" ("Código","Fecha","Diel","EMPRESA") VALUES
             (12,'2002-01-10',40.5,'Lab Sur'), (5,'2003-05-20',55,'Lab Norte'),
             (12,'2003-05-21',30,'lab sur'), (7,'2001-03-03',NULL,NULL), (17,'2004-06-06',60,'Ñandú SA');
             INSERT INTO "Mantenimiento" ("Código","Fecha","Pintado","Rep  o cambio termocuadrante") VALUES
             (9,'2005-01-01',1,0), (5,'2003-05-20',0,1);
             UPDATE "Ensayos" SET "LPF_25°C" = 2, "5H2F" = 0.5, "%_Inhibidor" = 0.3 WHERE "Fecha" = '2003-05-21';)"));
        m_db = m_data.open();
        ASSERT_TRUE(m_db);
    }

    // The first `columns` values of every row, joined with "|" (whole reals without ".0").
    QStringList runRows(const QString& sql, const QVariantList& params, int columns = 1)
    {
        auto st = Statement::prepare(*m_db, sql, params);
        EXPECT_TRUE(st.ok()) << str(sql) << ": " << str(st.error());
        QStringList out;
        while (st.ok()) {
            const auto row = st.value().step();
            EXPECT_TRUE(row.ok()) << str(sql) << ": " << str(row.error());
            if (!row.ok() || !row.value())
                break;
            QStringList values;
            for (int i = 0; i < columns; ++i) {
                const QVariant v = st.value().value(i);
                values << (v.typeId() == QMetaType::Double ? QString::number(v.toDouble()) : v.toString());
            }
            out << values.join(QLatin1Char('|'));
        }
        return st.ok() ? out : QStringList{u("<error>")};
    }

    // The rows as one text: rows separated by commas, columns by "|", NULL as nothing.
    std::string run(const QString& sql, const QVariantList& params, int columns = 1)
    {
        return str(runRows(sql, params, columns).join(QLatin1Char(',')));
    }

    // Codes (every table's first column) of the rows of a table matching a criterion, in code order.
    std::string runCriterion(const QString& criterion, const QString& table)
    {
        auto e = jetsql::translateCriterion(criterion, {table});
        EXPECT_TRUE(e.ok()) << str(criterion) << ": " << str(e.error());
        if (!e.ok())
            return "<error>";
        return run(u("SELECT * FROM \"%1\" WHERE %2 ORDER BY 1, rowid").arg(table, e->sql), e->params);
    }

    // 1 or 0 for a condition on literals alone; "null" when it is Null.
    std::string truth(const QString& condition)
    {
        auto e = jetsql::translateCriterion(condition, {QStringLiteral("Trafoge")});
        EXPECT_TRUE(e.ok()) << str(condition) << ": " << str(e.error());
        if (!e.ok())
            return "<error>";
        return run(
            QStringLiteral("SELECT CASE WHEN %1 THEN 1 WHEN NOT %1 THEN 0 ELSE 'null' END").arg(e->sql),
            e->params + e->params);
    }

    TempData m_data;
    std::shared_ptr<Database> m_db;
};

TEST_F(JetSqlTest, EveryKindOfQueryOfTheProgramReturnsTheExpectedRows)
{
    struct Case
    {
        QString source;
        const char* expected;
        int columns = 1;
    };
    const auto cat = [](const char* a, const char* b, const char* c = "") -> QString {
        return u(a) + u(b) + u(c);
    };
    const QList<Case> cases = {
        // Value lists: one entry per value whatever its case (either spelling may stay), accents
        // sorting beside their letter.
        {u("SELECT DISTINCT [TIPO AISLANTE]  FROM Trafoge order by [TIPO AISLANTE] asc"),
         ",óleo mineral,silicona"},
        {u("Select * from Ensayos ORDER BY Código ASC ,Fecha DESC"),
         "5|2003-05-20,7|2001-03-03,12|2003-05-21,12|2002-01-10,17|2004-06-06", 2},
        // Search over the join: a transformer comes once per matching combination of rows.
        {cat(kSearchHead, "Trafoge.[AREA] = 'PLANTA' ", kByCode), "5,7,7"},
        {cat(kSearchHead,
             "Trafoge.[AREA] = 'planta' And ( Revision.[LIMPIEZA] = 'bien' Or Ensayos.[Diel] > 50 ) ",
             kByCode),
         "5,7"},
        {cat(kSubgroupHead, "Revision.[FECHA] >= #05/20/03# ", kByCode), "7,12"},
        // A bare name shared by the joined tables belongs to the transformer table.
        {cat(kSubgroupHead, "CÓDIGO = 7 And LIMPIEZA = 'mal' ", kByCode), "7"},
        // Sub-groups, packed without blanks, and the date selection within one.
        {u("SELECT * FROM Revision WHERE (Código =7)or(Código=12)ORDER BY Código ASC ,Fecha DESC"),
         "7|2003-07-01,7|2003-06-01,12|2003-05-20", 2},
        {u("SELECT * FROM ensayos WHERE fecha >= #05/20/03# and (1=1) order by código asc , fecha desc"),
         "5|2003-05-20,12|2003-05-21,17|2004-06-06", 2},
        {u("SELECT * FROM revision WHERE fecha < #05/20/2003# and ((Código =7)or(Código=9)) order by "
           "código asc , fecha desc"),
         "9|2003-05-19", 2},
        {cat("SELECT * FROM Trafoge WHERE código = 12 or código = 7 Or código = 7", kPriority), "7,12"},
        // Statement end and odd spacing.
        {u("select   *   from   TRAFOGE   where   [cÓdIgO]   =   9  ;  "), "9"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(str(c.source));
        const auto q = jetsql::translateSource(c.source);
        ASSERT_TRUE(q.ok()) << str(q.error());
        // Every ? has its value and nothing else is bound; the statement is made of the pieces a
        // keyset cursor is built from, so its rows vouch for them.
        EXPECT_EQ(q->params.size(), q->sql.count(QLatin1Char('?'))) << str(q->sql);
        EXPECT_EQ(q->where.params.size(), q->where.sql.count(QLatin1Char('?'))) << str(q->where.sql);
        EXPECT_EQ(str(runRows(q->sql, q->params, c.columns).join(QLatin1Char(',')).toCaseFolded()),
                  str(u(c.expected).toCaseFolded()))
            << str(q->sql);
    }
}

TEST_F(JetSqlTest, QueryPiecesNameTablesAndKeepParametersInTextOrder)
{
    const auto join = jetsql::translateSelect(
        u("SELECT Trafoge.CÓDIGO FROM Trafoge LEFT JOIN Ensayos ON Trafoge.CÓDIGO=Ensayos.Código AND "
          "Ensayos.[Diel] > 50 WHERE Trafoge.AREA = 'planta' Or Ensayos.EMPRESA Like 'lab*' ORDER BY "
          "Trafoge.CÓDIGO"));
    ASSERT_TRUE(join.ok()) << str(join.error());
    EXPECT_EQ(join->tables, (QStringList{QStringLiteral("Trafoge"), QStringLiteral("Ensayos")}));
    // The condition's own values, apart from the join's.
    EXPECT_EQ(join->where.params, (QVariantList{QStringLiteral("planta"), QStringLiteral("lab*")}));
    // Bound in text order: 12 has no test above 50, so its joined row is empty and neither
    // condition holds.
    EXPECT_EQ(run(join->sql, join->params), "5,7");
}

TEST_F(JetSqlTest, CriteriaMatchTheEngineOperators)
{
    // Criterion and codes of the matching transformers. Like with the engine's wildcards, without
    // regard to case (% is no wildcard); "CÓDIGO LIKE n", the priority list's find, is exact; text
    // compares without regard to case, accented capitals included; numbers keep numeric order
    // (9 < 10) and / divides in reals; Or chains become lists; True and False against yes/no
    // fields, the engine's saved searches writing True as -1; values with quotes are never SQL.
    const char* const trafoge[][2] = {{"AREA Like 'pl*'", "5,7"},
                                      {"AREA Like 'S?r'", "12"},
                                      {"AREA Like 'S?'", ""},
                                      {"CÓDIGO Like '1#'", "12,17"},
                                      {"AREA Like '[NS]*'", "9,12"},
                                      {"AREA Like '[!NS]*'", "5,7,20"},
                                      {"AREA Like '[a-f]*'", "20"},
                                      {"AREA Not Like 'pl*'", "9,12,20"},
                                      {"AREA Like '*'", "5,7,9,12,20"},
                                      {"AREA Like 'p%'", ""},
                                      {"[TIPO AISLANTE] Like 'ÓLEO*'", "5,7"},
                                      {"CÓDIGO LIKE 1", ""},
                                      {"CÓDIGO NOT LIKE 12", "5,7,9,17,20"},
                                      {"[TIPO AISLANTE] = 'óleo mineral'", "5,7"},
                                      {"AREA = \"PLANTA\"", "5,7"},
                                      {"AREA > 'n'", "5,7,9,12"},
                                      {"GRAVEDAD < 10", "5,7,9,12,17,20"},
                                      {"CÓDIGO <= '9'", "5,7,9"},
                                      {"ESTADO * 2 + 1 = 7", "7,9,20"},
                                      {"CÓDIGO / 2 = 2.5", "5"},
                                      {"-CÓDIGO < -15", "17,20"},
                                      {"GRAVEDAD Between 1 And 3.5", "5,7,9"},
                                      {"CÓDIGO Not Between 6 And 12", "5,17,20"},
                                      {"AREA Between 'o' And 'Q'", "5,7"},
                                      {"CÓDIGO In (5, 17, 99)", "5,17"},
                                      {"CÓDIGO Not In (5,7)", "9,12,17,20"},
                                      {"AREA = 'norte' Or AREA = 'SUR' Or CÓDIGO = 5", "5,9,12"},
                                      {"CÓDIGO = 5 Or AREA = 'sur' Or CÓDIGO = 7 Or CÓDIGO = 99", "5,7,12"},
                                      {"(Código =5)or(Código=12)or(trafoge.cÓdigo=17)", "5,12,17"},
                                      {"AREA Is Null", "17"},
                                      {"Not AREA Is Null And ESTADO = 3", "7,9,20"},
                                      {"AUTO = True", "5,9"},
                                      {"AUTO = False", "7,12,20"},
                                      {"AUTO = -1", "5,9"},
                                      {"ESTADO > -1", "5,7,9,12,17,20"},
                                      {"MARCA = \"O'Brien\"", "5"},
                                      {"MARCA = 'o''brien'", "5"},
                                      {"MARCA = \"x' OR '1'='1\"", ""},
                                      {"MARCA = 'x\" OR \"1\"=\"1'", ""}};
    for (const auto& c : trafoge)
        EXPECT_EQ(runCriterion(u(c[0]), u("Trafoge")), c[1]) << c[0];
    // On the other tables: names in any case, with two blanks, a degree sign, digits first or a
    // percent sign; dates in mm/dd order, two-digit years 00-29 in this century, 30-99 in the last.
    const char* const others[][3] = {
        {"Ensayos", "EMPRESA = 'ñandú sa'", "17"},
        {"Revision", "[cÓdIgO] = 9", "9"},
        {"Revision", "fecha = #05/19/03#", "9"},
        {"Mantenimiento", "código=5", "5"},
        {"Ensayos", "[lpf_25°c] > 1 And [5h2f] = 0.5 And [%_INHIBIDOR] < 1", "12"},
        {"Revision", "[SEC  / PRIM A TIERRA 10'] > 100", "7,12"},
        {"Mantenimiento", "[Rep  o cambio termocuadrante] = True", "5"},
        {"Ensayos", "Fecha = #5/20/03#", "5"},
        {"Ensayos", "Fecha < #01/01/02#", "7"},
        {"Ensayos", "Fecha > #12/31/29#", ""},
        {"Ensayos", "Fecha > #01/01/30#", "5,7,12,12,17"},
        {"Ensayos", "Fecha Between #01/01/2002# And #12/31/2003#", "5,12,12"},
        {"Ensayos", "Fecha = #2003-05-21#", "12"}};
    for (const auto& c : others)
        EXPECT_EQ(runCriterion(u(c[1]), u(c[0])), c[2]) << c[1];
}

TEST_F(JetSqlTest, LogicalOperatorsFollowTheEngineTruthTables)
{
    // Condition and result. And binds tighter than Or, Or tighter than Xor; Not tighter than And.
    const char* const cases[][2] = {{"True Xor True", "0"},          {"True Xor False", "1"},
                                    {"False Xor False", "0"},        {"Null Xor True", "null"},
                                    {"True And Not True", "0"},      {"True And Not False", "1"},
                                    {"False Or Not False", "1"},     {"False Or Not False And False", "0"},
                                    {"Not False And False", "0"},    {"Not (False And False)", "1"},
                                    {"True Or False Xor True", "0"}, {"True Or (False Xor True)", "1"},
                                    {"1 = 1 Xor 2 = 3", "1"},        {"1 < 2 And 2 <> 2", "0"},
                                    {"'ÁRBOL' = 'árbol'", "1"},      {"'a' <> 'á'", "1"},
                                    {"Null = Null", "null"},         {"Null Is Null", "1"},
                                    {"3 Between 1 And 5", "1"},      {"7 Mod 4 = 3", "1"},
                                    {R"(7 \ 2 = 3)", "1"},           {"'ab' & 'c' = 'ABC'", "1"}};
    for (const auto& c : cases)
        EXPECT_EQ(truth(u(c[0])), c[1]) << c[0];
}

TEST_F(JetSqlTest, MalformedOrHarmfulTextIsRefusedNamingTheFaultAndNothingRuns)
{
    // Text and part of the message. A bare date is arithmetic, not a date; impossible days are
    // not rolled over.
    const char* const selects[][2] = {
        {"SELECT * FROM Trafoge WHERE XYZ = 1", "No existe el campo 'XYZ' en la tabla 'Trafoge'"},
        {"SELECT * FROM Trafoge ORDER BY Nada", "Nada"},
        {"SELECT Trafoge.Nada FROM Trafoge", "Nada"},
        {"SELECT * FROM Trafos", "Trafos"},
        {"SELECT * FROM Trafoge WHERE Revision.FECHA = #01/01/03#", "Revision"},
        {"SELECT * FROM Trafoge WHERE (CÓDIGO = 5", "paréntesis"},
        {"SELECT * FROM Trafoge WHERE CÓDIGO = 5)", "paréntesis"},
        {"SELECT * FROM (Trafoge LEFT JOIN Ensayos ON Trafoge.CÓDIGO=Ensayos.Código", "paréntesis"},
        {"SELECT * FROM Trafoge; DROP TABLE Trafoge", "más de una instrucción"},
        {"SELECT * FROM Trafoge WHERE 1=1; DELETE FROM Trafoge", "más de una instrucción"},
        {"DELETE FROM Trafoge", "SELECT"},
        {"ATTACH DATABASE '/tmp/x.db' AS x", "SELECT"},
        {"PRAGMA writable_schema=1", "SELECT"},
        {"SELECT * FROM Trafoge WHERE MARCA = 'O'Brien'", "texto"},
        {"SELECT * FROM Trafoge WHERE AREA = \"abc", "texto"},
        {"SELECT * FROM Trafoge WHERE [AREA = 'x'", "corchete"},
        {"SELECT * FROM Trafoge WHERE CÓDIGO = 5 abc", "sintaxis"},
        {"SELECT * FROM Trafoge WHERE CÓDIGO = 5 UNION SELECT * FROM Trafoge", "sintaxis"},
        {"SELECT * FROM Trafoge WHERE load_extension('x') = 1", "load_extension"},
        {"SELECT * FROM Trafoge, Trafoge", "dos veces"},
        {"SELECT * FROM Revision WHERE FECHA = 20/05/2003", "#"},
        {"SELECT * FROM ensayos WHERE fecha >= #02/30/03#", "#02/30/03#"},
        {"SELECT * FROM ensayos WHERE fecha >= #02/29/03#", "#02/29/03#"},
        {"SELECT * FROM ensayos WHERE fecha >= #13/01/03#", "#13/01/03#"},
        {"SELECT * FROM ensayos WHERE fecha >= #05/20/03", "fecha"},
        {"SELECT * FROM Trafoge WHERE", "termina"},
        {"SELECT * FROM Trafoge WHERE CÓDIGO = 5 -- comentario", "comentario"},
        {"", "vacía"}};
    for (const auto& c : selects) {
        const auto q = jetsql::translateSelect(u(c[0]));
        ASSERT_FALSE(q.ok()) << c[0] << " gave " << str(q->sql);
        EXPECT_TRUE(q.error().contains(u(c[1]))) << c[0] << ": " << str(q.error());
    }
    const char* const criteria[][2] = {{"1=1; DELETE FROM Trafoge", "más de una instrucción"},
                                       {"AREA = 'x' ) Or (1=1", "paréntesis"},
                                       {"CÓDIGO = 5 6", "sintaxis"},
                                       {"Ensayos.[Código] = 5", "Ensayos"},
                                       {"Nada = 1", "No existe el campo 'Nada' en la tabla 'Trafoge'"},
                                       {"AREA ==", "sintaxis"},
                                       {"", "vacío"}};
    for (const auto& c : criteria) {
        const auto e = jetsql::translateCriterion(u(c[0]), {QStringLiteral("Trafoge")});
        ASSERT_FALSE(e.ok()) << c[0] << " gave " << str(e->sql);
        EXPECT_TRUE(e.error().contains(u(c[1]))) << c[0] << ": " << str(e.error());
    }
    // 29 February exists in a leap year.
    EXPECT_TRUE(jetsql::translateSelect(u("SELECT * FROM ensayos WHERE fecha >= #02/29/04#")).ok());
    EXPECT_EQ(run(QStringLiteral("SELECT count(*) FROM \"Trafoge\""), {}), "6");
    // A broken character list translates but stops the statement that runs it.
    auto like = jetsql::translateCriterion(u("AREA Like '[ab'"), {QStringLiteral("Trafoge")});
    ASSERT_TRUE(like.ok());
    auto st = Statement::prepare(*m_db, u("SELECT 1 FROM \"Trafoge\" WHERE ") + like->sql, like->params);
    ASSERT_TRUE(st.ok());
    EXPECT_FALSE(st.value().step().ok());
}

TEST_F(JetSqlTest, LongCodeListsRunAndDeepNestingIsRefused)
{
    // A sub-group of thousands of transformers and the date selection's list of codes are
    // long Or chains; SQLite refuses expressions deeper than 1000 levels.
    QString subgroup = u("SELECT * FROM Trafoge WHERE (Código =1)");
    QString dates = u("SELECT * FROM Trafoge WHERE código = 1");
    for (int code = 2; code <= 3000; ++code) {
        subgroup += u("or(Código=%1)").arg(code);
        dates += (code % 2 ? u(" or código = %1") : u(" Or código = %1")).arg(code);
    }
    for (const QString& sql :
         QStringList{subgroup + u("ORDER BY Código ASC "), dates + u(" order by CÓDIGO")}) {
        const auto q = jetsql::translateSelect(sql);
        ASSERT_TRUE(q.ok()) << str(q.error());
        EXPECT_EQ(q->params.size(), 3000);
        EXPECT_EQ(run(q->sql, q->params), "5,7,9,12,17,20");
    }
    // Alternating columns cannot become a list; the chain is still nested shallowly enough.
    QString mixed = u("CÓDIGO = 0");
    for (int i = 1; i <= 700; ++i)
        mixed += u(" Or CÓDIGO = %1 Or AREA = 'x%1'").arg(i);
    EXPECT_EQ(runCriterion(mixed, u("Trafoge")), "5,7,9,12,17,20");
    // Reasonable nesting is fine; thousands of levels are refused.
    const auto nested = [](int levels, const char* inner) -> QString {
        return QString(levels, QLatin1Char('(')) + u(inner) + QString(levels, QLatin1Char(')'));
    };
    EXPECT_EQ(runCriterion(nested(30, "CÓDIGO = 9"), u("Trafoge")), "9");
    const auto deep = jetsql::translateCriterion(nested(5000, "AREA = 'x'"), {u("Trafoge")});
    ASSERT_FALSE(deep.ok());
    EXPECT_TRUE(deep.error().contains(u("paréntesis"))) << str(deep.error());
    EXPECT_FALSE(jetsql::translateCriterion(u("Not ").repeated(2000) + u("True"), {u("Trafoge")}).ok());
}

TEST_F(JetSqlTest, ReadOnlyScopeDeniesEverythingButReading)
{
    const QString insert = u("INSERT INTO \"Trafoge\" (\"CÓDIGO\") VALUES (99)");
    {
        jetsql::ReadOnlyScope guard(m_db->handle());
        for (const QString& sql :
             {insert, QStringLiteral("DELETE FROM \"Revision\""),
              QStringLiteral("ATTACH DATABASE ':memory:' AS x"), QStringLiteral("PRAGMA writable_schema=1"),
              QStringLiteral("SELECT load_extension('x')")})
            EXPECT_FALSE(Statement::prepare(*m_db, sql).ok()) << str(sql);
        // Translated searches, with their function and collation, still run.
        const auto q = jetsql::translateSelect(u("SELECT * FROM Trafoge WHERE AREA Like 'PL*' And "
                                                 "[TIPO AISLANTE] = 'ÓLEO MINERAL' ORDER BY AREA"));
        ASSERT_TRUE(q.ok()) << str(q.error());
        EXPECT_EQ(run(q->sql, q->params), "5,7");
    }
    EXPECT_TRUE(Statement::prepare(*m_db, insert).ok());
}

TEST_F(JetSqlTest, FindsOnTheCodeUseTheIndex)
{
    // The views find their transformer on every move; the priority list with "CÓDIGO LIKE n".
    const char* const finds[][2] = {
        {"Trafoge", "[código]=12"}, {"Ensayos", "[código]=12"}, {"Trafoge", "CÓDIGO LIKE 12"}};
    for (const auto& f : finds) {
        auto e = jetsql::translateCriterion(u(f[1]), {u(f[0])});
        ASSERT_TRUE(e.ok()) << f[1];
        const std::string plan =
            run(u("EXPLAIN QUERY PLAN SELECT rowid FROM \"%1\" WHERE %2").arg(u(f[0]), e->sql), e->params, 4);
        EXPECT_NE(plan.find("USING"), std::string::npos) << f[1] << " on " << f[0] << ": " << plan;
    }
}

} // namespace
