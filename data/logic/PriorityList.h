#pragma once

#include "data/logic/RecordView.h"

// The priority list Ado1: a record view on the priority query, with the list's own
// operations (re-run, resync, find "CÓDIGO LIKE n").
class PriorityList : public RecordView
{
    Q_OBJECT
public:
    // The default query of the list: red first, then by decreasing severity, ties by code.
    static QString priorityQuery();

    explicit PriorityList(QObject* parent = nullptr);

    // Re-runs the query (rows re-ordered by state and severity); stays on the same transformer
    // when it is still in the list, else on the first row. One repositioned() follows.
    Status requery();
    // Re-reads the values of the rows without re-running the query: the order and the current
    // row stay, rowsChanged() tells the list to repaint.
    Status resync();
    // Finds the first row matching a criterion such as "CÓDIGO LIKE 12".
    Result<bool> find(const QString& criterion);

private:
    // What the list was last run on: a re-run over an unchanged file and source gives the
    // same rows, so it keeps them instead of reading the whole table again.
    QString m_ranSource;
    QPair<qint64, qint64> m_ranStamp{-1, -1};
};
