#include "data/data_module.h"

#include <QCoreApplication>
#include <QUuid>

#include "data/connection.h"
#include "data/statement.h"

namespace marvolt {

namespace {

QString QuoteSqlText(const QString& text) {
    QString quoted = text;
    return quoted.replace(QLatin1Char('\''), QLatin1String("''"));
}

// A union of literals of different lengths comes back as CHAR padded with blanks.
QString WithoutPadding(QString text) {
    while (text.endsWith(QLatin1Char(' '))) {
        text.chop(1);
    }
    return text;
}

}  // namespace

QString EnglishText(const char* text) {
    return QString::fromUtf8(text);
}

QString DataModule::DefaultDatabasePath() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/MARVOLT.FDB");
}

DataModule::DataModule(const QString& databasePath, Translator translate, QObject* parent)
    : QObject(parent),
      connectionName_(QStringLiteral("marvolt-") + QUuid::createUuid().toString(QUuid::Id128)),
      database_(OpenConnection(connectionName_, databasePath)),
      translate_(std::move(translate)),
      settings_(database_) {
    try {
        static const char* const kFuel[3] = {"Petrol", "Diesel", "LPG"};
        static const char* const kGearbox[3] = {"Manual", "Automatic", "Semi-automatic"};
        static const char* const kClimatisation[3] = {"Manual", "Automatic", "None"};
        fuel_ =
            OpenLookupList("select %d as fuel_id, '%s' as description from rdb$database", kFuel);
        transmission_ = OpenLookupList(
            "select %d as gearbox_id, '%s' as description from rdb$database", kGearbox);
        climatisation_ = OpenLookupList(
            "select %d as climatisation_id, '%s' as description from rdb$database", kClimatisation);
        OpenTasks();
        OpenResults(QStringLiteral("select r.id_results, r.id_schedule,  r.car_description,  "
                                   "r.features,  r.dealer, r.description, r.engine_capacity, "
                                   "r.CONSTRUCTION_YEAR,\n"
                                   "r.first_registration,  r.mileage, r.price, r.id, \n"
                                   "r.transmission, r.fuel, r.DATE_ADDED, r.picture, r.power,\n"
                                   "r.climatisation, r.doors\n"
                                   " from results r where \n"
                                   "coalesce(deleted,0)=0"),
                    0);
    } catch (...) {
        ReleaseConnection();
        throw;
    }
}

DataModule::~DataModule() {
    ReleaseConnection();
}

void DataModule::ReleaseConnection() {
    // Qt removes a connection only once no handle to it is left.
    settings_ = SettingsStore(QSqlDatabase());
    database_ = QSqlDatabase();
    CloseConnection(connectionName_);
}

LookupList DataModule::OpenLookupList(const char* format, const char* const (&labels)[3]) {
    QStringList lines;
    for (int code = 1; code <= 3; ++code) {
        const QString label = QuoteSqlText(translate_(labels[code - 1]));
        lines.append(QString::fromLatin1(format)
                         .replace(QLatin1String("%d"), QString::number(code))
                         .replace(QLatin1String("%s"), label));
        if (code < 3) {
            lines.append(QStringLiteral("union"));
        }
    }
    Statement query(database_, lines);
    query.Run();
    LookupList list;
    while (query.Next()) {
        list.emplace_back(query.Value(0).toInt(), WithoutPadding(query.Value(1).toString()));
    }
    return list;
}

}  // namespace marvolt
