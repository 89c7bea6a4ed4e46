// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/imagesavedlistener.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QtEndian>

CImageSavedListener::CImageSavedListener(QObject* parent) : QObject(parent) {}

CImageSavedListener::~CImageSavedListener() = default;

QString CImageSavedListener::ServerName(const QString& id)
{
    return QStringLiteral("gallivex-") + id;
}

bool CImageSavedListener::Listen(const QString& id)
{
    const QString own = id.isEmpty() ? QString::number(QCoreApplication::applicationPid()) : id;
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left behind by a program that ended abnormally would block the name.
    QLocalServer::removeServer(ServerName(own));
    if (!server->listen(ServerName(own)))
        return false;
    connect(server.get(), &QLocalServer::newConnection, this, [this] { onConnection(); });
    m_server = std::move(server);
    m_id = own;
    return true;
}

void CImageSavedListener::onConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadable(socket); });
        if (socket->bytesAvailable() > 0)
            onReadable(socket);
    }
}

void CImageSavedListener::onReadable(QLocalSocket* socket)
{
    while (socket->bytesAvailable() >= 4) {
        const QByteArray bytes = socket->read(4);
        if (qFromLittleEndian<uint32_t>(bytes.constData()) == WM_IMAGE_SAVED)
            Q_EMIT ImageSaved();
    }
}

bool CImageSavedListener::Send(const QString& id, uint32_t message, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(ServerName(id));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray bytes(4, '\0');
    qToLittleEndian<uint32_t>(message, bytes.data());
    const bool written = socket.write(bytes) == 4 && socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return written;
}
