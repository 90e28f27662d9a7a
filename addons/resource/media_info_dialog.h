// SPDX-License-Identifier: GPL-3.0-or-later
// The details window of one media file, shown by the resource plug-in itself inside the program's Qt application.
#pragma once

#include "addons/resource/media_info_reader.h"

namespace karvo::resource {

// Shows a modal dialog listing the fields; does nothing when the process runs no Qt widget application.
void show_media_info_dialog(const info_fields& fields);

} // namespace karvo::resource
