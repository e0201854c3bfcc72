#include "host/fieldtype.h"

namespace incassi {

QString FieldTypeName(FieldType t) {
    switch (t) {
        case FieldType::Integer:
            return QStringLiteral("intero");
        case FieldType::Double:
            return QStringLiteral("numero");
        case FieldType::Text:
            return QStringLiteral("testo");
        case FieldType::Memo:
            return QStringLiteral("memo");
        case FieldType::Date:
            return QStringLiteral("data");
        case FieldType::DateTime:
            return QStringLiteral("data e ora");
        case FieldType::Flag:
            return QStringLiteral("sì/no");
        case FieldType::Blob:
            return QStringLiteral("binario");
        case FieldType::Unknown:
            break;
    }
    return QStringLiteral("sconosciuto");
}

}  // namespace incassi
