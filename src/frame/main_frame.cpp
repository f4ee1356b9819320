#include "frame/main_frame.h"

#include "data/connection.h"
#include "data/errors.h"
#include "data/helpers.h"
#include "frame/rights.h"
#include "platform/config.h"
#include "desktop/single_instance.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {
const char* const kFrameProperty = "kwMainFrame";
}

TKWMain::TKWMain(QMainWindow* mainWindow)
    : QObject(mainWindow), DataBaseName(kDatabaseName),
      // KWFAST_INSTANCE keeps test runs that work in parallel apart.
      InstanceName(QStringLiteral("KW凯维快递单打印系统") +
                   qEnvironmentVariable("KWFAST_INSTANCE")),
      m_mainWindow(mainWindow)
{
    if (mainWindow->property(kFrameProperty).toBool())
        throw KWError(QStringLiteral("TKWMain"));
    mainWindow->setProperty(kFrameProperty, true);
    mainWindow->installEventFilter(this);
}

TKWMain::~TKWMain() = default;

bool TKWMain::StartMain(const QString& yearMonth)
{
    Date = yearMonth;
    m_instance = new SingleInstance(InstanceName, this);
    if (!m_instance->Claim()) {
        ShowMsgOwner(nullptr, QStringLiteral("程序已经运行"));
        return false;
    }
    connect(m_instance, &SingleInstance::raiseRequested, this, &TKWMain::bringVisibleWindowForward);
    return true;
}

void TKWMain::bringVisibleWindowForward()
{
    if (m_mainWindow->isVisible())
        bringToFront(m_mainWindow);
    // At logon the main window is not shown yet: the logon window answers; later a
    // modal window open over the main window stays in front of it.
    if (QWidget* modal = QApplication::activeModalWidget())
        bringToFront(modal);
}

void TKWMain::bringToFront(QWidget* window)
{
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
}

bool TKWMain::CheckRight(const QString& group, const QString& program, const QString& userId) const
{
    return GetRights(group, program, userId).Browse;
}

QAction* TKWMain::openWindowsMenu() const
{
    if (!MainMenu)
        return nullptr;
    const QList<QAction*> items = MainMenu->actions();
    QAction* item = items.value(MainMenuIndex);
    return item && item->menu() ? item : nullptr;
}

void TKWMain::AddChildWindow(const QString& formName, QWidget* window,
                             std::function<void()> onClick, const QString& caption)
{
    Child child{formName, window, true, nullptr};
    if (MainMenu) {
        if (QAction* menu = openWindowsMenu()) {
            menu->setText(QStringLiteral("打开的窗口"));
            menu->setVisible(true);
            child.menuItem = menu->menu()->addAction(caption);
            connect(child.menuItem, &QAction::triggered, this, [onClick = std::move(onClick)] {
                if (onClick)
                    onClick();
            });
        } else {
            ShowMsg(QStringLiteral("没有主菜单索引"));
        }
    }
    m_children.prepend(child);
}

bool TKWMain::ShowChildWindow(const QString& formName)
{
    for (int i = 0; i < m_children.size(); ++i) {
        if (m_children[i].formName != formName)
            continue;
        if (QWidget* window = m_children[i].window) {
            bringToFront(window);
            return true;
        }
        removeChild(i);
        return false;
    }
    return false;
}

void TKWMain::removeChild(int index)
{
    const Child child = m_children.takeAt(index);
    if (child.menuItem) {
        if (QAction* menu = openWindowsMenu()) {
            menu->menu()->removeAction(child.menuItem);
            if (menu->menu()->actions().isEmpty()) {
                menu->setText(QString());
                menu->setVisible(false);
            }
        }
        delete child.menuItem;
    }
}

void TKWMain::showToolBarsWhenNoneShown()
{
    for (const Child& c : m_children)
        if (c.shown)
            return;
    if (HideToolBar)
        for (QToolBar* bar : m_mainWindow->findChildren<QToolBar*>())
            bar->show();
}

void TKWMain::ChildShown(QWidget* window)
{
    bool anyShown = false;
    for (const Child& c : m_children)
        anyShown = anyShown || c.shown;
    if (!anyShown && HideToolBar)
        for (QToolBar* bar : m_mainWindow->findChildren<QToolBar*>())
            bar->hide();
    for (Child& c : m_children)
        if (c.window == window)
            c.shown = true;
}

void TKWMain::ChildHidden(QWidget* window)
{
    for (Child& c : m_children)
        if (c.window == window)
            c.shown = false;
    showToolBarsWhenNoneShown();
}

void TKWMain::ChildClosed(QWidget* window)
{
    for (int i = 0; i < m_children.size(); ++i) {
        if (m_children[i].window == window) {
            removeChild(i);
            break;
        }
    }
    showToolBarsWhenNoneShown();
}

QString TKWMain::ReadImageFile() const
{
    if (ImageFile.isEmpty())
        return {};
    QString path;
    if (!config::ReadValue(ImageFile, path)) {
        ShowMsg(QStringLiteral("KWSOFTWARE键打开或建立错误"));
        return {};
    }
    return !path.isEmpty() && QFileInfo::exists(path) ? path : QString();
}

bool TKWMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_mainWindow && event->type() == QEvent::Close && !m_children.isEmpty() &&
        m_children.first().window) {
        ShowMsgOwner(nullptr, QStringLiteral("请先关闭打开的全部子程序后,才能退出系统"));
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
