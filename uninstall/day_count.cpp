#include "day_count.h"

#include "common/install_time.h"
#include "common/text_conversion.h"

#include <ctime>

std::wstring FormatDayCount(double installTime, double currentTime)
{
    int32_t installDay = static_cast<int32_t>(installTime / 86400.0);
    int32_t currentDay = static_cast<int32_t>(currentTime / 86400.0);
    return IntToWide(currentDay - installDay);
}

int32_t CurrentTime32()
{
    uint64_t now = static_cast<uint64_t>(static_cast<int64_t>(std::time(nullptr)));
    return static_cast<int32_t>(static_cast<uint32_t>(now));
}

bool ReadRecordedInstallTime(int32_t& installTime)
{
    // The reader leaves its target untouched when it finds no valid line, and
    // every 32-bit value is a valid time: two reads from opposite starting
    // values agree only when the record set them.
    int32_t fromLowest = INT32_MIN;
    int32_t fromHighest = INT32_MAX;
    ReadInstallTime(fromLowest);
    ReadInstallTime(fromHighest);
    if (fromLowest != fromHighest)
        return false;
    installTime = fromLowest;
    return true;
}
