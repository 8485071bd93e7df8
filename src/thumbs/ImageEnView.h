#pragma once

#include <QImage>
#include <QWidget>

// The image view: a widget that holds a picture (layer 0, 24 bits per pixel) and paints it.
class TImageEnView : public QWidget {
    Q_OBJECT
public:
    explicit TImageEnView(QWidget* parent = nullptr);

    QImage& bitmap() { return layer0_; }
    const QImage& bitmap() const { return layer0_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage layer0_;
};
