// How the build tools put a generated file in place: written beside the
// target under ".tmp" and renamed over it, so that a failed run never leaves
// a half-written file that the build would take as up to date.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <system_error>

// `write` fills the file it is given and returns an empty string, or the
// message for a file it could not write. Returns an empty string once `output` is in place, else
// the reason; nothing is left beside the target either way.
inline std::string write_tool_output(
    const std::filesystem::path& output,
    const std::function<std::string(const std::filesystem::path&)>& write) {
  std::filesystem::path temp = output;
  temp += ".tmp";
  std::error_code ignored;
  if (const std::string trouble = write(temp); !trouble.empty()) {
    std::filesystem::remove(temp, ignored);
    return trouble;
  }
  std::error_code error;
  std::filesystem::rename(temp, output, error);
  if (!error) return {};
  std::filesystem::remove(temp, ignored);
  return "cannot replace: " + error.message();
}
