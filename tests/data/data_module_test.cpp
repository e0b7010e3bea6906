#include "data/data_module.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "data/database_error.h"
#include "data/database_file.h"
#include "data_fixture.h"
#include "other_process.h"

namespace marvolt::test {
namespace {

// The message of the DatabaseError that `open` raises, or a failure when none is raised.
template <typename Open>
std::string DatabaseErrorOf(Open open) {
    try {
        open();
    } catch (const DatabaseError& error) {
        return error.what();
    }
    ADD_FAILURE() << "no DatabaseError";
    return {};
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(DataModuleStart, LookupListsHoldTheThreeCodesWithTranslatedLabels) {
    TempDatabase database;
    std::vector<std::string> asked;
    const Translator translate = [&](const char* text) {
        asked.emplace_back(text);
        // A quote in a translation must reach the list intact.
        return std::string_view(text) == "Diesel" ? QStringLiteral("Gazole d'or")
                                                  : QString::fromUtf8(text).toUpper();
    };
    DataModule data(database.Path(), translate);

    EXPECT_EQ(data.FuelList(), (LookupList{{1, QStringLiteral("PETROL")},
                                           {2, QStringLiteral("Gazole d'or")},
                                           {3, QStringLiteral("LPG")}}));
    EXPECT_EQ(data.TransmissionList(), (LookupList{{1, QStringLiteral("MANUAL")},
                                                   {2, QStringLiteral("AUTOMATIC")},
                                                   {3, QStringLiteral("SEMI-AUTOMATIC")}}));
    EXPECT_EQ(data.ClimatisationList(), (LookupList{{1, QStringLiteral("MANUAL")},
                                                    {2, QStringLiteral("AUTOMATIC")},
                                                    {3, QStringLiteral("NONE")}}));
    EXPECT_EQ(asked, (std::vector<std::string>{"Petrol", "Diesel", "LPG", "Manual", "Automatic",
                                               "Semi-automatic", "Manual", "Automatic", "None"}));
}

TEST(DataModuleStart, EnglishLabelsUntilALanguageIsChosen) {
    TempDatabase database;
    DataModule data(database.Path());
    EXPECT_EQ(data.FuelList().at(1).second, QStringLiteral("Diesel"));
    EXPECT_EQ(data.ClimatisationList().at(2).second, QStringLiteral("None"));
    EXPECT_TRUE(data.Tasks().RowCount() == 0 && data.Results().empty());
}

TEST(DataModuleStart, MissingFileRaisesTheDatabaseMessageAndCreatesNothing) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("MARVOLT.FDB"));
    const std::string message = DatabaseErrorOf([&] { DataModule data(path); });
    EXPECT_TRUE(Contains(message, "No such file or directory")) << message;
    EXPECT_TRUE(Contains(message, path.toStdString())) << message;
    EXPECT_FALSE(QFile::exists(path));
}

TEST(DataModuleStart, FileThatIsNoDatabaseRaisesTheDatabaseMessage) {
    QTemporaryDir folder;
    const QString small = folder.filePath(QStringLiteral("small.fdb"));
    const QString large = folder.filePath(QStringLiteral("large.fdb"));
    {
        QFile file(small);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a database\n");
    }
    {
        QFile file(large);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(256 * 1024, 'x'));
    }
    EXPECT_TRUE(Contains(DatabaseErrorOf([&] { DataModule data(small); }), "small.fdb"));
    const std::string message = DatabaseErrorOf([&] { DataModule data(large); });
    EXPECT_TRUE(Contains(message, "not a valid database")) << message;
}

TEST(DataModuleStart, FileHeldByAnotherProcessRaisesTheDatabaseMessage) {
    TempDatabase database;
    OtherProcess holder(database.Path(), QStringLiteral("hold"));
    const std::string message = DatabaseErrorOf([&] { DataModule data(database.Path()); });
    EXPECT_TRUE(Contains(message, database.Path().toStdString())) << message;
    holder.Kill();
    // Once the other process is gone the file opens again.
    DataModule data(database.Path());
    EXPECT_EQ(data.FuelList().size(), 3u);
}

TEST(DataModuleStart, WritesSurviveAKilledProcess) {
    TempDatabase database;
    OtherProcess writer(database.Path(), QStringLiteral("write"));
    writer.Kill();

    DataModule data(database.Path());
    EXPECT_EQ(data.KnownIds(1), std::vector<int>{424242});
    EXPECT_TRUE(data.Settings().ReadSettingBoolean(QStringLiteral("WrittenBeforeKill"), false));
}

TEST(CreateDatabaseFile, RefusesToOverwriteAnExistingFile) {
    TempDatabase database;
    {
        DataModule data(database.Path());
        data.Settings().WriteSetting(QStringLiteral("Keep"), QStringLiteral("me"));
    }
    const std::string message = DatabaseErrorOf([&] { CreateDatabaseFile(database.Path()); });
    EXPECT_TRUE(Contains(message, "already exists")) << message;
    DataModule data(database.Path());
    EXPECT_EQ(data.Settings().ReadSetting(QStringLiteral("Keep")), QStringLiteral("me"));
}

TEST(CreateDatabaseFile, FolderWithoutWriteAccessRaisesTheDatabaseMessage) {
    QTemporaryDir folder;
    // Root may write anywhere in a normal folder; /sys refuses even root.
    QString target = QStringLiteral("/sys/MARVOLT.FDB");
    if (geteuid() != 0) {
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
        target = folder.filePath(QStringLiteral("MARVOLT.FDB"));
    }
    const std::string message = DatabaseErrorOf([&] { CreateDatabaseFile(target); });
    EXPECT_TRUE(Contains(message, "Permission denied")) << message;
    EXPECT_FALSE(QFile::exists(target));
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(CreateDatabaseFile, FillsTheReferenceMakesAndModelsOfAllKinds) {
    TempDatabase database;
    DataModule data(database.Path());
    const auto count = [&](const QString& sql) {
        QSqlQuery query(data.Database());
        EXPECT_TRUE(query.exec(sql) && query.next()) << sql.toStdString();
        return query.value(0).toInt();
    };
    EXPECT_GE(count(QStringLiteral("SELECT COUNT(*) FROM MAKE WHERE CARS = 1")), 40);
    EXPECT_GE(count(QStringLiteral("SELECT COUNT(*) FROM MAKE WHERE MOTORCYCLES = 1")), 15);
    EXPECT_GE(count(QStringLiteral("SELECT COUNT(*) FROM MAKE WHERE TRUCKS = 1")), 10);
    // Every car make offers at least five car models of its own.
    EXPECT_EQ(count(QStringLiteral(
                  "SELECT COUNT(*) FROM MAKE ma WHERE ma.CARS = 1 AND (SELECT COUNT(*) FROM "
                  "MODEL mo WHERE mo.ID_MAKE = ma.ID AND mo.KIND = 0) < 5")),
              0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM SCHEDULE")) +
                  count(QStringLiteral("SELECT COUNT(*) FROM RESULTS")) +
                  count(QStringLiteral("SELECT COUNT(*) FROM CONFIGURATION")),
              0);
}

}  // namespace
}  // namespace marvolt::test
