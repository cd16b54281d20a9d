#pragma once

#include <QDialog>

// The about box "关于岚铃播放器": the program's icon and title, a note, the contact lines
// and two links, the web page and an e-mail address, which the desktop opens. "确定", Enter,
// Esc and the close box close it. Not modal; it deletes itself when closed.
class fmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit fmAbout(QWidget *parent = nullptr);
};
