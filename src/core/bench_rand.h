// The benchmark's own pseudo-random generator. Every put and copy position and the spin of the
// 3D object follow from its exact sequence and from how many values were drawn before, so that
// runs on different machines draw the same pixels at the same places; the C library's rand()
// must never stand in for it. The run owns one (in RunState) for its whole length and never
// reseeds it.
#pragma once

#include <cstdint>

struct BenchRand {
  uint32_t bench_rand_state = 1;

  // Advances the state to state * 214013 + 2531011 (mod 2^32) and returns bits 16 to 30 of the
  // new state: a value from 0 to 32767. The first value from a fresh generator is 41.
  int bench_rand() {
    // Unsigned arithmetic gives the wrap modulo 2^32 on every platform.
    bench_rand_state = bench_rand_state * 214013u + 2531011u;
    return static_cast<int>((bench_rand_state >> 16) & 0x7FFFu);
  }
};
