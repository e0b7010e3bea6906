// The diagnostics `normalize`, `extract` and `search-url`, run as the built `marvolt` binary.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

namespace {

struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Outcome Marvolt(const QStringList& arguments, const QByteArray& input = {},
                const QString& configFile = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!configFile.isEmpty()) {
        environment.insert(QStringLiteral("MARVOLT_CONFIG"), configFile);
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(MARVOLT_BINARY), arguments);
    EXPECT_TRUE(process.waitForStarted());
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QString Fixture(const char* name) {
    return QStringLiteral(MARVOLT_SCANNER_FIXTURES "/") + QString::fromUtf8(name);
}

// Every byte of a literal, NUL bytes included.
template <std::size_t N>
QByteArray Bytes(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

TEST(NormalizeCommandTest, WritesPageTextByteForByte) {
    const QByteArray body =
        Bytes("a\r\nb\nc\td\re<!DOCTYPE html><!-- x -->Gr\xC3\xBCn\xF0\x9F\x9A\x97\x00z");
    const QByteArray expected = Bytes("abcd\reGr\xC3\xBCn\xF0\x9F\x9A\x97\x00z");
    const Outcome fromStdin = Marvolt({QStringLiteral("normalize")}, body);
    EXPECT_EQ(fromStdin.exitCode, 0);
    EXPECT_EQ(fromStdin.out, expected);
    const Outcome fromDash = Marvolt({QStringLiteral("normalize"), QStringLiteral("-")}, body);
    EXPECT_EQ(fromDash.out, expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("body.html"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(body);
    file.close();
    const Outcome fromFile = Marvolt({QStringLiteral("normalize"), path});
    EXPECT_EQ(fromFile.exitCode, 0);
    EXPECT_EQ(fromFile.out, expected);
}

TEST(NormalizeCommandTest, BodyThatIsNotUtf8GivesNothing) {
    const Outcome run = Marvolt({QStringLiteral("normalize")}, QByteArray("Gr\xFCn"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.isEmpty());
}

TEST(ExtractCommandTest, PrintsTheFoundVehicleAsJson) {
    const Outcome run = Marvolt({QStringLiteral("extract"), Fixture("dealer_detail.html")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    const QJsonObject car = document.object();

    // The key names and their order are what scripts rely on.
    const QStringList keys = {QStringLiteral("CarDescription"),
                              QStringLiteral("Price"),
                              QStringLiteral("Fuel"),
                              QStringLiteral("Transmission"),
                              QStringLiteral("FirstRegistration"),
                              QStringLiteral("Mileage"),
                              QStringLiteral("Description"),
                              QStringLiteral("Dealer"),
                              QStringLiteral("Features"),
                              QStringLiteral("ConstructionYear"),
                              QStringLiteral("SellerCountry"),
                              QStringLiteral("EngineCapacity"),
                              QStringLiteral("IdSchedule"),
                              QStringLiteral("Id"),
                              QStringLiteral("SellerType"),
                              QStringLiteral("Damaged"),
                              QStringLiteral("PictureUrl"),
                              QStringLiteral("Power"),
                              QStringLiteral("Climatisation"),
                              QStringLiteral("Doors")};
    EXPECT_EQ(car.size(), keys.size());
    qsizetype previous = -1;
    for (const QString& key : keys) {
        ASSERT_TRUE(car.contains(key)) << key.toStdString();
        const qsizetype at = run.out.indexOf(QByteArray("\"" + key.toUtf8() + "\":"));
        EXPECT_GT(at, previous) << key.toStdString();
        previous = at;
    }
    EXPECT_EQ(car[QStringLiteral("CarDescription")].toString(),
              QStringLiteral("Volkswagen Golf 1.6 TDI Comfortline"));
    EXPECT_TRUE(car[QStringLiteral("Price")].isDouble());
    EXPECT_EQ(car[QStringLiteral("Price")].toInt(), 12500);
    EXPECT_EQ(car[QStringLiteral("Mileage")].toInt(), 125000);
    EXPECT_EQ(car[QStringLiteral("Doors")].toInt(), 2);
    EXPECT_TRUE(car[QStringLiteral("Damaged")].isBool());
    EXPECT_FALSE(car[QStringLiteral("Damaged")].toBool());
    EXPECT_EQ(car[QStringLiteral("Dealer")].toString(),
              QString::fromUtf8("Autohaus Schr\xC3\xB6"
                                "der GmbH\r\nHauptstra\xC3\x9F"
                                "e "
                                "12\r\n10115 Berlin, Germany\r\nPhone: +49 30 1234567\r\nWebsite "
                                "http://www.autohaus-schroeder.example\r\n\r\n"));
    EXPECT_EQ(car[QStringLiteral("Description")].toString(),
              QStringLiteral("Well maintained, full service history at VW. Non-smoker vehicle, 2 "
                             "keys. Timing belt \"new\" at 120,000 km."));
    // Integers, not floating-point texts.
    EXPECT_TRUE(run.out.contains("\"EngineCapacity\": 1598,"));
    EXPECT_TRUE(run.err.contains("[Marvolt Scanner] Evaluating page\n"));
    EXPECT_TRUE(
        run.err.contains("[Marvolt Scanner] Evaluate complete. [CarDescription:Volkswagen "
                         "Golf 1.6 TDI Comfortline, Price: 12500, Mileage: 125000]\n"));
}

TEST(ExtractCommandTest, EscapesEveryText) {
    const QByteArray page =
        "<h1 class=\"makeModelDescription\">Q\"uote \\ back</h1>"
        "<p><strong>Vehicle Description</strong><br/>  tab\x01"
        "ctl \x7F"
        "del \xE2\x82\xAC</p>";
    const Outcome run = Marvolt({QStringLiteral("extract")}, page);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonParseError error;
    const QJsonObject car = QJsonDocument::fromJson(run.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    EXPECT_EQ(car[QStringLiteral("CarDescription")].toString(), QStringLiteral("Q\"uote \\ back"));
    EXPECT_EQ(car[QStringLiteral("Description")].toString(), QString::fromUtf8("tab\x01"
                                                                               "ctl \x7F"
                                                                               "del \xE2\x82\xAC"));
    EXPECT_EQ(car[QStringLiteral("Climatisation")].toInt(), 3);
}

TEST(ExtractCommandTest, ConversionErrorPrintsNothingAndFails) {
    const Outcome run = Marvolt({QStringLiteral("extract"), QStringLiteral("-")},
                                "<h1 class=\"makeModelDescription\">Car</h1>"
                                "<strong id=\"price_gross\">EUR 12.500</strong>");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains("Price: \"12.500\" is not a valid integer value"))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("[Marvolt Scanner] Evaluating page\n"));
}

TEST(ExtractCommandTest, MissingFileAndExtraArguments) {
    Outcome run = Marvolt({QStringLiteral("extract"), QStringLiteral("/nonexistent/page.html")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains("/nonexistent/page.html")) << run.err.toStdString();
    run = Marvolt({QStringLiteral("normalize"), QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_EQ(run.exitCode, 2);
}

class SearchUrlCommandTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        config_ = dir_.filePath(QStringLiteral("marvolt.ini"));
        QFile file(config_);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[site]\nBaseUrl=http://site.test:9000/\n");
    }

    Outcome SearchUrl(const QStringList& options) {
        return Marvolt(QStringList{QStringLiteral("search-url")} + options, {}, config_);
    }

    QTemporaryDir dir_;
    QString config_;
};

TEST_F(SearchUrlCommandTest, WorkedExample) {
    const Outcome run = SearchUrl({QStringLiteral("--task-id"),
                                   QStringLiteral("3"),
                                   QStringLiteral("--kind"),
                                   QStringLiteral("0"),
                                   QStringLiteral("--make"),
                                   QStringLiteral("3500"),
                                   QStringLiteral("--fuel"),
                                   QStringLiteral("2"),
                                   QStringLiteral("--country"),
                                   QStringLiteral("Germany"),
                                   QStringLiteral("--zip"),
                                   QStringLiteral("10115"),
                                   QStringLiteral("--radius"),
                                   QStringLiteral("50"),
                                   QStringLiteral("--price-to"),
                                   QStringLiteral("15000"),
                                   QStringLiteral("--registration-from"),
                                   QStringLiteral("2005"),
                                   QStringLiteral("--registration-to"),
                                   QStringLiteral("2010")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out,
              "http://site.test:9000/auto/search.html?isSearchRequest=true&lang=en&export="
              "ALSO_EXPORT&sortOption.sortBy=searchNetGrossPrice&scopeId=C&sortPath=creationTime&"
              "defaultOrder=DESCENDING&useCase=ChangeSortOrder&daysAfterCreation=1&"
              "makeModelVariant1.makeId=3500&fuels=DIESEL&damageUnrepaired=NO_DAMAGE_UNREPAIRED&&"
              "ambitCountry=DE&&zipcode=10115&&zipcodeRadius=50&minPrice=0&maxPrice=15000&"
              "minFirstRegistrationDate=2005-01-01&maxFirstRegistrationDate=2010-12-31\n");
}

TEST_F(SearchUrlCommandTest, EveryOptionReachesItsColumn) {
    const Outcome run = SearchUrl({QStringLiteral("--kind=1"),
                                   QStringLiteral("--make=7"),
                                   QStringLiteral("--model-id=99"),
                                   QStringLiteral("--model=R 1200 GS"),
                                   QStringLiteral("--fuel=1"),
                                   QStringLiteral("--damaged=1"),
                                   QStringLiteral("--transmission=2"),
                                   QStringLiteral("--seller-type=1"),
                                   QStringLiteral("--country=Nowhere"),
                                   QStringLiteral("--zip=80-831"),
                                   QStringLiteral("--radius=100"),
                                   QStringLiteral("--doors=2"),
                                   QStringLiteral("--climatisation=1"),
                                   QStringLiteral("--power-from=40"),
                                   QStringLiteral("--power-to=90"),
                                   QStringLiteral("--engine-from=600"),
                                   QStringLiteral("--engine-to=1300"),
                                   QStringLiteral("--price-from=1000"),
                                   QStringLiteral("--price-to=9000"),
                                   QStringLiteral("--mileage-from=10"),
                                   QStringLiteral("--mileage-to=50000"),
                                   QStringLiteral("--registration-from=2001"),
                                   QStringLiteral("--registration-to=2020")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray prefix = "http://site.test:9000/motorrad/search.html?";
    EXPECT_TRUE(run.out.startsWith(prefix)) << run.out.toStdString();
    EXPECT_TRUE(run.out.endsWith(
        "&scopeId=MB&sortPath=creationTime&defaultOrder=DESCENDING&useCase=ChangeSortOrder"
        "&daysAfterCreation=1&makeModelVariant1.makeId=7&makeModelVariant1.modelDescription=R "
        "1200 GS&fuels=PETROL&damageUnrepaired=ALSO_DAMAGE_UNREPAIRED"
        "&transmissions=AUTOMATIC_GEAR&adLimitation=ONLY_DEALER_ADS&&zipcode=80-831"
        "&&zipcodeRadius=100&doorCount=FOUR_OR_FIVE"
        "&climatisation=MANUAL_OR_AUTOMATIC_CLIMATISATION&minPowerAsArray=40&minPowerAsArray=KW"
        "&maxPowerAsArray=90&maxPowerAsArray=KW&minCubicCapacity=600&maxCubicCapacity=1300"
        "&minPrice=1000&maxPrice=9000&minMileage=10&maxMileage=50000"
        "&minFirstRegistrationDate=2001-01-01&maxFirstRegistrationDate=2020-12-31\n"))
        << run.out.toStdString();
}

TEST_F(SearchUrlCommandTest, ZipAndRadiusNeedACountry) {
    const Outcome run = SearchUrl({QStringLiteral("--zip=10115"), QStringLiteral("--radius=50")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(
        run.out.endsWith("&makeModelVariant1.makeId=0&damageUnrepaired="
                         "NO_DAMAGE_UNREPAIRED\n"))
        << run.out.toStdString();
}

TEST_F(SearchUrlCommandTest, BadNumbersAreUsageErrors) {
    for (const char* option :
         {"--price-to=12k", "--radius=-1", "--radius=65536", "--make=2147483648", "--unknown=1"}) {
        const Outcome run = SearchUrl({QString::fromUtf8(option)});
        EXPECT_EQ(run.exitCode, 2) << option;
        EXPECT_TRUE(run.out.isEmpty()) << option;
        EXPECT_FALSE(run.err.isEmpty()) << option;
    }
}

}  // namespace
