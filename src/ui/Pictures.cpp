// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Pictures.h"

#include <QImageReader>
#include <QPixmap>
#include <QtMath>

namespace klavoset {

namespace {

QString number(int image) { return QStringLiteral("%1").arg(image, 2, 10, QLatin1Char('0')); }

QIcon drawnPictures(const QString& prefix, const QList<int>& sizes)
{
    QIcon icon;
    for (const int size : sizes) {
        // Read as PNG by Qt itself: left to guess, the reader would first load every image plugin (SVG,
        // JPEG, ...) to ask whether it reads PNG.
        QImageReader reader(prefix + QString::number(size) + QStringLiteral(".png"), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

} // namespace

QList<int> programIconSizes() { return {KLAVOSET_ICON_SIZES}; }

QIcon programIcon() { return drawnPictures(QStringLiteral(":/klavoset-"), programIconSizes()); }

QList<int> toolbarPictureSizes() { return {KLAVOSET_TOOLBAR_SIZES}; }

QString toolbarPictureSource(int image) { return QStringLiteral(":/toolbar/%1.svg").arg(number(image)); }

QIcon toolbarPicture(int image, int side, qreal pixelRatio)
{
    // Qt asks an icon for the pixels of the size times the ratio, rounded. Only that size is read: reading
    // them all took longer than drawing the SVGs. (On a screen of another ratio later, Qt scales it.)
    const int pixels = qRound(side * pixelRatio);
    if (!toolbarPictureSizes().contains(pixels))
        return QIcon(toolbarPictureSource(image));
    return drawnPictures(QStringLiteral(":/toolbar/%1-").arg(number(image)), {pixels});
}

} // namespace klavoset
