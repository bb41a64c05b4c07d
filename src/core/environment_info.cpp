#include "core/environment_info.h"

EnvironmentInfo environment_info;
