// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Id3_form/cp1252_limit.h"

#include <QLineEdit>
#include <string>

#include "platform/cp1252.h"

namespace karvo {

cp1252_limit::cp1252_limit(QLineEdit* field, std::size_t max_bytes) : QValidator(field), max_bytes_(max_bytes) {
    accepted_ = field->text();
    connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { accepted_ = text; });
    field->setValidator(this);
}

QValidator::State cp1252_limit::validate(QString& input, int& pos) const {
    const std::string text = input.toStdString();
    if (platform::utf8_prefix_fitting_cp1252(text, max_bytes_) == text.size())
        return Acceptable;

    // The edit replaced a middle part of the accepted text: keep its start and end and as much of the new part as
    // the room left allows, as a field with a maximum length does.
    const QString& old = accepted_;
    qsizetype head = 0;
    while (head < old.size() && head < input.size() && old[head] == input[head])
        ++head;
    qsizetype tail = 0;
    while (tail < old.size() - head && tail < input.size() - head &&
           old[old.size() - 1 - tail] == input[input.size() - 1 - tail])
        ++tail;
    // Never split a surrogate pair between the kept and the new part.
    if (head > 0 && input[head - 1].isHighSurrogate())
        --head;
    if (tail > 0 && input[input.size() - tail].isLowSurrogate())
        --tail;

    const std::size_t kept =
        platform::encode_utf8_to_cp1252((input.left(head) + input.right(tail)).toStdString()).size();
    const std::size_t room = kept < max_bytes_ ? max_bytes_ - kept : 0;
    const std::string inserted = input.mid(head, input.size() - head - tail).toStdString();
    const QString fitting =
        QString::fromStdString(inserted.substr(0, platform::utf8_prefix_fitting_cp1252(inserted, room)));
    input = input.left(head) + fitting + input.right(tail);
    pos = static_cast<int>(head + fitting.size());
    return Acceptable;
}

} // namespace karvo
