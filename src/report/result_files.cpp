#include "report/result_files.h"

#include <charconv>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

#include "core/confidence.h"
#include "core/result_fields.h"
#include "core/test_hooks.h"
#include "report/scoring.h"
#include "report/statistics.h"
#include "report/status_text.h"

namespace {

using Json = nlohmann::ordered_json;

Json value_or_null(const std::optional<double>& value) {
  return value ? Json(*value) : Json(nullptr);
}

Json value_or_null(const std::optional<std::string>& value) {
  return value ? Json(*value) : Json(nullptr);
}

const char* group_name(TestId id) { return is_2d_test(id) ? "2D" : "3D"; }

// The swap interval as the result files name it; null when no 3D window ran.
Json swap_interval_json(SwapIntervalState state) {
  switch (state) {
    case SwapIntervalState::zero:
      return "0";
    case SwapIntervalState::driver_by_request:
      return "driver (requested)";
    case SwapIntervalState::driver_no_control:
      return "driver (no swap control)";
    case SwapIntervalState::not_set:
      break;
  }
  return nullptr;
}

// What the window system says the renderer draws on; null where it says
// nothing.
Json acceleration_json(GlAcceleration acceleration) {
  switch (acceleration) {
    case GlAcceleration::hardware:
      return "hardware";
    case GlAcceleration::software:
      return "software";
    case GlAcceleration::unknown:
      break;
  }
  return nullptr;
}

const char* platform_name(GlPlatform platform) {
  switch (platform) {
    case GlPlatform::egl_device:
      return "egl-device";
    case GlPlatform::egl_surfaceless:
      return "egl-surfaceless";
    case GlPlatform::glx:
      break;
  }
  return "glx";
}

std::vector<std::string> extension_words(const std::optional<std::string>& extensions) {
  std::vector<std::string> words;
  if (!extensions) return words;
  std::istringstream text(*extensions);
  for (std::string word; text >> word;) words.push_back(word);
  return words;
}

Json settings_json(const RunOptions& options, const EnvironmentInfo& info) {
  return {{result_key::QUARTER, options.quarter},
          {"auto_check", options.auto_pass},
          {"loops", options.loops},
          {"test_loop", options.test_loop},
          {"status_only", options.status_only},
          {"depth_bits_requested", options.depth_bits},
          {"check_pictures", options.check_pictures && !options.validating()},
          {"swap_interval", swap_interval_json(info.swap_interval)},
          {"test_hooks", hooks_in_effect()}};
}

Json environment_json(const EnvironmentInfo& info) {
  return {{result_key::PLATFORM, platform_name(info.gl_platform)},
          {"device", value_or_null(info.drm_file)},
          {"acceleration", acceleration_json(info.acceleration)},
          {"vendor", value_or_null(info.vendor_string)},
          {result_key::RENDERER, value_or_null(info.renderer_string)},
          {"version", value_or_null(info.version_string)},
          {"extensions", extension_words(info.extensions_string)},
          {"window_3d",
           {{"red_bits", info.red_bits_3d},
            {"green_bits", info.green_bits_3d},
            {"blue_bits", info.blue_bits_3d},
            {"depth_bits", info.depth_bits_3d},
            {"stencil_bits", info.stencil_bits},
            {"accum_red_bits", info.accum_red_bits},
            {"accum_green_bits", info.accum_green_bits},
            {"accum_blue_bits", info.accum_blue_bits}}},
          {"window_2d",
           {{"red_bits", info.red_bits_2d},
            {"green_bits", info.green_bits_2d},
            {"blue_bits", info.blue_bits_2d}}}};
}

Json verdict_json(const PictureVerdict& verdict) {
  return {{"verdict", verdict_name(verdict.state)},
          {"share_beyond", verdict.share_beyond},
          {"largest_difference", verdict.largest},
          {"reference_missing", verdict.no_reference}};
}

Json source_json(PictureSource source) {
  switch (source) {
    case PictureSource::timed_frames:
      return "timed_frames";
    case PictureSource::check_frame:
      return "check_frame";
    case PictureSource::none:
      break;
  }
  return nullptr;
}

// What a timed run's check found of a test's picture, with the figures of
// the pass that strayed furthest; null figures where no pass checked it.
Json picture_check_json(const PictureVerdict& verdict) {
  const bool checked = verdict.passes_checked > 0;
  const auto figure = [checked](auto value) { return checked ? Json(value) : Json(nullptr); };
  return {{"result", verdict_name(verdict.state)},
          {"picture", source_json(verdict.source)},
          {"share_beyond", figure(verdict.share_beyond)},
          {"allowed_share", figure(verdict.allowed_share)},
          {"channel_threshold", figure(verdict.channel_threshold)},
          {"largest_difference", figure(verdict.largest)},
          {"passes_checked", verdict.passes_checked},
          {"passes_differing", verdict.passes_differing},
          {"reason", verdict.reason.empty() ? Json(nullptr) : Json(verdict.reason)}};
}

Json run_verdict_json(const RunVerdict& verdict) {
  Json findings = Json::array();
  for (const Finding& finding : verdict.findings) {
    Json tests = Json::array();
    for (TestId id : finding.tests) tests.push_back(test_catalogue[id].keyword);
    findings.push_back({{result_key::KIND, finding.kind},
                        {result_key::TEXT, finding.text},
                        {result_key::TESTS, tests}});
  }
  Json not_judged = Json::array();
  for (const NotJudged& item : verdict.not_judged) {
    not_judged.push_back({{"what", item.what}, {"why", item.why}});
  }
  return {{result_key::TRUSTED, verdict.trusted()},
          {result_key::FINDINGS, findings},
          {"not_judged", not_judged}};
}

// A test's values in TestField order: the one list both files are made of.
using TestValues = std::array<Json, static_cast<size_t>(TestField::count)>;
TestValues test_values(const TestInfo& test, const TestSummary& summary,
                       const PictureVerdict& picture) {
  return {static_cast<int>(test.id),
          test.keyword,
          test.title,
          test.label,
          group_name(test.id),
          test.reference,
          test_status_name(summary.status),
          summary.pass_seconds,
          value_or_null(summary.min_seconds),
          value_or_null(summary.median_seconds),
          value_or_null(summary.max_seconds),
          value_or_null(summary.mean_seconds),
          value_or_null(summary.trimmed_mean_seconds),
          value_or_null(summary.cv),
          value_or_null(summary.score),
          value_or_null(summary.score_low),
          value_or_null(summary.score_high),
          value_or_null(summary.ci_half_width),
          summary.precision_met ? Json(*summary.precision_met) : Json(nullptr),
          verdict_name(picture.state)};
}

Json test_json(const TestValues& values) {
  Json object = Json::object();
  for (size_t field = 0; field < values.size(); ++field) {
    object[TEST_FIELD_NAMES[field]] = values[field];
  }
  return object;
}

// A status-only or validation run scored nothing, and a group none of
// whose tests was measured has no mean: then neither value exists.
// The value is the mean of its tests' trimmed scores; its interval is that
// of the pass values trimmed the same way (what tarvelin-compare weighs two
// totals on), as a share, put around the value.
Json group_json(const RunOptions& options, const GroupTotal& group) {
  const bool measured = !options.status_only && !options.validating() && group.measured > 0;
  Json pass_values = Json::array();
  std::optional<double> half_width;
  if (measured) {
    pass_values = group.pass_values;
    if (const std::optional<MeanInterval> interval = trimmed_mean_interval(group.pass_values)) {
      half_width = interval->relative_half_width;
    }
  }
  const auto bound = [&](double sign) {
    return half_width ? Json(group.value * (1.0 + sign * *half_width)) : Json(nullptr);
  };
  return {
      {result_key::TOTAL, measured && group.complete ? Json(group.value) : Json(nullptr)},
      {result_key::IMPLEMENTED, measured && !group.complete ? Json(group.value) : Json(nullptr)},
      {"tests", group.tests},
      {result_key::PASS_VALUES, pass_values},
      {"ci_half_width", value_or_null(half_width)},
      {"low", bound(-1.0)},
      {"high", bound(1.0)}};
}

// A run with a precision target: what it asked, how many passes it made
// and why it stopped; null for other runs.
Json precision_json(const RunOptions& options, const RunResults& results, const RunRecord& record) {
  if (!options.has_precision_target()) return nullptr;
  Json missed = Json::array();
  for (const PrecisionMiss& miss :
       precision_misses(results, counted_slots(options.loops), options.precision_percent)) {
    missed.push_back(test_catalogue[miss.id].keyword);
  }
  return {{"target_percent", options.precision_percent},
          {"budget_seconds",
           options.budget_seconds > 0.0 ? options.budget_seconds : DEFAULT_BUDGET_SECONDS},
          {"passes", options.loops},
          {"stopped", record.precision_stop},
          {"missed", missed}};
}

// Numbers in CSV in their shortest form that reads back exactly, with a
// point whatever the locale.
std::string csv_number(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

// A value as its CSV field: a number as above, passes separated by ";",
// null as nothing.
std::string csv_text(const Json& value) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_number()) return csv_number(value.get<double>());
  std::string joined;
  if (value.is_array()) {
    for (const Json& item : value) {
      if (!joined.empty()) joined += ';';
      joined += csv_text(item);
    }
  }
  return joined;
}

// RFC 4180: quoted when it holds a comma, a quote or a line break, with its
// quotes doubled.
std::string csv_field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

template <class Fields, class Text>
std::string csv_row(const Fields& fields, Text text) {
  std::string row;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) row += ',';
    row += csv_field(text(fields[i]));
  }
  return row + "\r\n";
}

}  // namespace

std::string results_json(const RunOptions& options, const EnvironmentInfo& info,
                         const RunResults& results, const RunRecord& record,
                         const RunVerdict* verdict) {
  Json tests = Json::array();
  for (const TestInfo& test : test_catalogue) {
    const PictureVerdict& picture = results.verdicts[test.id];
    Json object = test_json(test_values(test, summarize_test(options, results, test.id), picture));
    if (options.validating()) {
      object[result_key::VALIDATION] = verdict_json(picture);
    } else {
      object["picture_check"] = picture_check_json(picture);
    }
    tests.push_back(object);
  }
  const GroupTotals totals = compute_group_totals(options, results);
  const Json document = {
      {result_key::SCHEMA_VERSION, RESULTS_SCHEMA_VERSION},
      {result_key::PROGRAM, RESULTS_PROGRAM},
      {"version", VERSION_NUMBER},
      {"command_line", record.command_line},
      {result_key::SETTINGS, settings_json(options, info)},
      {result_key::STARTED, record.started_utc},
      {"duration_seconds", record.duration_seconds},
      {"check_seconds", record.check_seconds},
      {"interrupted", record.interrupted},
      {"precision", precision_json(options, results, record)},
      {result_key::ENVIRONMENT, environment_json(info)},
      {result_key::TESTS, tests},
      {result_key::TOTALS,
       {{result_key::GROUP_3D, group_json(options, totals.group_3d)},
        {result_key::GROUP_2D, group_json(options, totals.group_2d)}}},
      {result_key::VERDICT, verdict != nullptr ? run_verdict_json(*verdict) : Json(nullptr)}};
  // Invalid UTF-8 from a driver's strings is replaced rather than refused.
  return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string results_csv(const RunOptions& options, const RunResults& results) {
  std::string text = csv_row(TEST_FIELD_NAMES, [](const char* name) { return name; });
  for (const TestInfo& test : test_catalogue) {
    text += csv_row(
        test_values(test, summarize_test(options, results, test.id), results.verdicts[test.id]),
        csv_text);
  }
  return text;
}
