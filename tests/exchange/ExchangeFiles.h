#pragma once

#include <gtest/gtest.h>

#include <ArticleFields.h>
#include <ExchangeError.h>
#include <RecordReader.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <ostream>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// A folder of its own for each test's files, and reading a file through a reader to the end.
class ExchangeFiles : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // The texts of every record; a field without a value reads as "NULL", which no test
    // file of a text format holds.
    static std::vector<ArticleFields> ReadAll(RecordReader& reader) {
        std::vector<ArticleFields> records;
        ImportRecord record;
        while (reader.Next(record)) {
            ArticleFields& texts = records.emplace_back();
            for (std::size_t i = 0; i < texts.size(); ++i) {
                texts[i] = record.fields[i].value_or(QStringLiteral("NULL"));
            }
        }
        return records;
    }

    // What a writer makes of the records.
    template <typename Writer>
    static QByteArray Written(const std::vector<ArticleFields>& records) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        Writer writer(buffer);
        for (const ArticleFields& record : records) {
            writer.Write(record);
        }
        writer.Finish();
        return buffer.data();
    }

    // The message of the ExchangeError that reading the whole file ends with; empty when none.
    template <typename Reader>
    QString ReadError(const QString& path, const ImportSettings& settings = {}) {
        try {
            Reader reader(path, settings);
            ReadAll(reader);
        } catch (const ExchangeError& e) {
            return e.Message();
        }
        return {};
    }

private:
    QTemporaryDir m_dir;
};
