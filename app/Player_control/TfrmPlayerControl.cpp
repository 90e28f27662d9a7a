#include "app/Player_control/TfrmPlayerControl.h"

namespace karvo {

TfrmPlayerControl::TfrmPlayerControl(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName("frmPlayerControl");
    setWindowTitle(QStringLiteral("Karvo Media Player Control"));
}

} // namespace karvo
