// Whether the device offers GradientFill. Some devices lack the service; tests turn it off to
// see the programs fall back to a flat fill (see averageColour in colour.h).
#pragma once

namespace gdi {

void setGradientFillAvailable(bool available);

} // namespace gdi
