// channel-stamp: appends channel-parameter blocks to a program file and lists them.
//   channel-stamp stamp PROGRAM JSONFILE
//   channel-stamp stamp PROGRAM --json TEXT
//   channel-stamp list PROGRAM
// A refused stamp leaves the program file untouched: the result is written to a
// temporary file in the same folder and renamed over the target.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "tools/StampImage.h"

namespace fs = std::filesystem;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

bool ReadWholeFile(const fs::path& path, std::string* bytes, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot open " + path.string();
    return false;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) {
    *error = "cannot read " + path.string();
    return false;
  }
  *bytes = std::move(buffer).str();
  return true;
}

bool ReplaceFile(const fs::path& from, const fs::path& to, std::string* error) {
#if defined(_WIN32)
  if (!::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    *error = "cannot replace " + to.string() + ", error code: " + std::to_string(::GetLastError());
    return false;
  }
#else
  std::error_code ec;
  fs::rename(from, to, ec);
  if (ec) {
    *error = "cannot replace " + to.string() + ": " + ec.message();
    return false;
  }
#endif
  return true;
}

// Writes `bytes` beside `target` and renames the copy over it, keeping its permissions.
bool WriteAtomically(const fs::path& target, const std::string& bytes, std::string* error) {
  fs::path temp = target;
  temp += ".stamp-tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
      *error = "cannot create " + temp.string();
      return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      fs::remove(temp, ignored);
      *error = "cannot write " + temp.string();
      return false;
    }
  }
  std::error_code ec;
  fs::permissions(temp, fs::status(target, ec).permissions(), ec);
  if (!ReplaceFile(temp, target, error)) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return false;
  }
  return true;
}

int Refuse(const std::string& why) {
  std::cerr << "channel-stamp: " << why << "\n";
  return kExitRefused;
}

int Usage() {
  std::cerr << "usage: channel-stamp stamp PROGRAM JSONFILE\n"
               "       channel-stamp stamp PROGRAM --json TEXT\n"
               "       channel-stamp list PROGRAM\n";
  return kExitUsage;
}

int Stamp(const fs::path& program, const std::string& jsonText) {
  std::string image, error;
  if (!ReadWholeFile(program, &image, &error)) return Refuse(error);
  if (!tools::StampImage(image, jsonText, &error)) return Refuse(program.string() + ": " + error);
  if (!WriteAtomically(program, image, &error)) return Refuse(error);
  return kExitOk;
}

int List(const fs::path& program) {
  std::string image, error, listing;
  if (!ReadWholeFile(program, &image, &error)) return Refuse(error);
  bool intact = tools::ListBlocks(image, &listing);
  std::cout << listing;
  return intact ? kExitOk : kExitRefused;
}

int Run(const std::vector<fs::path>& args) {
  if (args.size() == 2 && args[0] == "list") return List(args[1]);
  if (args.size() == 3 && args[0] == "stamp") {
    std::string json, error;
    if (!ReadWholeFile(args[2], &json, &error)) return Refuse(error);
    return Stamp(args[1], json);
  }
  if (args.size() == 4 && args[0] == "stamp" && args[2] == "--json") {
    // UTF-8 on both platforms: the block holds the JSON text in UTF-8.
    return Stamp(args[1], reinterpret_cast<const char*>(args[3].u8string().c_str()));
  }
  return Usage();
}

}  // namespace

#if defined(_WIN32)
int wmain(int argc, wchar_t** argv) {
  std::vector<fs::path> args(argv + 1, argv + argc);
  return Run(args);
}
#else
int main(int argc, char** argv) {
  std::vector<fs::path> args(argv + 1, argv + argc);
  return Run(args);
}
#endif
