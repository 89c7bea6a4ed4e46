// SPDX-License-Identifier: GPL-2.0-or-later
// CImageSavedListener: how the photo editor tells the album builder that it saved a photo.
// The album builder listens on a local socket named from its own id and passes that id to
// the editor after "\w"; after each save the editor connects and writes the message number
// (WM_IMAGE_SAVED) as four little-endian bytes, waiting until they are written.
#pragma once

#include <cstdint>
#include <memory>

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

class CImageSavedListener : public QObject
{
    Q_OBJECT
public:
    static constexpr uint32_t WM_IMAGE_SAVED = 33101;

    explicit CImageSavedListener(QObject* parent = nullptr);
    ~CImageSavedListener() override;

    // Starts listening under id (the process id when none is given); false when the socket
    // cannot be opened, and the editor's saves then go unnoticed.
    bool Listen(const QString& id = QString());
    // The id passed to the editor after "\w"; empty while not listening.
    QString Id() const { return m_id; }

    // The socket name belonging to id.
    static QString ServerName(const QString& id);
    // The editor's side: sends message to the album builder listening under id and waits
    // until it is written. False when nobody listens.
    static bool Send(const QString& id, uint32_t message, int timeoutMs = 3000);

Q_SIGNALS:
    // A photo was saved by the editor: the preview should be read again.
    void ImageSaved();

private:
    void onConnection();
    void onReadable(QLocalSocket* socket);

    std::unique_ptr<QLocalServer> m_server;
    QString m_id;
};
