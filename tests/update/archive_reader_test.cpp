// The archive layer on archives the tests build themselves.
#include "archive_fixture.h"
#include "kit_fixture.h"
#include "update/archive/entry_name.h"
#include "update/archive/entry_times.h"

#include <algorithm>
#include <iterator>

namespace {

ZipEntryPlan File(const std::string& name, const std::string& data, bool deflate = false)
{
    ZipEntryPlan entry;
    entry.name = name;
    entry.data = data;
    entry.deflate = deflate;
    return entry;
}

ZipEntryPlan Folder(const std::string& name)
{
    ZipEntryPlan entry;
    entry.name = name;
    entry.externalAttributes = 0x10;
    return entry;
}

std::vector<std::wstring> Expected(std::vector<std::wstring> files)
{
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

TEST_F(ArchiveTest, StoredAndDeflatedEntriesAreWrittenByteForByte)
{
    // Larger than the 16384-byte transfer buffer, so data arrives in pieces.
    std::string noise = NoiseBytes(100000, 7);
    std::string text(70000, 'a');
    std::string allBytes;
    for (int i = 0; i < 256; ++i)
        allBytes += static_cast<char>(i);
    ASSERT_TRUE(Unpack({File("stored.bin", noise), File("deflated.bin", noise, true),
                        File("text.txt", text, true), File("bytes.bin", allBytes),
                        File("empty.txt", ""), File("empty-deflated.txt", "", true)}))
        << std::hex << Result();
    EXPECT_EQ(ReadFileBytes(InSkin(L"stored.bin")), noise);
    EXPECT_EQ(ReadFileBytes(InSkin(L"deflated.bin")), noise);
    EXPECT_EQ(ReadFileBytes(InSkin(L"text.txt")), text);
    EXPECT_EQ(ReadFileBytes(InSkin(L"bytes.bin")), allBytes);
    EXPECT_TRUE(FileExists(InSkin(L"empty.txt")));
    EXPECT_TRUE(FileExists(InSkin(L"empty-deflated.txt")));
    EXPECT_EQ(ReadFileBytes(InSkin(L"empty-deflated.txt")), "");
    EXPECT_EQ(Result(), ArcOk);
}

TEST(EntryName, SafetyRulesStripDrivesLeadingSeparatorsAndParentReferences)
{
    struct Case {
        const wchar_t* stored;
        const wchar_t* name;
    } cases[] = {
        {L"C:/tools/a.txt", L"tools/a.txt"},
        {L"C:\\tools\\a.txt", L"tools\\a.txt"},
        {L"/etc/x", L"etc/x"},
        {L"\\etc\\x", L"etc\\x"},
        {L"a/../b/c.txt", L"b/c.txt"},
        {L"a\\..\\b\\c.txt", L"b\\c.txt"},
        {L"a\\../b/c.txt", L"b/c.txt"},
        {L"a/..\\b\\c.txt", L"b\\c.txt"},
        {L"//server/share/x", L"server/share/x"},
        {L"C:\\\\D:/x", L"x"},
        {L"x/y/../../z", L"../z"},  // left for the refusal test
        {L"plain.txt", L"plain.txt"},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StripEntryName(c.stored), c.name) << ToUtf8(c.stored);
}

TEST(EntryName, NamesThatWouldLeaveTheFolderOrNameADeviceAreRefused)
{
    const wchar_t* refused[] = {
        L"../x", L"..\\x", L"..", L"a/..", L"a\\..", L"a/../../b", L"a/./b", L"dir./x",
        L"dir /x", L"x.", L"x ", L"CON", L"con.txt", L"dir/NUL", L"aux.log", L"Prn",
        L"COM1", L"lpt9.txt", L"com\u00B9", L"CONIN$", L"conout$.x", L"NUL .txt",
        L"a:b", L"file.txt:stream", L"?/C:/x", L"a*b", L"a?b", L"a|b", L"a<b", L"a>b",
        L"a\"b", L"a\x01" L"b"};
    for (const wchar_t* name : refused)
        EXPECT_FALSE(IsSafeEntryName(name)) << ToUtf8(name);
    const wchar_t* accepted[] = {L"a.txt", L"dir/sub/", L".hidden", L"a..b", L"CONSOLE.txt",
                                 L"COM10", L"lpt", L"dir//x", L"\x4E2D\x6587.txt", L"..a"};
    for (const wchar_t* name : accepted)
        EXPECT_TRUE(IsSafeEntryName(name)) << ToUtf8(name);
}

TEST_F(ArchiveTest, NamesWithDrivesSeparatorsAndParentReferencesLandWhereTheRulesPutThem)
{
    ASSERT_TRUE(Unpack({File("C:/tools/a.txt", "1"), File("/etc/x", "2"),
                        File("a/../b/c.txt", "3"), File("D:\\win\\d.txt", "4"),
                        File("\\top\\e.txt", "5"), File("f\\..\\g\\h.txt", "6")}))
        << std::hex << Result();
    EXPECT_EQ(FilesBelow(Skin()), Expected({L"tools\\a.txt", L"etc\\x", L"b\\c.txt",
                                            L"win\\d.txt", L"top\\e.txt", L"g\\h.txt"}));
    EXPECT_EQ(ReadFileBytes(InSkin(L"b\\c.txt")), "3");
    EXPECT_EQ(ReadFileBytes(InSkin(L"g\\h.txt")), "6");
    // Nothing beside the staging folder but the archive itself.
    EXPECT_EQ(FilesBelow(Product()), Expected({L"update.zip", L"skin\\tools\\a.txt",
                                               L"skin\\etc\\x", L"skin\\b\\c.txt",
                                               L"skin\\win\\d.txt", L"skin\\top\\e.txt",
                                               L"skin\\g\\h.txt"}));
}

TEST_F(ArchiveTest, DirectoryEntriesAndImpliedFoldersAreCreated)
{
    ZipEntryPlan unixFolder = Folder("unix/");
    unixFolder.host = kHostUnix;
    unixFolder.externalAttributes = 040755u << 16;
    ZipEntryPlan bareFolder = Folder("bare/");  // only the trailing separator says so
    bareFolder.externalAttributes = 0;
    ASSERT_TRUE(Unpack({Folder("dir/sub/"), File("deep/er/f.txt", "f"), unixFolder, bareFolder,
                        Folder("empty/")}))
        << std::hex << Result();
    for (const wchar_t* folder : {L"dir", L"dir\\sub", L"deep", L"deep\\er", L"unix", L"bare",
                                  L"empty"})
        EXPECT_TRUE(FolderExists(InSkin(folder))) << ToUtf8(folder);
    EXPECT_EQ(FilesBelow(Skin()), Expected({L"deep\\er\\f.txt"}));
}

TEST_F(ArchiveTest, AttributesFollowTheHostThatMadeTheArchive)
{
    struct Case {
        const char* name;
        uint16_t host;
        uint32_t external;
        DWORD attributes;
    } cases[] = {
        {"unix-writable.txt", kHostUnix, 0100644u << 16, FILE_ATTRIBUTE_ARCHIVE},
        {"unix-readonly.txt", kHostUnix, 0100444u << 16,
         FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
        {"dos-archive.txt", kHostDos, 0x20, FILE_ATTRIBUTE_ARCHIVE},
        {"dos-readonly.txt", kHostDos, 0x21, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
        {"dos-hidden.txt", kHostDos, 0x22, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN},
        {"ntfs-hidden.txt", 11, 0x22, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN},
    };
    std::vector<ZipEntryPlan> entries;
    for (const auto& c : cases) {
        ZipEntryPlan entry = File(c.name, c.name);
        entry.host = c.host;
        entry.externalAttributes = c.external;
        entries.push_back(entry);
    }
    WriteZip(entries);
    HARCHIVE archive = OpenArchive(Zip().c_str());
    ASSERT_NE(archive, nullptr);
    for (int32_t i = 0; i < static_cast<int32_t>(std::size(cases)); ++i) {
        ArchiveEntry entry;
        ASSERT_EQ(GetEntry(archive, i, entry), ArcOk);
        EXPECT_EQ(entry.attributes, cases[i].attributes) << cases[i].name;
    }
    CloseArchive(archive);

    ASSERT_TRUE(Unpack()) << std::hex << Result();
    for (const auto& c : cases) {
        std::wstring path = InSkin(FromUtf8(c.name));
        EXPECT_EQ(GetFileAttributesW(path.c_str()), c.attributes) << c.name;
        EXPECT_EQ(ReadFileBytes(path), c.name);
    }
    // A second unpack replaces the read-only and hidden files it left.
    EXPECT_TRUE(Unpack()) << std::hex << Result();
}

TEST_F(ArchiveTest, ExtendedTimestampsOverrideTheDosTimes)
{
    const int32_t modified = 1262347200;   // 2010-01-01 12:00:00 UTC
    const int32_t accessed = 1293883200;   // 2011-01-01 12:00:00 UTC
    const int32_t created = 1325419200;    // 2012-01-01 12:00:00 UTC
    FILETIME dosTime;
    ASSERT_TRUE(DosTimeToFileTime(kDosStamp2016, dosTime));
    const unsigned long long dos = Ticks(dosTime);

    ZipEntryPlan plain = File("plain.txt", "p");
    ZipEntryPlan two = File("two.txt", "t");
    two.localExtra = TimestampBlock(0x03, {modified, accessed});
    ZipEntryPlan three = File("three.txt", "t");
    three.localExtra = ExtraBlock(0x000A, std::string(32, 'x')) +
                       TimestampBlock(0x07, {modified, accessed, created});
    ZipEntryPlan onlyCentral = File("central.txt", "c");  // the central copy is not read
    onlyCentral.centralExtra = TimestampBlock(0x01, {modified});
    ZipEntryPlan cut = File("cut.txt", "c");  // the access time's bytes are missing
    cut.localExtra = TimestampBlock(0x03, {modified});
    ASSERT_TRUE(Unpack({plain, two, three, onlyCentral, cut})) << std::hex << Result();

    // Modification and access times on disk; Wine keeps no creation time of
    // its own, so that one is read from the entry the file was written from.
    FileTimes t = TimesOf(InSkin(L"plain.txt"));
    EXPECT_EQ(t.modification, dos);
    EXPECT_EQ(t.access, dos);
    t = TimesOf(InSkin(L"two.txt"));
    EXPECT_EQ(t.modification, UtcTicks(2010, 1, 1, 12, 0, 0));
    EXPECT_EQ(t.access, UtcTicks(2011, 1, 1, 12, 0, 0));
    t = TimesOf(InSkin(L"three.txt"));
    EXPECT_EQ(t.modification, UtcTicks(2010, 1, 1, 12, 0, 0));
    EXPECT_EQ(t.access, UtcTicks(2011, 1, 1, 12, 0, 0));
    EXPECT_EQ(TimesOf(InSkin(L"central.txt")).modification, dos);
    t = TimesOf(InSkin(L"cut.txt"));
    EXPECT_EQ(t.modification, UtcTicks(2010, 1, 1, 12, 0, 0));
    EXPECT_EQ(t.access, dos);

    HARCHIVE archive = OpenArchive(Zip().c_str());
    ASSERT_NE(archive, nullptr);
    struct Expect {
        int32_t index;
        unsigned long long modification, access, creation;
    } expected[] = {
        {0, dos, dos, dos},
        {1, UtcTicks(2010, 1, 1, 12, 0, 0), UtcTicks(2011, 1, 1, 12, 0, 0), dos},
        {2, UtcTicks(2010, 1, 1, 12, 0, 0), UtcTicks(2011, 1, 1, 12, 0, 0),
         UtcTicks(2012, 1, 1, 12, 0, 0)},
        {3, dos, dos, dos},
        {4, UtcTicks(2010, 1, 1, 12, 0, 0), dos, dos},
    };
    for (const Expect& e : expected) {
        ArchiveEntry entry;
        ASSERT_EQ(GetEntry(archive, e.index, entry), ArcOk);
        EXPECT_EQ(Ticks(entry.modificationTime), e.modification) << e.index;
        EXPECT_EQ(Ticks(entry.accessTime), e.access) << e.index;
        EXPECT_EQ(Ticks(entry.creationTime), e.creation) << e.index;
    }
    CloseArchive(archive);
}

// Run by CTest a second time with TZ=Asia/Shanghai (see CMakeLists.txt).
TEST_F(ArchiveTest, DosTimesAreLocalTime)
{
    TIME_ZONE_INFORMATION zone;
    GetTimeZoneInformation(&zone);
    if (zone.Bias != -480)
        GTEST_SKIP() << "needs a time zone of UTC+8";
    ASSERT_TRUE(Unpack({File("stamp.txt", "s")})) << std::hex << Result();
    FileTimes t = TimesOf(InSkin(L"stamp.txt"));
    const unsigned long long expected = UtcTicks(2016, 12, 20, 1, 52, 34);
    EXPECT_EQ(t.modification, expected);
    EXPECT_EQ(t.access, expected);
}

TEST_F(ArchiveTest, InvalidDosDateGivesTheArchiveFilesOwnTime)
{
    ZipEntryPlan february30 = File("feb30.txt", "x");
    february30.dosDateTime = ((2016u - 1980u) << 25) | (2u << 21) | (30u << 16);
    ZipEntryPlan monthZero = File("month0.txt", "x");
    monthZero.dosDateTime = 0;
    ZipEntryPlan hour31 = File("hour31.txt", "x");
    hour31.dosDateTime = ((2016u - 1980u) << 25) | (1u << 21) | (1u << 16) | (31u << 11);
    WriteZip({february30, monthZero, hour31});
    // The archive file's modification time, set to a known value.
    FILETIME known;
    known.dwLowDateTime = static_cast<DWORD>(UtcTicks(2020, 5, 6, 7, 8, 10));
    known.dwHighDateTime = static_cast<DWORD>(UtcTicks(2020, 5, 6, 7, 8, 10) >> 32);
    HANDLE file = CreateFileW(Zip().c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &known));
    CloseHandle(file);

    ASSERT_TRUE(Unpack()) << std::hex << Result();
    for (const wchar_t* name : {L"feb30.txt", L"month0.txt", L"hour31.txt"}) {
        FileTimes t = TimesOf(InSkin(name));
        EXPECT_EQ(t.modification, Ticks(known)) << ToUtf8(name);
        EXPECT_EQ(t.access, Ticks(known)) << ToUtf8(name);
    }
}

TEST_F(ArchiveTest, EncryptedEntryFailsAfterTheEntriesBeforeItWereWritten)
{
    ZipEntryPlan secret = File("secret.txt", "hidden text", true);
    secret.password = "pass";
    EXPECT_FALSE(Unpack({File("first.txt", "1"), File("second.txt", "2", true), secret,
                         File("after.txt", "3")}));
    EXPECT_EQ(Result(), ArcPasswordNeeded);
    EXPECT_EQ(FilesBelow(Skin()), Expected({L"first.txt", L"second.txt"}));
    EXPECT_EQ(ReadFileBytes(InSkin(L"second.txt")), "2");
}

TEST_F(ArchiveTest, FilesThatAreNoArchiveFailToOpen)
{
    const std::string contents[] = {"", "this is no archive", std::string(5000, 'P'),
                                    BuildZip({File("a.txt", "abc")}).substr(0, 40)};
    for (const std::string& bytes : contents) {
        ASSERT_TRUE(WriteFileBytes(Zip(), bytes));
        EXPECT_EQ(OpenArchive(Zip().c_str()), nullptr) << bytes.size();
        EXPECT_FALSE(Unpack());
        EXPECT_EQ(Result(), ArcCannotOpen);
    }
    EXPECT_EQ(OpenArchive((m_temp / L"missing.zip").c_str()), nullptr);
    EXPECT_FALSE(m_updater.UnzipPackage(Skin(), m_temp / L"missing.zip"));
    EXPECT_FALSE(m_updater.UnzipPackage(L"", Zip()));
    EXPECT_FALSE(m_updater.UnzipPackage(Skin(), L""));
    EXPECT_EQ(FilesBelow(Skin()), std::vector<std::wstring>());
}

TEST_F(ArchiveTest, ZeroEntriesGiveTrueAndWriteNothing)
{
    std::string endRecord = BuildZip({});
    std::string withComment = endRecord;
    withComment[20] = 5;
    withComment += "hello";
    for (const std::string& bytes : {endRecord, withComment}) {
        ASSERT_TRUE(WriteFileBytes(Zip(), bytes));
        EXPECT_TRUE(Unpack());
        EXPECT_EQ(Result(), ArcOk);
        EXPECT_TRUE(FolderExists(Skin()));
        EXPECT_EQ(FilesBelow(Skin()), std::vector<std::wstring>());
    }
    // An end record that claims entries is no empty archive.
    std::string claims = endRecord;
    claims[8] = claims[10] = 1;
    ASSERT_TRUE(WriteFileBytes(Zip(), claims));
    EXPECT_FALSE(Unpack());
    EXPECT_EQ(Result(), ArcCannotOpen);
}

TEST_F(ArchiveTest, HostileNamesAreRefusedAndNothingIsWrittenOutsideTheStagingFolder)
{
    const char* hostile[] = {"../evil.txt", "..\\evil.txt", "a/../../evil.txt",
                             "sub/..", "..", "CON", "dir/nul.txt", "COM1.log",
                             "\\\\?\\C:\\evil.txt", "dot./evil.txt", "blank /evil.txt",
                             "evil.txt.", "ab:evil.txt"};
    for (const char* name : hostile) {
        SCOPED_TRACE(name);
        ZipEntryPlan bad = File(name, "evil");
        EXPECT_FALSE(Unpack({File("good.txt", "good"), bad}));
        EXPECT_EQ(Result(), ArcRefusedPath);
        EXPECT_EQ(FilesBelow(Product()), Expected({L"skin\\good.txt", L"update.zip"}));
        RemoveTree(Skin());
    }
    // A stored name with a NUL inside would be cut to another name.
    ZipEntryPlan cutName = File(std::string("good.txt\0../../evil", 19), "evil");
    EXPECT_FALSE(Unpack({cutName}));
    EXPECT_EQ(Result(), ArcRefusedPath);
    EXPECT_EQ(FilesBelow(Product()), Expected({L"update.zip"}));
}

TEST_F(ArchiveTest, CorruptDataIsAFailureAndLeavesNoFileBehind)
{
    std::string noise = NoiseBytes(40000, 3);
    ZipEntryPlan storedBadCrc = File("stored.bin", noise);
    storedBadCrc.crcXor = 0x1;
    ZipEntryPlan deflatedBadCrc = File("deflated.bin", noise, true);
    deflatedBadCrc.crcXor = 0x80000000u;
    ZipEntryPlan storedFlipped = File("flipped.bin", noise);
    storedFlipped.corruptDataByte = 20000;
    ZipEntryPlan deflatedFlipped = File("inflate.bin", std::string(50000, 'q') + noise, true);
    deflatedFlipped.corruptDataByte = 10;
    ZipEntryPlan emptyBadCrc = File("empty.bin", "");
    emptyBadCrc.crcXor = 0x1234;
    for (const ZipEntryPlan& bad : {storedBadCrc, deflatedBadCrc, storedFlipped,
                                    deflatedFlipped, emptyBadCrc}) {
        SCOPED_TRACE(bad.name);
        EXPECT_FALSE(Unpack({File("good.txt", "good"), bad, File("later.txt", "later")}));
        EXPECT_EQ(Result(), ArcInflateFailed);
        EXPECT_EQ(FilesBelow(Skin()), Expected({L"good.txt"}));
        RemoveTree(Skin());
    }
}

TEST_F(ArchiveTest, DamagedHeadersAndUnknownMethodsFail)
{
    ZipEntryPlan badLocal = File("local.txt", "x");
    badLocal.badLocalSignature = true;
    EXPECT_FALSE(Unpack({File("good.txt", "good"), badLocal}));
    EXPECT_EQ(Result(), ArcBadHeader);

    // A folder with data is a file entry whose attributes were damaged.
    ZipEntryPlan folderWithData = File("notes.txt", "data");
    folderWithData.externalAttributes = 0x10;
    ZipEntryPlan namedLikeAFolder = File("notes/", "data");
    for (const ZipEntryPlan& bad : {folderWithData, namedLikeAFolder}) {
        EXPECT_FALSE(Unpack({bad}));
        EXPECT_EQ(Result(), ArcBadHeader);
    }

    ZipEntryPlan lzma = File("lzma.bin", NoiseBytes(3000, 5));
    lzma.methodOverride = 14;
    EXPECT_FALSE(Unpack({lzma}));
    EXPECT_EQ(Result(), ArcBadHeader);
    ZipEntryPlan bzip2 = File("bzip2.bin", NoiseBytes(3000, 5));
    bzip2.methodOverride = 12;
    EXPECT_FALSE(Unpack({bzip2}));
    EXPECT_EQ(Result(), ArcInflateFailed);
    EXPECT_EQ(FilesBelow(Skin()), Expected({L"good.txt"}));
}

TEST_F(ArchiveTest, NamesAndPathsTooLongForThePathBuffersAreRefused)
{
    // Stored names of 259 bytes fit the 260-byte buffer, 260 do not.
    HARCHIVE archive = nullptr;
    WriteZip({File(std::string(259, 'n'), "x"), File(std::string(260, 'n'), "x")});
    archive = OpenArchive(Zip().c_str());
    ASSERT_NE(archive, nullptr);
    ArchiveEntry entry;
    EXPECT_EQ(GetEntry(archive, 0, entry), ArcOk);
    EXPECT_EQ(std::wstring(entry.name), std::wstring(259, L'n'));
    EXPECT_EQ(GetEntry(archive, 1, entry), ArcRefusedPath);

    // Base folders: 258 characters plus the added "/" fit, 259 do not.
    EXPECT_EQ(SetBaseFolder(archive, std::wstring(258, L'b').c_str()), ArcOk);
    EXPECT_EQ(SetBaseFolder(archive, std::wstring(259, L'b').c_str()), ArcRefusedPath);
    EXPECT_EQ(SetBaseFolder(archive, (std::wstring(258, L'b') + L"\\").c_str()), ArcOk);
    EXPECT_EQ(SetBaseFolder(archive, L""), ArcRefusedPath);
    CloseArchive(archive);

    // Target paths: base + name up to 259 characters are written, longer refused.
    std::wstring base = Skin() + L"/";
    size_t room = 259 - base.size();
    std::string fits(room, 'f');
    std::string tooLong = "d/" + std::string(room - 1, 'l');
    ASSERT_TRUE(Unpack({File(fits, "fits")})) << std::hex << Result();
    EXPECT_EQ(ReadFileBytes(InSkin(FromUtf8(fits))), "fits");
    EXPECT_FALSE(Unpack({File(tooLong, "long")}));
    EXPECT_EQ(Result(), ArcRefusedPath);
    EXPECT_EQ(FilesBelow(Skin()), Expected({FromUtf8(fits)}));
}

TEST_F(ArchiveTest, IndexesOutsideTheArchiveAreRefused)
{
    WriteZip({File("a.txt", "a"), File("b.txt", "b")});
    HARCHIVE archive = OpenArchive(Zip().c_str());
    ASSERT_NE(archive, nullptr);
    ArchiveEntry entry;
    ASSERT_EQ(GetEntry(archive, -1, entry), ArcOk);
    EXPECT_EQ(entry.index, 2);
    EXPECT_EQ(entry.name[0], L'\0');
    EXPECT_EQ(GetEntry(archive, -2, entry), ArcBadIndex);
    EXPECT_EQ(GetEntry(archive, 2, entry), ArcBadIndex);
    EXPECT_EQ(ExtractEntry(archive, -1, L"a.txt"), ArcBadIndex);
    // Backwards and forwards again, then the same index twice.
    for (int32_t index : {1, 0, 1, 1}) {
        ASSERT_EQ(GetEntry(archive, index, entry), ArcOk);
        EXPECT_EQ(entry.index, index);
        EXPECT_EQ(std::wstring(entry.name), index == 0 ? L"a.txt" : L"b.txt");
        EXPECT_EQ(entry.uncompressedSize, 1);
    }
    CloseArchive(archive);
    EXPECT_EQ(GetEntry(nullptr, 0, entry), ArcBadIndex);
    CloseArchive(nullptr);
}
