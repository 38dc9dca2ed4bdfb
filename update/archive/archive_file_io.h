#pragma once
// minizip reads the archive through these functions, over a file handle that
// the archive reader opened and closes itself; small reads come from a
// window of the file read ahead.
#include <windows.h>

#include <ioapi.h>

// minizip's "open" makes the buffered stream over the handle (its "close"
// frees it), so pass any non-null path to unzOpen2_64.
zlib_filefunc64_def FileFunctionsOver(HANDLE file);
