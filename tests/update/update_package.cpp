#include "update_package.h"

#include "test_files.h"
#include "test_paths.h"
#include "zip_writer.h"

#include <gtest/gtest.h>

namespace {

std::string RecordingDelskin()
{
    std::string script = ReadFileBytes(std::wstring(KIT_SOURCE_DIR) + L"\\kit\\Vemora\\delskin.bat");
    EXPECT_FALSE(script.empty()) << "kit/Vemora/delskin.bat";
    // record_command.exe (put beside it by the test) appends its command
    // line to KIT_RECORD_FILE, which two runs at once may safely do.
    return "@if exist \"%~dp0record_command.exe\" \"%~dp0record_command.exe\" %0\r\n" + script;
}

std::vector<ZipEntryPlan> PackageEntries()
{
    std::string product = ReadFileBytes(BinFile(L"Morvane_v2.exe"));
    EXPECT_FALSE(product.empty()) << "Morvane_v2.exe";
    ZipEntryPlan exe;
    exe.name = "Morvane.exe";
    exe.data = product;
    exe.deflate = true;
    ZipEntryPlan script;
    script.name = "delskin.bat";
    script.data = RecordingDelskin();
    ZipEntryPlan folder;
    folder.name = "data/";
    folder.externalAttributes = 0x10;
    ZipEntryPlan notes;
    notes.name = "data/notes.txt";
    notes.data = "version 2\r\n";
    notes.deflate = true;
    return {folder, notes, script, exe};
}

}  // namespace

std::string NewVersionPackage()
{
    return BuildZip(PackageEntries());
}

std::string CorruptedPackage()
{
    std::vector<ZipEntryPlan> entries = PackageEntries();
    entries.back().crcXor = 0x00010000;  // Morvane.exe
    return BuildZip(entries);
}
