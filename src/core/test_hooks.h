// Faults the tests can plant in the drawing, to show that a validation run
// catches them. TARVELIN_FAULT names one; a normal run has none and draws as
// it always does.
#pragma once

enum class DrawingFault {
  none,
  fog_off,         // the fog tests draw without fog
  nearest_filter,  // the linear texture tests filter with GL_NEAREST
  logic_copy,      // the GL_XOR tests draw with GL_COPY once their check has passed
  drop_face,       // one face of the mesh is left out of every display list
};

// The fault TARVELIN_FAULT names (read once); none when it is unset or
// names no fault.
DrawingFault drawing_fault();
