// Findings of the hostile archive suite, each pinned down as a case of its
// own: what the generator found, and the free-space refusal.
#include "test_files.h"
#include "update/update_window.h"
#include "zip_layout.h"
#include "zip_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ArchiveRegression : public ::testing::Test {
protected:
    std::wstring Skin() const { return m_temp / L"skin"; }
    std::wstring Zip() const { return m_temp / L"update.zip"; }
    bool Unpack(const std::string& bytes)
    {
        RemoveTree(Skin());
        EXPECT_TRUE(WriteFileBytes(Zip(), bytes));
        return m_updater.UnzipPackage(Skin(), Zip());
    }
    std::vector<std::wstring> Unpacked() const
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((Skin() + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (found.cFileName[0] != L'.')
                names.push_back(found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

    ScopedTempFolder m_temp{L"regression"};
    CUpdateMain m_updater;
};

ZipEntryPlan File(const std::string& name, const std::string& data)
{
    ZipEntryPlan entry;
    entry.name = name;
    entry.data = data;
    entry.deflate = true;
    return entry;
}

uint64_t FreeBytes(const std::wstring& folder)
{
    ULARGE_INTEGER available = {};
    EXPECT_TRUE(GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr));
    return available.QuadPart;
}

// A first entry that is whole, then entries whose central records (and local
// headers, so that nothing else is wrong with them) declare these sizes.
std::string ArchiveDeclaring(const std::vector<uint32_t>& sizes)
{
    std::vector<ZipEntryPlan> entries = {File("first.txt", "written only if it fits")};
    for (size_t i = 0; i < sizes.size(); ++i)
        entries.push_back(File("big" + std::to_string(i) + ".bin", "x"));
    std::string bytes = BuildZip(entries);
    ZipLayout layout;
    EXPECT_TRUE(ReadZipLayout(bytes, layout));
    for (size_t i = 0; i < sizes.size(); ++i) {
        for (ZipField field : {ZipField::LocalUncompressedSize, ZipField::CentralUncompressedSize}) {
            const ZipFieldSpan* span = layout.Find(field, static_cast<int>(i + 1));
            WriteLittleEndian(bytes, span->offset, span->size, sizes[i]);
        }
    }
    return bytes;
}

}  // namespace

// minizip read the fields of a cut end record as zeros: cut inside its entry
// counts, an archive passed as one of zero entries and "unpacked" nothing.
TEST_F(ArchiveRegression, EndRecordCutShortIsRefused)
{
    const std::string whole = BuildZip({File("a.txt", "alpha"), File("b/c.txt", "gamma")});
    ASSERT_TRUE(Unpack(whole)) << std::hex << m_updater.m_nArchiveResult;
    for (size_t missing = 1; missing <= 21; ++missing) {
        SCOPED_TRACE(missing);
        EXPECT_FALSE(Unpack(whole.substr(0, whole.size() - missing)));
        EXPECT_TRUE(Unpacked().empty());
    }
}

TEST_F(ArchiveRegression, DeclaredSizesBeyondTheFreeSpaceAreRefusedBeforeAnythingIsWritten)
{
    CreateFolders(Skin());
    // 2^31 - 1 bytes per entry, over enough entries to exceed the free space
    // by 16 GB whatever else happens on the disk meanwhile.
    const uint64_t entries = (FreeBytes(Skin()) + (16ull << 30)) / 0x7FFFFFFF + 1;
    ASSERT_TRUE(entries < 60000);
    EXPECT_FALSE(Unpack(ArchiveDeclaring(std::vector<uint32_t>(entries, 0x7FFFFFFF))));
    EXPECT_EQ(m_updater.m_nArchiveResult, ArcNoSpace);
    EXPECT_TRUE(Unpacked().empty());

    // Two such entries fit: the first file is written, the lying second fails.
    EXPECT_FALSE(Unpack(ArchiveDeclaring({0x7FFFFFFF, 0x7FFFFFFF})));
    EXPECT_NE(m_updater.m_nArchiveResult, ArcNoSpace);
    EXPECT_EQ(Unpacked(), std::vector<std::wstring>{L"first.txt"});
}

TEST_F(ArchiveRegression, Zip64SizesThatWouldWrapTheSumAreRefused)
{
    // Central sizes of 0xFFFFFFFF send minizip to the ZIP64 block, which here
    // declares 2^63 bytes: two of them wrap a plain sum to the 1 byte of the
    // first entry.
    std::vector<ZipEntryPlan> entries = {File("first.txt", "x")};
    for (int i = 0; i < 2; ++i) {
        ZipEntryPlan big = File("big" + std::to_string(i), "y");
        big.centralExtra = ExtraBlock(0x0001, std::string(7, '\0') + '\x80');
        entries.push_back(big);
    }
    std::string bytes = BuildZip(entries);
    ZipLayout layout;
    ASSERT_TRUE(ReadZipLayout(bytes, layout));
    for (int i = 1; i <= 2; ++i) {
        const ZipFieldSpan* span = layout.Find(ZipField::CentralUncompressedSize, i);
        WriteLittleEndian(bytes, span->offset, span->size, 0xFFFFFFFF);
    }
    EXPECT_FALSE(Unpack(bytes));
    EXPECT_EQ(m_updater.m_nArchiveResult, ArcNoSpace);
    EXPECT_TRUE(Unpacked().empty());
}
