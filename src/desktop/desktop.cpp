#include "desktop/desktop.h"

#include "desktop/dialog_prompter.h"
#include "desktop/system_printers.h"

void InstallDesktop()
{
    static DialogPrompter dialogs;
    static SystemPrinters printers;
    SetPrompter(&dialogs);
    SetSystemPrinters(&printers);
}
