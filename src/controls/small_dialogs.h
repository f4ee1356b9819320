#pragma once

#include <QColor>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QTabWidget>

class QProgressBar;
class QPushButton;
class TKWDataSource;
class TKWQuery;

// The wait window of long operations that run on the GUI thread: shown
// without waiting, with a stop button the operation polls.
class TKWThread : public QObject
{
    Q_OBJECT
public:
    enum class Kind { crCopy, crDelete, crFind };
    explicit TKWThread(QObject* parent = nullptr);
    ~TKWThread() override;

    QString Caption = QStringLiteral("正在处理数据.....");
    bool ProgressBar1 = false;
    bool ProgressBar2 = false;
    bool ProgressBar3 = false;
    Kind OptionKind = Kind::crCopy;
    bool Active() const { return m_window != nullptr; }

    void Start();
    void Stop();
    // Lets pending window events run; true once "停止" was pressed.
    bool Cancelled();
    void SetMax(int maximum);
    void SetPosition(int position);
    QWidget* window() const { return m_window; }

private:
    QPointer<QDialog> m_window;
    QProgressBar* m_bar = nullptr;
    bool m_stopped = false;
    bool m_cursorSet = false;
};

// Chooses a folder through the prompts seam; Directory ends in one "/".
class TOpenDirDialog
{
public:
    enum class DialogType { Open, Save };
    DialogType Type = DialogType::Open;
    QString Directory;
    bool Execute(QWidget* owner = nullptr);
};

// A page control that refuses to change pages while watched data is being
// edited, or while its master has no records (from the first page).
class TKWPageControl : public QTabWidget
{
    Q_OBJECT
public:
    explicit TKWPageControl(QWidget* parent = nullptr);
    TKWQuery* QyMaster = nullptr;
    QList<TKWDataSource*> DataSources; // up to seven in the old form
    // The owner's own decision after the rules above; true allows.
    std::function<bool(int newIndex)> OnChanging;

    // Changes the page when the rules allow it; false when refused.
    bool RequestPage(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The input-method chooser: the desktop's input methods and three empty lines.
class TSelectImesForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSelectImesForm(QWidget* parent = nullptr);
    QString Selected() const;
    class QListWidget* List = nullptr;
};

// A label drawn raised, inset or with a shadow.
class TKW3DLabel : public QLabel
{
    Q_OBJECT
public:
    enum class DrawType {
        dtNone,
        dtShadow,
        dtLightRaised,
        dtHeavyRaised,
        dtLightInsert,
        dtHeavyInsert
    };
    using QLabel::QLabel;
    DrawType Type = DrawType::dtShadow;
    QColor LightColor = Qt::white;
    QColor DarkColor = Qt::gray;
    int ShadowIndent = 2;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A panel with a shadow, a raised or lowered face and an embossed caption.
class TKWPanel : public QWidget
{
    Q_OBJECT
public:
    enum class BorderLine { blNone, blRaised, blLowered };
    enum class TextStyle { txNone, txLowered, txRaised };
    explicit TKWPanel(const QString& caption = QString(), QWidget* parent = nullptr);

    QString Caption;
    BorderLine Border = BorderLine::blRaised;
    TextStyle Text = TextStyle::txRaised;
    QColor Color_High{0xE8, 0xE8, 0xE0};
    QColor Color_Low{0xA2, 0x8D, 0x68};
    QColor FaceColor;
    QColor ShadowColor{0x80, 0x80, 0x80};
    int ShadowWidth = 2;

    QSize sizeHint() const override { return {185, 41}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};
