// Reading the component list: default entries under the root, channel sections under
// other/OtherConfig, and the choice of the section that covers this channel's supply id.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "component/ComponentItem.h"
#include "component/XmlNodeTree.h"

// One selection of a channel section, for the log.
struct ChannelSelection {
  uint32_t supplyId;
  size_t sectionChildren;  // child elements of the selected section
};

struct ComponentLists {
  ComponentItemMap defaults;
  ComponentItemMap channel;  // entries of the last matching section; empty when none matched
  std::vector<ChannelSelection> selections;
};

// Builds one record and its map key from an Item element. Throws std::invalid_argument or
// std::out_of_range when id, DL_ID or filesize is not a decimal number.
std::pair<int32_t, ComponentItem> ReadComponentItem(const XmlNode& item);

// Channel selection over the ChannelComponents sections of one OtherConfig element.
void SelectChannelComponents(const XmlNode& otherConfig, uint32_t supplyId, ComponentLists& lists);

// Walks the root element's children: Item into the defaults (first per id wins), other into
// channel selection. Conversion errors propagate.
void ReadComponentList(const XmlNode& root, uint32_t supplyId, ComponentLists& lists);
