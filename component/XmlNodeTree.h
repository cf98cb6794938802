// A small owned tree of an XML document's elements: name, text, attributes (unique names,
// in first-seen order, last value wins) and child elements in document order.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct XmlNode {
  std::string name;  // UTF-8
  std::string text;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<XmlNode> children;

  // Exact-name lookups: the value or the empty text; the first such child or nullptr.
  const std::string& Attribute(std::string_view attributeName) const;
  const XmlNode* Child(std::string_view childName) const;
};

// Parses a whole document from memory (encoding detected from the content); the node of
// the document's root element, or nothing when the document is not well-formed or has none.
std::optional<XmlNode> ParseXmlNodeTree(std::string_view document);

// ASCII comparison without regard to case, for the element names that ignore it.
bool EqualsNoCase(std::string_view a, std::string_view b);
