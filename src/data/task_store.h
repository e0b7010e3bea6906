#pragma once

#include <QSqlDatabase>

#include "data/task_record.h"

namespace marvolt {

// Writes a search task the way the task editor does: an insert for a new task (the
// database assigns its id, which is returned), an update of every column otherwise.
int SaveTask(const QSqlDatabase& database, const TaskRecord& task);

// Switches a task's scanner on or off; false when there is no such task.
bool SetTaskActive(const QSqlDatabase& database, int idSchedule, bool active);

}  // namespace marvolt
