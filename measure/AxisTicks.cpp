#include "measure/AxisTicks.h"
