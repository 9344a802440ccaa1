// SPDX-License-Identifier: GPL-3.0-or-later
// kt-rasterize: renders one of the program's SVG pictures to a PNG file at build time. The
// program carries its artwork as PNG resources made this way, so a Qt without the Svg module
// (the one cross-built for Windows) still shows it; the tool itself runs on the build machine
// with the build machine's Qt Svg.
//   kt-rasterize INPUT.svg OUTPUT.png WIDTH HEIGHT
// An OUTPUT ending in .ico is a Windows icon instead: the picture at the sizes Windows asks for
// (16 to 256 pixels square, up to WIDTH), each stored as PNG, as Windows reads them since Vista.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTextStream>
#include <QtEndian>

#include <vector>

namespace {

// Far above what any window asks for; a larger request is a mistake in the build files.
constexpr int kMaxSide = 4096;

int fail(const QString &message)
{
    QTextStream(stderr) << "kt-rasterize: " << message << '\n';
    return 1;
}

QImage render(QSvgRenderer &renderer, int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, width, height));
    return image;
}

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? bytes : QByteArray();
}

void putLE16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void putLE32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

// An icon file: its header, one directory entry a size, then the PNG images. Empty if a size
// could not be encoded.
QByteArray icon(QSvgRenderer &renderer, int largest)
{
    std::vector<QByteArray> images;
    std::vector<int> sides;
    for (const int side : {16, 20, 24, 32, 40, 48, 64, 256}) {
        if (side > largest)
            break;
        images.push_back(png(render(renderer, side, side)));
        if (images.back().isEmpty())
            return {};
        sides.push_back(side);
    }
    QByteArray out;
    putLE16(out, 0); // reserved
    putLE16(out, 1); // an icon, not a cursor
    putLE16(out, quint16(images.size()));
    quint32 offset = quint32(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const char side = char(sides[i] == 256 ? 0 : sides[i]);  // 0 stands for 256
        out.append(side).append(side).append('\0').append('\0'); // no palette
        putLE16(out, 1);                                         // colour planes
        putLE16(out, 32);                                        // bits a pixel
        putLE32(out, quint32(images[i].size()));
        putLE32(out, offset);
        offset += quint32(images[i].size());
    }
    for (const QByteArray &image : images)
        out.append(image);
    return out;
}

} // namespace

int main(int argc, char *argv[])
{
    // Rendering needs a GUI application (fonts, painting) but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 5)
        return fail(QStringLiteral("usage: kt-rasterize INPUT.svg OUTPUT.png WIDTH HEIGHT"));

    bool widthOk = false;
    bool heightOk = false;
    const int width = args.at(3).toInt(&widthOk);
    const int height = args.at(4).toInt(&heightOk);
    if (!widthOk || !heightOk || width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return fail(
            QStringLiteral("the size must be two whole numbers from 1 to %1").arg(kMaxSide));

    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid())
        return fail(QStringLiteral("%1 is not a readable SVG picture").arg(args.at(1)));

    const bool ico = args.at(2).endsWith(QLatin1String(".ico"), Qt::CaseInsensitive);
    if (ico && (width != height || width < 16))
        return fail(QStringLiteral("an icon is square and at least 16 pixels wide"));
    const QByteArray bytes = ico ? icon(renderer, width) : png(render(renderer, width, height));
    if (bytes.isEmpty())
        return fail(QStringLiteral("cannot encode %1").arg(args.at(2)));

    // The file replaces an older one only once it is written whole.
    QSaveFile out(args.at(2));
    if (!out.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write %1: %2").arg(args.at(2), out.errorString()));
    if (out.write(bytes) != bytes.size() || !out.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(args.at(2), out.errorString()));
    return 0;
}
