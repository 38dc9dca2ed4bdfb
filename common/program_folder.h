#pragma once
#include <string>

// Full path of the running program without its last "\" and the file name
// behind it; empty when Windows cannot tell the path.
std::string GetProgramFolder();

// The cut itself, exposed for tests: the text before the last "\" character
// (a double-byte character whose second byte is 0x5C is not a separator).
std::string FolderOfPath(const std::string& path);
