// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Pictures.h"

#include <QApplication>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <map>
#include <utility>

namespace klavoset {

namespace {

QString number(int image) { return QStringLiteral("%1").arg(image, 2, 10, QLatin1Char('0')); }

// An icon of PNGs drawn at build time, read only when a size is first shown: most of them never are, and
// the window icon not at all where there is no window manager. A size without its own PNG comes from
// the SVG source (the SVG engine is loaded then).
// Disabled and selected looks are made from the picture by the style, as for any Qt icon.
class DrawnIconEngine : public QIconEngine
{
  public:
    DrawnIconEngine(QString prefix, QList<int> sizes, QString svg)
        : m_prefix(std::move(prefix)), m_sizes(std::move(sizes)), m_svg(std::move(svg))
    {
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        const auto key = std::pair{std::pair{size.width(), size.height()}, static_cast<int>(mode)};
        if (const auto it = m_cache.find(key); it != m_cache.end())
            return it->second;
        QPixmap picture = normal(size, state);
        if (mode != QIcon::Normal && !picture.isNull()) {
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            const QPixmap generated = QApplication::style()->generatedIconPixmap(mode, picture, &option);
            if (!generated.isNull())
                picture = generated;
        }
        m_cache[key] = picture;
        return picture;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return QSize(side, side);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int side : m_sizes)
            sizes.append(QSize(side, side));
        return sizes;
    }

    QString key() const override { return QStringLiteral("KlavosetDrawnIcon"); }
    QIconEngine* clone() const override { return new DrawnIconEngine(*this); }

  private:
    QPixmap normal(const QSize& size, QIcon::State state)
    {
        const int side = std::min(size.width(), size.height());
        if (side <= 0)
            return {};
        if (m_sizes.contains(side))
            return read(side);
        return QIcon(m_svg).pixmap(QSize(side, side), 1.0, QIcon::Normal, state);
    }

    QPixmap read(int side) const
    {
        // Read as PNG by Qt itself: left to guess, the reader would first load every image plugin (SVG,
        // JPEG, ...) to ask whether it reads PNG.
        QImageReader reader(m_prefix + QString::number(side) + QStringLiteral(".png"), "png");
        reader.setAutoDetectImageFormat(false);
        return QPixmap::fromImage(reader.read());
    }

    QString m_prefix;
    QList<int> m_sizes;
    QString m_svg;
    std::map<std::pair<std::pair<int, int>, int>, QPixmap> m_cache;
};

} // namespace

QList<int> programIconSizes() { return {KLAVOSET_ICON_SIZES}; }

QIcon programIcon()
{
    return QIcon(new DrawnIconEngine(QStringLiteral(":/klavoset-"), programIconSizes(),
                                     QStringLiteral(":/klavoset.svg")));
}

QList<int> toolbarPictureSizes() { return {KLAVOSET_TOOLBAR_SIZES}; }

QString toolbarPictureSource(int image) { return QStringLiteral(":/toolbar/%1.svg").arg(number(image)); }

QIcon toolbarPicture(int image)
{
    return QIcon(new DrawnIconEngine(QStringLiteral(":/toolbar/%1-").arg(number(image)),
                                     toolbarPictureSizes(), toolbarPictureSource(image)));
}

} // namespace klavoset
