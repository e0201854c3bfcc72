#pragma once

// What a database file on disk is, found without writing to it: the header
// bytes are read first and the file is opened read-only only when they say
// SQLite, so a file of another kind or another program is never touched.

#include <QString>
#include <memory>

namespace incassi {
class Database;
}

namespace incassi::schema {

enum class StatoFile {
    CartellaMancante,  // the folder of the file does not exist
    FileMancante,      // the folder exists, the file does not
    Cartella,          // the path names a folder
    FileVuoto,         // a file of 0 bytes
    NonDatabase,       // a file that is not an SQLite database
    DatabaseVuoto,     // an SQLite database without tables
    DatabaseIncassi,   // a database with our schema
    DatabaseEstraneo,  // a database with the tables of another program
    Illeggibile,       // the file cannot be read
};

struct EsameFile {
    StatoFile stato = StatoFile::Illeggibile;
    int versione = 0;   // schema version, for DatabaseIncassi
    QString messaggio;  // Italian explanation, for the states that refuse work
};

EsameFile EsaminaFile(const QString& percorso);
// The same for a database already open (a server's): by its tables.
EsameFile EsaminaAperto(Database& db);
// A file, or a server address: then the connection opened to examine it is
// left in `server` for the work that follows.
EsameFile Esamina(const QString& dove, std::shared_ptr<Database>& server, bool soloLettura);
// Drops every table of an open database, in one transaction.
void SvuotaDatabase(Database& db);

}  // namespace incassi::schema
