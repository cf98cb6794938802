#include "http/MatchAll.h"

#include <algorithm>
#include <cwctype>
#include <regex>

namespace {

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return std::towlower(static_cast<wint_t>(x)) == std::towlower(static_cast<wint_t>(y));
         });
}

}  // namespace

std::wstring TranslateMatchPattern(std::wstring_view pattern) {
  std::wstring out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    wchar_t c = pattern[i];
    if (c == L'{') {
      out += L'(';
    } else if (c == L'}') {
      out += L')';
    } else if (c == L'\\' && i + 1 < pattern.size()) {
      wchar_t next = pattern[++i];
      if (next == L'b') out += L"[ \\t]";
      else if (next == L'n') out += L"(?:\\r\\n|\\r|\\n)";
      else {
        out += L'\\';
        out += next;
      }
    } else {
      out += c;
    }
  }
  return out;
}

bool MatchAll(std::wstring_view pattern, std::wstring_view text, std::vector<std::wstring>& list) {
  list.clear();
  if (pattern.empty() || text.empty()) return false;
  std::wregex regex;
  try {
    regex.assign(TranslateMatchPattern(pattern), std::regex::ECMAScript | std::regex::icase);
  } catch (const std::regex_error&) {
    return false;
  }
  using Iterator = std::wstring_view::const_iterator;
  Iterator position = text.begin();
  std::match_results<Iterator> match;
  while (position != text.end() && std::regex_search(position, text.end(), match, regex)) {
    if (match.size() > 1 && match[1].matched && match[1].length() > 0) {
      std::wstring captured = match[1].str();
      bool known = std::any_of(list.begin(), list.end(),
                               [&](const std::wstring& s) { return EqualsIgnoringCase(s, captured); });
      if (!known) list.push_back(std::move(captured));
    }
    Iterator end = match[0].second;
    if (end == text.end()) break;
    // An empty match would find itself again: step over one character.
    position = match[0].length() == 0 ? end + 1 : end;
  }
  return true;
}
