#include "qt/ProgramIcon.h"

#include <QImage>
#include <QPixmap>
#include <QResource>

#include <cstring>

// The icon's pixels as they lie in memory for QImage::Format_ARGB32 (blue, green, red, alpha),
// without any image format around them: an image file would bring an image reader, the PNG
// library and zlib into every start, for one small picture.
QIcon ProgramIcon()
{
    constexpr int kSize = 64;
    constexpr qsizetype kRowBytes = kSize * 4;
    const QResource pixels(QStringLiteral(":/icons/64.bgra"));
    if (!pixels.isValid() || pixels.compressionAlgorithm() != QResource::NoCompression
        || pixels.size() != kSize * kRowBytes)
        return QIcon();
    QImage image(kSize, kSize, QImage::Format_ARGB32);
    for (int row = 0; row < kSize; ++row)
        std::memcpy(image.scanLine(row), pixels.data() + row * kRowBytes, kRowBytes);
    return QIcon(QPixmap::fromImage(image));
}
