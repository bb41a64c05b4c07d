#include "app/run_sequence.h"

int main(int argc, char** argv) { return run_benchmark(argc, argv); }
