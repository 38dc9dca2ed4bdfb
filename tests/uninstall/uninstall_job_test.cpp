#include "uninstall/uninstall_job.h"

#include <gtest/gtest.h>

TEST(UninstallScriptCommand, IsTheQuotedScriptPathAfterOneForwardSlash)
{
    EXPECT_EQ(UninstallScriptCommand("C:\\Program Files (x86)\\Vemora"),
              "\"C:\\Program Files (x86)\\Vemora/Uninstall.bat\"");
    EXPECT_EQ(UninstallScriptCommand("D:\\kit"), "\"D:\\kit/Uninstall.bat\"");
}
