// SPDX-License-Identifier: GPL-3.0-or-later
// ID3v1 text is CP1252 on disk, as the program writes it; TagLib reads Latin-1 by default, which turns € ’ “ ” – …
// into control characters. This installs, once per process, the string handler that reads and writes CP1252.
#pragma once

namespace karvo::resource {

void install_cp1252_id3v1();

} // namespace karvo::resource
