#pragma once

#include <QDateTime>
#include <QObject>
#include <QSqlDatabase>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "data/row_set.h"
#include "data/settings_store.h"

namespace marvolt {

struct CarInfo;

// Translates one user-visible text into the current language.
using Translator = std::function<QString(const char*)>;
// The translator used until a language is chosen: the English text itself.
QString EnglishText(const char* text);

// A code and its translated label, one row of a lookup list.
using LookupList = std::vector<std::pair<int, QString>>;

// One found vehicle as the results list shows it.
struct ResultRow {
    int idResults = 0;
    int idSchedule = 0;
    QString carDescription;
    QString features;
    QString dealer;
    QString description;
    int engineCapacity = 0;
    int constructionYear = 0;
    QString firstRegistration;
    int mileage = 0;
    int price = 0;
    int id = 0;
    int transmission = 0;
    int fuel = 0;
    QDateTime dateAdded;
    QByteArray picture;
    int power = 0;
    int climatisation = 0;
    int doors = 0;
};

// The one connection to MARVOLT.FDB and every operation on it: the lookup lists, the
// settings store, the task list, the results list and the storing of found vehicles.
// It lives on the thread that creates it; all calls come from there. Every write is
// committed when it is made, so a crash or a kill loses nothing already stored.
class DataModule : public QObject {
    Q_OBJECT

  public:
    // Runs the start sequence on the database file at `databasePath`: connect, build the
    // three lookup lists, open the task list and the results list. Raises DatabaseError
    // with the database's message when any step fails. Never creates the file.
    explicit DataModule(const QString& databasePath, Translator translate = EnglishText,
                        QObject* parent = nullptr);
    ~DataModule() override;
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;

    // MARVOLT.FDB in the folder of the running executable.
    static QString DefaultDatabasePath();

    QSqlDatabase Database() const { return database_; }
    SettingsStore& Settings() { return settings_; }

    const LookupList& FuelList() const { return fuel_; }
    const LookupList& TransmissionList() const { return transmission_; }
    const LookupList& ClimatisationList() const { return climatisation_; }

    // Task list: every task with its make, plus the display columns MAKEMODEL,
    // REGISTRATION, MILEAGE, ENGINE_CAPACITY and PRICE.
    const RowSet& Tasks() const { return tasks_; }
    // The current row of the task list, -1 when it has no rows.
    int CurrentTaskRow() const { return currentTask_; }
    // ID_SCHEDULE of the current row, 0 when there is none.
    int CurrentTaskId() const;
    void SetCurrentTaskRow(int row);
    // Reopens the task list, raises tasksReopened and returns the cursor to the task that
    // was current, or to the first row when that task is gone.
    void RefreshTasks();
    // Deletes the task row; its results stay. The task list is not refreshed. False when
    // there was no such task.
    bool DeleteTask(int idSchedule);

    // Rebuilds the results list for one task, or for all tasks when idSchedule <= 0.
    // Removed results and results of deleted tasks are left out.
    void ShowResults(int idSchedule);
    const std::vector<ResultRow>& Results() const { return results_; }
    // The text of the results list's current statement.
    const QString& ResultsStatement() const { return resultsStatement_; }
    // Listing ids stored for a task, removed ones included.
    std::vector<int> KnownIds(int idSchedule);
    // Marks a result removed; the results list is not reloaded.
    void RemoveResult(int idResults);
    // Stores one found vehicle as a new RESULTS row.
    void InsertResult(const CarInfo& carInfo);

  Q_SIGNALS:
    // The task list was reopened by RefreshTasks; its rows may all have changed.
    void tasksReopened();
    // The current row of the task list moved (or the list was reopened).
    void currentTaskChanged();

  private:
    LookupList OpenLookupList(const char* format, const char* const (&labels)[3]);
    void OpenTasks();
    void OpenResults(const QString& statement, int idSchedule);
    void ReleaseConnection();

    QString connectionName_;
    QSqlDatabase database_;
    Translator translate_;
    SettingsStore settings_;
    LookupList fuel_;
    LookupList transmission_;
    LookupList climatisation_;
    RowSet tasks_;
    int currentTask_ = -1;
    QString resultsStatement_;
    std::vector<ResultRow> results_;
};

}  // namespace marvolt
