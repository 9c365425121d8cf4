#pragma once

#include <QString>
#include <QStringList>

// Asks which of the tables of an old catalogue holds the articles, when the file's names do not
// tell. The first table is offered; Enter takes the one marked. Empty when the user cancels.
QString AskTableChoice(const QString& file, const QStringList& tables);
