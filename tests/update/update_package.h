#pragma once
// The update package the updater tests install: version 2 of the stand-in
// product as "Morvane.exe", the kit's "delskin.bat" (with a first line that
// records how it was started through record_command.exe, when a test has put
// that beside it), and a folder of data.
#include <string>

std::string NewVersionPackage();

// The same package with one entry's data no longer matching its CRC-32.
std::string CorruptedPackage();
