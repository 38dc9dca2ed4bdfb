#pragma once
// The product's configuration file "tallmere.cnf": one setting per line, key
// and value separated by white space; only "download_path" is read.
#include <string>

// Reads the file at path and sets downloadPath to the value of its last
// "download_path" line; leaves it as it was when the file has none, cannot be
// opened, or a line of more than 1023 characters comes first.
void ReadDownloadPath(const std::string& path, std::string& downloadPath);
