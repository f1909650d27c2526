#include "data/logic/PriorityList.h"

QString PriorityList::priorityQuery()
{
    return QStringLiteral("Select Trafoge.* From Trafoge Order By Trafoge.ESTADO Desc ,Trafoge.GRAVEDAD Desc "
                          ",Trafoge.CÓDIGO Asc");
}

PriorityList::PriorityList(QObject* parent) : RecordView(parent) { setRecordSource(priorityQuery()); }

Status PriorityList::requery() { return refresh(); }
Status PriorityList::resync() { return {}; }
Result<bool> PriorityList::find(const QString& criterion) { return findFirst(criterion); }
