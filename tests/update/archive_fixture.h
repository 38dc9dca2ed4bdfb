#pragma once
// A temporary product folder holding "update.zip" (built by the test) and the
// staging folder "skin" that the updater unpacks it into.
#include "update/update_window.h"
#include "test_files.h"
#include "zip_writer.h"

#include <gtest/gtest.h>

#include <vector>

class ArchiveTest : public ::testing::Test {
protected:
    std::wstring Product() const { return m_temp.Path(); }
    std::wstring Skin() const { return m_temp / L"skin"; }
    std::wstring Zip() const { return m_temp / L"update.zip"; }
    std::wstring InSkin(const std::wstring& name) const { return Skin() + L"\\" + name; }

    void WriteZip(const std::vector<ZipEntryPlan>& entries)
    {
        ASSERT_TRUE(WriteFileBytes(Zip(), BuildZip(entries)));
    }
    bool Unpack() { return m_updater.UnzipPackage(Skin(), Zip()); }
    bool Unpack(const std::vector<ZipEntryPlan>& entries)
    {
        WriteZip(entries);
        return Unpack();
    }
    int32_t Result() const { return m_updater.m_nArchiveResult; }

    ScopedTempFolder m_temp{L"archive"};
    CUpdateMain m_updater;
};

// 100-ns ticks since 1601 of a UTC calendar time.
unsigned long long UtcTicks(int year, int month, int day, int hour, int minute, int second);
unsigned long long Ticks(const FILETIME& time);

struct FileTimes {
    unsigned long long creation, access, modification;
};
FileTimes TimesOf(const std::wstring& path);
