// SPDX-License-Identifier: GPL-3.0-or-later
// A text field's length limit counted in CP1252 bytes, the width an ID3v1 field has on disk: typing into a full
// field is refused, a paste keeps what fits, and nothing is cut inside a character.
#pragma once

#include <QValidator>
#include <cstddef>

class QLineEdit;

namespace karvo {

class cp1252_limit : public QValidator {
public:
    // Installs itself as the field's validator.
    cp1252_limit(QLineEdit* field, std::size_t max_bytes);

    State validate(QString& input, int& pos) const override;
    // std::string::npos: no limit (a tag format whose fields have none).
    void set_max_bytes(std::size_t max_bytes) { max_bytes_ = max_bytes; }

private:
    std::size_t max_bytes_;
    QString accepted_; // the field's text before the edit being validated
};

} // namespace karvo
