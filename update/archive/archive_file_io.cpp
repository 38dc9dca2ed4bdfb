#include "archive_file_io.h"

namespace {

voidpf ZCALLBACK OpenFile(voidpf opaque, const void*, int)
{
    return opaque;
}

uLong ZCALLBACK ReadFromFile(voidpf, voidpf stream, void* buffer, uLong size)
{
    DWORD got = 0;
    if (!ReadFile(static_cast<HANDLE>(stream), buffer, size, &got, nullptr))
        return 0;
    return got;
}

uLong ZCALLBACK WriteToFile(voidpf, voidpf, const void*, uLong)
{
    return 0;  // the archive is only ever read
}

ZPOS64_T ZCALLBACK TellFile(voidpf, voidpf stream)
{
    LARGE_INTEGER none = {};
    LARGE_INTEGER position = {};
    if (!SetFilePointerEx(static_cast<HANDLE>(stream), none, &position, FILE_CURRENT))
        return static_cast<ZPOS64_T>(-1);
    return static_cast<ZPOS64_T>(position.QuadPart);
}

long ZCALLBACK SeekFile(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    DWORD method = FILE_BEGIN;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        method = FILE_CURRENT;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        method = FILE_END;
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(static_cast<HANDLE>(stream), distance, nullptr, method) ? 0 : -1;
}

int ZCALLBACK CloseFile(voidpf, voidpf)
{
    return 0;  // the reader owns the handle
}

// minizip asks only after a header read came up short, and takes "no error"
// as leave to read the missing bytes as zeros: a cut end record would then
// pass as an archive of zero entries. A header that runs past the end of the
// file is damage.
int ZCALLBACK FileError(voidpf, voidpf)
{
    return 1;
}

}  // namespace

zlib_filefunc64_def FileFunctionsOver(HANDLE file)
{
    zlib_filefunc64_def functions = {};
    functions.zopen64_file = OpenFile;
    functions.zread_file = ReadFromFile;
    functions.zwrite_file = WriteToFile;
    functions.ztell64_file = TellFile;
    functions.zseek64_file = SeekFile;
    functions.zclose_file = CloseFile;
    functions.zerror_file = FileError;
    functions.opaque = file;
    return functions;
}
