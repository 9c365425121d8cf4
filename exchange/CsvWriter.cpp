#include "CsvWriter.h"

#include <cstring>

CsvWriter::CsvWriter(QIODevice& device) : RecordWriter(device) {
    Put(QByteArrayView("\xEF\xBB\xBF"));
    Write({QStringLiteral("Zeitschriftennummer"), QStringLiteral("Zeitschriftenname"),
           QStringLiteral("Artikelname"), QStringLiteral("Seite")});
}

void CsvWriter::Write(const ArticleFields& record) {
    for (std::size_t i = 0; i < record.size(); ++i) {
        PutField(QByteArrayView(record[i].toUtf8()));
        EndField(i, record.size());
    }
}

void CsvWriter::WriteUtf8(const ArticleBytes& record) {
    for (std::size_t i = 0; i < record.size(); ++i) {
        const QByteArrayView bytes(record[i].data(), static_cast<qsizetype>(record[i].size()));
        // Decoding drops a byte-order mark at the start, as it always has.
        if (bytes.isValidUtf8() && !bytes.startsWith("\xEF\xBB\xBF")) {
            PutField(bytes);
        } else {
            PutField(QByteArrayView(QString::fromUtf8(bytes).toUtf8()));
        }
        EndField(i, record.size());
    }
}

void CsvWriter::PutField(QByteArrayView utf8) {
    // Quoted, each quote doubled: at most twice the text and the two enclosing quotes.
    char* const start = Room(2 * utf8.size() + 2);
    char* out = start;
    *out++ = '"';
    const char* from = utf8.data();
    const char* const end = from + utf8.size();
    while (from < end) {
        const auto* quote = static_cast<const char*>(std::memchr(from, '"', end - from));
        const char* const upTo = quote ? quote + 1 : end;
        std::memcpy(out, from, static_cast<std::size_t>(upTo - from));
        out += upTo - from;
        if (quote) {
            *out++ = '"';
        }
        from = upTo;
    }
    *out++ = '"';
    Used(out - start);
}

void CsvWriter::EndField(std::size_t index, std::size_t count) {
    Put(QByteArrayView(index + 1 < count ? ";" : "\r\n"));
}
