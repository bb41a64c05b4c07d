// The lit mesh: flat and smooth shading under the two point lights, and the
// smooth mesh under the two spot lights.
#pragma once

// Leaves lighting, colour material and every light off and the shade model
// smooth; the lists are built and the shade models set even when the tests
// are skipped.
void run_shading_tests();
