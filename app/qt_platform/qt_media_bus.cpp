// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_platform/qt_media_bus.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QStringList>
#include <QVariantMap>

#include <algorithm>

namespace karvo {
namespace {

const QString bus_service = QStringLiteral("org.freedesktop.DBus");
const QString bus_path = QStringLiteral("/org/freedesktop/DBus");
const QString player_path = QStringLiteral("/org/mpris/MediaPlayer2");
const QString properties_interface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString root_interface = QStringLiteral("org.mpris.MediaPlayer2");
const QString player_interface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString track_list_interface = QStringLiteral("org.mpris.MediaPlayer2.TrackList");
const QString no_track = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// Containers inside a variant arrive still marshalled.
QVariantMap as_map(const QVariant& value) {
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value.toMap();
}

QStringList as_strings(const QVariant& value) {
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QStringList>(value.value<QDBusArgument>());
    if (value.metaType() == QMetaType::fromType<QString>())
        return {value.toString()};
    return value.toStringList();
}

QString as_path(const QVariant& value) {
    if (value.canConvert<QDBusObjectPath>() && value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

platform::media_track track_of(const QVariantMap& metadata) {
    platform::media_track track;
    track.track_id = as_path(metadata.value(QStringLiteral("mpris:trackid"))).toStdString();
    track.url = metadata.value(QStringLiteral("xesam:url")).toString().toStdString();
    track.title = metadata.value(QStringLiteral("xesam:title")).toString().toStdString();
    track.artist = as_strings(metadata.value(QStringLiteral("xesam:artist"))).join(QStringLiteral(", ")).toStdString();
    track.album = metadata.value(QStringLiteral("xesam:album")).toString().toStdString();
    return track;
}

QDBusMessage get_all(const std::string& bus_name, const QString& interface) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(text(bus_name), player_path, properties_interface, QStringLiteral("GetAll"));
    message << interface;
    return message;
}

const char* method_of(platform::media_command command) {
    switch (command) {
        case platform::media_command::play: return "Play";
        case platform::media_command::pause: return "Pause";
        case platform::media_command::play_pause: return "PlayPause";
        case platform::media_command::stop: return "Stop";
        case platform::media_command::next: return "Next";
        case platform::media_command::previous: return "Previous";
    }
    return "Stop";
}

} // namespace

qt_media_bus::qt_media_bus(QDBusConnection connection, QObject* parent)
    : QObject(parent), connection_(std::move(connection)) {}

QDBusMessage qt_media_bus::call(const QDBusMessage& message, platform::bus_reply* reply) {
    platform::bus_reply result = platform::bus_reply::failed;
    QDBusMessage answer;
    if (connection_.isConnected()) {
        answer = connection_.call(message, QDBus::Block, call_timeout_ms);
        if (answer.type() == QDBusMessage::ReplyMessage) {
            result = platform::bus_reply::ok;
        } else if (answer.errorName() == QStringLiteral("org.freedesktop.DBus.Error.NoReply") ||
                   answer.errorName() == QStringLiteral("org.freedesktop.DBus.Error.Timeout") ||
                   answer.errorName() == QStringLiteral("org.freedesktop.DBus.Error.TimedOut")) {
            result = platform::bus_reply::no_reply;
        }
    }
    if (reply != nullptr)
        *reply = result;
    return answer;
}

std::vector<std::string> qt_media_bus::player_names() {
    platform::bus_reply reply;
    const QDBusMessage answer =
        call(QDBusMessage::createMethodCall(bus_service, bus_path, bus_service, QStringLiteral("ListNames")), &reply);
    std::vector<std::string> names;
    if (reply != platform::bus_reply::ok || answer.arguments().isEmpty())
        return names;
    for (const QString& name : answer.arguments().first().toStringList())
        if (name.startsWith(QLatin1String(platform::media_player_name_prefix)))
            names.push_back(name.toStdString());
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<platform::media_player_state> qt_media_bus::state(const std::string& bus_name,
                                                                platform::bus_reply* reply) {
    platform::bus_reply result;
    const QDBusMessage root = call(get_all(bus_name, root_interface), &result);
    QDBusMessage player;
    if (result == platform::bus_reply::ok)
        player = call(get_all(bus_name, player_interface), &result);
    if (reply != nullptr)
        *reply = result;
    if (result != platform::bus_reply::ok || root.arguments().isEmpty() || player.arguments().isEmpty())
        return std::nullopt;
    const QVariantMap about = as_map(root.arguments().first());
    const QVariantMap playing = as_map(player.arguments().first());
    platform::media_player_state state;
    state.identity = about.value(QStringLiteral("Identity")).toString().toStdString();
    state.desktop_entry = about.value(QStringLiteral("DesktopEntry")).toString().toStdString();
    state.has_track_list = about.value(QStringLiteral("HasTrackList")).toBool();
    state.playback_status = playing.value(QStringLiteral("PlaybackStatus")).toString().toStdString();
    state.can_control = playing.value(QStringLiteral("CanControl")).toBool();
    state.can_play = playing.value(QStringLiteral("CanPlay")).toBool();
    state.can_pause = playing.value(QStringLiteral("CanPause")).toBool();
    state.can_go_next = playing.value(QStringLiteral("CanGoNext")).toBool();
    state.can_go_previous = playing.value(QStringLiteral("CanGoPrevious")).toBool();
    state.track = track_of(as_map(playing.value(QStringLiteral("Metadata"))));
    return state;
}

std::optional<std::vector<std::string>> qt_media_bus::track_ids(const std::string& bus_name,
                                                                platform::bus_reply* reply) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(text(bus_name), player_path, properties_interface, QStringLiteral("Get"));
    message << track_list_interface << QStringLiteral("Tracks");
    platform::bus_reply result;
    const QDBusMessage answer = call(message, &result);
    if (reply != nullptr)
        *reply = result;
    if (result != platform::bus_reply::ok || answer.arguments().isEmpty())
        return std::nullopt;
    QVariant value = answer.arguments().first();
    if (value.canConvert<QDBusVariant>() && value.metaType() == QMetaType::fromType<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    std::vector<std::string> ids;
    if (value.canConvert<QDBusArgument>()) {
        const QDBusArgument argument = value.value<QDBusArgument>();
        argument.beginArray();
        while (!argument.atEnd()) {
            QDBusObjectPath path;
            argument >> path;
            ids.push_back(path.path().toStdString());
        }
        argument.endArray();
    }
    return ids;
}

platform::bus_reply qt_media_bus::player_call(const std::string& bus_name, const QString& interface,
                                              const QString& method, const QList<QVariant>& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(text(bus_name), player_path, interface, method);
    message.setArguments(arguments);
    platform::bus_reply reply;
    call(message, &reply);
    return reply;
}

platform::bus_reply qt_media_bus::command(const std::string& bus_name, platform::media_command command) {
    return player_call(bus_name, player_interface, QString::fromLatin1(method_of(command)), {});
}

platform::bus_reply qt_media_bus::open_uri(const std::string& bus_name, const std::string& uri) {
    return player_call(bus_name, player_interface, QStringLiteral("OpenUri"), {text(uri)});
}

platform::bus_reply qt_media_bus::add_track(const std::string& bus_name, const std::string& uri,
                                            const std::string& after_track, bool set_as_current) {
    const QDBusObjectPath after(after_track.empty() ? no_track : text(after_track));
    return player_call(bus_name, track_list_interface, QStringLiteral("AddTrack"),
                       {text(uri), QVariant::fromValue(after), set_as_current});
}

platform::bus_reply qt_media_bus::remove_track(const std::string& bus_name, const std::string& track) {
    return player_call(bus_name, track_list_interface, QStringLiteral("RemoveTrack"),
                       {QVariant::fromValue(QDBusObjectPath(text(track)))});
}

void qt_media_bus::watch(name_handler names, change_handler changes) {
    names_ = std::move(names);
    changes_ = std::move(changes);
    if (watching_ || !connection_.isConnected() || (!names_ && !changes_))
        return;
    watching_ = true;
    connection_.connect(bus_service, bus_path, bus_service, QStringLiteral("NameOwnerChanged"), this,
                        SLOT(name_owner_changed(QString, QString, QString)));
    connection_.connect(QString(), player_path, properties_interface, QStringLiteral("PropertiesChanged"), this,
                        SLOT(properties_changed(QDBusMessage)));
    // Changes come from the owner's unique name; the players already there are looked up once.
    for (const std::string& name : player_names()) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(bus_service, bus_path, bus_service, QStringLiteral("GetNameOwner"));
        message << text(name);
        platform::bus_reply reply;
        const QDBusMessage answer = call(message, &reply);
        if (reply == platform::bus_reply::ok && !answer.arguments().isEmpty())
            owners_.insert(answer.arguments().first().toString(), text(name));
    }
}

void qt_media_bus::name_owner_changed(const QString& name, const QString& old_owner, const QString& new_owner) {
    if (!name.startsWith(QLatin1String(platform::media_player_name_prefix)))
        return;
    if (!old_owner.isEmpty())
        owners_.remove(old_owner);
    if (!new_owner.isEmpty())
        owners_.insert(new_owner, name);
    if (names_)
        names_(name.toStdString(), !new_owner.isEmpty());
}

void qt_media_bus::properties_changed(const QDBusMessage& message) {
    const auto found = owners_.constFind(message.service());
    if (found != owners_.constEnd() && changes_)
        changes_(found.value().toStdString());
}

} // namespace karvo
