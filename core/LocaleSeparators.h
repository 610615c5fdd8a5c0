#pragma once

#include "core/NumberFormat.h"

#include <optional>
#include <string>

namespace tormel {

// The decimal and digit-group separators of the user's regional settings, read the
// way the toolkit reads them (the LANG / LC_* variables), so that both front ends
// agree and no generated C library locale is needed.
NumberSeparators SystemNumberSeparators();

// The separators of a named locale ("ru_RU", "en_US", "C"); nothing for a name the
// toolkit does not know.
std::optional<NumberSeparators> NamedNumberSeparators(const std::string &name);

} // namespace tormel
