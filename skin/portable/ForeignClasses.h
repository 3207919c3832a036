// Controls of other component libraries, named by class: the default lines
// of the skin component's Skin3rd list ("TRzButton=button") and the lookup
// that finds the kind of skin a class is to get.
#pragma once

#include "classlib/portable/StringList.h"

#include <string>
#include <string_view>
#include <vector>

// The 117 default lines, in their stored order (three of them twice).
const std::vector<std::string>& DefaultSkin3rd();
// The kind the first line for ClassName gives, lower-cased and cut to 50
// characters; empty when no line names the class. The class name must be
// followed directly by "=" (no blanks), so prefixes of longer names never match.
std::string Skin3rdKind(const TStrings& Lines, std::string_view ClassName);
