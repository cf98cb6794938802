// Case-insensitive pattern search over response headers, in the request client's small
// pattern notation: "{...}" is the one captured group, "\b" a blank (space or tab), "\n" a
// line break (CR, LF or CR LF), "[...]" a class ("\-" a literal hyphen), "+", "*", "+?",
// and "." any character except a line break.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Fills list with the captured text of every match, each distinct text (ignoring case)
// once, in order of appearance. Returns false for an empty pattern or text or a pattern
// that does not compile; true otherwise, also when nothing matched.
bool MatchAll(std::wstring_view pattern, std::wstring_view text, std::vector<std::wstring>& list);

// The notation above rewritten for std::wregex (ECMAScript). Exposed for tests.
std::wstring TranslateMatchPattern(std::wstring_view pattern);
