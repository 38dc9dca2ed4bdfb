#include "uninstall_job.h"

#include "uninstall_window.h"

#include "common/command_runner.h"
#include "common/program_folder.h"

std::string UninstallScriptCommand(const std::string& programFolder)
{
    return "\"" + programFolder + "/" + "Uninstall.bat" + "\"";
}

// The removal is the script's: it is started hidden and never waited for.
int CMainDlg::RunUninstallScript()
{
    RunCommand(UninstallScriptCommand(GetProgramFolder()));
    return 0;
}
