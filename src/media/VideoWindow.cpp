#include "media/VideoWindow.h"

#include "media/FilterGraph.h"

#include <QMouseEvent>
#include <QPainter>

namespace media {

namespace {
std::optional<bool> mixingRendererOverride;
}

VideoWindow::VideoWindow(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

VideoWindow::~VideoWindow()
{
    setFilterGraph(nullptr);
}

void VideoWindow::setFilterGraph(FilterGraph* graph)
{
    if (graph_ == graph)
        return;
    if (graph_)
        graph_->detachVideoWindow(this);
    graph_ = graph;
    if (graph_)
        graph_->attachVideoWindow(this);
}

void VideoWindow::present(const QImage& frame)
{
    image_ = frame;
    update();
}

void VideoWindow::clearImage()
{
    image_ = QImage();
    update();
}

QImage VideoWindow::currentImage() const
{
    return mode_ == Mode::VMR ? image_ : QImage();
}

QSize VideoWindow::nativeVideoSize() const
{
    return image_.size();
}

bool VideoWindow::mixingRendererAvailable()
{
    // The mixing renderer is our own widget, so it is there unless a test says otherwise.
    return mixingRendererOverride.value_or(true);
}

void VideoWindow::setMixingRendererAvailableForTesting(std::optional<bool> available)
{
    mixingRendererOverride = available;
}

void VideoWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (image_.isNull())
        painter.fillRect(rect(), Qt::black);
    else
        painter.drawImage(rect(), image_);
}

void VideoWindow::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->position().toPoint());
}

void VideoWindow::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseReleased(event->position().toPoint());
}

}  // namespace media
