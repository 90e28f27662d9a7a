// SPDX-License-Identifier: GPL-3.0-or-later
// The running instance's end of the hand-over: listens on the instance socket, reads what a second start sends,
// answers it and hands the files on.
#pragma once

#include <QLocalServer>
#include <QObject>

#include <functional>
#include <string>

#include "library/string_list.h"

namespace karvo {

class instance_server : public QObject {
    Q_OBJECT
public:
    using files_handler = std::function<void(const string_list& paths)>;

    instance_server(files_handler on_files, QObject* parent = nullptr);

    // Listens at `socket_path`, taking over a socket file nobody listens on any more. False when it cannot.
    bool listen(const std::string& socket_path);
    bool listening() const { return server_.isListening(); }

private:
    void take_connection();

    files_handler on_files_;
    QLocalServer server_;
};

} // namespace karvo
