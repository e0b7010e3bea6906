// A user without a desktop: creates the database, manages search tasks and scans with
// `marvolt run` until it is told to stop; found vehicles are printed and stored.
#include <gtest/gtest.h>
#include <signal.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <thread>

#include "data/data_module.h"
#include "support/test_site.h"

namespace marvolt::test {
namespace {

using namespace std::chrono_literals;

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

class HeadlessScanningTest : public ::testing::Test {
  protected:
    HeadlessScanningTest() {
        QFile ini(folder_.filePath(QStringLiteral("marvolt.ini")));
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(("[site]\nBaseUrl=" + site_.BaseUrl() + "\n").c_str());
        environment_.insert(QStringLiteral("MARVOLT_CONFIG"), ini.fileName());
    }

    // Runs `marvolt` on the test's database: init-db takes it as its argument, the other
    // commands as --database.
    void Prepare(QProcess& process, QStringList arguments) {
        arguments << (arguments.first() == QLatin1String("init-db")
                          ? QStringList{database_}
                          : QStringList{QStringLiteral("--database"), database_});
        process.setProcessEnvironment(environment_);
        process.start(QStringLiteral(MARVOLT_BINARY), arguments);
        EXPECT_TRUE(process.waitForStarted());
    }

    Outcome Marvolt(const QStringList& arguments) {
        QProcess process;
        Prepare(process, arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QTemporaryDir folder_;
    QString database_ = folder_.filePath(QStringLiteral("MARVOLT.FDB"));
    QProcessEnvironment environment_ = QProcessEnvironment::systemEnvironment();
    TestSite site_;
};

TEST_F(HeadlessScanningTest, TaskCommandsStoreWhatTheEditorWould) {
    ASSERT_EQ(Marvolt({QStringLiteral("init-db")}).exitCode, 0);
    const Outcome added =
        Marvolt({QStringLiteral("task"), QStringLiteral("add"), QStringLiteral("--make"),
                 QStringLiteral("1028"), QStringLiteral("--fuel"), QStringLiteral("2"),
                 QStringLiteral("--country"), QStringLiteral("Germany"), QStringLiteral("--zip"),
                 QStringLiteral("10115"), QStringLiteral("--price-to"), QStringLiteral("15000"),
                 QStringLiteral("--registration-from"), QStringLiteral("2005"),
                 QStringLiteral("--registration-to"), QStringLiteral("2010"),
                 QStringLiteral("--inactive")});
    ASSERT_EQ(added.exitCode, 0) << added.err.toStdString();
    EXPECT_EQ(added.out, QStringLiteral("Added task 1\n"));
    EXPECT_EQ(
        Marvolt({QStringLiteral("task"), QStringLiteral("enable"), QStringLiteral("1")}).exitCode,
        0);
    {
        DataModule data(database_);
        ASSERT_EQ(data.Tasks().RowCount(), 1);
        const RowSet& tasks = data.Tasks();
        EXPECT_EQ(tasks.Value(0, u"TASK_ACTIVE").toInt(), 1);
        EXPECT_EQ(tasks.Value(0, u"MAKEMODEL").toString(), QStringLiteral("Audi "));
        EXPECT_EQ(tasks.Value(0, u"FUEL").toInt(), 2);
        EXPECT_EQ(tasks.Value(0, u"REGISTRATION").toString(), QStringLiteral("2005 - 2010"));
        EXPECT_EQ(tasks.Value(0, u"PRICE").toString(), QStringLiteral("0 EUR - 15000 EUR"));
        EXPECT_EQ(tasks.Value(0, u"COUNTRY").toString(), QStringLiteral("Germany"));
        for (const char16_t* any :
             {u"ID_MODEL", u"TRANSMISSION", u"SELLER_TYPE", u"CLIMATISATION", u"DOORS"}) {
            EXPECT_TRUE(tasks.Value(0, QStringView(any)).isNull())
                << QStringView(any).toString().toStdString() << " stores null for Any";
        }
    }
    const Outcome missing =
        Marvolt({QStringLiteral("task"), QStringLiteral("delete"), QStringLiteral("7")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("There is no task 7")));
    const Outcome badCode =
        Marvolt({QStringLiteral("task"), QStringLiteral("add"), QStringLiteral("--make"),
                 QStringLiteral("1028"), QStringLiteral("--fuel"), QStringLiteral("9")});
    EXPECT_EQ(badCode.exitCode, 2);
    EXPECT_EQ(
        Marvolt({QStringLiteral("task"), QStringLiteral("delete"), QStringLiteral("1")}).exitCode,
        0);
    EXPECT_EQ(
        Marvolt({QStringLiteral("task"), QStringLiteral("list")}).out.count(QLatin1Char('\n')), 1)
        << "the heading only";
}

TEST_F(HeadlessScanningTest, RunPrintsAndStoresNewVehiclesAndStopsOnSigterm) {
    ASSERT_EQ(Marvolt({QStringLiteral("init-db")}).exitCode, 0);
    const sim::Listing car = site_.SomeCar();
    ASSERT_EQ(
        Marvolt({QStringLiteral("task"), QStringLiteral("add"), QStringLiteral("--make"),
                 QString::number(car.makeId), QStringLiteral("--damaged"), QStringLiteral("1")})
            .exitCode,
        0);

    QProcess run;
    Prepare(run, {QStringLiteral("run")});
    // The first pass learns the page; listings published after it are new. Until one is
    // printed, a new one goes online every few seconds, in case the first pass was slow.
    std::vector<sim::Listing> published;
    QString out;
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    auto nextPublication = std::chrono::steady_clock::now() + 1s;
    while (!out.contains(QLatin1Char('\n')) && std::chrono::steady_clock::now() < deadline) {
        if (std::chrono::steady_clock::now() > nextPublication) {
            published.push_back(site_.Publish(car));
            nextPublication += 4s;
        }
        run.waitForReadyRead(200);
        out += QString::fromUtf8(run.readAllStandardOutput());
    }
    ASSERT_FALSE(published.empty());
    const QRegularExpressionMatch line =
        QRegularExpression(QStringLiteral("^task 1\tlisting (\\d+)\t(.*)\t(\\d+) EUR\n"))
            .match(out);
    ASSERT_TRUE(line.hasMatch()) << out.toStdString();
    const int printed = line.captured(1).toInt();
    EXPECT_TRUE(std::any_of(published.begin(), published.end(),
                            [&](const sim::Listing& listing) { return listing.id == printed; }));
    EXPECT_EQ(line.captured(2).toStdString(), car.headline);
    EXPECT_EQ(line.captured(3).toInt(), car.price);

    ::kill(static_cast<pid_t>(run.processId()), SIGTERM);
    ASSERT_TRUE(run.waitForFinished(5000));
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.exitCode(), 0);

    DataModule data(database_);
    const std::vector<int> stored = data.KnownIds(1);
    EXPECT_NE(std::find(stored.begin(), stored.end(), printed), stored.end());
}

}  // namespace
}  // namespace marvolt::test
