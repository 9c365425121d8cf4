#include "BibTexEntries.h"

#include <QRegularExpression>
#include <algorithm>

#include "ExchangeError.h"
#include "InputFile.h"

namespace {

// No entry is this long; reading on would only fill the memory.
constexpr qsizetype kMaxEntryBytes = qsizetype{64} << 20;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsTypeCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == ':' || c == '.';
}

}  // namespace

bool BibTexEntries::StartsBibTexFile(QByteArrayView start) {
    static const QRegularExpression entry(
        QStringLiteral("^(?:\\s|%[^\\n]*\\n)*@[A-Za-z]+\\s*[{(]"));
    return entry.match(QString::fromLatin1(start.first(std::min<qsizetype>(start.size(), 4096))))
        .hasMatch();
}

bool BibTexEntries::Next(QByteArray& entry, qint64& line) {
    while (true) {
        if (m_nPos >= m_block.size()) {
            if (m_bEnded || !m_file.Read(m_block)) {
                m_bEnded = true;
                if (m_state == State::Body) {
                    throw ExchangeError(QStringLiteral("Zeile %1: Der Eintrag, der hier beginnt, "
                                                       "wird bis zum Ende der Datei nicht "
                                                       "geschlossen; eine Klammer fehlt.")
                                            .arg(m_nEntryLine));
                }
                return false;
            }
            m_nPos = 0;
        }
        const char c = m_block[m_nPos++];
        const bool closed = Take(c);
        m_nLine += c == '\n' ? 1 : 0;
        if (closed) {
            entry = std::move(m_entry);
            line = m_nEntryLine;
            m_entry.clear();
            return true;
        }
        if (m_entry.size() > kMaxEntryBytes) {
            throw ExchangeError(QStringLiteral("Zeile %1: Der Eintrag, der hier beginnt, ist "
                                               "länger als 64 MB; vermutlich fehlt eine Klammer.")
                                    .arg(m_nEntryLine));
        }
    }
}

bool BibTexEntries::Take(char c) {
    switch (m_state) {
        case State::Between:
            if (c == '@') {
                m_state = State::Type;
                m_entry = "@";
                m_nEntryLine = m_nLine;
            } else if (c == '%') {
                m_state = State::Comment;
            }
            return false;
        case State::Comment:
            m_state = c == '\n' ? State::Between : State::Comment;
            return false;
        case State::Type:
        case State::BeforeBody:
            if (c == '{' || c == '(') {
                m_entry += c;
                m_state = State::Body;
                m_cCloser = c == '{' ? '}' : ')';
                m_nDepth = 0;
                m_bQuoted = false;
            } else if (IsSpace(c) || (m_state == State::Type && IsTypeCharacter(c))) {
                m_entry += c;
                m_state = IsSpace(c) && m_entry.size() > 1 ? State::BeforeBody : m_state;
            } else {
                // An "@" in the text between entries, as in an e-mail address.
                m_entry.clear();
                m_state = State::Between;
                return c == '@' ? Take(c) : false;
            }
            return false;
        case State::Body:
            m_entry += c;
            if (c == '{') {
                ++m_nDepth;
            } else if (c == '}' && m_nDepth > 0) {
                --m_nDepth;
            } else if (c == '"' && m_nDepth == 0 && m_cCloser == ')') {
                m_bQuoted = !m_bQuoted;
            } else if (c == m_cCloser && m_nDepth == 0 && !m_bQuoted) {
                m_state = State::Between;
                return true;
            }
            return false;
    }
    return false;
}
