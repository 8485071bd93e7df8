#include "thumbs/ImageEnView.h"

#include <QPainter>

TImageEnView::TImageEnView(QWidget* parent) : QWidget(parent), layer0_(0, 0, QImage::Format_BGR888) {}

void TImageEnView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!layer0_.isNull())
        painter.drawImage(0, 0, layer0_);
}
