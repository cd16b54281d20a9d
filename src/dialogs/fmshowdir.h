#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The folder chooser "选择目录": the mounted volumes in `Drive1`, and in `Dir1` the open
// folder's ancestors, the open folder and its subfolders. A double click (or Enter) opens a
// folder; a single click only highlights it. "确定" hands over the open folder, never the
// highlighted one, and closes the chooser; "取消" and the close box only close it.
//
// It opens on the process's current folder. A volume or folder that cannot be read keeps the
// folder that was open. Not modal; it deletes itself when closed.
class FmShowDir : public QDialog
{
    Q_OBJECT

public:
    explicit FmShowDir(QWidget *parent = nullptr);

    // The open folder, without a trailing "/" (but "/" for the root).
    QString openFolder() const { return m_openFolder; }
    // Opens `folder`; false, and nothing changes, when it cannot be read.
    bool setOpenFolder(const QString &folder);

signals:
    // "确定": the open folder, ending in "/".
    void folderChosen(const QString &folder);

private:
    void fillVolumes();
    void showVolumeOf(const QString &folder);
    void chooseVolume(int index);
    void openEntry(QTreeWidgetItem *item);
    void CmdOK_Click();

    QComboBox *Drive1 = nullptr;
    QTreeWidget *Dir1 = nullptr;
    QPushButton *CmdOK = nullptr;
    QPushButton *CmdCancel = nullptr;
    QString m_openFolder;
};
