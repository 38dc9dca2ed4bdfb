#include "archive_file_io.h"

#include <cstring>
#include <vector>

namespace {

// minizip reads every header field byte by byte; each read straight from
// the file would be a system call (and under Wine a server round trip), so
// small reads are served from a window of the file read ahead.
constexpr DWORD kReadAheadBytes = 65536;

class BufferedFile {
public:
    explicit BufferedFile(HANDLE file) : m_file(file), m_window(kReadAheadBytes) {}

    uLong Read(void* buffer, uLong size)
    {
        char* out = static_cast<char*>(buffer);
        uLong done = 0;
        while (done < size) {
            if (m_position >= m_windowStart && m_position < m_windowStart + m_windowLength) {
                uLong offset = static_cast<uLong>(m_position - m_windowStart);
                uLong take = static_cast<uLong>(m_windowLength) - offset;
                if (take > size - done)
                    take = size - done;
                std::memcpy(out + done, m_window.data() + offset, take);
                done += take;
                m_position += take;
                continue;
            }
            // Large reads (entry data) go straight to the caller's buffer.
            uLong left = size - done;
            if (left >= kReadAheadBytes / 4)
                return done + ReadAt(out + done, left);
            m_windowStart = m_position;
            m_windowLength = ReadAt(m_window.data(), kReadAheadBytes, false);
            if (m_windowLength == 0)
                break;
        }
        return done;
    }

    ZPOS64_T Tell() const { return m_position; }

    bool Seek(ZPOS64_T offset, int origin)
    {
        LONGLONG base = 0;
        if (origin == ZLIB_FILEFUNC_SEEK_CUR) {
            base = static_cast<LONGLONG>(m_position);
        } else if (origin == ZLIB_FILEFUNC_SEEK_END) {
            LARGE_INTEGER size;
            if (!GetFileSizeEx(m_file, &size))
                return false;
            base = size.QuadPart;
        }
        LONGLONG target = base + static_cast<LONGLONG>(offset);
        if (target < 0)
            return false;
        m_position = static_cast<ZPOS64_T>(target);
        return true;
    }

private:
    // Reads at the current position; moves it unless only the window is filled.
    uLong ReadAt(char* buffer, uLong size, bool advance = true)
    {
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(m_position);
        DWORD got = 0;
        if (!SetFilePointerEx(m_file, at, nullptr, FILE_BEGIN) ||
            !ReadFile(m_file, buffer, size, &got, nullptr))
            return 0;
        if (advance)
            m_position += got;
        return got;
    }

    HANDLE m_file;
    std::vector<char> m_window;
    ZPOS64_T m_windowStart = 0;
    size_t m_windowLength = 0;
    ZPOS64_T m_position = 0;
};

BufferedFile* Stream(voidpf stream)
{
    return static_cast<BufferedFile*>(stream);
}

voidpf ZCALLBACK OpenFile(voidpf opaque, const void*, int)
{
    return new BufferedFile(static_cast<HANDLE>(opaque));
}

uLong ZCALLBACK ReadFromFile(voidpf, voidpf stream, void* buffer, uLong size)
{
    return Stream(stream)->Read(buffer, size);
}

uLong ZCALLBACK WriteToFile(voidpf, voidpf, const void*, uLong)
{
    return 0;  // the archive is only ever read
}

ZPOS64_T ZCALLBACK TellFile(voidpf, voidpf stream)
{
    return Stream(stream)->Tell();
}

long ZCALLBACK SeekFile(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    return Stream(stream)->Seek(offset, origin) ? 0 : -1;
}

int ZCALLBACK CloseFile(voidpf, voidpf stream)
{
    delete Stream(stream);  // the reader owns and closes the handle itself
    return 0;
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
