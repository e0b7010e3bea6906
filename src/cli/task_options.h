#pragma once

#include <QCommandLineParser>

#include "scanner/task_values.h"

namespace marvolt::cli {

// One option per column of a search task (--kind, --make, --model-id, --model, --fuel, ...),
// shared by the commands that take a task's values. Numbers default to 0, texts to empty.
void AddTaskOptions(QCommandLineParser& parser);
// The values given; a number that is not a whole number in its column's range raises
// UsageError.
TaskValues ReadTaskOptions(const QCommandLineParser& parser);

}  // namespace marvolt::cli
