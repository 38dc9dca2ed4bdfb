#pragma once
// What the installer does to the disk: the copy of the product folder to the
// route and the kit's setup script, each a hidden process it does not wait for.
#include <string>

// "Xcopy " "<folder>\Vemora"  "<route>\Vemora"  /e /i /h /y
std::string BuildCopyCommand(const std::string& programFolder, const std::string& route);

// The setup script "<folder>/Install/setup.bat", quoted: the kit's folder may
// hold blanks, and an unquoted path with blanks lets Windows try a shorter
// program name first.
std::string BuildSetupCommand(const std::string& programFolder);
