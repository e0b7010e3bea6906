// The task list of DataModule: its statement, its refresh and cursor, and task deletion.
#include "data/data_module.h"
#include "data/statement.h"

namespace marvolt {

namespace {

const QStringList kTaskListLines = {
    QStringLiteral("select s.*,"),
    QStringLiteral("case when s.vehicle_kind = 0 then"),
    QStringLiteral("ma.name ||' '||COALESCE(mo.name,'')"),
    QStringLiteral("else ma.name ||' '||s.model"),
    QStringLiteral("end as makemodel"),
    QStringLiteral(", s.registration_from ||' - '|| s.registration_to as registration,"),
    QStringLiteral("case when coalesce(s.mileage_from,0)=0 and coalesce(s.mileage_to,0)=0 then"),
    QStringLiteral("null"),
    QStringLiteral("else"),
    QStringLiteral("s.mileage_from ||' km - ' ||s.mileage_to ||' km' end as mileage ,"),
    QStringLiteral("case when coalesce(s.engine_from,0)=0 and coalesce(s.engine_to,0)=0 then"),
    QStringLiteral("null"),
    QStringLiteral("else"),
    QStringLiteral("s.engine_from ||' cm3 - ' ||s.engine_to ||' cm3' end as engine_capacity ,"),
    QStringLiteral("case when coalesce(s.price_from,0)=0 and coalesce(s.price_to,0)=0 then"),
    QStringLiteral("null"),
    QStringLiteral("else"),
    QStringLiteral("s.price_from ||' EUR - ' ||s.price_to ||' EUR' end as price"),
    QStringLiteral("from schedule s"),
    QStringLiteral("join make ma on ma.id = s.id_make"),
    QStringLiteral("left join model mo on (mo.id = s.id_model and mo.id_make = ma.id)"),
};

}  // namespace

void DataModule::OpenTasks() {
    Statement query(database_, kTaskListLines);
    query.Run();
    tasks_ = RowSet::Fetch(query.Query());
    currentTask_ = tasks_.RowCount() > 0 ? 0 : -1;
}

int DataModule::CurrentTaskId() const {
    return currentTask_ < 0 ? 0 : tasks_.Value(currentTask_, u"ID_SCHEDULE").toInt();
}

void DataModule::SetCurrentTaskRow(int row) {
    if (row < 0 || row >= tasks_.RowCount() || row == currentTask_) {
        return;
    }
    currentTask_ = row;
    Q_EMIT currentTaskChanged();
}

void DataModule::RefreshTasks() {
    const int rememberedId = CurrentTaskId();
    OpenTasks();
    Q_EMIT tasksReopened();
    if (rememberedId > 0) {
        const int idColumn = tasks_.ColumnIndex(u"ID_SCHEDULE");
        for (int row = 0; row < tasks_.RowCount(); ++row) {
            if (tasks_.Value(row, idColumn).toInt() == rememberedId) {
                currentTask_ = row;
                break;
            }
        }
    }
    Q_EMIT currentTaskChanged();
}

bool DataModule::DeleteTask(int idSchedule) {
    Statement remove(database_,
                     QStringLiteral("DELETE FROM SCHEDULE WHERE ID_SCHEDULE=:ID_SCHEDULE"));
    remove.Bind(QStringLiteral(":ID_SCHEDULE"), idSchedule).Run();
    return remove.Query().numRowsAffected() > 0;
}

}  // namespace marvolt
