// The layout engine's context: the default look of every element, shared by all pages of the
// program (one instance, made on first use).
#pragma once

#include <litehtml/litehtml.h>

namespace htmlview {

litehtml::context& pageContext();

} // namespace htmlview
