// Starts a program through the shell, optionally waiting for it and collecting its exit code.
#pragma once

#include <cstdint>
#include <string>

namespace utils {

// false when the shell could not start the program (*exitCode is then left as it was).
// With exitCode given, waits without time limit for the process and stores its exit code.
bool LaunchProgram(const std::wstring& file, const std::wstring& parameters, bool hidden,
                   uint32_t* exitCode = nullptr);

}  // namespace utils
