// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Pictures.h"

#include <QtMath>

namespace klavoset {

namespace {

QString number(int image) { return QStringLiteral("%1").arg(image, 2, 10, QLatin1Char('0')); }

QIcon drawnPictures(const QString& prefix, const QList<int>& sizes)
{
    QIcon icon;
    for (const int size : sizes)
        icon.addFile(prefix + QString::number(size) + QStringLiteral(".png"), QSize(size, size));
    return icon;
}

} // namespace

QList<int> programIconSizes() { return {KLAVOSET_ICON_SIZES}; }

QIcon programIcon() { return drawnPictures(QStringLiteral(":/klavoset-"), programIconSizes()); }

QList<int> toolbarPictureSizes() { return {KLAVOSET_TOOLBAR_SIZES}; }

QString toolbarPictureSource(int image) { return QStringLiteral(":/toolbar/%1.svg").arg(number(image)); }

QIcon toolbarPicture(int image, int side, qreal pixelRatio)
{
    // Qt asks an icon for the pixels of the size times the ratio, rounded.
    if (!toolbarPictureSizes().contains(qRound(side * pixelRatio)))
        return QIcon(toolbarPictureSource(image));
    return drawnPictures(QStringLiteral(":/toolbar/%1-").arg(number(image)), toolbarPictureSizes());
}

} // namespace klavoset
