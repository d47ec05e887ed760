// A file written so that it replaces the file at a path only when it is
// complete: the plot files the user chooses, the plotter library and the
// single-plotter files. Nothing of a file the user had is lost by a failed or
// an interrupted write, nor by another writer of the same file at the same
// time.
#pragma once

#include <stdio.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"

// The stream goes to a temporary file of its own beside the target
// ("PATH.tmp-" and six random characters), created exclusively and never
// through a link, so that parallel writers of one file never share one;
// OS_fcloseReplacing renames it over the target once everything was written,
// flushed, synced and closed. A symbolic link at the path is followed: the
// file it names gets the content. A target that is replaced keeps its
// permissions.
typedef struct OSReplacingFile {
    FILE* stream;
    char path[kSPMaxPathLength + 1];
    char temp[kSPMaxPathLength + 16];  // the temporary file while the stream is open, else empty
    int systemError;  // errno of the first failure, kOSNotRegularFile, or 0 when none
} OSReplacingFile;

// systemError of a path naming a device, pipe or socket (no errno says that).
enum { kOSNotRegularFile = -1 };

// Opens the temporary stream for the file at path. Fails, before anything is
// created, for a path that cannot be made, one that names something other
// than a regular file (a folder, a device), and a file the user may not write
// (as cp decides: EACCES, EROFS). Returns kNoErr or '!FOP' (systemError tells
// why).
VT_NODISCARD ASErr OS_fopenReplacingPath(const char* path, OSReplacingFile* file);
// Closes the stream and, when writeError is kNoErr and the close succeeded,
// puts the new file in place; otherwise removes the temporary file. Returns
// writeError, or '!Wrt' when closing or replacing failed.
VT_NODISCARD ASErr OS_fcloseReplacing(OSReplacingFile* file, ASErr writeError);
