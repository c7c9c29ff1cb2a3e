#ifndef WINDOW_IMAGES_H
#define WINDOW_IMAGES_H
/* What the test images that open one window share: the window's class, its
 * Layout's stream, the application around it and the lines they write. */
#include "runtime_classes.h"

/* A subclass of Window named className whose Layout event (the first
 * handler) and up to two more events are handled; nil when the class or an
 * event is missing. Pass nil for an unused event. */
RuntimeClass *WindowSubclassHandling(stringStorage *className, void *layout, const char *event1,
                                     void *handler1, const char *event2, void *handler2);
/* A Layout's one stream: the title and size, a white background, a close
 * box and no menu bar, visible. */
void LayOutWindow(RuntimeObject *window, stringStorage *title, int32_t width, int32_t height);
/* Registers an application object that quits with its last window, makes
 * a window of the class and runs the loop until it ends. */
void RunWithWindow(RuntimeClass *windowClass);
/* Writes the number in decimal at line[*n], advancing *n. */
void AppendNumber(char *line, int32_t *n, int32_t value);
/* Writes the text and a line end to standard error. */
void SayLine(const char *text);

#endif
