#include "app/settings/QSettingsStore.h"

#include <QFileInfo>
#include <QSettings>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Problem(const QSettings& settings, const char* doing) {
    return std::string("The settings file \"") + settings.fileName().toStdString() +
           "\" cannot be " + doing +
           (settings.status() == QSettings::FormatError ? ": it is not in a readable form."
                                                        : ": access was refused.");
}

}  // namespace

std::unique_ptr<QSettings> QSettingsStore::open(const std::string& app,
                                                const std::string& section) const {
    if (folder_.isEmpty()) {
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, Q(app),
                                           Q(section));
    }
    return std::make_unique<QSettings>(folder_ + "/" + Q(app) + "/" + Q(section) + ".conf",
                                       QSettings::IniFormat);
}

std::string QSettingsStore::read(const std::string& app, const std::string& section,
                                 const std::string& key, const std::string& fallback) {
    auto settings = open(app, section);
    if (settings->status() != QSettings::NoError) throw SettingsError(Problem(*settings, "read"));
    const QVariant value = settings->value(Q(key));
    return value.isValid() ? value.toString().toStdString() : fallback;
}

void QSettingsStore::write(const std::string& app, const std::string& section,
                           const std::string& key, const std::string& text) {
    auto settings = open(app, section);
    settings->setValue(Q(key), Q(text));
    // Written through at once: other running copies of the program read the same store.
    settings->sync();
    if (settings->status() != QSettings::NoError)
        throw SettingsError(Problem(*settings, "written"));
}
