#include "core/bench_rand.h"

uint32_t bench_rand_state = 1;

int bench_rand() {
  // Unsigned arithmetic gives the wrap modulo 2^32 on every platform.
  bench_rand_state = bench_rand_state * 214013u + 2531011u;
  return static_cast<int>((bench_rand_state >> 16) & 0x7FFFu);
}
