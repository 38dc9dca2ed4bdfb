#include "common/command_runner.h"

#include "child_process.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace {

// Sets an environment variable of the test process for one scope: programs
// that RunCommand starts inherit it.
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const std::wstring& value) : m_name(name)
    {
        SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedEnvironment() { SetEnvironmentVariableW(m_name, nullptr); }

private:
    const wchar_t* m_name;
};

std::string AnsiOf(const std::wstring& text)
{
    char buffer[4096] = {};
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

std::string WaitForFile(const std::wstring& path, DWORD timeoutMs = 15000)
{
    std::string content;
    WaitUntil([&] { return !(content = ReadFileBytes(path)).empty(); }, timeoutMs);
    return content;
}

std::string ProbeOutput(const std::wstring& probe, const std::wstring& arguments)
{
    ChildProcess child;
    ChildProcess::Options options;
    options.captureOutput = true;
    EXPECT_TRUE(child.Start(probe, arguments, options));
    EXPECT_TRUE(child.WaitForExit(20000));
    return child.Output();
}

}  // namespace

TEST(RunCommand, StartsTheProcessHiddenWithTheExactCommandLineAndDoesNotWait)
{
    ScopedTempFolder temp;
    std::wstring record = temp / L"record.txt";
    ScopedEnvironment file(L"KIT_RECORD_FILE", record);
    ScopedEnvironment sleep(L"KIT_RECORD_SLEEP_MS", L"4000");
    std::string commandLine = AnsiOf(BinFile(L"record_command.exe")) + " one  \"two three\" /x";

    DWORD handlesBefore = 0, handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
    ASSERT_EQ(RunCommand(commandLine), 0);
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    // Still running when RunCommand has returned, and no handle of it kept.
    EXPECT_FALSE(ProcessIdsNamed(L"record_command.exe").empty());
    EXPECT_EQ(handlesAfter, handlesBefore);

    EXPECT_EQ(WaitForFile(record), "0|" + commandLine + "\n");
    for (DWORD id : ProcessIdsNamed(L"record_command.exe"))
        KillProcessTree(id);
}

TEST(RunCommand, MissingProgramPrintsTheFailureLineAndGivesMinusOne)
{
    EXPECT_EQ(ProbeOutput(BinFile(L"common_probe.exe"), L"run no-such-program.exe /a"),
              "error code:2/n=-1");
}

TEST(RunCommand, LongCommandLinesArriveWholeOrAreRefused)
{
    ScopedTempFolder temp;
    std::wstring record = temp / L"record.txt";
    ScopedEnvironment file(L"KIT_RECORD_FILE", record);
    std::string program = AnsiOf(BinFile(L"record_command.exe"));
    for (size_t total : {size_t(1023), size_t(1024), size_t(5000), size_t(32766)}) {
        DeleteFileW(record.c_str());
        std::string commandLine = program + " ";
        commandLine.append(total - commandLine.size(), 'x');
        ASSERT_EQ(RunCommand(commandLine), 0) << total;
        EXPECT_EQ(WaitForFile(record), "0|" + commandLine + "\n") << total;
    }
    DeleteFileW(record.c_str());
    std::string tooLong = program + " " + std::string(32767, 'x');
    EXPECT_EQ(RunCommand(tooLong), -1);
    Sleep(300);
    EXPECT_FALSE(FileExists(record));
}

TEST(KillProcessByName, StopsTheNamedProcessAndItsChildWithTheExactTaskkillLine)
{
    ScopedTempFolder temp;
    std::wstring product = temp / L"Morvane.exe";
    std::wstring child = temp / L"MorvaneHelper.exe";
    ASSERT_TRUE(CopyFileTo(BinFile(L"record_command.exe"), product));
    ASSERT_TRUE(CopyFileTo(BinFile(L"record_command.exe"), child));
    ChildProcess running;
    ChildProcess::Options options;
    options.environment = {L"KIT_RECORD_SLEEP_MS=60000", L"KIT_RECORD_SPAWN=" + child};
    ASSERT_TRUE(running.Start(product, L"", options));
    ASSERT_TRUE(WaitUntil([] { return !ProcessIdsNamed(L"MorvaneHelper.exe").empty(); }, 10000));

    std::wstring spyLog = temp / L"spy.txt";
    ScopedEnvironment spy(L"KIT_SPY_LOG", spyLog);
    EXPECT_EQ(KillProcessByName("Morvane.exe"), 0);

    EXPECT_EQ(WaitForFile(spyLog), "taskkill|taskkill /f /t /im Morvane.exe\n");
    EXPECT_TRUE(running.WaitForExit(10000));
    EXPECT_TRUE(WaitUntil([] { return ProcessIdsNamed(L"MorvaneHelper.exe").empty(); }, 10000));
}

TEST(KillProcessByName, EmptyNameStartsNothing)
{
    ScopedTempFolder temp;
    std::wstring spyLog = temp / L"spy.txt";
    ScopedEnvironment spy(L"KIT_SPY_LOG", spyLog);
    EXPECT_EQ(KillProcessByName(""), 0);
    Sleep(500);
    EXPECT_FALSE(FileExists(spyLog));
}

TEST(KillProcessByName, PlantedTaskkillBesideTheProgramIsNeverRun)
{
    ScopedTempFolder temp;
    std::wstring probe = temp / L"common_probe.exe";
    ASSERT_TRUE(CopyFileTo(BinFile(L"common_probe.exe"), probe));
    ASSERT_TRUE(CopyFileTo(BinFile(L"record_command.exe"), temp / L"taskkill.exe"));
    std::wstring planted = temp / L"planted.txt";
    std::wstring spyLog = temp / L"spy.txt";
    ScopedEnvironment plantedLog(L"KIT_RECORD_FILE", planted);
    ScopedEnvironment spy(L"KIT_SPY_LOG", spyLog);

    ProbeOutput(probe, L"kill Morvane.exe");
    EXPECT_EQ(WaitForFile(spyLog), "taskkill|taskkill /f /t /im Morvane.exe\n");
    EXPECT_FALSE(FileExists(planted));
}
