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
             (12,'Sur','Tubos',NULL,1,9.0,0),
             (5,'PLANTA','O''Brien','óleo mineral',2,3.5,1),
             (17,NULL,'tubos','Silicona',0,0.0,NULL),
             (9,'Norte',NULL,'silicona',3,1.0,1),
             (7,'planta','Tubos','ÓLEO MINERAL',3,1.0,0),
             (20,'Este','Tubos','silicona',3,4.0,0);
             INSERT INTO "Revision" ("CÓDIGO","FECHA","LIMPIEZA","SEC  / PRIM A TIERRA 10'") VALUES
             (7,'2003-06-01','BIEN',150), (9,'2003-05-19','REGULAR',NULL),
             (7,'2003-07-01','MAL',80), (12,'2003-05-20','bien',200);
             INSERT INTO "Ensayos" ("Código","Fecha","Diel","EMPRESA") VALUES
             (12,'2002-01-10',40.5,'Lab Sur'), (5,'2003-05-20',55,'Lab Norte'),
             (12,'2003-05-21',30,'lab sur'), (7,'2001-03-03',NULL,NULL), (17,'2004-06-06',60,'Ñandú SA');
             INSERT INTO "Mantenimiento" ("Código","Fecha","Pintado","Rep  o cambio termocuadrante") VALUES
             (9,'2005-01-01',1,0), (5,'2003-05-20',0,1);)"));
        m_db = m_data.open();
        ASSERT_TRUE(m_db);
    }

    // The first `columns` values of every row, joined with "|" (whole reals without ".0").
    QStringList runRows(const QString& sql, const QVariantList& params, int columns = 1)
    {
        QStringList out;
        auto st = Statement::prepare(*m_db, sql, params);
        EXPECT_TRUE(st.ok()) << str(sql) << ": " << str(st.error());
        if (!st.ok())
            return {QStringLiteral("<error>")};
        while (true) {
            auto row = st.value().step();
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
        return out;
    }

    // The rows as one text: rows separated by commas, columns by "|", NULL as nothing.
    std::string run(const QString& sql, const QVariantList& params, int columns = 1)
    {
        return str(runRows(sql, params, columns).join(QLatin1Char(',')));
    }

    // Codes of the rows of a table matching a criterion, in code order.
    std::string runCriterion(const QString& criterion, const QString& table)
    {
        auto e = jetsql::translateCriterion(criterion, {table});
        EXPECT_TRUE(e.ok()) << str(criterion) << ": " << str(e.error());
        if (!e.ok())
            return "<error>";
        // The code field is spelt CÓDIGO in two tables and Código in the other two.
        const QString code =
            u(table == QLatin1String("Trafoge") || table == QLatin1String("Revision") ? "\"CÓDIGO\""
                                                                                      : "\"Código\"");
        return run(
            QStringLiteral("SELECT %1 FROM \"%2\" WHERE %3 ORDER BY %1, rowid").arg(code, table, e->sql),
            e->params);
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

    // The query plan of a find on a table.
    std::string plan(const char* criterion, const char* table)
    {
        auto e = jetsql::translateCriterion(u(criterion), {u(table)});
        EXPECT_TRUE(e.ok()) << criterion;
        if (!e.ok())
            return {};
        return run(
            QStringLiteral("EXPLAIN QUERY PLAN SELECT rowid FROM \"%1\" WHERE %2").arg(u(table), e->sql),
            e->params, 4);
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
        bool caseless = false; // DISTINCT keeps either spelling of a value
    };
    const auto cat = [](const char* a, const char* b, const char* c = "") -> QString {
        return u(a) + u(b) + u(c);
    };
    const QList<Case> cases = {
        // Table sources: transformers by code, dated tables in the order rows were added.
        {u("TRAFOGE"), "5,7,9,12,17,20"},
        {u("Revision"), "7|2003-06-01,9|2003-05-19,7|2003-07-01,12|2003-05-20", 2},
        // Priority order: red first, then decreasing severity, ties by increasing code.
        {u("Select Trafoge.* From Trafoge Order By Trafoge.ESTADO Desc ,Trafoge.GRAVEDAD Desc "
           ",Trafoge.CÓDIGO Asc"),
         "20,7,9,5,12,17"},
        // Value lists: one entry per value whatever its case, accents sorting beside their letter.
        {u("SELECT DISTINCT [TIPO AISLANTE]  FROM Trafoge order by [TIPO AISLANTE] asc"),
         ",óleo mineral,silicona", 1, true},
        // Without an order a DISTINCT list still comes sorted, as the engine's always did.
        {u("SELECT DISTINCT [Fecha]  FROM Revision"), "2003-05-19,2003-05-20,2003-06-01,2003-07-01"},
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
        {cat("SELECT * FROM Trafoge WHERE (Código =5)or(Código=7)or(Código=9)", kPriority), "7,9,5"},
        {u("SELECT * FROM Revision WHERE (Código =7)or(Código=12)ORDER BY Código ASC ,Fecha DESC"),
         "7|2003-07-01,7|2003-06-01,12|2003-05-20", 2},
        {u("SELECT * FROM ensayos WHERE fecha >= #05/20/03# and (1=1) order by código asc , fecha desc"),
         "5|2003-05-20,12|2003-05-21,17|2004-06-06", 2},
        {u("SELECT * FROM revision WHERE fecha < #05/20/2003# and ((Código =7)or(Código=9)) order by "
           "código asc , fecha desc"),
         "9|2003-05-19", 2},
        {cat("SELECT * FROM Trafoge WHERE código = 12 or código = 7 Or código = 7", kPriority), "7,12"},
        // Statement end and odd spacing.
        {u("select   *   from   TRAFOGE   where   [cÓdIgO]   =   9  ;  "), "9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(str(c.source));
        const auto q = jetsql::translateSource(c.source);
        ASSERT_TRUE(q.ok()) << str(q.error());
        // Every ? has its value and nothing else is bound.
        EXPECT_EQ(q->params.size(), q->sql.count(QLatin1Char('?'))) << str(q->sql);
        EXPECT_EQ(q->where.params.size(), q->where.sql.count(QLatin1Char('?'))) << str(q->where.sql);
        const QStringList got = runRows(q->sql, q->params, c.columns);
        const QString joined = got.join(QLatin1Char(','));
        EXPECT_EQ(str(c.caseless ? joined.toCaseFolded() : joined),
                  str(c.caseless ? u(c.expected).toCaseFolded() : u(c.expected)))
            << str(q->sql);
        if (q->singleTable() && !q->distinct) {
            // The pieces make a keyset cursor over the same rows on their own.
            QString keyset = QStringLiteral("SELECT rowid FROM ") + q->fromSql;
            if (!q->where.sql.isEmpty())
                keyset += QStringLiteral(" WHERE ") + q->where.sql;
            if (!q->orderSql.isEmpty())
                keyset += QStringLiteral(" ORDER BY ") + q->orderSql;
            EXPECT_EQ(runRows(keyset, q->where.params).size(), got.size()) << str(keyset);
        }
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
    EXPECT_EQ(join->params, (QVariantList{qlonglong(50), QStringLiteral("planta"), QStringLiteral("lab*")}));
    EXPECT_EQ(join->where.params, (QVariantList{QStringLiteral("planta"), QStringLiteral("lab*")}));
    EXPECT_FALSE(join->singleTable());
    // Names are qualified in a join, so SQLite never finds them ambiguous.
    EXPECT_TRUE(join->where.sql.contains(u("\"Trafoge\".\"AREA\""))) << str(join->where.sql);
    // 12 has no test above 50, so its joined row is empty and neither condition holds.
    EXPECT_EQ(run(join->sql, join->params), "5,7");
}

TEST_F(JetSqlTest, CriteriaMatchTheEngineOperators)
{
    const struct
    {
        const char* table;
        const char* criterion;
        const char* codes;
    } cases[] = {
        // Like with the engine's wildcards, without regard to case; % is no wildcard.
        {"Trafoge", "AREA Like 'pl*'", "5,7"},
        {"Trafoge", "AREA Like 'S?r'", "12"},
        {"Trafoge", "AREA Like 'S?'", ""},
        {"Trafoge", "CÓDIGO Like '1#'", "12,17"},
        {"Trafoge", "AREA Like '[NS]*'", "9,12"},
        {"Trafoge", "AREA Like '[!NS]*'", "5,7,20"},
        {"Trafoge", "AREA Like '[a-f]*'", "20"},
        {"Trafoge", "AREA Not Like 'pl*'", "9,12,20"},
        {"Trafoge", "AREA Like '*'", "5,7,9,12,20"},
        {"Trafoge", "AREA Like 'p%'", ""},
        {"Trafoge", "MARCA Like '*''*'", "5"},
        {"Trafoge", "[TIPO AISLANTE] Like 'ÓLEO*'", "5,7"},
        // "CÓDIGO LIKE n", the priority list's find: exact, 1 does not find 12.
        {"Trafoge", "CÓDIGO LIKE 1", ""},
        {"Trafoge", "[código] Like 12", "12"},
        {"Trafoge", "CÓDIGO NOT LIKE 12", "5,7,9,17,20"},
        // Text compares without regard to case, accented capitals included.
        {"Trafoge", "[TIPO AISLANTE] = 'óleo mineral'", "5,7"},
        {"Trafoge", "AREA = \"PLANTA\"", "5,7"},
        {"Ensayos", "EMPRESA = 'ñandú sa'", "17"},
        {"Trafoge", "AREA > 'n'", "5,7,9,12"},
        // Numbers keep numeric order: 9 < 10 although "9" > "10" as text; / divides in reals.
        {"Trafoge", "GRAVEDAD < 10", "5,7,9,12,17,20"},
        {"Trafoge", "CÓDIGO <= '9'", "5,7,9"},
        {"Trafoge", "ESTADO * 2 + 1 = 7", "7,9,20"},
        {"Trafoge", "CÓDIGO / 2 = 2.5", "5"},
        {"Trafoge", "-CÓDIGO < -15", "17,20"},
        // Between, In, Is Null, and Or chains that become lists.
        {"Trafoge", "GRAVEDAD Between 1 And 3.5", "5,7,9"},
        {"Trafoge", "CÓDIGO Not Between 6 And 12", "5,17,20"},
        {"Trafoge", "AREA Between 'o' And 'Q'", "5,7"},
        {"Trafoge", "CÓDIGO In (5, 17, 99)", "5,17"},
        {"Trafoge", "CÓDIGO Not In (5,7)", "9,12,17,20"},
        {"Trafoge", "AREA = 'norte' Or AREA = 'SUR' Or CÓDIGO = 5", "5,9,12"},
        {"Trafoge", "CÓDIGO = 5 Or AREA = 'sur' Or CÓDIGO = 7 Or CÓDIGO = 99", "5,7,12"},
        {"Trafoge", "(Código =5)or(Código=12)or(trafoge.cÓdigo=17)", "5,12,17"},
        {"Trafoge", "AREA Is Null", "17"},
        {"Trafoge", "Not AREA Is Null And ESTADO = 3", "7,9,20"},
        // True and False against yes/no fields; the engine's saved searches write True as -1.
        {"Trafoge", "AUTO = True", "5,9"},
        {"Trafoge", "AUTO = False", "7,12,20"},
        {"Trafoge", "AUTO = -1", "5,9"},
        {"Mantenimiento", "Pintado = -1", "9"},
        {"Trafoge", "ESTADO > -1", "5,7,9,12,17,20"},
        // Names with two blanks are exact.
        {"Revision", "[SEC  / PRIM A TIERRA 10'] > 100", "7,12"},
        {"Mantenimiento", "[Rep  o cambio termocuadrante] = True", "5"},
        // Values with quotes are values, never SQL.
        {"Trafoge", "MARCA = \"O'Brien\"", "5"},
        {"Trafoge", "MARCA = 'o''brien'", "5"},
        {"Trafoge", "MARCA = \"x' OR '1'='1\"", ""},
        {"Trafoge", "MARCA = 'x\" OR \"1\"=\"1'", ""},
        // Dates: mm/dd order, two-digit years 00-29 in this century, 30-99 in the last one.
        {"Ensayos", "Fecha = #5/20/03#", "5"},
        {"Ensayos", "Fecha < #01/01/02#", "7"},
        {"Ensayos", "Fecha > #12/31/29#", ""},
        {"Ensayos", "Fecha > #01/01/30#", "5,7,12,12,17"},
        {"Ensayos", "Fecha Between #01/01/2002# And #12/31/2003#", "5,12,12"},
        {"Ensayos", "Fecha = #2003-05-21#", "12"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runCriterion(u(c.criterion), u(c.table)), c.codes) << c.criterion;
}

TEST_F(JetSqlTest, NamesAreFoundWithoutRegardToCase)
{
    for (const char* table : {"Trafoge", "Revision", "Ensayos", "Mantenimiento"}) {
        QStringList sqls;
        for (const char* written : {"[código]=5", "Código=5", "CÓDIGO=5", "[cÓdIgO] = 5"}) {
            auto e = jetsql::translateCriterion(u(written), {u(table)});
            ASSERT_TRUE(e.ok()) << table << "," << written << ": " << str(e.error());
            sqls << e->sql;
        }
        sqls.removeDuplicates();
        EXPECT_EQ(sqls.size(), 1) << table;
    }
    auto fecha = jetsql::translateCriterion(u("fecha = #01/01/03#"), {u("Revision")});
    ASSERT_TRUE(fecha.ok());
    EXPECT_TRUE(fecha->sql.contains(u("\"FECHA\""))) << str(fecha->sql);
    // Degree signs, digits first and percent signs inside brackets.
    m_data.exec(u("UPDATE \"Ensayos\" SET \"LPF_25°C\" = 2, \"5H2F\" = 0.5, \"%_Inhibidor\" = 0.3 WHERE "
                  "\"Fecha\" = '2003-05-21'"));
    EXPECT_EQ(runCriterion(u("[lpf_25°c] > 1 And [5h2f] = 0.5 And [%_INHIBIDOR] < 1"), u("Ensayos")), "12");
}

TEST_F(JetSqlTest, LogicalOperatorsFollowTheEngineTruthTables)
{
    const struct
    {
        const char* condition;
        const char* result;
    } cases[] = {
        {"True Xor True", "0"},
        {"True Xor False", "1"},
        {"False Xor False", "0"},
        {"Null Xor True", "null"},
        {"True And Not True", "0"},
        {"True And Not False", "1"},
        {"False Or Not False", "1"},
        // And binds tighter than Or, Or tighter than Xor; Not binds tighter than And.
        {"False Or Not False And False", "0"},
        {"Not False And False", "0"},
        {"Not (False And False)", "1"},
        {"True Or False Xor True", "0"},
        {"True Or (False Xor True)", "1"},
        {"1 = 1 Xor 2 = 3", "1"},
        {"1 < 2 And 2 <> 2", "0"},
        {"'ÁRBOL' = 'árbol'", "1"},
        {"'a' <> 'á'", "1"},
        {"Null = Null", "null"},
        {"Null Is Null", "1"},
        {"3 Between 1 And 5", "1"},
        {"7 Mod 4 = 3", "1"},
        {"7 \\ 2 = 3", "1"},
        {"'ab' & 'c' = 'ABC'", "1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(truth(u(c.condition)), c.result) << c.condition;
}

TEST_F(JetSqlTest, MalformedOrHarmfulTextIsRefusedNamingTheFaultAndNothingRuns)
{
    struct Case
    {
        const char* text;
        const char* mentions; // part of the message
    };
    const Case selects[] = {
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
        // A bare date is arithmetic, not a date; impossible days are not rolled over.
        {"SELECT * FROM Revision WHERE FECHA = 20/05/2003", "#"},
        {"SELECT * FROM ensayos WHERE fecha >= #02/30/03#", "#02/30/03#"},
        {"SELECT * FROM ensayos WHERE fecha >= #02/29/03#", "#02/29/03#"},
        {"SELECT * FROM ensayos WHERE fecha >= #13/01/03#", "#13/01/03#"},
        {"SELECT * FROM ensayos WHERE fecha >= #05/20/03", "fecha"},
        {"SELECT * FROM Trafoge WHERE", "termina"},
        {"SELECT * FROM Trafoge WHERE CÓDIGO = 5 -- comentario", "comentario"},
        {"", "vacía"},
    };
    for (const Case& c : selects) {
        const auto q = jetsql::translateSelect(u(c.text));
        ASSERT_FALSE(q.ok()) << c.text << " gave " << str(q->sql);
        EXPECT_TRUE(q.error().contains(u(c.mentions))) << c.text << ": " << str(q.error());
    }
    const Case criteria[] = {
        {"1=1; DELETE FROM Trafoge", "más de una instrucción"},
        {"AREA = 'x' ) Or (1=1", "paréntesis"},
        {"CÓDIGO = 5 6", "sintaxis"},
        {"Ensayos.[Código] = 5", "Ensayos"},
        {"Nada = 1", "No existe el campo 'Nada' en la tabla 'Trafoge'"},
        {"AREA ==", "sintaxis"},
        {"", "vacío"},
    };
    for (const Case& c : criteria) {
        const auto e = jetsql::translateCriterion(u(c.text), {QStringLiteral("Trafoge")});
        ASSERT_FALSE(e.ok()) << c.text << " gave " << str(e->sql);
        EXPECT_TRUE(e.error().contains(u(c.mentions))) << c.text << ": " << str(e.error());
    }
    // 29 February exists in a leap year.
    EXPECT_TRUE(jetsql::translateSelect(u("SELECT * FROM ensayos WHERE fecha >= #02/29/04#")).ok());
    EXPECT_EQ(run(QStringLiteral("SELECT count(*) FROM \"Trafoge\""), {}), "6");
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
    EXPECT_EQ(runCriterion(mixed, QStringLiteral("Trafoge")), "5,7,9,12,17,20");
    const QString trafoge = QStringLiteral("Trafoge");
    const auto deep = jetsql::translateCriterion(
        QString(5000, QLatin1Char('(')) + QStringLiteral("AREA = 'x'") + QString(5000, QLatin1Char(')')),
        {trafoge});
    ASSERT_FALSE(deep.ok());
    EXPECT_TRUE(deep.error().contains(u("paréntesis"))) << str(deep.error());
    EXPECT_FALSE(
        jetsql::translateCriterion(QStringLiteral("Not ").repeated(2000) + u("True"), {trafoge}).ok());
    // Reasonable nesting is fine.
    EXPECT_EQ(runCriterion(QString(30, QLatin1Char('(')) + u("CÓDIGO = 9") + QString(30, QLatin1Char(')')),
                           trafoge),
              "9");
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
    const struct
    {
        const char* criterion;
        const char* table;
    } finds[] = {{"[código]=12", "Trafoge"}, {"[código]=12", "Ensayos"}, {"CÓDIGO LIKE 12", "Trafoge"}};
    for (const auto& f : finds) {
        const std::string p = plan(f.criterion, f.table);
        EXPECT_NE(p.find("USING"), std::string::npos) << f.criterion << " on " << f.table << ": " << p;
    }
}

TEST_F(JetSqlTest, LikeRefusesABrokenCharacterList)
{
    auto e = jetsql::translateCriterion(u("AREA Like '[ab'"), {QStringLiteral("Trafoge")});
    ASSERT_TRUE(e.ok());
    auto st =
        Statement::prepare(*m_db, QStringLiteral("SELECT 1 FROM \"Trafoge\" WHERE ") + e->sql, e->params);
    ASSERT_TRUE(st.ok());
    EXPECT_FALSE(st.value().step().ok());
}

} // namespace
