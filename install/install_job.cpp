#include "install_job.h"

#include "install_window.h"

#include "common/command_runner.h"
#include "common/program_folder.h"
#include "common/text_conversion.h"

namespace {

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

}  // namespace

std::string BuildCopyCommand(const std::string& programFolder, const std::string& route)
{
    std::string source = programFolder + "\\" + "Vemora";
    std::string destination = route + "\\" + "Vemora";
    return "Xcopy " + Quoted(source) + "  " + Quoted(destination) + "  " + "/e /i /h /y";
}

std::string BuildSetupCommand(const std::string& programFolder)
{
    return Quoted(programFolder + "/" + "Install" + "/" + "setup.bat");
}

void CInstall::StartInstallJob()
{
    std::string programFolder = GetProgramFolder();
    m_strRoute = ReadRouteBox();
    std::string route;
    WideToAnsi(m_strRoute, route);

    RunCommand(BuildCopyCommand(programFolder, route), L"xcopy.exe");
    RunCommand(BuildSetupCommand(programFolder));
}
