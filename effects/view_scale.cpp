// The effects' conversion from virtual units (a view 600 pixels high) to the
// pixels of the current view.
#include <climits>
#include <cmath>

#include "effects.h"
#include "oglstate.h"

double ViewScale() {
    return OGLState::GetViewHeight() / 600.0;
}

long TruncToLong(double value) {
    if (std::isnan(value)) return 0;
    if (value >= (double)LONG_MAX) return LONG_MAX;
    if (value <= (double)LONG_MIN) return LONG_MIN;
    return (long)value;
}
