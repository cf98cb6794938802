#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "component/ComponentList.h"

namespace {

std::string Item(int id, const std::string& name, const std::string& extra = "") {
  return "<Item id=\"" + std::to_string(id) + "\" name=\"" + name + "\" DL_ID=\"1\" filesize=\"10\" " + extra + "/>";
}

ComponentLists Read(const std::string& xml, uint32_t supplyId) {
  auto root = ParseXmlNodeTree(xml);
  EXPECT_TRUE(root.has_value()) << xml;
  ComponentLists lists;
  if (root) ReadComponentList(*root, supplyId, lists);
  return lists;
}

TEST(ComponentList, ReadsEveryAttributeOfAnItem) {
  const std::string xml =
      "<list><Item id=\"7\" name=\"shoplet.exe\" localaddpath=\"Shoplet\" installInX86=\"1\" installInX64=\"0\" "
      "writePathToRegKey=\"Software\\Corvane\\Varnet\\Shoplet\" DL_ID=\"99\" hash=\"ABCDEF\" filesize=\"1234\" "
      "url=\"https://localhost:28443/p/shoplet.exe\" version=\"1.2.3.4\"/></list>";
  ComponentLists lists = Read(xml, 0);
  ASSERT_EQ(lists.defaults.count(7), 1u);
  const ComponentItem& item = lists.defaults[7];
  EXPECT_EQ(item.id, 7);
  EXPECT_EQ(item.name, L"shoplet.exe");
  EXPECT_EQ(item.localaddpath, L"Shoplet");
  EXPECT_TRUE(item.installInX86);
  EXPECT_FALSE(item.installInX64);
  EXPECT_EQ(item.writePathToRegKey, L"Software\\Corvane\\Varnet\\Shoplet");
  EXPECT_EQ(item.dlId, 99u);
  EXPECT_EQ(item.hash, L"ABCDEF");
  EXPECT_EQ(item.filesize, 1234u);
  EXPECT_EQ(item.url, L"https://localhost:28443/p/shoplet.exe");
  EXPECT_EQ(item.version, L"1.2.3.4");
  EXPECT_EQ(item.packedVersion, (uint64_t(1) << 48) + (uint64_t(2) << 32) + (3 << 16) + 4);
  EXPECT_TRUE(item.localDir.empty());
  EXPECT_TRUE(lists.channel.empty());
}

TEST(ComponentList, ElementNamesIgnoreCaseButAttributesAndOtherConfigDoNot) {
  struct Case {
    const char* what;
    std::string xml;
    size_t defaults;
    size_t channel;
  } cases[] = {
      {"ITEM accepted", "<r>" + std::string("<ITEM id=\"1\" DL_ID=\"1\" filesize=\"1\"/>") + "</r>", 1, 0},
      {"Other / CHANNELCOMPONENTS accepted",
       "<r><Other><OtherConfig><CHANNELCOMPONENTS ChannelRange=\"5\">" + Item(1, "c") +
           "</CHANNELCOMPONENTS></OtherConfig></Other></r>",
       0, 1},
      {"OTHERCONFIG not found",
       "<r><other><OTHERCONFIG><ChannelComponents ChannelRange=\"5\">" + Item(1, "c") +
           "</ChannelComponents></OTHERCONFIG></other></r>",
       0, 0},
      {"channelrange attribute in other case reads as empty",
       "<r><other><OtherConfig><ChannelComponents channelrange=\"5\">" + Item(1, "c") +
           "</ChannelComponents></OtherConfig></other></r>",
       0, 0},
      {"other without OtherConfig", "<r><other/>" + Item(2, "d") + "</r>", 1, 0},
      {"unknown elements ignored", "<r><Thing/>" + Item(2, "d") + "<Items/></r>", 1, 0},
  };
  for (const Case& c : cases) {
    ComponentLists lists = Read(c.xml, 5);
    EXPECT_EQ(lists.defaults.size(), c.defaults) << c.what;
    EXPECT_EQ(lists.channel.size(), c.channel) << c.what;
  }
}

TEST(ComponentList, AttributeNameInOtherCaseReadsAsEmpty) {
  // ID is not id: the id conversion sees the empty text.
  EXPECT_THROW(Read("<r><Item ID=\"7\" DL_ID=\"1\" filesize=\"1\"/></r>", 0), std::invalid_argument);
}

TEST(ComponentList, FirstItemPerIdWinsInDefaultsAndInASection) {
  const std::string xml = "<r>" + Item(7, "first") + Item(7, "second") +
                          "<other><OtherConfig><ChannelComponents ChannelRange=\"1-9\">" + Item(1, "a") +
                          Item(1, "b") + "</ChannelComponents></OtherConfig></other></r>";
  ComponentLists lists = Read(xml, 3);
  EXPECT_EQ(lists.defaults[7].name, L"first");
  EXPECT_EQ(lists.channel[1].name, L"a");
}

TEST(ComponentList, LastMatchingSectionWinsAndAnEmptyOneClearsTheChannel) {
  const std::string sections =
      "<ChannelComponents ChannelRange=\"100-200\">" + Item(7, "early") + "</ChannelComponents>"
      "<ChannelComponents ChannelRange=\"300\">" + Item(7, "other-channel") + "</ChannelComponents>"
      "<ChannelComponents ChannelRange=\"150,160\">" + Item(7, "late") + "</ChannelComponents>";
  ComponentLists lists = Read("<r><other><OtherConfig>" + sections + "</OtherConfig></other></r>", 150);
  EXPECT_EQ(lists.channel[7].name, L"late");
  ASSERT_EQ(lists.selections.size(), 2u);
  EXPECT_EQ(lists.selections[0].supplyId, 150u);
  EXPECT_EQ(lists.selections[1].sectionChildren, 1u);

  ComponentLists emptied = Read("<r><other><OtherConfig>" + sections +
                                    "<ChannelComponents ChannelRange=\"150\"/></OtherConfig></other></r>",
                                150);
  EXPECT_TRUE(emptied.channel.empty());
  EXPECT_EQ(emptied.selections.size(), 3u);
}

TEST(ComponentList, ConversionErrorsCarryTheirTexts) {
  try {
    Read("<r><Item id=\"7\" DL_ID=\"1\" filesize=\"\"/></r>", 0);
    ADD_FAILURE() << "no exception";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "invalid stoull argument");
  }
  EXPECT_THROW(Read("<r><other><OtherConfig><ChannelComponents ChannelRange=\"99999999999999999999\"/>"
                    "</OtherConfig></other></r>",
                    1),
               std::out_of_range);
}

TEST(XmlNodeTree, NotWellFormedOrEmptyDocumentsGiveNothing) {
  for (const char* xml : {"", "<r><Item></r>", "just text", "<r>"}) {
    EXPECT_FALSE(ParseXmlNodeTree(xml).has_value()) << xml;
  }
}

TEST(XmlNodeTree, KeepsTextChildrenAndUtf8) {
  auto root = ParseXmlNodeTree("<?xml version=\"1.0\" encoding=\"utf-8\"?><r a=\"1\">hi<c n=\"\xE4\xB8\xAD\"/><!--x--></r>");
  ASSERT_TRUE(root.has_value());
  EXPECT_EQ(root->name, "r");
  EXPECT_EQ(root->text, "hi");
  ASSERT_EQ(root->children.size(), 1u);  // the comment is not a child
  EXPECT_EQ(root->Child("c")->Attribute("n"), "\xE4\xB8\xAD");
  EXPECT_EQ(root->Attribute("missing"), "");
  EXPECT_EQ(root->Child("C"), nullptr);

  ComponentLists lists = Read("<r><Item id=\"1\" name=\"\xE4\xB8\xAD.exe\" DL_ID=\"1\" filesize=\"1\"/></r>", 0);
  EXPECT_EQ(lists.defaults[1].name, L"\x4E2D.exe");
}

}  // namespace
