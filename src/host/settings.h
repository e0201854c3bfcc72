#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>
#include <memory>

namespace incassi {

// The settings of one workstation, in one INI file (sections "Incassi" and
// "Scanner"). Integers read back as integers, so 0 and -1 serve as Booleans.
class SettingsStore {
  public:
    explicit SettingsStore(const QString& iniFile);
    QVariant read(const QString& section, const QString& key, const QVariant& defaultValue) const;
    void write(const QString& section, const QString& key, const QVariant& value);
    QString fileName() const;

  private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace incassi
