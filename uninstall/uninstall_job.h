#pragma once
#include <string>

// The command line that starts the product folder's removal script: the
// script path in double quotes, so a folder with blanks such as
// "C:\Program Files (x86)\Vemora" never lets Windows try "C:\Program.exe".
std::string UninstallScriptCommand(const std::string& programFolder);
