// kt-rasterize: renders one of the program's SVG pictures to a PNG file at build time. The
// program carries its artwork as PNG resources made this way, so a Qt without the Svg module
// (the one cross-built for Windows) still shows it; the tool itself runs on the build machine
// with the build machine's Qt Svg.
//   kt-rasterize INPUT.svg OUTPUT.png WIDTH HEIGHT
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTextStream>

namespace {

// Far above what any window asks for; a larger request is a mistake in the build files.
constexpr int kMaxSide = 4096;

int fail(const QString &message)
{
    QTextStream(stderr) << "kt-rasterize: " << message << '\n';
    return 1;
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

    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, width, height));
    }

    // The PNG replaces an older one only once it is written whole.
    QSaveFile out(args.at(2));
    if (!out.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write %1: %2").arg(args.at(2), out.errorString()));
    if (!image.save(&out, "PNG"))
        return fail(QStringLiteral("cannot encode %1 as PNG").arg(args.at(2)));
    if (!out.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(args.at(2), out.errorString()));
    return 0;
}
