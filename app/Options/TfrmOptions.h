// SPDX-License-Identifier: GPL-3.0-or-later
// The preferences dialog: a page tree and one page per group of settings. It lives for the whole run, loads every
// control from karvo.ini each time it is shown and writes them all on OK or Apply; the keys, defaults and checks
// are library/options_settings.h, the dialog only moves values in and out of its controls. What it shows of the
// main window and the plug-ins is handed over at each show; what it tells the main window goes out as signals.
#pragma once

#include <QDialog>
#include <QIcon>
#include <string>
#include <vector>

#include "library/options_settings.h"
#include "platform/desktop_shortcut.h"
#include "plugins/language_plugin.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace karvo {

namespace platform {
class profile_document;
class prompts;
} // namespace platform

// Set once: where the program and the user's folders are, and who asks the user.
struct options_environment {
    std::string program_folder; // holds plugins/language.dll, with a trailing '/'
    std::string program_path;   // what the shortcuts start
    std::string icon;           // the shortcuts' icon: a theme name or an absolute file
    platform::prompts* prompts = nullptr;
    platform::user_folders folders;
};

// What the dialog shows of the main window and the plug-ins, handed over before each show.
struct options_sources {
    std::vector<std::string> player_names, player_locations, program_names; // parallel, by player index
    std::vector<std::string> extensions, extension_descriptions;            // the resource plug-in's
    std::vector<QIcon> extension_icons;
    std::vector<std::string> saved_playlists;
    std::string resource_name, resource_author, resource_version;
    std::vector<std::string> resource_info;
    std::vector<std::string> export_plugins; // names of the export plug-ins, in menu order
};

class TfrmOptions : public QDialog {
    Q_OBJECT
public:
    explicit TfrmOptions(QWidget* parent = nullptr);

    // The dialog's own language call, and the prompts; once, before the first show.
    void set_up(options_environment environment);
    // The settings document of the main window; every read and write of karvo.ini goes through it.
    void set_settings(platform::profile_document* ini) { ini_ = ini; }

    // Show: the saved playlists, the first player, every control from the file, the tray preview, the enabling.
    void show_options(const options_sources& sources);

    // The controls' values, and the controls set from values (the tests and the handlers use both).
    options_values values() const;
    void load_values(const options_values& values);
    const options_language& texts() const { return texts_; }
    QTreeWidget* tree() const { return OptionsTree; }
    const std::vector<std::string>& player_locations() const { return sources_.player_locations; }

    // --- handlers
    void OptionsTreeChange(QTreeWidgetItem* node);
    void lstMP3PlayersClick(int player);
    void txtLocationChange(const QString& text);
    void cmdBrowseLocationClick();
    void ShapeMouseUp(const char* shape);
    void cmdRestoreDefaultsClick();
    void NumberFieldChange(QLineEdit* field, int fallback, int first, int last);
    void IconTrackBarChange(int position);
    void pair_click(QCheckBox* clicked, QCheckBox* partner);
    void chkEnableAutoPlayliserClick();
    void cmdAutoPlaylisterBrowseClick();
    void lstExtensionsSelect(bool all);
    void cmdDesktopIconClick();
    void cmdQuickLaunchIconClick();
    void cmdConfigClick();
    void cmdAboutClick();
    void cmdOKClick();
    void cmdApplyClick();
    void cmdCancelClick();

signals:
    // After OK or Apply wrote the file: the main window loads its settings again.
    void settings_written();
    // A location of an existing file was typed or browsed: stored at once, Cancel or not.
    void player_location_entered(int player, const QString& path);
    // The Export page's buttons, with the chosen plug-in's index.
    void export_configure_requested(int plugin);
    void export_about_requested(int plugin);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override; // Escape is Cancel

private:
    // The pages, in tree order (options_pages.cpp).
    void build_pages();
    QGroupBox* page(const char* name, const char* caption);
    void build_media_players(QGroupBox* page);
    void build_user_interface(QGroupBox* page);
    void build_preferences(QGroupBox* page);
    void build_advanced_one(QGroupBox* page);
    void build_advanced_two(QGroupBox* page);
    void build_auto_playlister(QGroupBox* page);
    void build_resource_plugin(QGroupBox* page);
    void build_export_plugins(QGroupBox* page);
    void build_tree();

    void apply_language();
    void fill_tree_texts();
    void fill_file_types();
    void fill_resource_page();
    void apply_auto_playlister_enabling();
    bool write_settings();
    template <typename T>
    T* control(const char* name) const;

    options_environment environment_;
    options_language texts_;
    language_plugin language_;
    platform::profile_document* ini_ = nullptr;
    options_sources sources_;
    int chosen_player_ = -1;

    QTreeWidget* OptionsTree = nullptr;
    std::vector<QGroupBox*> pages_; // tree order
    QListWidget* lstMP3Players = nullptr;
    QLabel* lblSpecify = nullptr;
    QLineEdit* txtLocation = nullptr;
    QPushButton* cmdBrowseLocation = nullptr;
    QListWidget* lstExtensions = nullptr;
    QLabel* systray_icon = nullptr;
    QListWidget* lstExportPlugins = nullptr;
};

} // namespace karvo
