#include "SingleInstance.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
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

bool SingleInstance::HandOver(const QStringList& names) {
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(kTimeoutMs)) {
        return false;
    }
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << names;
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
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Receive(socket); });
    });
    return true;
}

void SingleInstance::Receive(QLocalSocket* socket) {
    // The names may arrive in pieces; they are taken once they are all there.
    QDataStream in(socket);
    in.startTransaction();
    QStringList names;
    in >> names;
    if (!in.commitTransaction()) {
        return;
    }
    socket->write("ok");
    socket->flush();
    // Opening may show a message, whose own event loop would deliver the socket's disconnection
    // and delete it while its signal is still being handled here; so the names open only after
    // the socket's work is done.
    QMetaObject::invokeMethod(
        this,
        [this, names] {
            for (const QString& name : names) {
                m_open(name);
            }
        },
        Qt::QueuedConnection);
}
