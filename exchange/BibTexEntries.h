#pragma once

#include <QByteArray>

class InputFile;

// Cuts a BibTeX file into its entries, each from its "@" to the brace or parenthesis that closes
// it, so that each can be parsed on its own and every error knows its line. Text between entries
// is comment, as BibTeX has it; so is a line that starts with "%".
class BibTexEntries {
public:
    explicit BibTexEntries(InputFile& file) : m_file(file) {}

    // Whether the start of a file is BibTeX: after blank lines and "%" comments, an entry such
    // as "@article{".
    static bool StartsBibTexFile(QByteArrayView start);

    // The next entry and the line it starts on; false at the end. Throws ExchangeError for an
    // entry that the file ends in.
    bool Next(QByteArray& entry, qint64& line);

private:
    enum class State { Between, Comment, Type, BeforeBody, Body };

    // Takes one character; true when it closed an entry.
    bool Take(char c);

    InputFile& m_file;
    QByteArray m_block;
    qsizetype m_nPos = 0;
    bool m_bEnded = false;
    qint64 m_nLine = 1;
    State m_state = State::Between;
    QByteArray m_entry;
    qint64 m_nEntryLine = 0;
    char m_cCloser = '}';
    int m_nDepth = 0;
    bool m_bQuoted = false;
};
