#ifndef FULLSCREENFOCUSEDWINDOW_H
#define FULLSCREENFOCUSEDWINDOW_H

// A full-screen window with the focus, as the window manager reports it on X11:
// a film or a presentation that the user watches without touching anything.
class FullScreenFocusedWindow
{
public:
    static bool isShown();

private:
    FullScreenFocusedWindow() = delete;
};

#endif
