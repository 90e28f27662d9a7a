// SPDX-License-Identifier: GPL-3.0-or-later
// The tags area: "Edit ID3 Tag" opens the tag editor on the focused row, each written tag is read back into the
// playlist rows of that file, and "Show File Info" shows the resource plug-in's own information window.
#pragma once

#include <QObject>
#include <QPointer>
#include <string>

#include "app/Main_form/areas.h"

namespace karvo {

class command_registry;
class TID3Form;
struct main_context;

class tags_controller : public QObject {
    Q_OBJECT
public:
    tags_controller(main_context& context, command_registry& commands, const areas& others, QObject* parent);

    TID3Form* tag_editor() const; // while it is open, else null

private:
    void open_tag_editor();
    void show_file_info();
    // The rows of this file read again through the resource plug-in, so the columns show what was written.
    void refresh_rows_of(const std::string& path);

    main_context& context_;
    const areas& others_;
    QPointer<TID3Form> frmID3;
};

} // namespace karvo
