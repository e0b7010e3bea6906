#include "data/settings_store.h"

#include "data/statement.h"
#include "scanner/conversion_error.h"

namespace marvolt {

namespace {

[[noreturn]] void ThrowNotA(const char* what, const QString& name, const QString& text) {
    throw ConversionError(QStringLiteral("Setting \"%1\": '%2' is not a valid %3")
                              .arg(name, text, QLatin1String(what))
                              .toStdString());
}

}  // namespace

std::optional<QString> SettingsStore::ReadSetting(const QString& name) const {
    Statement read(database_,
                   QStringLiteral(R"(SELECT "VALUE" FROM CONFIGURATION WHERE "NAME" =:NAME)"));
    read.Bind(QStringLiteral(":NAME"), name).Run();
    if (!read.Next()) {
        return std::nullopt;
    }
    const QVariant value = read.Value(0);
    if (value.isNull()) {
        return std::nullopt;
    }
    // Text blobs arrive as their UTF-8 bytes.
    return QString::fromUtf8(value.toByteArray());
}

int SettingsStore::ReadSettingInteger(const QString& name, int defaultValue) const {
    const auto text = ReadSetting(name);
    if (!text) {
        return defaultValue;
    }
    bool ok = false;
    const int value = text->trimmed().toInt(&ok);
    if (!ok) {
        ThrowNotA("integer value", name, *text);
    }
    return value;
}

QString SettingsStore::ReadSettingText(const QString& name, const QString& defaultValue) const {
    const auto text = ReadSetting(name);
    return text && !text->isEmpty() ? *text : defaultValue;
}

bool SettingsStore::ReadSettingBoolean(const QString& name, bool defaultValue) const {
    const auto text = ReadSetting(name);
    if (!text) {
        return defaultValue;
    }
    const QString trimmed = text->trimmed();
    bool ok = false;
    const long long number = trimmed.toLongLong(&ok);
    if (ok) {
        return number != 0;
    }
    if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (trimmed.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    ThrowNotA("boolean value", name, *text);
}

void SettingsStore::WriteSetting(const QString& name, int value) {
    Upsert(name, QString::number(value));
}

void SettingsStore::WriteSetting(const QString& name, bool value) {
    Upsert(name, value ? QStringLiteral("-1") : QStringLiteral("0"));
}

void SettingsStore::WriteSetting(const QString& name, const QString& value) {
    Upsert(name, value);
}

void SettingsStore::Upsert(const QString& name, const QString& text) {
    Statement count(database_,
                    QStringLiteral(R"(SELECT COUNT(*) FROM CONFIGURATION WHERE "NAME" =:NAME)"));
    count.Bind(QStringLiteral(":NAME"), name).Run();
    const bool exists = count.Next() && count.Value(0).toInt() != 0;

    Statement write(
        database_,
        exists ? QStringLiteral(R"(UPDATE CONFIGURATION SET "VALUE"=:VALUE WHERE "NAME"=:NAME)")
               : QStringLiteral(
                     R"(INSERT INTO CONFIGURATION ("NAME", "VALUE") VALUES (:NAME, :VALUE))"));
    // A null QString would be stored as SQL null and read back as absent.
    write.Bind(QStringLiteral(":NAME"), name)
        .Bind(QStringLiteral(":VALUE"), text.isNull() ? QStringLiteral("") : text)
        .Run();
}

}  // namespace marvolt
