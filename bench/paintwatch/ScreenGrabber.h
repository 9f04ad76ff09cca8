#ifndef SCREENGRABBER_H
#define SCREENGRABBER_H

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <string>
#include <vector>

// Copies the root window's pixels, through shared memory where the server
// offers it, so that a grab of a whole screen costs about a millisecond.
class ScreenGrabber
{
public:
    ScreenGrabber();
    ~ScreenGrabber();
    ScreenGrabber(const ScreenGrabber &) = delete;
    ScreenGrabber &operator=(const ScreenGrabber &) = delete;

    bool isOpen() const { return m_image != nullptr; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    // Grabs the screen; the pixels stay valid until the next grab.
    void grab();
    // A fingerprint of the rows [0, rowsEnd) plus [rowsAfter, height) of the last grab.
    std::uint64_t fingerprint(int ignoredFirstRow, int ignoredEndRow) const;
    std::vector<std::uint32_t> pixels() const;
    static bool writePpm(const std::string &path, const std::vector<std::uint32_t> &pixels,
                         int width, int height);

private:
    Display *m_display = nullptr;
    Window m_root = 0;
    XImage *m_image = nullptr;
    XShmSegmentInfo m_shm{};
    bool m_shared = false;
    int m_width = 0;
    int m_height = 0;
};

#endif
