#include "host/sqlhost.h"

#include <QDir>

namespace incassi {

SqlHost::SqlHost(std::shared_ptr<Database> db, std::unique_ptr<SettingsStore> settings,
                 QString percorso)
    : db_(std::move(db)), settings_(std::move(settings)), percorso_(std::move(percorso)) {
    if (!percorso_.isEmpty() && !percorso_.endsWith(u'/') && !percorso_.endsWith(u'\\')) {
        percorso_ += u'/';
    }
}

RecordSetPtr SqlHost::OpenRecordSet(const QString& sql) {
    return RecordSet::Open(db_, sql, RecordSetMode::Immediate);
}

RecordSetPtr SqlHost::OpenRecordSetAsync(const QString& sql, int pageSize) {
    return RecordSet::Open(db_, sql, RecordSetMode::Immediate, pageSize > 0 ? pageSize : 100);
}

RecordSetPtr SqlHost::OpenRecordSetBatch(const QString& sql) {
    return RecordSet::Open(db_, sql, RecordSetMode::Batch);
}

RecordSetPtr SqlHost::OpenRecordsetMenu(const QString& sql) {
    return OpenRecordSet(sql);
}

RecordSetPtr SqlHost::OpenRecordSetPreferenze(const QString& sql) {
    return OpenRecordSet(sql);
}

RecordSetPtr SqlHost::OpenRecordSetPersonalizzazioni(const QString& sql) {
    return OpenRecordSet(sql);
}

int SqlHost::Execute(const QString& sql) {
    return db_->execute(sql);
}

QVariant SqlHost::LeggiSettaggio(const QString& section, const QString& key,
                                 const QVariant& defaultValue) {
    return settings_->read(section, key, defaultValue);
}

void SqlHost::salvasettaggio(const QString& section, const QString& key, const QVariant& value) {
    settings_->write(section, key, value);
}

void SqlHost::SetupMenu(MenuBar& menu) {
    MenuItem finestra;
    finestra.key = QStringLiteral("HostFinestra");
    finestra.caption = QStringLiteral("&Finestra");
    finestra.children.push_back({QStringLiteral("HostChiudiTutto"),
                                 QStringLiteral("Chiudi tutte le finestre"),
                                 false,
                                 false,
                                 true,
                                 {}});
    menu.menus.push_back(std::move(finestra));
}

std::vector<ColumnInfo> SqlHost::Colonne(const QString& table) {
    const auto* cols = db_->tableColumns(table);
    return cols ? *cols : std::vector<ColumnInfo>();
}

}  // namespace incassi
