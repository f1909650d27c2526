#pragma once

// Symbols of the control library are hidden unless marked: only the controls, the factory and
// the palette helpers form its interface.
#if defined(LUMERIX_BUILD)
#define LUMERIX_EXPORT __attribute__((visibility("default")))
#else
#define LUMERIX_EXPORT
#endif
