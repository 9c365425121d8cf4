#pragma once

#include <QStringList>

#include "ExchangeError.h"

// A file with several tables, none of which is plainly the one to take: the message lists them,
// and a window can offer them for the user to choose.
class TableChoiceError : public ExchangeError {
public:
    TableChoiceError(const QString& message, QStringList tables)
        : ExchangeError(message), m_tables(std::move(tables)) {}

    const QStringList& Tables() const { return m_tables; }

private:
    QStringList m_tables;
};
