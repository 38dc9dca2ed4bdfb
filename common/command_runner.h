#pragma once
#include <windows.h>

#include <string>

// Starts one command line as a hidden process in a new console and returns at
// once: 0 when Windows created the process, -1 when not (then the line
// "error code:<n>/n" goes to standard output).
//
// systemTool names a Windows tool ("xcopy.exe", "taskkill.exe") that the
// command line calls by bare name. It is then started from the Windows system
// folder, never from the program's own folder, where a planted copy would run
// with the program's administrator rights.
int RunCommand(const std::string& commandLine, const wchar_t* systemTool = nullptr);

// RunCommand that hands the started process to the caller, who may wait for
// it and must close it; null when it was not started.
HANDLE StartCommand(const std::string& commandLine, const wchar_t* systemTool = nullptr);

// "taskkill /f /t /im " + imageName, run hidden; the empty name starts nothing.
int KillProcessByName(const std::string& imageName);

// Full path of a tool in the Windows system folder, for instance
// C:\windows\system32\xcopy.exe.
std::wstring SystemToolPath(const wchar_t* toolFileName);
