#pragma once

#include <QImage>
#include <QWidget>
#include <optional>

namespace media {

class FilterGraph;

// The video renderer's window. Frames are presented into its own image, so it works without a
// display. In VMR mode (the mixing renderer) it keeps the composed current image and hands it out.
class VideoWindow : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Normal, VMR };

    explicit VideoWindow(QWidget* parent = nullptr);
    ~VideoWindow() override;

    void setMode(Mode mode) { mode_ = mode; }
    Mode mode() const { return mode_; }
    // Attaches to (or, with nullptr, detaches from) the graph whose video it shows.
    void setFilterGraph(FilterGraph* graph);
    FilterGraph* filterGraph() const { return graph_; }

    void present(const QImage& frame);
    void clearImage();
    // The image on screen: in VMR mode only (the standard renderer hands out nothing).
    QImage currentImage() const;
    QSize nativeVideoSize() const;

    // Whether the mixing renderer can be created; tests replace the answer.
    static bool mixingRendererAvailable();
    static void setMixingRendererAvailableForTesting(std::optional<bool> available);

signals:
    void mouseMoved(QPoint position);
    void mouseReleased(QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Mode mode_ = Mode::Normal;
    FilterGraph* graph_ = nullptr;
    QImage image_;
};

}  // namespace media
