#include "measure/ui/MeasurePlot.h"
