#pragma once

// A small per-user store of named 32-bit integers under one key path, on QSettings.

#include <QString>
#include <memory>
#include <stdexcept>
#include <string>

class QSettings;

namespace velmora {

// A write the store refused: "Failed to set data for '<name>'", with the settings file and the
// system's reason.
class SettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where both programs keep their settings.
inline const QString kVelmoraSettingsPath = QStringLiteral("\\SOFTWARE\\Kelgard\\HtmlVelmora");

// The store is opened by the first read or write, never by the constructor.
class TKelRegistry {
public:
    // basePath such as "\\SOFTWARE\\Kelgard\\HtmlVelmora"; the organisation and application
    // of the store are taken from its last two parts.
    explicit TKelRegistry(const QString& basePath);
    ~TKelRegistry();

    TKelRegistry(TKelRegistry&&) noexcept;
    TKelRegistry& operator=(TKelRegistry&&) noexcept;

    bool ValueExists(const QString& subKey, const QString& name);
    void DeleteValue(const QString& subKey, const QString& name);
    int ReadInteger(const QString& subKey, const QString& name, int defaultValue);
    QString ReadString(const QString& subKey, const QString& name);
    void WriteInteger(const QString& subKey, const QString& name, int value);
    void WriteString(const QString& subKey, const QString& name, const QString& value);

    int ReadInteger(const QString& name) { return ReadInteger(QString(), name, 0); }
    void WriteInteger(const QString& name, int value) { WriteInteger(QString(), name, value); }

    // Pushes the writes to the store; throws SettingsError naming firstName on failure.
    void Flush(const QString& firstName);
    // The file that holds the settings.
    QString FileName();

private:
    QSettings& Store();

    QString BaseKey;
    std::unique_ptr<QSettings> settings_;
};

}  // namespace velmora
