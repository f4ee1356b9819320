#include "app/data_module.h"

#include "session/app_globals.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "platform/config.h"

void DataModuleCreate()
{
    if (config::AliasExists(kAliasName))
        return;
    ShowMsg(QStringLiteral(
        "1.没有找到软件设置的数据库连接参数，如果操作系统是Window7 或 "
        "以上的操作系统，用鼠标右键点桌面软件图标，在弹出的菜单里点属性，点兼容方式，把 "
        "以管理员身份运行此软件 打勾,然后重新打开软件。\n\r2.如果打勾后还提示此信息，或者是XP"
        "操作系统提示此信息，就要重新安装软件，如果有录入的数据，不要卸载和删除以前装的软件，换个"
        "盘重新安装，不要覆盖以前的软件，安装好后用最新的数据备份恢复数据"));
    AppGlobals.DBConnectFailed = true;
}
