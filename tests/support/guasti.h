#pragma once

// Fault injection and state dumps: the Nth statement a connection sends fails,
// and databases and windows are written out as lines to compare before and
// after an operation.

#include <QStringList>

#include "host/database.h"
#include "window/windowmodel.h"

namespace incassi::test {

// Makes the Nth statement sent on the connection fail, as a full disk or a
// broken connection would (0: none fails). It counts every statement,
// transaction control included.
class Guasto {
  public:
    explicit Guasto(Database& db);
    ~Guasto();
    Guasto(const Guasto&) = delete;
    Guasto& operator=(const Guasto&) = delete;

    void al(int n);
    // Statements sent since the last al().
    int inviate() const { return inviate_; }
    bool scattato() const { return scattato_; }

  private:
    Database& db_;
    int n_ = 0;
    int inviate_ = 0;
    bool scattato_ = false;
};

// Every row of every table, in key order. Timestamps of the last write
// (`iddata`, `aggiornato`) are left out: they tell when, not what.
QStringList DumpDatabase(Database& db);

// What a window holds: every control's value, caption, colour and state, and
// the rows and cursor of every grid's record set.
QStringList DumpFinestra(const ModelloFinestra& finestra);

// The first line where two dumps differ, both sides shown; empty when equal.
std::string Differenza(const QStringList& prima, const QStringList& dopo);

}  // namespace incassi::test
