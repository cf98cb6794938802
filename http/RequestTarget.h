// Percent-escaping of a request target (path and query) before it goes on the wire.
#pragma once

#include <string>
#include <string_view>

// Escapes, as %XX of the UTF-8 bytes, every character that may not appear in a request
// target: controls, space, '"', '<', '>', '\', '^', '`', '{', '|', '}', DEL and every
// non-ASCII character. Reserved characters (":/?#[]@!$&'()*+,;=") and '%' (so an
// already escaped URL stays as it is) pass unchanged. A lone surrogate becomes U+FFFD.
std::wstring EscapeRequestTarget(std::wstring_view target);
