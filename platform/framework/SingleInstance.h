#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QLocalServer;
class QLocalSocket;

// One running copy of the program per user and settings folder: a later start hands its files to
// the running one and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);

    // Hands the names, exactly as given, to a running copy; true when one took them.
    static bool HandOver(const QStringList& names);
    // Starts taking names from later starts; `open` runs for each name handed over.
    bool Listen(std::function<void(const QString&)> open);

private:
    static QString ServerName();
    void Receive(QLocalSocket* socket);

    QLocalServer* m_pServer = nullptr;
    std::function<void(const QString&)> m_open;
};
