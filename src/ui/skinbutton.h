#pragma once

#include <QAbstractButton>

#include "core/skinlayout.h"

// A picture button of the skin. It has no hover look: it shows its pressed picture while a
// mouse button is held on it and its normal picture otherwise. Any mouse button works it,
// and the release runs the command wherever the pointer is then, since the button keeps the
// mouse from the press on. Its pictures are from the skin's image list.
//
// The button is a QAbstractButton so that assistive technologies see a button with its name
// and can press it; that press (and click()) runs the same command.
class SkinButton : public QAbstractButton
{
    Q_OBJECT

public:
    enum class Action {
        // On release: the normal picture, then the command.
        PictureThenCommand,
        // On release: the command, then the normal picture; a dialog the command opens keeps
        // the button pressed until it closes.
        CommandThenPicture,
        // The command runs on the press; the release does nothing.
        CommandOnPress,
        // A click: press and release on the button; the picture stays as it is.
        Click,
    };
    // The save-list button's own picture, which is not in the image list.
    static constexpr Skin::Picture SaveListPicture = Skin::Picture(-1);

    explicit SkinButton(Action action, QWidget *parent = nullptr);

    // Skin::Picture::None for none: the button is then an invisible hot spot.
    void setPictures(Skin::Picture pressed, Skin::Picture normal);
    // The picture on show.
    Skin::Picture shownPicture() const { return isDown() ? m_pressedPicture : m_normalPicture; }

signals:
    // The command: `globalPosition` is where the pointer was, or the button's centre when
    // it was pressed without the mouse.
    void triggered(QPoint globalPosition);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    Action m_action;
    Skin::Picture m_pressedPicture = Skin::Picture::None;
    Skin::Picture m_normalPicture = Skin::Picture::None;
};
