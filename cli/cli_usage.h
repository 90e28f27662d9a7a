// SPDX-License-Identifier: GPL-3.0-or-later
// The companion's usage: one table of subcommands and options, rendered as the --help text and, at build time, as
// the man page, so the two never disagree.
#pragma once

#include <string>

namespace karvo::cli {

inline constexpr const char* program_name = "karvo-media-cli";

// The whole --help text.
std::string usage_text();

// The usage of one subcommand ("import FILE NAME [--replace]"), for its error lines; empty when unknown.
std::string synopsis_of(const std::string& subcommand);

// The man page (section 1) in roff.
std::string man_page();

} // namespace karvo::cli
