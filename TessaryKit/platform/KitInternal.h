#pragma once

#include "platform/KitInternal.h"

// The platform layer and the metadata readers are TessaryKit's own: the front ends reach them only
// through the domain's types, so that their rules stay in one place.
#ifndef TESSARY_KIT_INTERNAL
#error "This header is internal to TessaryKit; use the domain type that wraps it"
#endif
