// Opaque handles as the portable core sees them. The Windows layer converts its
// HANDLE and HWND values to and from these integers; the core never looks inside.
#pragma once

#include <cstdint>

namespace astro {

using PortHandle = std::uintptr_t;
using EventHandle = std::uintptr_t;
using WindowHandle = std::uintptr_t;

// Every bit set: the value of a port or event that is not open.
constexpr PortHandle kInvalidPort = ~PortHandle{0};
constexpr EventHandle kInvalidEvent = ~EventHandle{0};

}  // namespace astro
