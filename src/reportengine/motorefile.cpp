#include "reportengine/motorefile.h"

#include "reportengine/impaginazione.h"

namespace incassi::stampa {

void MotoreFile::Anteprima(const Contenuto& c) {
    pagine_ = int(Impagina(c).pagine.size());
}

void MotoreFile::Esporta(const Contenuto& c, FormatoExport f, const QString& file) {
    switch (f) {
        case FormatoExport::Excel:
            ScriviXlsx(c, file);
            break;
        case FormatoExport::Word:
            ScriviDocx(c, file);
            break;
        case FormatoExport::Pdf:
            ScriviPdf(Impagina(c), file, c.titolo);
            break;
    }
}

}  // namespace incassi::stampa
