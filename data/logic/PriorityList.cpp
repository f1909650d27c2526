#include "data/logic/PriorityList.h"

#include "data/logic/Schema.h"

QString PriorityList::priorityQuery()
{
    return QStringLiteral("Select Trafoge.* From Trafoge Order By Trafoge.ESTADO Desc ,Trafoge.GRAVEDAD Desc "
                          ",Trafoge.CÓDIGO Asc");
}

PriorityList::PriorityList(QObject* parent) : RecordView(parent)
{
    setRecordSource(priorityQuery());
}

Status PriorityList::requery()
{
    const QVariant code = value(schema::trafoge().codeField);
    if (!code.isValid())
        return refresh();
    // A search may have joined other tables to the list: name the transformer's code fully.
    const QString field =
        tables().size() > 1 ? QStringLiteral("Trafoge.[CÓDIGO]") : QStringLiteral("[CÓDIGO]");
    return refreshOn(field + QLatin1Char('=') + QString::number(code.toLongLong()));
}

Status PriorityList::resync()
{
    if (!isOpen())
        return Status::failure(QStringLiteral("La vista de datos no está abierta"));
    dropValues();
    emit rowsChanged();
    return {};
}

Result<bool> PriorityList::find(const QString& criterion)
{
    return findFirst(criterion);
}
