// Host file specifications as standard I/O streams.
#pragma once

#include <stdio.h>

#include "AllSuites.h"

// Opens the file a host platform file specification names, with an fopen
// mode; returns the stream, or null when the path cannot be made or the file
// cannot be opened.
FILE* OS_fopen(const SPPlatformFileSpecification* fileSpecification, const char* mode);
