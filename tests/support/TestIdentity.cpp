#include "TestIdentity.h"

#include "DesktopProgramSettings.h"
#include "ProgramIdentity.h"
#include "SaverProgramSettings.h"

void TestIdentity::desktopProgram()
{
    ProgramIdentity::apply(DesktopProgramSettings::applicationName);
}

void TestIdentity::screensaver()
{
    ProgramIdentity::apply(SaverProgramSettings::applicationName);
}
