// What the resource manager needs of the language's Picture class. The body
// is weak and makes no Picture until the picture subsystem is built.
#pragma once

class DrawablePane;
struct RuntimeObject;

// A new Picture object (one reference for the caller) whose image is the
// offscreen drawable; the drawable's reference passes to it. Nil when no
// Picture can be made, the drawable then released.
RuntimeObject *NewPictureFromDrawable(DrawablePane *image);
// Registers the Picture class and exports PicturePacker (start-up).
void InitPictureClass();
