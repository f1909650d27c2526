#pragma once

#include "data/logic/Database.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QVariantList>
#include <memory>

// A temporary folder holding a new empty data file, removed with the object.
class TempData
{
public:
    TempData();
    QString folder() const { return m_dir.path(); }
    QString file() const;
    // Opens the file (read/write unless asked otherwise); fails the test on error.
    std::shared_ptr<Database> open(bool readOnly = false) const;
    // Runs SQL on a fresh connection; fails the test on error.
    void exec(const QString& sql) const;

private:
    QTemporaryDir m_dir;
};

// Every row of a query as a list of values; fails the test when the query does not run.
QList<QVariantList> queryRows(const Database& db, const QString& sql);
