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
    const auto db = database();
    const auto stamp = db ? db->changeStamp() : QPair<qint64, qint64>{-1, -1};
    const QVariant code = value(schema::trafoge().codeField);
    if (isOpen() && code.isValid() && editMode() == EditMode::None && !isDeleted() && stamp.second >= 0 &&
        stamp == m_ranStamp && recordSource() == m_ranSource) {
        // Nothing was written since the last run: the rows and their order are the same.
        emit validate(Action::Refresh);
        emit repositioned();
        return {};
    }
    Status ran;
    if (!code.isValid()) {
        ran = refresh();
    } else {
        // A search may have joined other tables to the list: name the transformer's code fully.
        const QString field =
            tables().size() > 1 ? QStringLiteral("Trafoge.[CÓDIGO]") : QStringLiteral("[CÓDIGO]");
        ran = refreshOn(field + QLatin1Char('=') + QString::number(code.toLongLong()));
    }
    if (ran && db) {
        m_ranStamp = db->changeStamp();
        m_ranSource = recordSource();
    } else {
        m_ranStamp = {-1, -1};
    }
    return ran;
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
