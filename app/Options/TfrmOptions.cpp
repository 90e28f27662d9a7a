#include "app/Options/TfrmOptions.h"

namespace karvo {

TfrmOptions::TfrmOptions(QWidget* parent) : QDialog(parent) {
    setObjectName("frmOptions");
    setWindowTitle(QStringLiteral("Preferences"));
}

} // namespace karvo
