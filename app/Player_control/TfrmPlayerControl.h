// The small player control panel. It lives for the whole run; its controls come with the player commands.
#pragma once

#include <QWidget>

namespace karvo {

class TfrmPlayerControl : public QWidget {
public:
    explicit TfrmPlayerControl(QWidget* parent = nullptr);
};

} // namespace karvo
