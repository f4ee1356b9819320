#include "app/startup.h"

#include "session/app_globals.h"
#include "app/data_module.h"
#include "app/enrol_form.h"
#include "app/logon_form.h"
#include "app/screen_check.h"
#include "app/splash_form.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "frame/error_handler.h"
#include "frame/settings.h"
#include "records/main_form.h"

#include <QApplication>
#include <QDir>
#include <memory>

void OpenSession()
{
    OpenKWfastDataBase();
    AppGlobals.DBPath = AliasPath(kAliasName);
    QDir parentFolder(AppGlobals.DBPath);
    parentFolder.cdUp();
    AppGlobals.DataPath = parentFolder.absolutePath();
    AppGlobals.CompanyName =
        GetSQLValue(kDatabaseName, QStringLiteral("SELECT COMPANY_NAME FROM  SYS_COMPANY_TABLE"));
    AppGlobals.AutoOrderID = GetSysFlag(QStringLiteral("发件编号"));
    AppGlobals.CheckOrderID = GetSysFlag(QStringLiteral("检查发件编号重复"));
}

double AdministratorCount()
{
    return GetSQLNumber(kDatabaseName, QStringLiteral("SELECT  Count(USE_ID) from SYS_USER_TABLE "
                                                      "WHERE  SYS_USER ='是'"));
}

int RunProgram()
{
    AppGlobals.ScreenWidth = CheckScreenResolution();

    auto splash = std::make_unique<TShowForm>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    AppGlobals.DBConnectFailed = false;
    QApplication::setApplicationName(QStringLiteral("凯维快递单打印系统"));
    DataModuleCreate();
    if (AppGlobals.DBConnectFailed)
        return 1;

    std::unique_ptr<TMainForm> mainForm;
    try {
        OpenSession();
        mainForm = std::make_unique<TMainForm>();
    } catch (...) {
        // Without its database the program cannot go on.
        HandleAppException(nullptr, std::current_exception());
        return 1;
    }
    if (mainForm->AnotherInstanceRuns())
        return 0;

    while (splash->waiting())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    splash.reset();

    double administrators = 0;
    try {
        administrators = AdministratorCount();
    } catch (...) {
        HandleAppException(nullptr, std::current_exception());
        return 1;
    }

    std::unique_ptr<QDialog> gate;
    if (administrators > 0)
        gate = std::make_unique<TLogonForm>(mainForm.get());
    else
        gate = std::make_unique<TEnrolForm>(mainForm.get());
    const bool admitted = gate->exec() == QDialog::Accepted;
    gate.reset();
    if (!admitted)
        return 0;

    mainForm->showMaximized();
    mainForm->activateWindow(); // the keys work at once, also without a window manager
    const int code = QApplication::exec();
    mainForm.reset();
    CloseKWfastDataBase();
    return code;
}
