// Host file specifications as standard I/O streams, and the files of the
// plug-in's own folder.
#pragma once

#include <stddef.h>
#include <stdio.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Common/OSReplacingFile.h"

// Opens the file a host platform file specification names, with an fopen
// mode; returns the stream, or null when the path cannot be made or the file
// cannot be opened.
FILE* OS_fopen(const SPPlatformFileSpecification* fileSpecification, const char* mode);

// The path of fileName in the folder that holds the plug-in file (the
// language file, the plotter library, the preview file): the folder, "/" and
// the name, into path (size bytes). 0, or '!FOP' with an empty path when the
// folder is unknown or the path does not fit: a cut path would name another
// file.
VT_NODISCARD ASErr pluginFolderFilePath(const char* fileName, char* path, size_t size);

// The plug-in's folder itself, where file dialogs start. 0, or '!FOP' when it
// is unknown.
VT_NODISCARD ASErr pluginFolderSpecification(SPPlatformFileSpecification* folder);

// OS_fopenReplacingPath (Common/OSReplacingFile.h) for the file a host
// platform file specification names: kNoErr, or '!FOP' with systemError set
// (ENAMETOOLONG for a specification that makes no path).
VT_NODISCARD ASErr OS_fopenReplacing(const SPPlatformFileSpecification* fileSpecification, OSReplacingFile* file);
