#include "app/shell/front_request.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace vt::shell {

namespace {

constexpr int kWaitMilliseconds = 1000;
constexpr char kRequest[] = "front\n";

} // namespace

QString frontRequestSocket(const std::string &lockFile)
{
    return QString::fromStdString(lockFile) + QStringLiteral(".front");
}

bool onFrontRequest(QObject &context, const QString &socket, std::function<void()> act)
{
    auto *server = new QLocalServer(&context);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // The lock says no other copy runs: a socket left by a crashed one goes.
    QLocalServer::removeServer(socket);
    if (!server->listen(socket)) {
        delete server;
        return false;
    }
    QObject::connect(server, &QLocalServer::newConnection, &context, [server, act = std::move(act)] {
        while (QLocalSocket *client = server->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            act();
        }
    });
    return true;
}

bool askRunningCopyToFront(const QString &socket)
{
    QLocalSocket client;
    client.connectToServer(socket);
    if (!client.waitForConnected(kWaitMilliseconds))
        return false;
    client.write(kRequest);
    const bool sent = client.waitForBytesWritten(kWaitMilliseconds);
    client.disconnectFromServer();
    return sent;
}

} // namespace vt::shell
