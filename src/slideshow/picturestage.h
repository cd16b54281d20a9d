#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

struct TransitionPlan;

// Where the slideshow shows its pictures: the full-screen background `PicBg` in the
// window. The stage tells the slideshow that a transition is over by calling
// Slideshow::transitionEnded, once per started transition, also when it stopped early.
class PictureStage
{
public:
    virtual ~PictureStage() = default;

    // The stage's size in device pixels; pictures are composed at this size and shown one
    // picture pixel to one device pixel.
    virtual QSize stagePixels() const = 0;
    // The colour around a picture smaller than the stage.
    virtual QColor stageColour() const = 0;
    // Brings `picture`, stagePixels() in size, onto the stage step by step by `plan`. The
    // slideshow never starts one while another runs.
    virtual void startTransition(const QImage &picture, const TransitionPlan &plan) = 0;
    // Ends the running transition at once, if one runs; the pieces painted stay.
    virtual void stopTransition() = 0;
};
