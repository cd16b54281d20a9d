#pragma once

#include <QWidget>

// A panel of the main window: the skin picture (`PicNormal`) or a plain colour (`PicBg`,
// `PicBottom`). It reports a left-button press (for the knob tracks), a right-button release
// (the main menu), keys pressed while it has the focus itself, and files dropped on it when
// it accepts drops. It consumes nothing it reports on, except the mouse button releases.
class SkinPanel : public QWidget
{
    Q_OBJECT

public:
    explicit SkinPanel(QWidget *parent = nullptr);

    // The panel shows the skin picture, drawn for the screen's pixel ratio.
    void showSkinPicture();
    void setColour(const QColor &colour);

signals:
    void leftButtonPressed(QPoint position);
    void menuRequested(QPoint globalPosition);
    // The key's virtual-key code and modifier bits.
    void keyPressed(int keyCode, int modifiers);
    // Local files, in the order the drop lists them.
    void filesDropped(const QStringList &paths);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    bool m_showsSkin = false;
};
