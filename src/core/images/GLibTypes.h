#pragma once
// Libraries that register GLib types as they start or meet a format for the
// first time (libvips and its loaders, GStreamer) must not do it at the same
// moment: two of them racing once freed the same memory twice. Decoders pass
// this gate together; starting GStreamer passes it alone.

#include "work/SharedGate.h"

namespace mirelo {

SharedGate& glibTypes();

} // namespace mirelo
