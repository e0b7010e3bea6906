// Search tasks from the command line, for machines without a desktop: what the task editor
// stores, the list, deletion, and switching a task's scanner on and off.
#include <QSqlQuery>

#include "cli/commands.h"
#include "cli/options.h"
#include "cli/task_options.h"
#include "data/data_module.h"
#include "data/task_store.h"

namespace marvolt::cli {

namespace {

std::optional<int> AnyAsNull(int code) {
    return code == 0 ? std::nullopt : std::optional<int>(code);
}

// The row the task editor would store for these values: "Any" (code 0, no country) as null,
// the model id for cars and the model text for the other kinds, the years as text.
TaskRecord RecordOf(const TaskValues& values, bool active) {
    TaskRecord task;
    task.vehicleKind = values.vehicleKind;
    task.idMake = values.makeId;
    if (values.vehicleKind == 0) {
        task.idModel = AnyAsNull(values.modelId);
    } else {
        task.model = QString::fromStdString(values.model);
    }
    task.active = active;
    task.registrationFrom = QString::number(values.registrationFrom);
    task.registrationTo = QString::number(values.registrationTo);
    task.mileageFrom = values.mileageFrom;
    task.mileageTo = values.mileageTo;
    task.engineFrom = values.engineFrom;
    task.engineTo = values.engineTo;
    task.powerFrom = values.powerFrom;
    task.powerTo = values.powerTo;
    task.priceFrom = values.priceFrom;
    task.priceTo = values.priceTo;
    task.fuel = AnyAsNull(values.fuel);
    task.transmission = AnyAsNull(values.transmission);
    task.sellerType = AnyAsNull(values.sellerType);
    task.damaged = values.damaged;
    task.climatisation = AnyAsNull(values.climatisation);
    task.doors = AnyAsNull(values.doors);
    if (!values.country.empty()) {
        task.country = QString::fromStdString(values.country);
    }
    task.zip = QString::fromStdString(values.zip);
    task.radius = values.radius;
    return task;
}

// Checks a value against the codes the task editor offers, so the command cannot store what
// the editor never would.
void CheckCode(const char* option, int value, int max) {
    if (value < 0 || value > max) {
        throw UsageError(std::string("--") + option + " takes a code from 0 to " +
                         std::to_string(max));
    }
}

bool MakeExists(DataModule& data, int idMake) {
    QSqlQuery query(data.Database());
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM MAKE WHERE ID = :ID"));
    query.bindValue(QStringLiteral(":ID"), idMake);
    return query.exec() && query.next() && query.value(0).toInt() > 0;
}

int AddTask(const QStringList& arguments) {
    QCommandLineParser parser;
    AddDatabaseOption(parser);
    AddTaskOptions(parser);
    const QCommandLineOption inactive(QStringLiteral("inactive"),
                                      QStringLiteral("Store the task without a scanner."));
    parser.addOption(inactive);
    Parse(parser, arguments);
    if (!parser.positionalArguments().isEmpty()) {
        throw UsageError("task add takes options only");
    }
    const TaskValues values = ReadTaskOptions(parser);
    if (values.idSchedule != 0) {
        throw UsageError("--task-id is not for task add: the database assigns a new task's id");
    }
    CheckCode("kind", values.vehicleKind, 2);
    CheckCode("fuel", values.fuel, 3);
    CheckCode("transmission", values.transmission, 3);
    CheckCode("seller-type", values.sellerType, 2);
    CheckCode("damaged", values.damaged, 2);
    CheckCode("climatisation", values.climatisation, 3);
    CheckCode("doors", values.doors, 3);

    DataModule data(DatabasePath(parser));
    if (!MakeExists(data, values.makeId)) {
        throw UsageError("--make " + std::to_string(values.makeId) + " is no make of the database");
    }
    const int id = SaveTask(data.Database(), RecordOf(values, !parser.isSet(inactive)));
    Print(QStringLiteral("Added task %1\n").arg(id));
    return 0;
}

// Runs `change` on the task named by the one argument; exit status 1 when there is none.
int ChangeTask(const char* command, const QStringList& arguments, bool (*change)(DataModule&, int),
               const char* done) {
    QCommandLineParser parser;
    AddDatabaseOption(parser);
    parser.addPositionalArgument(QStringLiteral("ID"), QStringLiteral("the task's id"));
    Parse(parser, arguments);
    bool ok = false;
    const int id = parser.positionalArguments().value(0).toInt(&ok);
    if (parser.positionalArguments().size() != 1 || !ok) {
        throw UsageError(std::string("usage: marvolt task ") + command + " ID [--database PATH]");
    }
    DataModule data(DatabasePath(parser));
    if (!change(data, id)) {
        throw std::runtime_error("There is no task " + std::to_string(id));
    }
    Print(QStringLiteral("%1 task %2\n").arg(QLatin1String(done)).arg(id));
    return 0;
}

QString Cell(const QVariant& value, int width) {
    return value.toString().leftJustified(width, QLatin1Char(' '));
}

int ListTasks(const QStringList& arguments) {
    QCommandLineParser parser;
    AddDatabaseOption(parser);
    Parse(parser, arguments);
    if (!parser.positionalArguments().isEmpty()) {
        throw UsageError("task list takes no arguments");
    }
    DataModule data(DatabasePath(parser));
    const RowSet& tasks = data.Tasks();
    struct Column {
        const char16_t* name;
        const char* title;
        int width;
    };
    static constexpr Column kColumns[] = {
        {u"ID_SCHEDULE", "ID", 6},          {u"TASK_ACTIVE", "ACTIVE", 7},
        {u"VEHICLE_KIND", "KIND", 5},       {u"MAKEMODEL", "MAKE AND MODEL", 28},
        {u"REGISTRATION", "YEARS", 12},     {u"MILEAGE", "MILEAGE", 22},
        {u"ENGINE_CAPACITY", "ENGINE", 22}, {u"PRICE", "PRICE", 0},
    };
    QString out;
    for (const auto& column : kColumns) {
        out += QString::fromLatin1(column.title).leftJustified(column.width, QLatin1Char(' '));
    }
    out = out.trimmed() + QLatin1Char('\n');
    for (int row = 0; row < tasks.RowCount(); ++row) {
        QString line;
        for (const auto& column : kColumns) {
            line += Cell(tasks.Value(row, QStringView(column.name)), column.width);
        }
        out += line.trimmed() + QLatin1Char('\n');
    }
    Print(out);
    return 0;
}

}  // namespace

int Task(const QStringList& arguments) {
    const QString verb = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    if (verb == QLatin1String("list")) {
        return ListTasks(rest);
    }
    if (verb == QLatin1String("add")) {
        return AddTask(rest);
    }
    if (verb == QLatin1String("delete")) {
        return ChangeTask(
            "delete", rest, [](DataModule& data, int id) { return data.DeleteTask(id); },
            "Deleted");
    }
    if (verb == QLatin1String("enable") || verb == QLatin1String("disable")) {
        const bool enable = verb == QLatin1String("enable");
        return ChangeTask(
            enable ? "enable" : "disable", rest,
            enable
                ? +[](DataModule& data, int id) { return SetTaskActive(data.Database(), id, true); }
                : +[](DataModule& data,
                      int id) { return SetTaskActive(data.Database(), id, false); },
            enable ? "Enabled" : "Disabled");
    }
    throw UsageError(
        "usage: marvolt task list|add|delete|enable|disable ... (task add takes the options of "
        "search-url, plus --inactive)");
}

}  // namespace marvolt::cli
