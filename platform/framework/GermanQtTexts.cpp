#include "GermanQtTexts.h"

#include <QLibraryInfo>
#include <QLocale>
#include <cstring>

namespace {

struct OwnText {
    const char* context;
    const char* source;
    const char* german;
};

// Where Qt's German says otherwise than the program's own texts, by Qt's English source text.
constexpr OwnText kOwnTexts[] = {
    {"QIODevice", "No space left on device", "Der Datenträger ist voll"},
    {"QAbstractFileIconProvider", "Folder", "Ordner"},
    {"QFileDialog", "%1\nDirectory not found.\nPlease verify the correct directory name was given.",
     "%1\nDer Ordner wurde nicht gefunden.\nBitte prüfen Sie den Namen des Ordners."},
    {"QFileDialog", "&New Folder", "&Neuer Ordner"},
    {"QFileDialog", "New Folder", "Neuer Ordner"},
    {"QFileDialog", "Could not delete directory.", "Der Ordner konnte nicht gelöscht werden."},
    {"QFileDialog", "Directories", "Ordner"},
    {"QFileDialog", "Directory:", "Ordner:"},
    {"QFileDialog", "Find Directory", "Ordner suchen"},
    {"QFileDialog", "Go to the parent directory", "Zum übergeordneten Ordner"},
    {"QFileDialog", "Parent Directory", "Übergeordneter Ordner"},
    {"QIODevice", "No such file or directory", "Die Datei oder der Ordner existiert nicht"},
    {"QIODevice", "file to open is a directory", "die zu öffnende Datei ist ein Ordner"},
    {"QPrintDialog", "%1 is a directory.\nPlease choose a different file name.",
     "%1 ist ein Ordner.\nBitte wählen Sie einen anderen Dateinamen."},
    {"QSaveFile", "Filename refers to a directory", "Der Dateiname bezeichnet einen Ordner"},
    {"QStandardPaths", "Home", "Persönlicher Ordner"},
    {"QStandardPaths", "Temporary Directory", "Temporärer Ordner"},
    {"QStandardPaths", "Temporary Items", "Temporärer Ordner"},
};

}  // namespace

GermanQtTexts::GermanQtTexts(QObject* parent)
    : QTranslator(parent), m_pQt(std::make_unique<QTranslator>()) {}

GermanQtTexts::~GermanQtTexts() = default;

bool GermanQtTexts::Load() {
    return m_pQt->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

QString GermanQtTexts::translate(const char* context, const char* sourceText,
                                 const char* disambiguation, int n) const {
    if (context && sourceText) {
        for (const OwnText& own : kOwnTexts) {
            if (std::strcmp(own.context, context) == 0 &&
                std::strcmp(own.source, sourceText) == 0) {
                return QString::fromUtf8(own.german);
            }
        }
    }
    return m_pQt->translate(context, sourceText, disambiguation, n);
}

bool GermanQtTexts::isEmpty() const {
    return m_pQt->isEmpty();
}
