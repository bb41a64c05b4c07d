#include "app/run_sequence.h"

#include <memory>
#include <optional>

#include "app/benchmark_run.h"
#include "app/pass_loop.h"
#include "app/run_endings.h"
#include "app/run_setup.h"

int run_benchmark(int argc, char** argv) {
  // About 300 KB with the mesh: kept off the stack.
  const auto owned = std::make_unique<BenchmarkRun>();
  BenchmarkRun& run = *owned;
  if (const std::optional<int> status = settle_settings(run, argc, argv)) return *status;
  if (const std::optional<int> status = run_passes(run)) return *status;
  return run.run_options.validating() ? end_validation(run) : end_timed_run(run);
}
