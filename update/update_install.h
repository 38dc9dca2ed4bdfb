#pragma once
// The copy of the unpacked package over the program folder.
#include <string>

// "Xcopy " + quoted unpack folder + two blanks + quoted program folder + two
// blanks + "/e /i /h /y": every subfolder, empty ones too (/e), the target
// taken as a folder (/i), hidden and system files (/h), no overwrite prompt (/y).
std::string BuildXcopyCommand(const std::string& unpackFolder, const std::string& programFolder);
