#include "RootWindowWallpaper.h"

#include "WallpaperPicture.h"

#include <QImage>
#include <QSize>
#include <QSysInfo>

#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <xcb/xproto.h>

#include <algorithm>
#include <cstdlib>

namespace {

bool xErrorSeen = false;

int noteXError(Display *, XErrorEvent *)
{
    xErrorSeen = true;
    return 0;
}

// One colour channel of a true colour visual, from its mask.
struct Channel
{
    explicit Channel(unsigned long mask)
    {
        while (mask && !(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        while (mask & 1) {
            mask >>= 1;
            ++bits;
        }
        contiguous = mask == 0 && bits > 0 && bits <= 16;
    }

    unsigned long pixel(int value8) const
    {
        const unsigned long maximum = (1ul << bits) - 1;
        return ((static_cast<unsigned long>(value8) * maximum + 127) / 255) << shift;
    }

    int value8(unsigned long pixel) const
    {
        const unsigned long maximum = (1ul << bits) - 1;
        return int((((pixel >> shift) & maximum) * 255 + maximum / 2) / maximum);
    }

    int shift = 0;
    int bits = 0;
    bool contiguous = false;
};

bool isTrueColour(const Visual *visual)
{
    // Pseudo colour and grey visuals would need colour allocation; those servers
    // keep their own background.
    return visual->c_class == TrueColor && Channel(visual->red_mask).contiguous
           && Channel(visual->green_mask).contiguous && Channel(visual->blue_mask).contiguous
           && !(visual->red_mask & visual->green_mask) && !(visual->red_mask & visual->blue_mask)
           && !(visual->green_mask & visual->blue_mask);
}

Pixmap createPixmap(Display *display, Window root, Visual *visual, int depth, const QImage &picture)
{
    const int width = picture.width();
    const int height = picture.height();
    XImage *image = XCreateImage(display, visual, depth, ZPixmap, 0, nullptr, width, height, 32, 0);
    if (!image)
        return None;
    image->data = static_cast<char *>(std::malloc(std::size_t(image->bytes_per_line) * height));
    if (!image->data) {
        XDestroyImage(image);
        return None;
    }
    // XPutPixel knows the server's byte order and pixel size for this visual.
    const Channel red(visual->red_mask), green(visual->green_mask), blue(visual->blue_mask);
    for (int y = 0; y < height; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            XPutPixel(image, x, y,
                      red.pixel(qRed(line[x])) | green.pixel(qGreen(line[x]))
                          | blue.pixel(qBlue(line[x])));
        }
    }
    const Pixmap pixmap = XCreatePixmap(display, root, width, height, depth);
    GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XPutImage(display, pixmap, gc, image, 0, 0, 0, 0, width, height);
    XFreeGC(display, gc);
    XDestroyImage(image);   // frees the pixel data too
    return pixmap;
}

Pixmap pixmapProperty(Display *display, Window root, Atom property)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char *data = nullptr;
    Pixmap pixmap = None;
    if (XGetWindowProperty(display, root, property, 0, 1, False, XA_PIXMAP, &type, &format,
                           &count, &remaining, &data) == Success
        && type == XA_PIXMAP && format == 32 && count == 1)
        pixmap = *reinterpret_cast<Pixmap *>(data);
    if (data)
        XFree(data);
    return pixmap;
}

// A pixmap named by both properties belongs to a setter that, like this one, left
// it to the server; killing that client's resources frees it. A pixmap named by
// only one of them may belong to a running program and is left alone.
void freePreviousPixmap(Display *display, Window root)
{
    const Atom rootProperty = XInternAtom(display, "_XROOTPMAP_ID", True);
    const Atom esetrootProperty = XInternAtom(display, "ESETROOT_PMAP_ID", True);
    if (rootProperty == None || esetrootProperty == None)
        return;
    const Pixmap previous = pixmapProperty(display, root, rootProperty);
    if (previous != None && previous == pixmapProperty(display, root, esetrootProperty))
        XKillClient(display, previous);
}

// The wallpaper pixmap that a setter named on the root window, or None.
Pixmap publishedPixmap(Display *display, Window root)
{
    for (const char *name : {"_XROOTPMAP_ID", "ESETROOT_PMAP_ID"}) {
        const Atom property = XInternAtom(display, name, True);
        const Pixmap pixmap = property == None ? None : pixmapProperty(display, root, property);
        if (pixmap != None)
            return pixmap;
    }
    return None;
}

// Whether the server's pixels of a depth are laid out as in Qt's RGB32 images:
// 32 bits in this machine's byte order, eight for each channel, the top byte unused.
bool hasRgb32Layout(Display *display, const Visual *visual, int depth)
{
    const int machineOrder = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? LSBFirst : MSBFirst;
    if (depth != 24 || visual->red_mask != 0xff0000 || visual->green_mask != 0xff00
        || visual->blue_mask != 0xff || ImageByteOrder(display) != machineOrder)
        return false;
    int count = 0;
    XPixmapFormatValues *formats = XListPixmapFormats(display, &count);
    const bool thirtyTwoBits = formats && std::any_of(formats, formats + count, [depth](const XPixmapFormatValues &format) {
        return format.depth == depth && format.bits_per_pixel == 32;
    });
    if (formats)
        XFree(formats);
    return thirtyTwoBits;
}

// An area of a pixmap of that layout. The server's reply becomes the picture's
// memory: the usual way (Xlib's image, then a converted copy) touches three
// times a screen's pixels at every start, which costs more time than the transfer.
QImage rgb32PictureOf(Display *display, Pixmap pixmap, const QRect &area)
{
    xcb_connection_t *connection = XGetXCBConnection(display);
    xcb_generic_error_t *error = nullptr;
    xcb_get_image_reply_t *reply = xcb_get_image_reply(
        connection,
        xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, xcb_drawable_t(pixmap), qint16(area.x()),
                      qint16(area.y()), quint16(area.width()), quint16(area.height()), ~0u),
        &error);
    std::free(error);
    const int bytesPerLine = reply ? xcb_get_image_data_length(reply) / area.height() : 0;
    if (!reply || bytesPerLine < area.width() * 4 || bytesPerLine % 4 != 0) {
        std::free(reply);
        return QImage();
    }
    QImage picture(xcb_get_image_data(reply), area.width(), area.height(), bytesPerLine,
                   QImage::Format_RGB32, std::free, reply);
    // The server leaves the unused byte as it likes; Qt's RGB32 wants it full.
    for (int row = 0; row < area.height(); ++row) {
        QRgb *line = reinterpret_cast<QRgb *>(picture.scanLine(row));
        for (int column = 0; column < area.width(); ++column)
            line[column] |= 0xff000000u;
    }
    return picture;
}

// The part of a pixmap in an area of it (null: all of it); null when the pixmap
// is not of the depth, the area not inside it, or, where a size is required,
// the pixmap not of that size.
QImage pictureOf(Display *display, Pixmap pixmap, Visual *visual, int depth, QRect area,
                 const QSize &requiredSize)
{
    Window ignoredRoot;
    int x, y;
    unsigned int width = 0, height = 0, border, pixmapDepth = 0;
    if (!XGetGeometry(display, pixmap, &ignoredRoot, &x, &y, &width, &height, &border, &pixmapDepth)
        || int(pixmapDepth) != depth || width == 0 || height == 0)
        return QImage();
    const QRect whole(0, 0, int(width), int(height));
    if (requiredSize.isValid() && whole.size() != requiredSize)
        return QImage();
    if (area.isNull())
        area = whole;
    if (area.isEmpty() || !whole.contains(area))
        return QImage();
    if (hasRgb32Layout(display, visual, depth))
        return rgb32PictureOf(display, pixmap, area);
    XImage *image = XGetImage(display, pixmap, area.x(), area.y(), unsigned(area.width()),
                              unsigned(area.height()), AllPlanes, ZPixmap);
    if (!image)
        return QImage();
    QImage picture(area.size(), QImage::Format_RGB32);
    const Channel red(visual->red_mask), green(visual->green_mask), blue(visual->blue_mask);
    for (int row = 0; row < area.height() && !picture.isNull(); ++row) {
        QRgb *line = reinterpret_cast<QRgb *>(picture.scanLine(row));
        for (int column = 0; column < area.width(); ++column) {
            const unsigned long pixel = XGetPixel(image, column, row);
            line[column] = qRgb(red.value8(pixel), green.value8(pixel), blue.value8(pixel));
        }
    }
    XDestroyImage(image);
    return picture;
}

void publish(Display *display, Window root, Pixmap pixmap)
{
    for (const char *name : {"_XROOTPMAP_ID", "ESETROOT_PMAP_ID"}) {
        XChangeProperty(display, root, XInternAtom(display, name, False), XA_PIXMAP, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char *>(&pixmap), 1);
    }
    XSetWindowBackgroundPixmap(display, root, pixmap);
    XClearWindow(display, root);
}

} // namespace

QImage RootWindowWallpaper::shown(const QByteArray &displayName)
{
    return read(displayName, QRect(), false);
}

QImage RootWindowWallpaper::shownIn(const QByteArray &displayName, const QRect &area)
{
    return read(displayName, area, true);
}

QImage RootWindowWallpaper::read(const QByteArray &displayName, const QRect &area, bool wholeRootOnly)
{
    Display *display = XOpenDisplay(displayName.isEmpty() ? nullptr : displayName.constData());
    if (!display)
        return QImage();
    // The property may name a pixmap that is long gone.
    const XErrorHandler previousHandler = XSetErrorHandler(noteXError);
    const int screen = DefaultScreen(display);
    Visual *visual = DefaultVisual(display, screen);
    // A fresh connection knows the root window's present size.
    const QSize rootSize = wholeRootOnly ? QSize(DisplayWidth(display, screen), DisplayHeight(display, screen)) : QSize();
    QImage picture;
    const Pixmap pixmap = publishedPixmap(display, RootWindow(display, screen));
    if (pixmap != None && isTrueColour(visual))
        picture = pictureOf(display, pixmap, visual, DefaultDepth(display, screen), area, rootSize);
    XSync(display, False);
    XSetErrorHandler(previousHandler);
    XCloseDisplay(display);
    return picture;
}

bool RootWindowWallpaper::set(const QByteArray &displayName, const QImage &image,
                              const QList<QRect> &screens)
{
    if (image.isNull())
        return false;
    return show(displayName, [&](const QSize &rootSize) { return WallpaperPicture::compose(image, rootSize, screens); });
}

bool RootWindowWallpaper::set(const QByteArray &displayName, const QList<WallpaperPicture::ScreenImage> &screens)
{
    const bool anyImage = std::any_of(screens.cbegin(), screens.cend(),
                                      [](const WallpaperPicture::ScreenImage &screen) { return !screen.image.isNull(); });
    if (!anyImage)
        return false;
    return show(displayName, [&](const QSize &rootSize) { return WallpaperPicture::compose(screens, rootSize); });
}

bool RootWindowWallpaper::show(const QByteArray &displayName, const std::function<QImage(const QSize &)> &pictureFor)
{
    // A connection of its own: its resources outlive it, which must not happen to
    // the program's own connection.
    Display *display = XOpenDisplay(displayName.isEmpty() ? nullptr : displayName.constData());
    if (!display)
        return false;
    // A stale property value must not end the program through Xlib's default handler.
    const XErrorHandler previousHandler = XSetErrorHandler(noteXError);

    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    Visual *visual = DefaultVisual(display, screen);
    bool done = false;
    if (isTrueColour(visual)) {
        const QSize rootSize(DisplayWidth(display, screen), DisplayHeight(display, screen));
        const Pixmap pixmap = createPixmap(display, root, visual, DefaultDepth(display, screen),
                                           pictureFor(rootSize));
        // A picture too large for the server's memory fails here, before the
        // previous wallpaper is given up.
        xErrorSeen = false;
        XSync(display, False);
        if (pixmap != None && !xErrorSeen) {
            freePreviousPixmap(display, root);
            publish(display, root, pixmap);
            XSetCloseDownMode(display, RetainPermanent);
            done = true;
        }
    }
    XSync(display, False);
    XSetErrorHandler(previousHandler);
    XCloseDisplay(display);
    return done;
}
