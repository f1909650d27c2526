#include "data/logic/JetSql.h"
#include "data/logic/Database.h"
#include "tests/support/TempData.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using jetsql::Expr;
using jetsql::Query;

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}
std::string str(const QString& s)
{
    return s.toStdString();
}

// The search clause ahead of "where" in the main window's search.
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

QString cell(const QVariant& v)
{
    if (!v.isValid())
        return QString();
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble());
    return v.toString();
}

class JetSqlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Rows are added out of code order so that "order of addition" and "code order" differ.
        m_data.exec(text(
            R"(INSERT INTO "Trafoge" ("CÓDIGO","AREA","MARCA","TIPO AISLANTE","ESTADO","GRAVEDAD","AUTO","MVA") VALUES
             (12,'Sur','Tubos',NULL,1,9.0,0,'25'),
             (5,'PLANTA','O''Brien','óleo mineral',2,3.5,1,'10'),
             (17,NULL,'tubos','Silicona',0,0.0,NULL,NULL),
             (9,'Norte',NULL,'silicona',3,1.0,1,NULL),
             (7,'planta','Tubos','ÓLEO MINERAL',3,1.0,0,'5'),
             (20,'Este','Tubos','silicona',3,4.0,0,NULL);
             INSERT INTO "Revision" ("CÓDIGO","FECHA","LIMPIEZA","SEC  / PRIM A TIERRA 10'") VALUES
             (7,'2003-06-01','BIEN',150),
             (9,'2003-05-19','REGULAR',NULL),
             (7,'2003-07-01','MAL',80),
             (12,'2003-05-20','bien',200);
             INSERT INTO "Ensayos" ("Código","Fecha","Diel","EMPRESA") VALUES
             (12,'2002-01-10',40.5,'Lab Sur'),
             (5,'2003-05-20',55,'Lab Norte'),
             (12,'2003-05-21',30,'lab sur'),
             (7,'2001-03-03',NULL,NULL),
             (17,'2004-06-06',60,'Ñandú SA');
             INSERT INTO "Mantenimiento" ("Código","Fecha","Pintado","Rep  o cambio termocuadrante") VALUES
             (9,'2005-01-01',1,0),
             (5,'2003-05-20',0,1);)"));
        m_db = m_data.open();
        ASSERT_TRUE(m_db);
    }

    // The first `columns` values of every row, joined with "|".
    QStringList run(const QString& sql, const QVariantList& params, int columns = 1)
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
            for (int i = 0; i < columns; ++i)
                values << cell(st.value().value(i));
            out << values.join(QLatin1Char('|'));
        }
        return out;
    }

    QStringList runCriterion(const QString& criterion, const QString& table)
    {
        auto e = jetsql::translateCriterion(criterion, {table});
        EXPECT_TRUE(e.ok()) << str(criterion) << ": " << str(e.error());
        if (!e.ok())
            return {QStringLiteral("<error>")};
        const QString code = table == QLatin1String("Trafoge") || table == QLatin1String("Revision")
                                 ? text("\"CÓDIGO\"")
                                 : text("\"Código\"");
        return run(
            QStringLiteral("SELECT %1 FROM \"%2\" WHERE %3 ORDER BY %1, rowid").arg(code, table, e->sql),
            e->params);
    }

    // 1 or 0 for a condition on literals alone; "null" when it is Null.
    QString truth(const QString& condition)
    {
        auto e = jetsql::translateCriterion(condition, {QStringLiteral("Trafoge")});
        EXPECT_TRUE(e.ok()) << str(condition) << ": " << str(e.error());
        if (!e.ok())
            return QStringLiteral("<error>");
        const QStringList r =
            run(QStringLiteral("SELECT CASE WHEN %1 THEN 1 WHEN NOT %1 THEN 0 ELSE 'null' END").arg(e->sql),
                e->params + e->params);
        return r.value(0);
    }

    qint64 trafogeRows()
    {
        const QStringList r = run(QStringLiteral("SELECT count(*) FROM \"Trafoge\""), {});
        return r.value(0).toLongLong();
    }

    TempData m_data;
    std::shared_ptr<Database> m_db;
};

struct FindCase
{
    const char* table;
    const char* criterion;
    QStringList codes;
};

struct QueryCase
{
    QString source;
    QStringList expected; // first `columns` values of each row, in order
    int columns = 1;
    bool caseless = false; // rows compared without regard to case (DISTINCT keeps either spelling)
    bool anyOrder = false; // no ORDER BY: rows compared as a set
};

QStringList l(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* i : items)
        out << QString::fromUtf8(i);
    return out;
}

QString cat(std::initializer_list<const char*> parts)
{
    QString out;
    for (const char* p : parts)
        out += QString::fromUtf8(p);
    return out;
}

TEST_F(JetSqlTest, EveryQueryOfTheProgramTranslatesAndReturnsTheExpectedRows)
{
    const QList<QueryCase> cases = {
        // Record sources of the main window.
        {text("trafoge"), l({"5", "7", "9", "12", "17", "20"})},
        {text("Revision"), l({"7|2003-06-01", "9|2003-05-19", "7|2003-07-01", "12|2003-05-20"}), 2},
        {text("ensayos"), l({"12", "5", "12", "7", "17"})},
        {text("mantenimiento"), l({"9", "5"})},
        {text("TRAFOGE"), l({"5", "7", "9", "12", "17", "20"})},
        // Priority order: red first, then decreasing severity, ties by increasing code.
        {text("Select Trafoge.* From Trafoge Order By Trafoge.ESTADO Desc ,Trafoge.GRAVEDAD Desc "
              ",Trafoge.CÓDIGO Asc"),
         l({"20", "7", "9", "5", "12", "17"})},
        // Value lists and date lists.
        {text("SELECT DISTINCT [TIPO AISLANTE]  FROM Trafoge order by [TIPO AISLANTE] asc"),
         l({"", "óleo mineral", "silicona"}), 1, true},
        {text("SELECT DISTINCT [AREA]  FROM Trafoge order by [AREA] asc"),
         l({"", "este", "norte", "planta", "sur"}), 1, true},
        {text("SELECT DISTINCT [Fecha]  FROM Revision order by [Fecha] asc"),
         l({"2003-05-19", "2003-05-20", "2003-06-01", "2003-07-01"})},
        // Without an order a DISTINCT list still comes sorted, as the engine's always did.
        {text("SELECT DISTINCT [Fecha]  FROM mantenimiento"), l({"2003-05-20", "2005-01-01"})},
        {text("SELECT DISTINCT [Fecha]  FROM Revision"),
         l({"2003-05-19", "2003-05-20", "2003-06-01", "2003-07-01"})},
        {text("Select * from Ensayos ORDER BY Código ASC ,Fecha DESC"),
         l({"5|2003-05-20", "7|2001-03-03", "12|2003-05-21", "12|2002-01-10", "17|2004-06-06"}), 2},
        {text("Select * from Ensayos where Código=12 ORDER BY Fecha DESC"),
         l({"12|2003-05-21", "12|2002-01-10"}), 2},
        // Search over the join: a transformer comes once per matching combination of rows.
        {cat({kSearchHead, "Trafoge.[AREA] = 'PLANTA' ", kByCode}), l({"5", "7", "7"})},
        {cat({kSearchHead,
              "Trafoge.[AREA] = 'planta' And ( Revision.[LIMPIEZA] = 'bien' Or Ensayos.[Diel] > 50 ) ",
              kByCode}),
         l({"5", "7"})},
        {cat({kSubgroupHead, "Revision.[FECHA] >= #05/20/03# ", kByCode}), l({"7", "12"})},
        {cat({kSubgroupHead, "Trafoge.[CÓDIGO]=12", kByCode}), l({"12"})},
        {cat({kSubgroupHead, "Trafoge.[AREA] = 'planta' Xor Trafoge.[ESTADO] = 3 ", kByCode}),
         l({"5", "9", "20"})},
        {cat({kSubgroupHead, "Trafoge.[ESTADO] = 3 And Not Trafoge.[AREA] = 'Norte' ", kByCode}),
         l({"7", "20"})},
        {cat({kSubgroupHead, "Trafoge.[ESTADO] = 3 Or Not Trafoge.[GRAVEDAD] > 2 ", kByCode}),
         l({"7", "9", "17", "20"})},
        {cat({kSubgroupHead, "Ensayos.[EMPRESA] = 'LAB SUR' And Not ( Ensayos.[Diel] < 35 ) ", kByCode}),
         l({"12"})},
        // And binds tighter than Or, Or tighter than Xor.
        {cat({kSubgroupHead, "Trafoge.[ESTADO] = 3 Or Trafoge.[CÓDIGO] = 5 And Trafoge.[ESTADO] = 0 ",
              kByCode}),
         l({"7", "9", "20"})},
        {cat({kSubgroupHead, "Trafoge.[ESTADO] = 3 Or Trafoge.[CÓDIGO] = 5 Xor Trafoge.[AREA] = 'planta' ",
              kByCode}),
         l({"9", "20"})},
        {cat({kSubgroupHead, "Mantenimiento.[Pintado] = True ", kByCode}), l({"9"})},
        // A bare name shared by the joined tables belongs to the transformer table.
        {cat({kSubgroupHead, "CÓDIGO = 7 And LIMPIEZA = 'mal' ", kByCode}), l({"7"})},
        // Sub-group sources.
        {text("SELECT * FROM Trafoge WHERE (Código =5)or(Código=12)or(Código=17)ORDER BY Código ASC "),
         l({"5", "12", "17"})},
        {text("SELECT * FROM Revision WHERE (Código =7)or(Código=12)ORDER BY Código ASC ,Fecha DESC"),
         l({"7|2003-07-01", "7|2003-06-01", "12|2003-05-20"}), 2},
        {text("SELECT * FROM ensayos WHERE (Código =12)or(Código=5)ORDER BY Código ASC ,Fecha DESC"),
         l({"5|2003-05-20", "12|2003-05-21", "12|2002-01-10"}), 2},
        {text("SELECT * FROM mantenimiento WHERE (Código =5)ORDER BY Código ASC ,Fecha DESC"), l({"5"})},
        {cat({"SELECT * FROM Trafoge WHERE (Código =5)or(Código=7)or(Código=9)", kPriority}),
         l({"7", "9", "5"})},
        // Selection by date, without and within a sub-group.
        {text("SELECT * FROM ensayos WHERE fecha >= #05/20/03# and (1=1) order by código asc , fecha desc"),
         l({"5|2003-05-20", "12|2003-05-21", "17|2004-06-06"}), 2},
        {text("SELECT * FROM revision WHERE fecha < #05/20/2003# and ((Código =7)or(Código=9)) order by "
              "código asc , "
              "fecha desc"),
         l({"9|2003-05-19"}), 2},
        {text("SELECT * FROM mantenimiento WHERE fecha = #5/20/03# and (1=1) order by código asc , fecha "
              "desc"),
         l({"5"})},
        {text("SELECT * FROM revision WHERE fecha <> #05/20/03# and (1=1) order by código asc , fecha desc"),
         l({"7", "7", "9"})},
        {text("SELECT * FROM Trafoge WHERE código = 5 or código = 7 Or código = 9 order by CÓDIGO"),
         l({"5", "7", "9"})},
        {cat({"SELECT * FROM Trafoge WHERE código = 12 or código = 7 Or código = 7", kPriority}),
         l({"7", "12"})},
        // Statement end and odd spacing.
        {text("select   *   from   TRAFOGE   where   [cÓdIgO]   =   9  ;  "), l({"9"})},
    };
    // Finds of the record sets, whatever the case of the name, and the sub-group of one.
    const QList<FindCase> finds = {
        {"Ensayos", "[código]=12", l({"12", "12"})},
        {"Trafoge", "CÓDIGO LIKE 12", l({"12"})},
        {"Trafoge", "CÓDIGO = 5", l({"5"})},
        {"Trafoge", "[CÓDIGO]=7", l({"7"})},
        {"Revision", "[CÓDIGO]=7", l({"7", "7"})},
        {"Mantenimiento", "[Código]=9", l({"9"})},
        {"Ensayos", "[Código]=5", l({"5"})},
        {"Revision", "código = 12", l({"12"})},
        {"Trafoge", "Trafoge.[CÓDIGO]=12", l({"12"})},
        {"Trafoge", "trafoge.cÓdigo=17", l({"17"})},
        {"Trafoge", "(Código =5)or(Código=12)or(Código=17)", l({"5", "12", "17"})},
    };
    for (const FindCase& c : finds) {
        SCOPED_TRACE(c.criterion);
        EXPECT_EQ(runCriterion(text(c.criterion), text(c.table)), c.codes);
    }
    for (const QueryCase& c : cases) {
        SCOPED_TRACE(str(c.source));
        const auto q = jetsql::translateSource(c.source);
        ASSERT_TRUE(q.ok()) << str(q.error());
        // Every ? has its value and nothing else is bound.
        EXPECT_EQ(q->params.size(), q->sql.count(QLatin1Char('?'))) << str(q->sql);
        EXPECT_EQ(q->where.params.size(), q->where.sql.count(QLatin1Char('?'))) << str(q->where.sql);
        QStringList rows = run(q->sql, q->params, c.columns);
        QStringList expected = c.expected;
        if (c.caseless) {
            for (QString& r : rows)
                r = r.toCaseFolded();
            for (QString& r : expected)
                r = r.toCaseFolded();
        }
        if (c.anyOrder) {
            rows.sort();
            expected.sort();
        }
        EXPECT_EQ(rows, expected) << str(q->sql);
        if (q->singleTable()) {
            // The pieces make a keyset cursor on their own.
            QString keyset = QStringLiteral("SELECT rowid FROM ") + q->fromSql;
            if (!q->where.sql.isEmpty())
                keyset += QStringLiteral(" WHERE ") + q->where.sql;
            if (!q->orderSql.isEmpty())
                keyset += QStringLiteral(" ORDER BY ") + q->orderSql;
            if (!q->distinct) {
                EXPECT_EQ(run(keyset, q->where.params).size(), rows.size()) << str(keyset);
            }
        }
    }
}

TEST_F(JetSqlTest, QueryPiecesNameTablesAndKeepParametersInTextOrder)
{
    const auto join = jetsql::translateSelect(
        text("SELECT Trafoge.CÓDIGO FROM Trafoge LEFT JOIN Ensayos ON Trafoge.CÓDIGO=Ensayos.Código AND "
             "Ensayos.[Diel] > 50 WHERE Trafoge.AREA = 'planta' Or Ensayos.EMPRESA Like 'lab*' ORDER BY "
             "Trafoge.CÓDIGO"));
    ASSERT_TRUE(join.ok()) << str(join.error());
    EXPECT_EQ(join->tables, l({"Trafoge", "Ensayos"}));
    EXPECT_EQ(join->params, (QVariantList{qlonglong(50), QStringLiteral("planta"), QStringLiteral("lab*")}));
    EXPECT_EQ(join->where.params, (QVariantList{QStringLiteral("planta"), QStringLiteral("lab*")}));
    EXPECT_FALSE(join->singleTable());
    // Names are qualified in a join, so SQLite never finds them ambiguous.
    EXPECT_TRUE(join->where.sql.contains(text("\"Trafoge\".\"AREA\""))) << str(join->where.sql);
    // 12 has no test above 50, so its joined row is empty and neither condition holds.
    EXPECT_EQ(run(join->sql, join->params), l({"5", "7"}));

    const auto table = jetsql::translateSource(QStringLiteral("ensayos"));
    ASSERT_TRUE(table.ok());
    EXPECT_EQ(table->tables, l({"Ensayos"}));
    EXPECT_EQ(table->fromSql, QStringLiteral("\"Ensayos\""));
    EXPECT_TRUE(table->where.sql.isEmpty());
    EXPECT_FALSE(table->distinct);
    const auto distinct = jetsql::translateSelect(text("SELECT DISTINCT [Fecha]  FROM Revision"));
    ASSERT_TRUE(distinct.ok());
    EXPECT_TRUE(distinct->distinct);
    EXPECT_EQ(distinct->selectSql, QStringLiteral("\"FECHA\""));
    // The value list reads its column by the field's name.
    const auto values = jetsql::translateSelect(text("SELECT DISTINCT [tipo aislante]  FROM Trafoge"));
    ASSERT_TRUE(values.ok());
    auto st = Statement::prepare(*m_db, values->sql, values->params);
    ASSERT_TRUE(st.ok());
    EXPECT_EQ(st.value().columnName(0), QStringLiteral("TIPO AISLANTE"));
}

TEST_F(JetSqlTest, CriteriaMatchTheEngineOperators)
{
    const QList<FindCase> cases = {
        // Like with the engine's wildcards, without regard to case.
        {"Trafoge", "AREA Like 'pl*'", l({"5", "7"})},
        {"Trafoge", "AREA Like 'S?r'", l({"12"})},
        {"Trafoge", "AREA Like 'S?'", l({})},
        {"Trafoge", "CÓDIGO Like '1#'", l({"12", "17"})},
        {"Trafoge", "CÓDIGO Like '#'", l({"5", "7", "9"})},
        {"Trafoge", "AREA Like '[NS]*'", l({"9", "12"})},
        {"Trafoge", "AREA Like '[!NS]*'", l({"5", "7", "20"})},
        {"Trafoge", "AREA Like '[a-f]*'", l({"20"})},
        {"Trafoge", "AREA Not Like 'pl*'", l({"9", "12", "20"})},
        {"Trafoge", "AREA Like '*'", l({"5", "7", "9", "12", "20"})},
        {"Trafoge", "AREA Like 'p%'", l({})},
        {"Trafoge", "MARCA Like '*''*'", l({"5"})},
        {"Trafoge", "[TIPO AISLANTE] Like 'ÓLEO*'", l({"5", "7"})},
        // Text compares without regard to case, accented capitals included.
        {"Trafoge", "[TIPO AISLANTE] = 'ÓLEO MINERAL'", l({"5", "7"})},
        {"Trafoge", "[TIPO AISLANTE] = 'óleo mineral'", l({"5", "7"})},
        {"Trafoge", "AREA = \"PLANTA\"", l({"5", "7"})},
        {"Ensayos", "EMPRESA = 'ñandú sa'", l({"17"})},
        {"Trafoge", "AREA > 'n'", l({"5", "7", "9", "12"})},
        // Numbers keep numeric order: 9 < 10 although "9" > "10" as text.
        {"Trafoge", "GRAVEDAD < 10", l({"5", "7", "9", "12", "17", "20"})},
        {"Trafoge", "GRAVEDAD > 2.5", l({"5", "12", "20"})},
        {"Trafoge", "CÓDIGO <= '9'", l({"5", "7", "9"})},
        {"Trafoge", "ESTADO * 2 + 1 = 7", l({"7", "9", "20"})},
        {"Trafoge", "CÓDIGO / 2 = 2.5", l({"5"})},
        {"Trafoge", "-CÓDIGO < -15", l({"17", "20"})},
        // Between, In, Is Null.
        {"Trafoge", "GRAVEDAD Between 1 And 3.5", l({"5", "7", "9"})},
        {"Trafoge", "CÓDIGO Not Between 6 And 12", l({"5", "17", "20"})},
        {"Trafoge", "AREA Between 'o' And 'Q'", l({"5", "7"})},
        {"Trafoge", "CÓDIGO In (5, 17, 99)", l({"5", "17"})},
        {"Trafoge", "AREA In ('norte','SUR')", l({"9", "12"})},
        {"Trafoge", "AREA = 'norte' Or AREA = 'SUR' Or CÓDIGO = 5", l({"5", "9", "12"})},
        {"Trafoge", "CÓDIGO = 5 Or AREA = 'sur' Or CÓDIGO = 7 Or CÓDIGO = 99", l({"5", "7", "12"})},
        {"Trafoge", "CÓDIGO Not In (5,7)", l({"9", "12", "17", "20"})},
        {"Trafoge", "AREA Is Null", l({"17"})},
        {"Trafoge", "MARCA Is Not Null", l({"5", "7", "12", "17", "20"})},
        {"Trafoge", "Not AREA Is Null And ESTADO = 3", l({"7", "9", "20"})},
        // True and False against yes/no fields.
        {"Trafoge", "AUTO = True", l({"5", "9"})},
        {"Trafoge", "AUTO = False", l({"7", "12", "20"})},
        // Searches saved by the engine write its True as -1; other numbers keep their value.
        {"Trafoge", "AUTO = -1", l({"5", "9"})},
        {"Mantenimiento", "Pintado = -1", l({"9"})},
        {"Trafoge", "ESTADO > -1", l({"5", "7", "9", "12", "17", "20"})},
        // Names with two blanks, apostrophes and digits are exact.
        {"Revision", "[SEC  / PRIM A TIERRA 10'] > 100", l({"7", "12"})},
        {"Mantenimiento", "[Rep  o cambio termocuadrante] = True", l({"5"})},
        // Values with quotes are values, never SQL.
        {"Trafoge", "MARCA = \"O'Brien\"", l({"5"})},
        {"Trafoge", "MARCA = 'o''brien'", l({"5"})},
        {"Trafoge", "MARCA = \"x' OR '1'='1\"", l({})},
        {"Trafoge", "MARCA = 'x\" OR \"1\"=\"1'", l({})},
        // Dates: mm/dd order, two-digit years 00-29 in this century, 30-99 in the last one.
        {"Ensayos", "Fecha = #05/20/2003#", l({"5"})},
        {"Ensayos", "Fecha = #5/20/03#", l({"5"})},
        {"Ensayos", "Fecha < #01/01/02#", l({"7"})},
        {"Ensayos", "Fecha > #12/31/29#", l({})},
        {"Ensayos", "Fecha > #01/01/30#", l({"5", "7", "12", "12", "17"})},
        {"Ensayos", "Fecha Between #01/01/2002# And #12/31/2003#", l({"5", "12", "12"})},
        {"Ensayos", "Fecha = #2003-05-21#", l({"12"})},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.criterion);
        EXPECT_EQ(runCriterion(text(c.criterion), text(c.table)), c.codes);
    }
}

TEST_F(JetSqlTest, NamesAreFoundWithoutRegardToCase)
{
    for (const char* table : {"Trafoge", "Revision", "Ensayos", "Mantenimiento"}) {
        QStringList sqls;
        for (const char* written : {"[código]=5", "Código=5", "CÓDIGO=5", "[cÓdIgO] = 5"}) {
            auto e = jetsql::translateCriterion(text(written), {text(table)});
            ASSERT_TRUE(e.ok()) << table << " " << written << ": " << str(e.error());
            sqls << e->sql;
        }
        sqls.removeDuplicates();
        EXPECT_EQ(sqls.size(), 1) << table;
    }
    auto fecha = jetsql::translateCriterion(text("fecha = #01/01/03#"), {text("Revision")});
    ASSERT_TRUE(fecha.ok());
    EXPECT_TRUE(fecha->sql.contains(text("\"FECHA\""))) << str(fecha->sql);
    fecha = jetsql::translateCriterion(text("FECHA = #01/01/03#"), {text("Ensayos")});
    ASSERT_TRUE(fecha.ok());
    EXPECT_TRUE(fecha->sql.contains(text("\"Fecha\""))) << str(fecha->sql);
    // A single blank names another field, which does not exist.
    auto single = jetsql::translateCriterion(text("[SEC / PRIM A TIERRA 10'] > 1"), {text("Revision")});
    ASSERT_FALSE(single.ok());
    EXPECT_TRUE(single.error().contains(text("SEC / PRIM A TIERRA 10'"))) << str(single.error());
    EXPECT_FALSE(
        jetsql::translateCriterion(text("[Rep o cambio termocuadrante] = 1"), {text("Mantenimiento")}).ok());
    // Degree signs, digits first and percent signs inside brackets.
    m_data.exec(text("UPDATE \"Ensayos\" SET \"LPF_25°C\" = 2, \"5H2F\" = 0.5, \"%_Inhibidor\" = 0.3 WHERE "
                     "\"Fecha\" = '2003-05-21'"));
    EXPECT_EQ(runCriterion(text("[lpf_25°c] > 1 And [5h2f] = 0.5 And [%_INHIBIDOR] < 1"), text("Ensayos")),
              l({"12"}));
}

TEST_F(JetSqlTest, LogicalOperatorsFollowTheEngineTruthTables)
{
    struct Case
    {
        const char* condition;
        const char* result;
    };
    const QList<Case> cases = {
        {"True Xor True", "0"},
        {"True Xor False", "1"},
        {"False Xor True", "1"},
        {"False Xor False", "0"},
        {"Null Xor True", "null"},
        {"True And Not True", "0"},
        {"True And Not False", "1"},
        {"False And Not False", "0"},
        {"False And Not True", "0"},
        {"True Or Not True", "1"},
        {"False Or Not True", "0"},
        {"False Or Not False", "1"},
        {"False Or Not False And False", "0"},
        {"Not False And False", "0"},
        {"Not (False And False)", "1"},
        {"True Or False Xor True", "0"},
        {"(True Or False) Xor True", "0"},
        {"True Or (False Xor True)", "1"},
        {"1 = 1 Xor 2 = 3", "1"},
        {"1 < 2 And 2 <> 2", "0"},
        {"'abc' = 'ABC'", "1"},
        {"'ÁRBOL' = 'árbol'", "1"},
        {"'a' <> 'á'", "1"},
        {"Null = Null", "null"},
        {"Null Is Null", "1"},
        {"3 Between 1 And 5", "1"},
        {"7 Mod 4 = 3", "1"},
        {"7 \\ 2 = 3", "1"},
        {"'ab' & 'c' = 'ABC'", "1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(truth(text(c.condition)), text(c.result)) << c.condition;
}

TEST_F(JetSqlTest, MalformedOrHarmfulTextIsRefusedAndNothingRuns)
{
    struct Case
    {
        const char* text;
        const char* mentions; // part of the message
    };
    const QList<Case> selects = {
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
        {"INSERT INTO Trafoge (CÓDIGO) VALUES (99)", "SELECT"},
        {"UPDATE Trafoge SET AREA = 'x'", "SELECT"},
        {"DROP TABLE Trafoge", "SELECT"},
        {"PRAGMA writable_schema=1", "SELECT"},
        {"CREATE TABLE x (a)", "SELECT"},
        {"VACUUM", "SELECT"},
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
        {"", "vacía"},
    };
    for (const Case& c : selects) {
        SCOPED_TRACE(c.text);
        const auto q = jetsql::translateSelect(text(c.text));
        ASSERT_FALSE(q.ok()) << str(q->sql);
        EXPECT_TRUE(q.error().contains(text(c.mentions))) << str(q.error());
    }
    const QList<Case> criteria = {
        {"1=1; DELETE FROM Trafoge", "más de una instrucción"},
        {"AREA = 'x' ) Or (1=1", "paréntesis"},
        {"((AREA = 'x')", "paréntesis"},
        {"AREA = 'abc", "texto"},
        {"CÓDIGO = 5 6", "sintaxis"},
        {"Trafoge.[MARCA] = 'O'Brien'", "texto"},
        {"Ensayos.[Código] = 5", "Ensayos"},
        {"Nada = 1", "No existe el campo 'Nada' en la tabla 'Trafoge'"},
        {"AREA ==", "sintaxis"},
        {"", "vacío"},
    };
    for (const Case& c : criteria) {
        SCOPED_TRACE(c.text);
        const auto e = jetsql::translateCriterion(text(c.text), {QStringLiteral("Trafoge")});
        ASSERT_FALSE(e.ok()) << str(e->sql);
        EXPECT_TRUE(e.error().contains(text(c.mentions))) << str(e.error());
    }
    EXPECT_TRUE(jetsql::translateSelect(text("SELECT * FROM ensayos WHERE fecha >= #02/29/04#")).ok());
    EXPECT_EQ(trafogeRows(), 6);
}

TEST_F(JetSqlTest, LongCodeListsRunAndDeepNestingIsRefused)
{
    // A sub-group of thousands of transformers and the date selection's list of codes are
    // long Or chains; SQLite refuses expressions deeper than 1000 levels.
    QString subgroup = text("SELECT * FROM Trafoge WHERE (Código =1)");
    QString dates = text("SELECT * FROM Trafoge WHERE código = 1");
    for (int code = 2; code <= 3000; ++code) {
        subgroup += text("or(Código=%1)").arg(code);
        dates += (code % 2 ? text(" or código = %1") : text(" Or código = %1")).arg(code);
    }
    subgroup += text("ORDER BY Código ASC ");
    dates += text(" order by CÓDIGO");
    for (const QString& sql : {subgroup, dates}) {
        const auto q = jetsql::translateSelect(sql);
        ASSERT_TRUE(q.ok()) << str(q.error());
        EXPECT_EQ(q->params.size(), 3000);
        EXPECT_EQ(run(q->sql, q->params), l({"5", "7", "9", "12", "17", "20"}));
    }
    // Alternating columns cannot become a list; the chain is still nested shallowly enough.
    QString mixed = text("CÓDIGO = 0");
    for (int i = 1; i <= 700; ++i)
        mixed += text(" Or CÓDIGO = %1 Or AREA = 'x%1'").arg(i);
    EXPECT_EQ(runCriterion(mixed, QStringLiteral("Trafoge")), l({"5", "7", "9", "12", "17", "20"}));
    const auto deep = jetsql::translateCriterion(
        QString(5000, QLatin1Char('(')) + QStringLiteral("AREA = 'x'") + QString(5000, QLatin1Char(')')),
        {QStringLiteral("Trafoge")});
    ASSERT_FALSE(deep.ok());
    EXPECT_TRUE(deep.error().contains(text("paréntesis"))) << str(deep.error());
    QString nots;
    for (int i = 0; i < 2000; ++i)
        nots += QStringLiteral("Not ");
    EXPECT_FALSE(jetsql::translateCriterion(nots + QStringLiteral("True"), {QStringLiteral("Trafoge")}).ok());
    // Reasonable nesting is fine.
    EXPECT_EQ(runCriterion(QString(30, QLatin1Char('(')) + text("CÓDIGO = 9") + QString(30, QLatin1Char(')')),
                           QStringLiteral("Trafoge")),
              l({"9"}));
}

TEST_F(JetSqlTest, ReadOnlyScopeDeniesEverythingButReading)
{
    {
        jetsql::ReadOnlyScope guard(m_db->handle());
        const auto insert =
            Statement::prepare(*m_db, text("INSERT INTO \"Trafoge\" (\"CÓDIGO\") VALUES (99)"));
        EXPECT_FALSE(insert.ok());
        EXPECT_FALSE(Statement::prepare(*m_db, QStringLiteral("DELETE FROM \"Revision\"")).ok());
        EXPECT_FALSE(Statement::prepare(*m_db, QStringLiteral("ATTACH DATABASE ':memory:' AS x")).ok());
        EXPECT_FALSE(Statement::prepare(*m_db, QStringLiteral("PRAGMA writable_schema=1")).ok());
        EXPECT_FALSE(Statement::prepare(*m_db, QStringLiteral("SELECT load_extension('x')")).ok());
        // Translated searches, with their function and collation, still run.
        const auto q = jetsql::translateSelect(text("SELECT * FROM Trafoge WHERE AREA Like 'PL*' And "
                                                    "[TIPO AISLANTE] = 'ÓLEO MINERAL' ORDER BY AREA"));
        ASSERT_TRUE(q.ok()) << str(q.error());
        EXPECT_EQ(run(q->sql, q->params), l({"5", "7"}));
    }
    EXPECT_TRUE(Statement::prepare(*m_db, text("INSERT INTO \"Trafoge\" (\"CÓDIGO\") VALUES (99)")).ok());
}

TEST_F(JetSqlTest, FindsOnTheCodeUseTheIndex)
{
    for (const char* table : {"Trafoge", "Ensayos"}) {
        auto e = jetsql::translateCriterion(text("[código]=12"), {text(table)});
        ASSERT_TRUE(e.ok());
        const QStringList plan = run(
            QStringLiteral("EXPLAIN QUERY PLAN SELECT rowid FROM \"%1\" WHERE %2").arg(text(table), e->sql),
            e->params, 4);
        ASSERT_FALSE(plan.isEmpty());
        EXPECT_TRUE(plan.join(QLatin1Char(' ')).contains(QStringLiteral("USING")))
            << str(plan.join(QLatin1Char(' ')));
    }
}

TEST_F(JetSqlTest, LikeOnTheCodeWithAWholeNumberIsAnIndexedExactMatch)
{
    // The priority list finds its transformer with "CÓDIGO LIKE n" on every move.
    for (const char* criterion : {"CÓDIGO LIKE 12", "[código] Like 12"}) {
        auto e = jetsql::translateCriterion(text(criterion), {QStringLiteral("Trafoge")});
        ASSERT_TRUE(e.ok()) << str(e.error());
        const QStringList plan =
            run(QStringLiteral("EXPLAIN QUERY PLAN SELECT rowid FROM \"Trafoge\" WHERE %1").arg(e->sql),
                e->params, 4);
        EXPECT_TRUE(plan.join(QLatin1Char(' ')).contains(QStringLiteral("USING")))
            << str(plan.join(QLatin1Char(' ')));
    }
    // Exact: 1 is not a prefix pattern, so it does not find 12; Not Like keeps the rest.
    const struct
    {
        const char* criterion;
        int matches;
    } cases[] = {
        {"CÓDIGO LIKE 1", 0}, {"CÓDIGO LIKE 12", 1}, {"CÓDIGO NOT LIKE 12", -1}, {"AREA LIKE '*'", -2}};
    const int all = run(QStringLiteral("SELECT count(*) FROM \"Trafoge\""), {}).value(0).toInt();
    for (const auto& c : cases) {
        auto e = jetsql::translateCriterion(text(c.criterion), {QStringLiteral("Trafoge")});
        ASSERT_TRUE(e.ok()) << c.criterion;
        const int n = run(QStringLiteral("SELECT count(*) FROM \"Trafoge\" WHERE %1").arg(e->sql), e->params)
                          .value(0)
                          .toInt();
        const int has12 = run(QStringLiteral("SELECT count(*) FROM \"Trafoge\" WHERE \"CÓDIGO\" = 12"), {})
                              .value(0)
                              .toInt();
        const int areas = run(QStringLiteral("SELECT count(*) FROM \"Trafoge\" WHERE AREA IS NOT NULL"), {})
                              .value(0)
                              .toInt();
        const int expected = c.matches == -1   ? all - has12
                             : c.matches == -2 ? areas
                             : c.matches == 1  ? has12
                                               : 0;
        EXPECT_EQ(n, expected) << c.criterion;
    }
}

TEST_F(JetSqlTest, LikeRefusesABrokenCharacterList)
{
    auto e = jetsql::translateCriterion(text("AREA Like '[ab'"), {QStringLiteral("Trafoge")});
    ASSERT_TRUE(e.ok());
    auto st =
        Statement::prepare(*m_db, QStringLiteral("SELECT 1 FROM \"Trafoge\" WHERE ") + e->sql, e->params);
    ASSERT_TRUE(st.ok());
    EXPECT_FALSE(st.value().step().ok());
}

} // namespace
