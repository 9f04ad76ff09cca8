#ifndef IMAGEEFFECTS_H
#define IMAGEEFFECTS_H

class QImage;

// Pixel operations that QPainter does not offer, written for speed: the build
// paints every wallpaper anew.
namespace ImageEffects {

// A close approximation of a Gaussian blur: three box blurs of the given radius
// in each direction. The image must be in Format_ARGB32_Premultiplied.
void blur(QImage &image, int radius);

// Fine, deterministic noise of the given strength (in 8-bit steps). It hides the
// banding of wide gradients in a 24-bit bitmap and gives surfaces some texture.
void addGrain(QImage &image, int strength, unsigned seed);

}

#endif
