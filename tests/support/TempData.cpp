#include "tests/support/TempData.h"

#include <gtest/gtest.h>

TempData::TempData()
{
    const Status created = Database::create(file());
    EXPECT_TRUE(created.ok()) << created.error().toStdString();
}

QString TempData::file() const
{
    return Database::rutaEn(m_dir.path());
}

std::shared_ptr<Database> TempData::open(bool readOnly) const
{
    auto db = Database::open(file(), readOnly);
    EXPECT_TRUE(db.ok()) << db.error().toStdString();
    return db.ok() ? db.value() : nullptr;
}

void TempData::exec(const QString& sql) const
{
    auto db = open();
    ASSERT_TRUE(db);
    const Status st = db->exec(sql);
    ASSERT_TRUE(st.ok()) << st.error().toStdString();
}

QList<QVariantList> queryRows(const Database& db, const QString& sql)
{
    QList<QVariantList> out;
    auto st = Statement::prepare(db, sql);
    EXPECT_TRUE(st.ok()) << st.error().toStdString();
    if (!st.ok())
        return out;
    while (st.value().step().value()) {
        QVariantList row;
        for (int i = 0; i < st.value().columnCount(); ++i)
            row << st.value().value(i);
        out << row;
    }
    return out;
}
