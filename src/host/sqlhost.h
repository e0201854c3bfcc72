#pragma once

#include <memory>

#include "host/database.h"
#include "host/host.h"
#include "host/settings.h"

namespace incassi {

// The host over an SQL database: record sets through the dialect translator,
// settings in an INI file, the operator set by the login.
class SqlHost : public Host {
  public:
    SqlHost(std::shared_ptr<Database> db, std::unique_ptr<SettingsStore> settings,
            QString percorso);

    Database& database() { return *db_; }
    std::shared_ptr<Database> sharedDatabase() { return db_; }
    void setOperatore(const Operatore& op) { operatore_ = op; }
    const Operatore& operatore() const { return operatore_; }
    void setPersonalizzazione(bool on) { personalizzazione_ = on; }
    // Asks every plug-in window to close at its next poll.
    void chiediChiusura(bool on = true) { chiudi_ = on; }

    RecordSetPtr OpenRecordSet(const QString& sql) override;
    RecordSetPtr OpenRecordSetAsync(const QString& sql, int pageSize = 100) override;
    RecordSetPtr OpenRecordSetBatch(const QString& sql) override;
    RecordSetPtr OpenRecordsetMenu(const QString& sql) override;
    RecordSetPtr OpenRecordSetPreferenze(const QString& sql) override;
    RecordSetPtr OpenRecordSetPersonalizzazioni(const QString& sql) override;
    bool Personalizzazione() const override { return personalizzazione_; }
    int Execute(const QString& sql) override;

    QString user() const override { return operatore_.codice; }
    bool UserAdmin() const override { return operatore_.diritti.admin; }
    bool UserInserimento() const override { return operatore_.diritti.inserimento; }
    bool UserModifica() const override { return operatore_.diritti.modifica; }
    bool UserRicerca() const override { return operatore_.diritti.ricerca; }
    bool UserCancellazione() const override { return operatore_.diritti.cancellazione; }
    bool UserStampa() const override { return operatore_.diritti.stampa; }
    bool UserRicerchePers() const override { return operatore_.diritti.ricerchePers; }

    QVariant LeggiSettaggio(const QString& section, const QString& key,
                            const QVariant& defaultValue) override;
    void salvasettaggio(const QString& section, const QString& key, const QVariant& value) override;

    QString percorso() const override { return percorso_; }
    void SetupMenu(MenuBar& menu) override;
    bool ChiudiFinestre() const override { return chiudi_; }

    std::vector<ColumnInfo> Colonne(const QString& table) override;

    void BeginTrans() override { db_->begin(); }
    void CommitTrans() override { db_->commit(); }
    void RollbackTrans() override { db_->rollback(); }

  private:
    std::shared_ptr<Database> db_;
    std::unique_ptr<SettingsStore> settings_;
    QString percorso_;
    Operatore operatore_;
    bool personalizzazione_ = true;
    bool chiudi_ = false;
};

}  // namespace incassi
