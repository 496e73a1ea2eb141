#pragma once
// The shared byte-string helpers under the names the HTTP client's units use.
#include "common/text.h"

namespace dorvanel::http {

using common::Int32Or;
using common::ReadInt32;
using common::ReadInt64;
using common::SameText;
using common::StartsWithText;
using common::Trim;
using common::TrimLeft;
using common::TrimRight;
using common::UpperCase;
using common::UpperChar;

}  // namespace dorvanel::http
