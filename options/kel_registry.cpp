#include "options/kel_registry.h"

#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QVariant>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace velmora {
namespace {

// The organisation and application are the last two parts of a path such as
// "\SOFTWARE\Kelgard\HtmlVelmora".
std::unique_ptr<QSettings> OpenStore(const QString& basePath) {
    const QStringList parts = basePath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    const QString application = parts.isEmpty() ? QString() : parts.last();
    const QString organisation = parts.size() < 2 ? QString() : parts[parts.size() - 2];
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation,
                                       application);
}

QString KeyPath(const QString& subKey, const QString& name) {
    return subKey.isEmpty() ? name : subKey + QLatin1Char('/') + name;
}

// Only the whole text of a decimal number within 32 bits counts as a number.
bool ParseInteger(const QVariant& value, int& result) {
    const QByteArray text = value.toString().toUtf8();
    std::int32_t number = 0;
    const char* end = text.constData() + text.size();
    const auto [stop, error] = std::from_chars(text.constData(), end, number);
    if (text.isEmpty() || error != std::errc() || stop != end) {
        return false;
    }
    result = number;
    return true;
}

// QSettings reports only that writing failed; ask the system why.
std::string FailureReason(const QString& fileName, QSettings::Status status) {
    if (status == QSettings::FormatError) {
        return "the settings could not be formatted";
    }
#if defined(Q_OS_WIN)
    Q_UNUSED(fileName);
    return "the registry refused the write";
#else
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(fileName.toStdString()).parent_path(),
                                        error);
    if (error) {
        return error.message();
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadWrite)) {
        return file.errorString().toStdString();
    }
    return "the settings file could not be written";
#endif
}

}  // namespace

TKelRegistry::TKelRegistry(const QString& basePath) : BaseKey(basePath) {}

TKelRegistry::~TKelRegistry() = default;
TKelRegistry::TKelRegistry(TKelRegistry&&) noexcept = default;
TKelRegistry& TKelRegistry::operator=(TKelRegistry&&) noexcept = default;

QSettings& TKelRegistry::Store() {
    // QSettings reads its file as it is made.
    if (!settings_) {
        settings_ = OpenStore(BaseKey);
    }
    return *settings_;
}

bool TKelRegistry::ValueExists(const QString& subKey, const QString& name) {
    return Store().contains(KeyPath(subKey, name));
}

void TKelRegistry::DeleteValue(const QString& subKey, const QString& name) {
    // remove() on a group name would drop the whole group; only a value is deleted.
    if (ValueExists(subKey, name)) {
        Store().remove(KeyPath(subKey, name));
    }
}

int TKelRegistry::ReadInteger(const QString& subKey, const QString& name, int defaultValue) {
    const QVariant value = Store().value(KeyPath(subKey, name));
    if (!value.isValid()) {
        return 0;
    }
    int number = 0;
    return ParseInteger(value, number) ? number : defaultValue;
}

QString TKelRegistry::ReadString(const QString& subKey, const QString& name) {
    return Store().value(KeyPath(subKey, name)).toString();
}

void TKelRegistry::WriteInteger(const QString& subKey, const QString& name, int value) {
    Store().setValue(KeyPath(subKey, name), value);
}

void TKelRegistry::WriteString(const QString& subKey, const QString& name, const QString& value) {
    Store().setValue(KeyPath(subKey, name), value);
}

void TKelRegistry::Flush(const QString& firstName) {
    QSettings& store = Store();
    store.sync();
    const QSettings::Status status = store.status();
    if (status != QSettings::NoError) {
        throw SettingsError("Failed to set data for '" + firstName.toStdString() + "' in '" +
                            FileName().toStdString() + "': " + FailureReason(FileName(), status));
    }
}

QString TKelRegistry::FileName() {
    return Store().fileName();
}

}  // namespace velmora
