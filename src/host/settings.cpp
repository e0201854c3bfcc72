#include "host/settings.h"

namespace incassi {

SettingsStore::SettingsStore(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

QVariant SettingsStore::read(const QString& section, const QString& key,
                             const QVariant& defaultValue) const {
    const QVariant v = settings_->value(section + u'/' + key);
    if (!v.isValid()) return defaultValue;
    bool ok = false;
    const qlonglong n = v.toString().trimmed().toLongLong(&ok);
    if (ok) return n;
    return v.toString();
}

void SettingsStore::write(const QString& section, const QString& key, const QVariant& value) {
    settings_->setValue(section + u'/' + key, value);
    settings_->sync();
}

QString SettingsStore::fileName() const {
    return settings_->fileName();
}

}  // namespace incassi
