// Renders an SVG icon to PNG files of given sizes: `render-icon ICON.svg SIZE:OUT.png ...`.
// The Linux install takes its hicolor sizes from it, the Mac bundle its icon set.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: render-icon ICON.svg SIZE:OUT.png...\n");
        return 2;
    }
    // Rendering needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "render-icon: not an SVG image: %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        const qsizetype colon = arg.indexOf(QLatin1Char(':'));
        bool ok = false;
        const int size = colon > 0 ? arg.left(colon).toInt(&ok) : 0;
        if (!ok || size < 1 || size > 4096) {
            std::fprintf(stderr, "render-icon: not SIZE:OUT.png: %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        svg.render(&p, QRectF(0, 0, size, size));
        p.end();
        if (!image.save(arg.mid(colon + 1), "PNG")) {
            std::fprintf(stderr, "render-icon: could not write %s\n",
                         qPrintable(arg.mid(colon + 1)));
            return 1;
        }
    }
    return 0;
}
