#include "component/ComponentList.h"

#include <pugixml.hpp>

#include "component/ChannelRange.h"
#include "component/NumberText.h"

namespace {

std::wstring Wide(const std::string& utf8) { return pugi::as_wide(utf8.c_str()); }

ComponentItemMap ReadItems(const XmlNode& parent) {
  ComponentItemMap items;
  for (const XmlNode& child : parent.children) {
    if (!EqualsNoCase(child.name, "Item")) continue;
    auto entry = ReadComponentItem(child);
    items.insert(std::move(entry));  // a later duplicate id is dropped
  }
  return items;
}

}  // namespace

std::pair<int32_t, ComponentItem> ReadComponentItem(const XmlNode& item) {
  ComponentItem record;
  record.version = Wide(item.Attribute("version"));
  record.packedVersion = ParseVersion(record.version);
  const int32_t key = static_cast<int32_t>(ParseUnsigned64(Wide(item.Attribute("id"))));
  record.id = key;
  record.name = Wide(item.Attribute("name"));
  record.localaddpath = Wide(item.Attribute("localaddpath"));
  record.installInX86 = item.Attribute("installInX86") == "1";
  record.installInX64 = item.Attribute("installInX64") == "1";
  record.writePathToRegKey = Wide(item.Attribute("writePathToRegKey"));
  record.dlId = ParseUnsigned64(Wide(item.Attribute("DL_ID")));
  record.hash = Wide(item.Attribute("hash"));
  record.filesize = ParseUnsigned64(Wide(item.Attribute("filesize")));
  record.url = Wide(item.Attribute("url"));
  return {key, std::move(record)};
}

void SelectChannelComponents(const XmlNode& otherConfig, uint32_t supplyId, ComponentLists& lists) {
  for (const XmlNode& section : otherConfig.children) {
    if (!EqualsNoCase(section.name, "ChannelComponents")) continue;
    const int matches = CountChannelRangeMatches(Wide(section.Attribute("ChannelRange")), supplyId);
    for (int i = 0; i < matches; ++i) {
      // Even an empty section replaces the channel entries: all components then use defaults.
      lists.channel = ReadItems(section);
      lists.selections.push_back({supplyId, section.children.size()});
    }
  }
}

void ReadComponentList(const XmlNode& root, uint32_t supplyId, ComponentLists& lists) {
  for (const XmlNode& child : root.children) {
    if (EqualsNoCase(child.name, "Item")) {
      auto entry = ReadComponentItem(child);
      lists.defaults.insert(std::move(entry));
    } else if (EqualsNoCase(child.name, "other")) {
      // Only the first child named exactly OtherConfig holds channel sections; without
      // one the list simply has no channel sections.
      if (const XmlNode* otherConfig = child.Child("OtherConfig")) {
        SelectChannelComponents(*otherConfig, supplyId, lists);
      }
    }
  }
}
