// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Build tool: draws SVG pictures into PNG files with Qt's own SVG icon engine, so that the window can load
// ready pixels that are exactly what the engine would draw at start-up.
//   klavoset_render_pictures OUTDIR SIZE[,SIZE...] FILE.svg...   writes OUTDIR/NAME-SIZE.png
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // a build needs no display
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: klavoset_render_pictures OUTDIR SIZE[,SIZE...] FILE.svg...\n");
        return 1;
    }
    const QDir out(args.at(1));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "klavoset_render_pictures: cannot make %s\n", qPrintable(args.at(1)));
        return 1;
    }
    for (const QString& svg : args.mid(3)) {
        const QIcon icon(svg);
        for (const QString& size : args.at(2).split(QLatin1Char(','))) {
            const int side = size.toInt();
            const QPixmap picture = icon.pixmap(QSize(side, side), 1.0);
            const QString png = out.filePath(QFileInfo(svg).completeBaseName() + QLatin1Char('-') + size +
                                             QStringLiteral(".png"));
            if (side <= 0 || picture.size() != QSize(side, side) || !picture.save(png, "PNG")) {
                std::fprintf(stderr, "klavoset_render_pictures: cannot draw %s at %s pixels into %s\n",
                             qPrintable(svg), qPrintable(size), qPrintable(png));
                return 1;
            }
        }
    }
    return 0;
}
