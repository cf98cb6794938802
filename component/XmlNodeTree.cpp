#include "component/XmlNodeTree.h"

#include <pugixml.hpp>

#include <algorithm>

namespace {

XmlNode Convert(const pugi::xml_node& element) {
  XmlNode node;
  node.name = element.name();
  node.text = element.child_value();
  for (const pugi::xml_attribute& attribute : element.attributes()) {
    auto same = [&](const auto& entry) { return entry.first == attribute.name(); };
    auto it = std::find_if(node.attributes.begin(), node.attributes.end(), same);
    if (it != node.attributes.end()) {
      it->second = attribute.value();
    } else {
      node.attributes.emplace_back(attribute.name(), attribute.value());
    }
  }
  for (const pugi::xml_node& child : element.children()) {
    if (child.type() == pugi::node_element) node.children.push_back(Convert(child));
  }
  return node;
}

}  // namespace

const std::string& XmlNode::Attribute(std::string_view attributeName) const {
  static const std::string kEmpty;
  for (const auto& [key, value] : attributes) {
    if (key == attributeName) return value;
  }
  return kEmpty;
}

const XmlNode* XmlNode::Child(std::string_view childName) const {
  for (const XmlNode& child : children) {
    if (child.name == childName) return &child;
  }
  return nullptr;
}

std::optional<XmlNode> ParseXmlNodeTree(std::string_view document) {
  pugi::xml_document parsed;
  if (!parsed.load_buffer(document.data(), document.size())) return std::nullopt;
  const pugi::xml_node root = parsed.document_element();
  if (!root) return std::nullopt;
  return Convert(root);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}
