// The preferences dialog. It lives for the whole run; its pages are added with the settings they edit.
#pragma once

#include <QDialog>

namespace karvo {

class TfrmOptions : public QDialog {
public:
    explicit TfrmOptions(QWidget* parent = nullptr);
};

} // namespace karvo
