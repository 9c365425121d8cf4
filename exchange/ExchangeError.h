#pragma once

#include <QString>
#include <stdexcept>

// A file that cannot be read or written; the message is German and ready to show.
class ExchangeError : public std::runtime_error {
public:
    explicit ExchangeError(const QString& message)
        : std::runtime_error(message.toStdString()), m_strMessage(message) {}

    const QString& Message() const { return m_strMessage; }

private:
    QString m_strMessage;
};
