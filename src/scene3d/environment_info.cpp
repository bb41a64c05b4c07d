#include "scene3d/environment_info.h"

EnvironmentInfo environment_info;
