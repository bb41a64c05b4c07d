#include "scene3d/scene_state.h"

GLfloat scene_matrix[16] = {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f,   0.0f,
                            0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, -10.0f, 1.0f};
double step_sin_x;
double step_cos_x;
double step_sin_y;
double step_cos_y;
double spin_angle_x;
double spin_angle_y;
