#pragma once

// The host application's services: the module's only door to the database,
// the settings, the install folder, the operator's identity and rights, and
// the window services. Windows receive a Host and never touch the database
// connection themselves.

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

#include "host/fieldtype.h"
#include "host/recordset.h"

namespace incassi {

// The operator's rights, as the login reads them from `operatori`.
struct Diritti {
    bool admin = false;
    bool inserimento = false;
    bool modifica = false;
    bool ricerca = false;
    bool cancellazione = false;
    bool stampa = false;
    bool ricerchePers = false;

    static Diritti Tutti() { return {true, true, true, true, true, true, true}; }
};

struct Operatore {
    QString codice;
    Diritti diritti;
};

// A window's menu bar, which the host completes with its standard menu.
struct MenuItem {
    QString key;
    QString caption;
    bool checkable = false;
    bool checked = false;
    bool enabled = true;
    std::vector<MenuItem> children;
};

struct MenuBar {
    std::vector<MenuItem> menus;
};

class Host {
  public:
    virtual ~Host() = default;

    // Record sets over the suite's database, in the classic SQL dialect.
    virtual RecordSetPtr OpenRecordSet(const QString& sql) = 0;
    // Reads the rows pageSize at a time as the cursor moves (long lists).
    virtual RecordSetPtr OpenRecordSetAsync(const QString& sql, int pageSize = 100) = 0;
    // Edits wait for UpdateBatch.
    virtual RecordSetPtr OpenRecordSetBatch(const QString& sql) = 0;
    // Menu and link tables.
    virtual RecordSetPtr OpenRecordsetMenu(const QString& sql) = 0;
    // Preferences tables (viste).
    virtual RecordSetPtr OpenRecordSetPreferenze(const QString& sql) = 0;
    // The operator's own reports and customisations.
    virtual RecordSetPtr OpenRecordSetPersonalizzazioni(const QString& sql) = 0;
    // Whether the operator's own customisations are enabled.
    virtual bool Personalizzazione() const = 0;
    // Runs an insert, update or delete; returns the rows it touched.
    virtual int Execute(const QString& sql) = 0;

    // Operator identity and rights.
    virtual QString user() const = 0;
    virtual bool UserAdmin() const = 0;
    virtual bool UserInserimento() const = 0;
    virtual bool UserModifica() const = 0;
    virtual bool UserRicerca() const = 0;
    virtual bool UserCancellazione() const = 0;
    virtual bool UserStampa() const = 0;
    virtual bool UserRicerchePers() const = 0;

    // Settings of this workstation.
    virtual QVariant LeggiSettaggio(const QString& section, const QString& key,
                                    const QVariant& defaultValue) = 0;
    virtual void salvasettaggio(const QString& section, const QString& key,
                                const QVariant& value) = 0;
    // A setting stored as the integers 0 / -1, read as a Boolean.
    bool LeggiFlag(const QString& section, const QString& key, bool defaultValue);

    // Install folder, ending in a separator.
    virtual QString percorso() const = 0;
    virtual void SetupMenu(MenuBar& menu) = 0;
    // True when the host asks every plug-in window to close.
    virtual bool ChiudiFinestre() const = 0;

    // Catalogue: the columns of a table (empty when there is no such table).
    virtual std::vector<ColumnInfo> Colonne(const QString& table) = 0;
    bool HaColonna(const QString& table, const QString& column);
    // The column's name as the table spells it; throws Errore when the table
    // has no such column. Field names reach SQL only through this check.
    QString Campo(const QString& table, const QString& column);

    // Transactions: nested scopes are savepoints of the outer one.
    virtual void BeginTrans() = 0;
    virtual void CommitTrans() = 0;
    virtual void RollbackTrans() = 0;
};

// All or nothing: rolls back unless commit() is reached.
class TransazioneHost {
  public:
    explicit TransazioneHost(Host& host) : host_(host) { host_.BeginTrans(); }
    ~TransazioneHost();
    TransazioneHost(const TransazioneHost&) = delete;
    TransazioneHost& operator=(const TransazioneHost&) = delete;
    void commit();

  private:
    Host& host_;
    bool done_ = false;
};

}  // namespace incassi
