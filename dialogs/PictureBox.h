// A fixed-size picture drawn through a device context: the owner paints
// the whole picture into a raster bitmap of the widget's size, and the
// widget shows that bitmap and reports the mouse in its pixels.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

#include "DeviceContext.h"

class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(int width, int height, QWidget* parent = nullptr);

    // Paints the picture anew: the painter gets a context over a white
    // bitmap of the widget's size, at the screen's resolution.
    void Repaint(const std::function<void(plat::HDC dc, int w, int h)>& painter);
    const QImage& image() const { return image_; }

    // The tooltip changes only when the text differs, so a moving mouse does
    // not restart it.
    void SetTip(const QString& text);

signals:
    void mouseMoved(int x, int y);
    void mouseReleased(int x, int y, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QImage image_;
};
