// Host file specifications as standard I/O streams, and the files of the
// plug-in's own folder.
#pragma once

#include <stddef.h>
#include <stdio.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"

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

// A file written so that it replaces the file a specification names only when
// it is complete: the stream goes to "PATH.tmp" beside it, and
// OS_fcloseReplacing renames that over the file once everything was written,
// flushed, synced and closed. A failed write leaves the user's file as it was.
// A symbolic link is followed: the file it names gets the content.
typedef struct OSReplacingFile {
    FILE* stream;
    char path[kSPMaxPathLength + 1];
    char temp[kSPMaxPathLength + 5];
    int systemError;  // errno of the first failure, kOSNotRegularFile, or 0 when none
} OSReplacingFile;

// systemError of a path naming a device, pipe or socket (no errno says that).
enum { kOSNotRegularFile = -1 };

// Opens the temporary stream. Fails, before anything is created, for a path
// that cannot be made, or one that names something other than a regular file
// (a folder, a device). Returns kNoErr or '!FOP' (systemError tells why).
VT_NODISCARD ASErr OS_fopenReplacing(const SPPlatformFileSpecification* fileSpecification, OSReplacingFile* file);
// Closes the stream and, when writeError is kNoErr and the close succeeded,
// puts the new file in place; otherwise removes the temporary file. Returns
// writeError, or '!Wrt' when closing or replacing failed.
VT_NODISCARD ASErr OS_fcloseReplacing(OSReplacingFile* file, ASErr writeError);
