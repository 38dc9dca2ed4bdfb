#pragma once
// The install-time record "InstallTime.txt": one line "installtime <seconds>"
// ended by CR LF, written by the installer and read by the uninstaller.
#include <cstdint>
#include <string>

// Writes the record for the current time into the kit's product folder
// beside the installer (program folder + "\Vemora"), which the install copy
// carries to the route. Silent on failure.
void WriteInstallTime();

// The writer and reader on a given path, for tests.
bool WriteInstallTimeFile(const std::string& path, int32_t seconds);

// Reads program folder + "/InstallTime.txt" into target; leaves target
// untouched when no valid line is found.
void ReadInstallTime(int32_t& target);

void ReadInstallTimeFile(const std::string& path, int32_t& target);
