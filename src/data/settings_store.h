#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace marvolt {

// The NAME/VALUE settings of table CONFIGURATION. Values are stored as text: whole numbers
// as their decimal text, booleans as "-1" and "0". Every write is committed at once.
class SettingsStore {
  public:
    explicit SettingsStore(QSqlDatabase database) : database_(std::move(database)) {}

    // The stored value, or nothing when the key is absent or its value is null.
    std::optional<QString> ReadSetting(const QString& name) const;
    // Default when absent; raises ConversionError naming the key when not a whole number.
    int ReadSettingInteger(const QString& name, int defaultValue) const;
    // Default when absent or empty.
    QString ReadSettingText(const QString& name, const QString& defaultValue) const;
    // Default when absent; a number is true unless 0; "true"/"false" in any case are
    // accepted too; anything else raises ConversionError naming the key.
    bool ReadSettingBoolean(const QString& name, bool defaultValue) const;

    void WriteSetting(const QString& name, int value);
    void WriteSetting(const QString& name, bool value);
    void WriteSetting(const QString& name, const QString& value);
    // A string literal would otherwise silently pick the boolean overload.
    void WriteSetting(const QString& name, const char* value) = delete;

  private:
    void Upsert(const QString& name, const QString& text);

    QSqlDatabase database_;
};

}  // namespace marvolt
