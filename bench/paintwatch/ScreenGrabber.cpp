#include "ScreenGrabber.h"

#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>
#include <sys/ipc.h>
#include <sys/shm.h>

ScreenGrabber::ScreenGrabber()
{
    m_display = XOpenDisplay(nullptr);
    if (!m_display)
        return;
    m_root = DefaultRootWindow(m_display);
    XWindowAttributes attributes;
    XGetWindowAttributes(m_display, m_root, &attributes);
    m_width = attributes.width;
    m_height = attributes.height;
    if (XShmQueryExtension(m_display)) {
        m_image = XShmCreateImage(m_display, attributes.visual, attributes.depth, ZPixmap, nullptr,
                                  &m_shm, m_width, m_height);
        if (m_image) {
            m_shm.shmid = shmget(IPC_PRIVATE, m_image->bytes_per_line * m_image->height, IPC_CREAT | 0600);
            m_shm.shmaddr = m_image->data = static_cast<char *>(shmat(m_shm.shmid, nullptr, 0));
            m_shm.readOnly = False;
            XShmAttach(m_display, &m_shm);
            XSync(m_display, False);
            // Freed by the kernel once both sides have detached.
            shmctl(m_shm.shmid, IPC_RMID, nullptr);
            m_shared = true;
        }
    }
    grab();
}

ScreenGrabber::~ScreenGrabber()
{
    if (m_shared) {
        XShmDetach(m_display, &m_shm);
        XDestroyImage(m_image);
        shmdt(m_shm.shmaddr);
    } else if (m_image) {
        XDestroyImage(m_image);
    }
    if (m_display)
        XCloseDisplay(m_display);
}

void ScreenGrabber::grab()
{
    if (m_shared) {
        XShmGetImage(m_display, m_root, m_image, 0, 0, AllPlanes);
        return;
    }
    if (m_image)
        XDestroyImage(m_image);
    m_image = XGetImage(m_display, m_root, 0, 0, m_width, m_height, AllPlanes, ZPixmap);
}

std::uint64_t ScreenGrabber::fingerprint(int ignoredFirstRow, int ignoredEndRow) const
{
    std::uint64_t hash = 1469598103934665603ULL;
    for (int y = 0; y < m_height; ++y) {
        if (y >= ignoredFirstRow && y < ignoredEndRow)
            continue;
        const unsigned char *row = reinterpret_cast<const unsigned char *>(m_image->data) + y * m_image->bytes_per_line;
        for (int x = 0; x + 8 <= m_width * 4; x += 8) {
            std::uint64_t word;
            std::memcpy(&word, row + x, sizeof word);
            hash = (hash ^ word) * 1099511628211ULL;
        }
        hash = (hash ^ static_cast<std::uint64_t>(y)) * 1099511628211ULL;
    }
    return hash;
}

std::vector<std::uint32_t> ScreenGrabber::pixels() const
{
    std::vector<std::uint32_t> copy(static_cast<size_t>(m_width) * m_height);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            copy[static_cast<size_t>(y) * m_width + x] = static_cast<std::uint32_t>(XGetPixel(m_image, x, y));
    return copy;
}

bool ScreenGrabber::writePpm(const std::string &path, const std::vector<std::uint32_t> &pixels,
                             int width, int height)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    for (std::uint32_t pixel : pixels) {
        const unsigned char rgb[3] = {static_cast<unsigned char>(pixel >> 16),
                                      static_cast<unsigned char>(pixel >> 8),
                                      static_cast<unsigned char>(pixel)};
        std::fwrite(rgb, 1, 3, file);
    }
    return std::fclose(file) == 0;
}
