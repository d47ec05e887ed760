// The geometry records the cut model is built from; the geometry library owns them.
#pragma once

#include "Math/Bezier.h"
