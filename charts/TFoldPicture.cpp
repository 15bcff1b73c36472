#include "TFoldPicture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

namespace {
constexpr int pictureWidth = 15;
constexpr int pictureHeight = 10;
} // namespace

TFoldPicture::TFoldPicture(Direction direction, QWidget *parent) : QWidget(parent), direction_(direction)
{
    setCursor(Qt::PointingHandCursor);
}

void TFoldPicture::paintEvent(QPaintEvent *)
{
    const int left = (width() - pictureWidth) / 2;
    const int top = (height() - pictureHeight) / 2;
    const int right = left + pictureWidth - 1;
    const int bottom = top + pictureHeight - 1;
    const int middle = left + pictureWidth / 2;
    const QPolygon triangle = direction_ == Direction::Up
        ? QPolygon({QPoint(middle, top), QPoint(right, bottom), QPoint(left, bottom)})
        : QPolygon({QPoint(left, top), QPoint(right, top), QPoint(middle, bottom)});
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(QColor(255, 0, 0));
    painter.drawPolygon(triangle);
}

void TFoldPicture::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
