// Local paths as the file:// URIs players take over the session bus and their sockets, and back. Every byte that
// is not an unreserved character or '/' is percent-encoded, so blanks, '#', '%' and bytes that are not UTF-8 all
// survive the trip.
#pragma once

#include <string>

namespace karvo {

std::string file_uri(const std::string& path);

// The local path of a file:// URI (with an empty or "localhost" host), percent-decoded; "" for any other URI.
std::string path_of_file_uri(const std::string& uri);

} // namespace karvo
