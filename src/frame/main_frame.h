#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QAction;
class QMainWindow;
class QMenuBar;
class QWidget;
class SingleInstance;

// The main window's frame: one running instance, the browse-right check of
// menu commands, the list of open child windows with its "打开的窗口" menu,
// and the refusal to close while a child window is open.
class TKWMain : public QObject
{
    Q_OBJECT
public:
    // One per main window; a second throws KWError("TKWMain").
    explicit TKWMain(QMainWindow* mainWindow);
    ~TKWMain() override;

    bool HideToolBar = false;
    bool IsHidePanel = false;
    QString DataBaseName;
    QMenuBar* MainMenu = nullptr;
    int MainMenuIndex = 3;
    QString Date;      // "YYYYMM"
    QString ImageFile; // name of the setting that holds a background picture's path
    QString CompanyName;
    // The name the running instance answers to; "KW" + the program's title.
    QString InstanceName;

    // False when another instance of this user runs: it was asked to bring
    // its visible window forward, "程序已经运行" was shown, and the caller
    // ends this process.
    bool StartMain(const QString& yearMonth);
    bool CheckRight(const QString& group, const QString& program, const QString& userId) const;
    // Brings an open child window to the front; false when it is not open.
    bool ShowChildWindow(const QString& formName);
    void AddChildWindow(const QString& formName, QWidget* window, std::function<void()> onClick,
                        const QString& caption);
    QString ReadImageFile() const;

    // What child windows report.
    void ChildShown(QWidget* window);
    void ChildHidden(QWidget* window);
    void ChildClosed(QWidget* window);
    int OpenWindowCount() const { return int(m_children.size()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Child
    {
        QString formName;
        QPointer<QWidget> window;
        bool shown = true;
        QAction* menuItem = nullptr;
    };
    QAction* openWindowsMenu() const;
    void removeChild(int index);
    void showToolBarsWhenNoneShown();
    void bringToFront(QWidget* window);
    void bringVisibleWindowForward();

    QMainWindow* m_mainWindow;
    QList<Child> m_children; // newest first
    SingleInstance* m_instance = nullptr;
};
