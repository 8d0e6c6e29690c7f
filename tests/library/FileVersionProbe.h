// The file version of the file-version test program itself: four different
// numbers, so that a mixed-up half shows.
#pragma once

#define PROBE_VERSION_MAJOR1 2
#define PROBE_VERSION_MAJOR2 7
#define PROBE_VERSION_MINOR1 18
#define PROBE_VERSION_MINOR2 28
