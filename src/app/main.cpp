#include "app/application.h"
#include "app/startup.h"
#include "app/translations.h"
#include "desktop/desktop.h"
#include "platform/fonts.h"

int main(int argc, char** argv)
{
    KWApplication app(argc, argv);
    InstallDesktop();
    InstallChineseFonts();
    InstallQtTranslations();
    return RunProgram();
}
