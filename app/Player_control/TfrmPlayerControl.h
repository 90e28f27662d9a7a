// The small player control panel. It lives for the whole run; its controls come with the player commands.
#pragma once

#include <QWidget>
#include <string>

namespace karvo {

class TfrmPlayerControl : public QWidget {
public:
    explicit TfrmPlayerControl(QWidget* parent = nullptr);

    int player_kind = 0;       // 0 Winamp, 1 NAD, 2 Sonique; set by the opener before showing
    std::string sonique_path;  // the Sonique location, set by the opener for kind 2
};

} // namespace karvo
