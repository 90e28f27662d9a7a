// SPDX-License-Identifier: GPL-3.0-or-later
// The model behind `LstMusicListAll`: eight columns read from the window's my_computer_list when the view asks for
// a cell. It holds no entries; its row count is the view's item count, set when a fill ends.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/Main_form/listing_model.h"
#include "library/main_settings.h"

namespace karvo {

class my_computer_list;

class folder_listing_model : public listing_model {
public:
    folder_listing_model(const my_computer_list& list, QObject* parent = nullptr);

    // The image list (the resource plug-in's extension icons) and the image index of a path.
    void set_images(std::vector<QIcon> icons, std::function<int(const std::string& path)> image_of);

    // A fill rewrites the list between these two; the view then shows `count` rows.
    void begin_fill();
    void end_fill(int count);

private:
    std::string_view cell_text(int column, int row) const override;
    int row_image(int row) const override;
    QString caption(int section) const override;
    int list_rows() const override;

    const my_computer_list& list_;
    bool filling_ = false;
    std::function<int(const std::string&)> image_of_;
};

} // namespace karvo
