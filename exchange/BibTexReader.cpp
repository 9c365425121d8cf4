#include "BibTexReader.h"

#include <btparse.h>

#include <QRegularExpression>
#include <array>
#include <memory>

#include "ExchangeError.h"
#include "TexText.h"

namespace {

bool g_bReading = false;

std::vector<TaggedColumns::Chain> Chains() {
    return {
        {ColumnTarget::Article, {"title"}},
        {ColumnTarget::Magazine, {"journal", "journaltitle", "booktitle"}},
        {ColumnTarget::Issue, {"number", "issue"}},
        {ColumnTarget::Year, {"year", "date"}},
        {ColumnTarget::Page, {"pages"}},
    };
}

// A fresh table of abbreviations: the months every BibTeX style knows, nothing of the last file.
void StartMacros() {
    static const bool initialised = [] {
        bt_initialize();
        return true;
    }();
    (void)initialised;
    bt_delete_all_macros();
    static const std::array<std::pair<const char*, const char*>, 12> months{{
        {"jan", "January"},
        {"feb", "February"},
        {"mar", "March"},
        {"apr", "April"},
        {"may", "May"},
        {"jun", "June"},
        {"jul", "July"},
        {"aug", "August"},
        {"sep", "September"},
        {"oct", "October"},
        {"nov", "November"},
        {"dec", "December"},
    }};
    for (const auto& [name, text] : months) {
        bt_add_macro_text(const_cast<char*>(name), const_cast<char*>(text), nullptr, 0);
    }
}

// Reference managers write entries without a key ("@article{,"), which btparse refuses; the
// key is never used, so any will do.
void GiveKey(QByteArray& entry) {
    static const QRegularExpression keyless(QStringLiteral("^@[^{(]*[{(]\\s*,"));
    const QRegularExpressionMatch match =
        keyless.match(QString::fromLatin1(entry.first(std::min<qsizetype>(entry.size(), 256))));
    if (match.hasMatch()) {
        entry.insert(match.capturedEnd() - 1, "key");
    }
}

struct AstDeleter {
    void operator()(AST* ast) const { bt_free_ast(ast); }
};

}  // namespace

BibTexReader::BibTexReader(const QString& path, const ImportSettings& settings)
    : m_file(path, settings.encoding),
      m_entries(m_file),
      m_decoder(false, settings.encoding),
      m_chosenEncoding(settings.encoding),
      m_columns(Chains(), {}, settings.columns) {
    if (g_bReading) {
        throw ExchangeError(QStringLiteral("Es wird bereits eine BibTeX-Datei gelesen."));
    }
    g_bReading = true;
    StartMacros();
}

BibTexReader::~BibTexReader() {
    g_bReading = false;
}

ImportSettings BibTexReader::Settings() const {
    ImportSettings settings;
    settings.encoding = m_file.Utf16() ? m_file.Utf16() : m_decoder.Encoding();
    settings.columns = m_columns.Columns();
    return settings;
}

QStringList BibTexReader::UntakenColumns() const {
    return m_columns.Untaken();
}

QString BibTexReader::FirstPage(const QString& pages) {
    static const QRegularExpression range(QStringLiteral("^\\s*(\\S+?)\\s*(-+|–|—)"));
    const QRegularExpressionMatch match = range.match(pages);
    return match.hasMatch() ? match.captured(1) : pages.trimmed();
}

bool BibTexReader::Next(ImportRecord& record) {
    QByteArray text;
    qint64 line = 0;
    while (m_entries.Next(text, line)) {
        if (!m_bStarted) {
            m_bStarted = true;
            m_decoder = TextDecoder(m_file.HadByteOrderMark(), m_chosenEncoding);
        }
        GiveKey(text);
        boolean ok = FALSE;
        const std::unique_ptr<AST, AstDeleter> entry(
            bt_parse_entry_s(text.data(), nullptr, static_cast<int>(line), 0, &ok));
        if (!entry || !ok) {
            throw ExchangeError(
                QStringLiteral("Zeile %1: Der BibTeX-Eintrag, der hier beginnt, ist fehlerhaft.")
                    .arg(line));
        }
        if (bt_entry_metatype(entry.get()) != BTE_REGULAR) {
            continue;
        }
        char* name = nullptr;
        for (AST* field = bt_next_field(entry.get(), nullptr, &name); field;
             field = bt_next_field(entry.get(), field, &name)) {
            QByteArray raw;
            char* part = nullptr;
            for (AST* value = bt_next_value(field, nullptr, nullptr, &part); value;
                 value = bt_next_value(field, value, nullptr, &part)) {
                raw += part;
            }
            const QString fieldName = QString::fromLatin1(name).toLower();
            QString value = TexText::ToUnicode(m_decoder.Decode(raw.constData(), raw.size(), line));
            const TaggedColumns::Route route = m_columns.Meet(fieldName, value);
            if (route.target == ColumnTarget::Page && fieldName == QLatin1String("pages")) {
                value = FirstPage(value);
            }
            m_collector.Offer(route.target, route.rank, value);
        }
        record = ImportRecord::OfTexts(m_collector.Take());
        return true;
    }
    // btparse's own clean-up is left out on purpose: called once too often it aborts the
    // program, and all it would free is one buffer that the next file uses again.
    return false;
}
