#include "uninstall/system_description.h"

#include <gtest/gtest.h>

namespace {

struct DescriptionCase {
    const char* name;
    DWORD major, minor, build;
    WORD architecture;
    DWORD processors;
    const wchar_t* text;
};

const DescriptionCase kDescriptions[] = {
    {"Windows7OnTwoCores", 6, 1, 7601, PROCESSOR_ARCHITECTURE_INTEL, 2, L"Windows 6.1.7601; x86; 2 processors"},
    {"Windows10x64", 10, 0, 19045, PROCESSOR_ARCHITECTURE_AMD64, 8, L"Windows 10.0.19045; x64; 8 processors"},
    {"Windows11Arm64", 10, 0, 22631, 12, 12, L"Windows 10.0.22631; ARM64; 12 processors"},
    {"OneProcessor", 6, 3, 9600, PROCESSOR_ARCHITECTURE_INTEL, 1, L"Windows 6.3.9600; x86; 1 processor"},
    {"UnknownArchitecture", 6, 2, 9200, 0xFFFF, 4, L"Windows 6.2.9200; unknown; 4 processors"},
};

void PrintTo(const DescriptionCase& c, std::ostream* out)
{
    *out << c.name;
}

class DescribeSystemTable : public testing::TestWithParam<DescriptionCase> {};

TEST_P(DescribeSystemTable, GivesVersionBuildArchitectureAndCount)
{
    const DescriptionCase& c = GetParam();
    OSVERSIONINFOEXW version = {};
    version.dwMajorVersion = c.major;
    version.dwMinorVersion = c.minor;
    version.dwBuildNumber = c.build;
    SYSTEM_INFO system = {};
    system.wProcessorArchitecture = c.architecture;
    system.dwNumberOfProcessors = c.processors;
    EXPECT_EQ(DescribeSystem(version, system), c.text);
}

INSTANTIATE_TEST_SUITE_P(Descriptions, DescribeSystemTable, testing::ValuesIn(kDescriptions),
                         [](const testing::TestParamInfo<DescriptionCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(SystemDescription, DescribesTheRunningSystem)
{
    SYSTEM_INFO system = {};
    GetSystemInfo(&system);
    std::wstring processors = std::to_wstring(system.dwNumberOfProcessors);
    std::wstring text = SystemDescription();
    // Wine 8 reports Windows 7 SP1 to a program whose manifest lists later
    // systems too; a real Windows reports its own.
    EXPECT_EQ(text.rfind(L"Windows ", 0), 0u) << text;
    EXPECT_NE(text.find(L"; " + processors + L" processor"), std::wstring::npos) << text;
    EXPECT_EQ(text.find(L"unknown"), std::wstring::npos) << text;
}

}  // namespace
