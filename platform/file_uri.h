// SPDX-License-Identifier: GPL-3.0-or-later
// Local paths as the file:// URIs players take over the session bus and their sockets, and back. Every byte that
// is not an unreserved character or '/' is percent-encoded, so blanks, '#', '%' and bytes that are not UTF-8 all
// survive the trip.
#pragma once

#include <string>
#include <string_view>

namespace karvo::platform {

std::string file_uri(const std::string& path);

// The text with every byte that is not an unreserved character or '/' written as %XX.
std::string percent_encode(std::string_view text);
// Each %XX as its byte; a '%' not followed by two hex digits stays as it is.
std::string percent_decode(std::string_view text);

// The local path of a file: URI (no host, an empty or "localhost" host; the scheme in any case), percent-decoded;
// "file:///C:/a" and "file:///C|/a" give the drive path "C:/a". "" for any other URI or one holding a NUL.
std::string path_of_file_uri(const std::string& uri);

} // namespace karvo::platform
