// The benchmark's own pseudo-random generator. Every put and copy position and the spin of the
// 3D object follow from its exact sequence and from how many values were drawn before, so that
// runs on different machines draw the same pixels at the same places; the C library's rand()
// must never stand in for it.
#pragma once

#include <cstdint>

// The process-wide generator state: 1 at start-up and never reseeded by the program. Exposed
// only so that tests can save and restore it around their own draws.
extern uint32_t bench_rand_state;

// Advances the state to state * 214013 + 2531011 (mod 2^32) and returns bits 16 to 30 of the
// new state: a value from 0 to 32767. The first value after start-up is 41.
int bench_rand();
