#pragma once
// How many days the product has been installed, from the install-time record.
#include <cstdint>
#include <string>

// The number of UTC midnights between the two instants (seconds since 1970
// UTC), as "%d" text: each time divided by 86400 and truncated toward zero,
// then subtracted. Negative when the clock was set back.
std::wstring FormatDayCount(double installTime, double currentTime);

// The current calendar time cut to its low 32 bits, read as signed, as the
// installer writes it into the record.
int32_t CurrentTime32();

// Reads the record beside the program. False when it holds no valid line;
// installTime is then left as it was.
bool ReadRecordedInstallTime(int32_t& installTime);
