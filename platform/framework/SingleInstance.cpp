#include "SingleInstance.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

constexpr int kTimeoutMs = 2000;

}  // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

QString SingleInstance::ServerName() {
    // Per user and per settings folder, so that separate setups (and tests) never meet.
    const QByteArray place =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toUtf8();
    const QByteArray hash =
        QCryptographicHash::hash(place, QCryptographicHash::Sha1).toHex().left(12);
    return QCoreApplication::applicationName().toLower() + QLatin1Char('-') +
           QString::number(getuid()) + QLatin1Char('-') + QString::fromLatin1(hash);
}

bool SingleInstance::HandOver(const QStringList& files) {
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(kTimeoutMs)) {
        return false;
    }
    QStringList absolute;
    for (const QString& file : files) {
        absolute << QFileInfo(file).absoluteFilePath();
    }
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << absolute;
    socket.write(message);
    if (!socket.waitForBytesWritten(kTimeoutMs)) {
        return false;
    }
    // The running copy answers once it has the files; without an answer this start goes on.
    return socket.waitForReadyRead(kTimeoutMs) && socket.readAll() == "ok";
}

bool SingleInstance::Listen(std::function<void(const QString&)> open) {
    m_open = std::move(open);
    m_pServer = new QLocalServer(this);
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_pServer->listen(ServerName())) {
        // A socket left by a copy that crashed: nobody answers on it, so it may go.
        QLocalServer::removeServer(ServerName());
        if (!m_pServer->listen(ServerName())) {
            return false;
        }
    }
    connect(m_pServer, &QLocalServer::newConnection, this, [this] {
        QLocalSocket* socket = m_pServer->nextPendingConnection();
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream in(socket->readAll());
            QStringList files;
            in >> files;
            socket->write("ok");
            socket->flush();
            for (const QString& file : files) {
                m_open(file);
            }
        });
    });
    return true;
}
