#include "records/main_form.h"

#include "app/app_globals.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "frame/main_frame.h"
#include "frame/settings.h"
#include "platform/clock.h"

#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent)
{
    RefreshWorkDate();
    OpenKWfastDataBase();
    m_frame = new TKWMain(this);
    m_frame->MainMenu = menuBar();
    if (!m_frame->StartMain(AppGlobals.WorkDate.left(4) + AppGlobals.WorkDate.mid(5, 2))) {
        m_anotherInstance = true;
        return;
    }

    AppGlobals.DBPath = AliasPath(kAliasName);
    QDir parentFolder(AppGlobals.DBPath);
    parentFolder.cdUp();
    AppGlobals.DataPath = parentFolder.absolutePath();

    AppGlobals.CompanyName =
        GetSQLValue(kDatabaseName, QStringLiteral("SELECT COMPANY_NAME FROM  SYS_COMPANY_TABLE"));
    UpdateCaption();

    m_panel = new QWidget(this);
    m_panel->setAutoFillBackground(true);
    QPalette palette = m_panel->palette();
    palette.setColor(QPalette::Window, AppGlobals.Color);
    bool ok = false;
    const int color = ReadRegInteger(QStringLiteral("KWfastColor")).toInt(&ok);
    if (ok) // kept as the old 0x00BBGGRR colour value
        palette.setColor(QPalette::Window,
                         QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
    m_panel->setPalette(palette);
    auto* layout = new QVBoxLayout(m_panel);
    auto* title = new QLabel(QStringLiteral("凯维快递单打印系统"), m_panel);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    setCentralWidget(m_panel);

    AppGlobals.AutoOrderID = GetSysFlag(QStringLiteral("发件编号"));
    AppGlobals.CheckOrderID = GetSysFlag(QStringLiteral("检查发件编号重复"));
    statusBar()->showMessage(CurrentDate().toString(QStringLiteral("yyyy'年'MM'月'dd'日'")));
    // The whole screen, also where no window manager maximises it.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
}

void TMainForm::UpdateCaption()
{
    setWindowTitle(AppGlobals.CompanyName + QStringLiteral("快递单打印系统"));
}

void TMainForm::showEvent(QShowEvent* event)
{
    // Enrolment may have named the company after this window was made.
    UpdateCaption();
    QMainWindow::showEvent(event);
}
