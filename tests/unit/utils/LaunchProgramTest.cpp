#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "utils/LaunchProgram.h"

namespace {

std::wstring Cmd() {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  return std::wstring(system) + L"\\cmd.exe";
}

TEST(LaunchProgram, WaitsAndReturnsTheFullExitCode) {
  struct Case {
    const wchar_t* parameters;
    uint32_t exitCode;
  } cases[] = {{L"/c exit 0", 0}, {L"/c exit 1000", 1000}, {L"/c exit 3", 3}};
  for (const Case& c : cases) {
    uint32_t code = 12345;
    EXPECT_TRUE(utils::LaunchProgram(Cmd(), c.parameters, true, &code)) << c.parameters;
    EXPECT_EQ(code, c.exitCode) << c.parameters;
  }
}

TEST(LaunchProgram, MissingProgramFailsAndLeavesExitCode) {
  uint32_t code = 777;
  EXPECT_FALSE(utils::LaunchProgram(L"C:\\no\\such\\program.exe", L"", true, &code));
  EXPECT_EQ(code, 777u);
}

}  // namespace
