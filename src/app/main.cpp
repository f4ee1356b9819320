#include "app/application.h"
#include "app/startup.h"
#include "platform/fonts.h"

int main(int argc, char** argv)
{
    KWApplication app(argc, argv);
    InstallChineseFonts();
    return RunProgram();
}
