#pragma once

#include <QHash>
#include <QString>
#include <vector>

namespace incassi {

// Column types of the suite's database, independent of the engine.
enum class FieldType {
    Integer,   // whole numbers and counter keys
    Double,    // amounts (euro) and other real numbers
    Text,      // text with a maximum length
    Memo,      // long text without a declared length
    Date,      // a day without time
    DateTime,  // a timestamp (iddata)
    Flag,      // Boolean stored as 0 / -1
    Blob,
    Unknown,
};

struct ColumnInfo {
    QString name;
    FieldType type = FieldType::Unknown;
    int maxLength = 0;  // for Text; 0 when not limited
    bool primaryKey = false;
};

// A field of a record set.
struct FieldInfo {
    QString name;
    FieldType type = FieldType::Unknown;
    int maxLength = 0;
    bool writable = false;  // a column of the record set's table
};

// What a record set makes of a statement's result columns: its fields, their
// index by lower-case name and the position of the key (-1: none, read only).
struct FieldLayout {
    std::vector<FieldInfo> fields;
    QHash<QString, int> index;
    int idIndex = -1;
};

QString FieldTypeName(FieldType t);

}  // namespace incassi
