#pragma once
// The one source of the program's version, read by the version block and the code.
#define BR_VERSION_MAJOR 1
#define BR_VERSION_MINOR 0
#define BR_VERSION_PATCH 0
#define BR_VERSION_BUILD 0
#define BR_VERSION_STRING "1.0.0.0"
