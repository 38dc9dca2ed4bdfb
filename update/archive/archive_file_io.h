#pragma once
// minizip reads the archive through these functions, over a file handle that
// the archive reader opened and closes itself.
#include <windows.h>

#include <ioapi.h>

// The handle is also what minizip's "open" hands back, so pass any non-null
// path to unzOpen2_64.
zlib_filefunc64_def FileFunctionsOver(HANDLE file);
