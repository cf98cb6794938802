#include <gtest/gtest.h>

#include <string>

#include "config/LanguageChoice.h"

namespace {

TEST(LanguageChoice, SupportedTableIgnoresCase) {
  for (const wchar_t* name : {L"en", L"EN", L"zh_cn", L"ZH_TW", L"pt", L"ru", L"tr", L"vi", L"id", L"ko", L"th"}) {
    EXPECT_TRUE(config::IsSupportedLanguage(name)) << name;
  }
  for (const wchar_t* name : {L"", L"de", L"pt_BR", L"zh", L"en_US", L"zh-CN"}) {
    EXPECT_FALSE(config::IsSupportedLanguage(name)) << name;
  }
}

struct SystemCase {
  const wchar_t* stored;
  uint16_t ui;
  const wchar_t* language;
  const wchar_t* combined;
  const wchar_t* expected;
};

TEST(LanguageChoice, SystemLanguageFirstMatchWins) {
  const SystemCase cases[] = {
      {L"", 0x0409, L"en", L"en_US", L"en"},
      {L"", 0x0804, L"zh", L"zh_CN", L"zh_CN"},
      {L"", 0x0416, L"pt", L"pt_BR", L"pt"},
      {L"", 0x0404, L"zh", L"zh_TW", L"zh_TW"},
      {L"", 0x0407, L"de", L"de_DE", L"zh_CN"},
      {L"", 0x0409, L"", L"", L"zh_CN"},
      {L"ko", 0x0419, L"ru", L"ru_RU", L"ko"},
      {L"de", 0x0419, L"ru", L"ru_RU", L"ru"},   // a stored unsupported value is passed over
      {L"", 0x0409, L"tr", L"", L"tr"},          // no country
      {L"TH", 0x0804, L"zh", L"zh_CN", L"TH"},   // stored wins over the UI language
  };
  for (const SystemCase& c : cases) {
    config::SystemLanguageInputs in{c.stored, c.ui, c.language, c.combined};
    EXPECT_EQ(config::ChooseSystemLanguage(in), c.expected) << c.language << L" " << c.combined;
  }
}

struct EditionCase {
  const wchar_t* language;
  const char* pkg;
  int32_t international;
  const wchar_t* expected;
  bool partner;
};

TEST(LanguageChoice, EditionRules) {
  const EditionCase cases[] = {
      {L"en", "", 1, L"en", false},
      {L"zh_CN", "", 1, L"en", false},
      {L"ZH_cn", "", 2, L"en", false},
      {L"pt", "", 1, L"pt", false},
      {L"zh_TW", "", -1, L"zh_TW", false},
      {L"en", "", 0, L"zh_CN", false},
      {L"pt", "com.dalvo.arenafield", 0, L"zh_CN", true},
      {L"en", "COM.DALVO.ArenaField", 1, L"vi", true},
      {L"en", "com.dalvo.arenafield2", 1, L"en", false},
  };
  for (const EditionCase& c : cases) {
    bool partner = !c.partner;
    EXPECT_EQ(config::ApplyEditionRules(c.language, c.pkg, c.international, &partner), c.expected)
        << c.language << " " << c.pkg << " " << c.international;
    EXPECT_EQ(partner, c.partner) << c.pkg;
  }
}

}  // namespace
