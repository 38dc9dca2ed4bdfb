// Unpacks a batch of generated hostile packages with the updater's
// UnzipPackage, one after the other, and checks each: refused when damaged,
// nothing written outside the unpack folder, no file holding bytes the
// archive did not pack. Run by the hostile archive tests, which watch it.
//   hostile_unpack_worker <family> <seed> <first case> <count> <folder>
// Prints "CASE <n>" before each case, "FAIL <n> <problem> | <case>" for each
// problem and "END <cases> <accepted> <refused> <damaged>" at the end.
#include "archive_mutants.h"
#include "test_files.h"
#include "update/update_window.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Sandbox {
    std::wstring root;     // holds only "sandbox"
    std::wstring sandbox;  // holds only "update.zip" and "case"
    std::wstring archive;
    std::wstring caseFolder;
    std::wstring skin;     // the unpack folder: anything may appear below it
};

struct Report {
    uint32_t index;
    std::string description;
    int problems = 0;
    void Fail(const std::string& problem)
    {
        ++problems;
        std::printf("FAIL %u %s | %s\n", index, problem.c_str(), description.c_str());
        std::fflush(stdout);
    }
};

bool IsFolder(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Every file below the unpack folder must hold bytes one of the entries packed.
void CheckUnpacked(const std::wstring& folder, const ArchiveCase& archiveCase, Report& report)
{
    for (const std::wstring& name : FolderEntries(folder)) {
        std::wstring path = folder + L"\\" + name;
        DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            report.Fail("a link was made: " + ToUtf8(path));
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            CheckUnpacked(path, archiveCase, report);
            continue;
        }
        std::string bytes = ReadFileBytes(path);
        if (std::find(archiveCase.contents.begin(), archiveCase.contents.end(), bytes) ==
            archiveCase.contents.end())
            report.Fail("file holds " + std::to_string(bytes.size()) +
                        " bytes no entry packed: " + ToUtf8(path));
    }
}

// Only the archive and the case folder beside the unpack folder, the
// archive unchanged, and nothing else in the folders around them.
void CheckNothingOutside(const Sandbox& box, const ArchiveCase& archiveCase, Report& report)
{
    auto expectOnly = [&](const std::wstring& folder, std::vector<std::wstring> allowed) {
        for (const std::wstring& name : FolderEntries(folder)) {
            if (std::find(allowed.begin(), allowed.end(), name) == allowed.end()) {
                std::wstring path = folder + L"\\" + name;
                report.Fail("written outside the unpack folder: " + ToUtf8(path));
                if (IsFolder(path))
                    RemoveTree(path);
                else
                    DeleteFileW(path.c_str());
            }
        }
    };
    expectOnly(box.root, {L"sandbox"});
    expectOnly(box.sandbox, {L"update.zip", L"case"});
    expectOnly(box.caseFolder, {L"skin"});
    if (ReadFileBytes(box.archive) != archiveCase.bytes)
        report.Fail("the archive itself was changed");
}

// Names of the hostile entries start with "kit-escape": none may appear in
// the folders above the sandbox, at the drive roots or in the system folders.
void CheckNoEscapedFiles(const std::vector<std::wstring>& folders, Report& report)
{
    for (const std::wstring& folder : folders) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"\\kit-escape*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            std::wstring path = folder + L"\\" + found.cFileName;
            report.Fail("written outside the sandbox: " + ToUtf8(path));
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
}

std::vector<std::wstring> FoldersAround(const std::wstring& root)
{
    std::vector<std::wstring> folders;
    std::wstring path = root;
    for (size_t cut = path.find_last_of(L'\\'); cut != std::wstring::npos && cut > 2;
         cut = path.find_last_of(L'\\')) {
        path.erase(cut);
        folders.push_back(path);
    }
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    folders.push_back(current);
    for (const wchar_t* folder : {L"C:", L"C:\\windows", L"C:\\windows\\system32", L"C:\\users",
                                  L"D:", L"Z:", L"Z:\\tmp"}) {
        if (IsFolder(std::wstring(folder) + L"\\"))
            folders.push_back(folder);
    }
    return folders;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    MutationFamily family;
    if (argc != 6 || !FamilyFromName(ToUtf8(argv[1]), family)) {
        std::fprintf(stderr, "usage: hostile_unpack_worker <family> <seed> <first> <count> <folder>\n");
        return 2;
    }
    const uint32_t seed = static_cast<uint32_t>(_wtoi(argv[2]));
    const uint32_t first = static_cast<uint32_t>(_wtoi(argv[3]));
    const uint32_t count = static_cast<uint32_t>(_wtoi(argv[4]));
    Sandbox box;
    box.root = argv[5];
    box.sandbox = box.root + L"\\sandbox";
    box.archive = box.sandbox + L"\\update.zip";
    box.caseFolder = box.sandbox + L"\\case";
    box.skin = box.caseFolder + L"\\skin";
    CreateFolders(box.caseFolder);
    const std::vector<std::wstring> around = FoldersAround(box.root);

    uint32_t accepted = 0, refused = 0, damaged = 0, failed = 0;
    for (uint32_t index = first; index < first + count; ++index) {
        std::printf("CASE %u\n", index);
        std::fflush(stdout);
        ArchiveCase archiveCase = MakeArchiveCase(family, seed, index);
        Report report{index, archiveCase.description};
        if (!WriteFileBytes(box.archive, archiveCase.bytes)) {
            report.Fail("cannot write the archive");
            break;
        }
        CUpdateMain updater;
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        bool unpacked = updater.UnzipPackage(box.skin, box.archive);
        QueryPerformanceCounter(&end);
        (unpacked ? accepted : refused)++;
        damaged += archiveCase.damaged ? 1 : 0;

        if (unpacked && archiveCase.damaged)
            report.Fail("damaged archive accepted");
        // A bound on a hang, not a measure of speed.
        if (Seconds(start, end) > 10.0)
            report.Fail("took " + std::to_string(Seconds(start, end)) + " s");
        CheckNothingOutside(box, archiveCase, report);
        CheckNoEscapedFiles(around, report);
        if (IsFolder(box.skin))
            CheckUnpacked(box.skin, archiveCase, report);
        RemoveTree(box.skin);
        if (report.problems > 0)
            ++failed;
    }
    std::printf("END %u %u %u %u\n", accepted + refused, accepted, refused, damaged);
    return failed == 0 ? 0 : 1;
}
