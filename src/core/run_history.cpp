#include "core/run_history.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <system_error>

#include "core/printable.h"
#include "core/replacement_file.h"

namespace {

constexpr const char* SUFFIX = ".json";
// "2026-12-08T21-30-27Z": the start time as a name; '#' stands for a digit.
constexpr std::string_view TIME_SHAPE = "####-##-##T##-##-##Z";
// More runs than this started in one second only come from a folder that
// something else fills; keeping gives up rather than trying on.
constexpr int MOST_IN_ONE_SECOND = 1000;

bool all_digits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A kept run's name as its start time and its number within that second;
// none for a name history_name does not make.
struct KeptName {
  std::string time;
  long number = 1;
};
std::optional<KeptName> parse_name(std::string_view name) {
  const size_t suffix = std::strlen(SUFFIX);
  if (name.size() < TIME_SHAPE.size() + suffix || !name.ends_with(SUFFIX)) return std::nullopt;
  for (size_t i = 0; i < TIME_SHAPE.size(); ++i) {
    const bool digit = name[i] >= '0' && name[i] <= '9';
    if (TIME_SHAPE[i] == '#' ? !digit : name[i] != TIME_SHAPE[i]) return std::nullopt;
  }
  KeptName kept{std::string(name.substr(0, TIME_SHAPE.size()))};
  std::string_view rest = name.substr(TIME_SHAPE.size(), name.size() - TIME_SHAPE.size() - suffix);
  if (rest.empty()) return kept;
  // "_N" with N from 2, as history_name writes it.
  if (rest[0] != '_' || !all_digits(rest.substr(1)) || rest[1] == '0' || rest.size() > 10) {
    return std::nullopt;
  }
  kept.number = std::stol(std::string(rest.substr(1)));
  if (kept.number < 2) return std::nullopt;
  return kept;
}

}  // namespace

std::string history_folder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return std::string(data) + "/tarvelin/runs";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.local/share/tarvelin/runs";
  return {};
}

std::string history_name(const std::string& started, int number) {
  std::string name = started;
  std::replace(name.begin(), name.end(), ':', '-');
  // Appended piece by piece: "_" + a temporary string draws a false
  // -Wrestrict warning from g++ 12 at -O3.
  if (number > 1) name.append("_").append(std::to_string(number));
  return name + SUFFIX;
}

std::vector<std::string> history_runs(const std::string& folder) {
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  if (error == std::errc::no_such_file_or_directory) return {};
  std::vector<std::pair<KeptName, std::string>> kept;
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    const std::string name = entries->path().filename().string();
    // A pipe or a device of a run's name is no run, and reading it would
    // wait for ever: only regular files (or links to them) count.
    std::error_code kind_error;
    if (!entries->is_regular_file(kind_error)) continue;
    if (const std::optional<KeptName> parsed = parse_name(name)) {
      kept.emplace_back(*parsed, entries->path().string());
    }
  }
  if (error) throw std::runtime_error("cannot read " + printable(folder) + ": " + error.message());
  std::sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) {
    return a.first.time != b.first.time ? a.first.time < b.first.time
                                        : a.first.number < b.first.number;
  });
  std::vector<std::string> paths;
  for (auto& [name, path] : kept) paths.push_back(std::move(path));
  return paths;
}

std::string keep_run(const std::string& folder, const std::string& started,
                     const std::string& json) {
  const auto failed = [&folder](const std::string& reason) {
    return std::runtime_error("cannot keep the run in " + printable(folder) + ": " + reason);
  };
  if (folder.empty()) throw failed("neither XDG_DATA_HOME nor HOME names a folder");
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) throw failed(error.message());
  for (int number = 1; number <= MOST_IN_ONE_SECOND; ++number) {
    const std::string path = folder + "/" + history_name(started, number);
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0) continue;
    ReplacementFile file;
    if (!open_replacement(&file, path.c_str())) throw failed(std::strerror(errno));
    std::fwrite(json.data(), 1, json.size(), file.stream);
    const char* step = commit_new_file(&file);
    if (step == nullptr) return path;
    // Another run took the name meanwhile: the next one.
    if (std::strcmp(step, "link") == 0 && errno == EEXIST) continue;
    throw failed(std::string(step) + ": " + std::strerror(errno));
  }
  throw failed("every name for a run started at " + started + " is taken");
}
