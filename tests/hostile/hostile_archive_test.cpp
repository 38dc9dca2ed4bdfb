// Thousands of generated hostile packages through the updater's unpacking,
// in batches run by a worker process under a watchdog: a hang fails the
// batch within a bounded time and names the case it hung on.
#include "archive_mutants.h"
#include "child_process.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace {

constexpr uint32_t kSeed = 20240611;
constexpr uint32_t kBatchCases = 250;
// Each case ends within seconds; a batch that has not ended in this time hangs.
constexpr DWORD kBatchLimitMs = 180000;

// The full run (make hostile) sets KIT_HOSTILE_FULL; make test runs a slice.
bool FullRun()
{
    const char* full = std::getenv("KIT_HOSTILE_FULL");
    return full != nullptr && *full != '\0' && *full != '0';
}

struct BatchOutcome {
    std::vector<std::string> failures;
    std::string lastCase;
    uint32_t cases = 0, accepted = 0, refused = 0, damaged = 0;
    bool ended = false;
};

BatchOutcome ReadOutput(const std::string& output)
{
    BatchOutcome outcome;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.compare(0, 5, "CASE ") == 0) {
            outcome.lastCase = line.substr(5);
        } else if (line.compare(0, 5, "FAIL ") == 0) {
            outcome.failures.push_back(line.substr(5));
        } else if (line.compare(0, 4, "END ") == 0) {
            std::istringstream counts(line.substr(4));
            counts >> outcome.cases >> outcome.accepted >> outcome.refused >> outcome.damaged;
            outcome.ended = true;
        }
    }
    return outcome;
}

void RunFamily(MutationFamily family, uint32_t quickCases, uint32_t fullCases)
{
    const uint32_t total = FullRun() ? fullCases : quickCases;
    uint32_t accepted = 0, refused = 0, damaged = 0;
    size_t reported = 0;
    for (uint32_t first = 0; first < total; first += kBatchCases) {
        const uint32_t count = std::min(kBatchCases, total - first);
        ScopedTempFolder root(L"hostile");
        ChildProcess worker;
        ChildProcess::Options options;
        options.captureOutput = true;
        std::wstring arguments = FromUtf8(FamilyName(family)) + L" " + std::to_wstring(kSeed) + L" " +
                                 std::to_wstring(first) + L" " + std::to_wstring(count) + L" " +
                                 QuoteArgument(root.Path());
        ASSERT_TRUE(worker.Start(BinFile(L"hostile_unpack_worker.exe"), arguments, options));
        const bool ended = worker.WaitForExit(kBatchLimitMs);
        if (!ended)
            worker.Kill();
        BatchOutcome outcome = ReadOutput(worker.Output());
        ASSERT_TRUE(ended) << "batch from case " << first << " hung at case " << outcome.lastCase;
        ASSERT_TRUE(outcome.ended) << "worker died (exit code 0x" << std::hex << worker.ExitCode()
                                   << std::dec << ") at case " << outcome.lastCase;
        EXPECT_EQ(outcome.cases, count);
        for (const std::string& failure : outcome.failures) {
            if (reported++ < 40)
                ADD_FAILURE() << FamilyName(family) << " case " << failure;
        }
        EXPECT_EQ(worker.ExitCode(), outcome.failures.empty() ? 0u : 1u);
        accepted += outcome.accepted;
        refused += outcome.refused;
        damaged += outcome.damaged;
    }
    std::printf("%s: %u cases (%u damaged), %u unpacked, %u refused\n", FamilyName(family), total,
                damaged, accepted, refused);
}

}  // namespace

TEST(HostileArchives, BitFlips) { RunFamily(MutationFamily::BitFlip, 60, 3000); }
TEST(HostileArchives, OverwrittenBytes) { RunFamily(MutationFamily::ByteNoise, 40, 1500); }
TEST(HostileArchives, Truncations) { RunFamily(MutationFamily::Truncation, 40, 2000); }
TEST(HostileArchives, LyingSizesOffsetsAndCounts) { RunFamily(MutationFamily::LyingField, 40, 1500); }
TEST(HostileArchives, HostileNames) { RunFamily(MutationFamily::HostileName, 40, 1200); }
TEST(HostileArchives, HostileStructures) { RunFamily(MutationFamily::Structure, 24, 600); }
TEST(HostileArchives, BytesAroundTheArchive) { RunFamily(MutationFamily::Framing, 24, 400); }
