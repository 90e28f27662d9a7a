// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_platform/instance_server.h"

#include <QLocalSocket>
#include <QTimer>

#include <memory>

#include "library/open_files.h"

namespace karvo {

namespace {
// A second start that connects and then says nothing is not waited for longer than this.
constexpr int silent_sender_ms = 5000;
} // namespace

instance_server::instance_server(files_handler on_files, QObject* parent)
    : QObject(parent), on_files_(std::move(on_files)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &instance_server::take_connection);
}

bool instance_server::listen(const std::string& socket_path) {
    if (socket_path.empty())
        return false;
    const QString path = QString::fromStdString(socket_path);
    if (server_.listen(path))
        return true;
    // Called only after a hand-over found nobody listening: the file is left over from an instance that died.
    QLocalServer::removeServer(path);
    return server_.listen(path);
}

void instance_server::take_connection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        auto reader = std::make_shared<hand_over_reader>();
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(silent_sender_ms, socket, [socket] { socket->abort(); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, reader] {
            const QByteArray bytes = socket->readAll();
            if (reader->feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))))
                return;
            if (!reader->complete()) {
                socket->abort();
                return;
            }
            socket->write(QByteArray(hand_over_answer.data(), static_cast<int>(hand_over_answer.size())) + '\n');
            socket->flush();
            socket->disconnectFromServer();
            if (on_files_)
                on_files_(reader->paths());
        });
    }
}

} // namespace karvo
