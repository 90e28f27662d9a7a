// SPDX-License-Identifier: GPL-3.0-or-later
// The session bus through QtDBus. Every call waits at most call_timeout_ms; without a bus connection no player
// is listed and every call fails at once.
#pragma once

#include "platform/media_bus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QHash>
#include <QObject>

namespace karvo {

class qt_media_bus final : public QObject, public platform::media_bus {
    Q_OBJECT
public:
    static constexpr int call_timeout_ms = 1000;

    // The user's session bus, or another connection (a private bus in tests).
    explicit qt_media_bus(QDBusConnection connection = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    std::vector<std::string> player_names() override;
    std::optional<platform::media_player_state> state(const std::string& bus_name, platform::bus_reply* reply) override;
    std::optional<std::vector<std::string>> track_ids(const std::string& bus_name, platform::bus_reply* reply) override;
    platform::bus_reply command(const std::string& bus_name, platform::media_command command) override;
    platform::bus_reply open_uri(const std::string& bus_name, const std::string& uri) override;
    platform::bus_reply add_track(const std::string& bus_name, const std::string& uri, const std::string& after_track,
                                  bool set_as_current) override;
    platform::bus_reply remove_track(const std::string& bus_name, const std::string& track) override;
    void watch(name_handler names, change_handler changes) override;

private slots:
    void name_owner_changed(const QString& name, const QString& old_owner, const QString& new_owner);
    void properties_changed(const QDBusMessage& message);

private:
    QDBusMessage call(const QDBusMessage& message, platform::bus_reply* reply);
    platform::bus_reply player_call(const std::string& bus_name, const QString& interface, const QString& method,
                                    const QList<QVariant>& arguments);

    QDBusConnection connection_;
    bool watching_ = false;
    QHash<QString, QString> owners_; // unique name -> media player name, for PropertiesChanged senders
    name_handler names_;
    change_handler changes_;
};

} // namespace karvo
