#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The message log of long tasks (import, repair): the caller adds lines;
// "保存" writes them to a text file.
class TErrorMsgForm : public QDialog
{
    Q_OBJECT
public:
    explicit TErrorMsgForm(QWidget* parent = nullptr);

    void addLine(const QString& line);
    QStringList lines() const;
    // The file name the save dialog proposes.
    void setProposedFileName(const QString& fileName) { m_proposedFileName = fileName; }

    QPlainTextEdit* Memo1 = nullptr;

private:
    void save();

    QString m_proposedFileName;
};
