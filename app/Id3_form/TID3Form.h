// SPDX-License-Identifier: GPL-3.0-or-later
// The tag editor: a small frameless window that edits the tag of every file of the virtual playlist, one entry
// after another (Back / Next), writing the changed fields on Save. With a resource plug-in that writes tags it edits
// each file's own tag (ID3v1's limits only where that is the tag written); without one, the ID3v1 tag of MP3 files.
// The opener creates it, shows it modally and frees it when it closes; it reports each written tag so the opener
// can read that playlist row again.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "library/id3_class.h"
#include "plugins/media_tags.h"
#include "plugins/id3_language.h"

class QComboBox;
class QIntValidator;
class QLabel;
class QLineEdit;
class QPushButton;

namespace karvo {

class cp1252_limit;
class media_list;
class picture_button;
class resource_plugin;
namespace platform {
class prompts;
}

inline constexpr const char* id3_form_caption = "Karvo Media - ID3 Tag Editor v2.0";
// Shown when the file also carries an ID3v2 tag, which players and the playlist columns prefer.
inline constexpr const char* id3v2_notice_text = "This file also has an ID3v2 tag, which players show first.";

class TID3Form : public QDialog {
    Q_OBJECT
public:
    static constexpr int form_width = 380;
    static constexpr int form_height = 226;
    static constexpr int corner = 10;

    // `playlist` is read when the window is shown; `focused_row` is the row to start at, -1 when nothing is
    // selected. Tag errors are reported through `prompts`; `language` replaces captions. `resource` (may be null)
    // reads and writes the tags when it writes tags.
    TID3Form(const media_list& playlist, int focused_row, platform::prompts& prompts, const id3_language& language,
             const resource_plugin* resource, QWidget* parent = nullptr);

    // The entry being edited takes ID3v1's field limits and fixed genre list.
    bool id3v1_limits() const { return id3v1_; }
    // The entry being edited, counted from 1; 0 while the list is empty.
    int current_position() const { return current_; }

    void FormShow();
    void cmdBackClick();
    void cmdNextClick();
    void cmdSaveClick();

    QWidget* back_panel;
    QWidget* ID3Toolbar;
    QLabel* lblCaption;
    picture_button* ToolbarX;
    QLabel *lblTitle, *lblArtist, *lblAlbum, *lblYear, *lblGenre, *lblComments, *lblTrack;
    QLineEdit *txtTitle, *txtArtist, *txtAlbum, *txtYear, *txtComments, *txtTrack, *txtFilename;
    QComboBox* cmbGenre;
    picture_button* imgGenreDown; // the box's arrow
    QLabel* lblID3v2;             // the one-line ID3v2 notice
    QLabel *CurrentLabel, *lblCurrent, *TotalLabel, *lblTotal;
    QPushButton *cmdBack, *cmdNext, *cmdSave, *cmdExit;

signals:
    // A tag was written to `path`, the file of playlist row `row` (counted from 0).
    void tag_saved(int row, const std::string& path);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void LoadEntry();
    void move_to(int position);
    void set_entry_controls_enabled(bool enabled);
    void clear_fields();
    void apply_language(const id3_language& language);
    void align_labels();
    void apply_limits();
    tag_texts shown_texts() const;

    const media_list& playlist_;
    int focused_row_;
    platform::prompts& prompts_;
    media_tags tags_;
    QIntValidator* track_numbers_ = nullptr;
    std::vector<std::pair<cp1252_limit*, std::size_t>> limits_; // each text field's limit and its ID3v1 width
    std::vector<std::string> entries_;
    int current_ = 0;
    bool id3v1_ = true;
    tag_texts loaded_; // as shown when the entry was loaded: Save writes only what differs
};

} // namespace karvo
