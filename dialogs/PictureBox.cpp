#include "PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

#include "Bitmap.h"
#include "RasterDC.h"

PictureBox::PictureBox(int width, int height, QWidget* parent) : QWidget(parent) {
    setFixedSize(width, height);
    setMouseTracking(true);
}

void PictureBox::Repaint(const std::function<void(plat::HDC dc, int w, int h)>& painter) {
    const plat::HBITMAP surface = plat::Bitmap::Create(width(), height(), 32);
    if (!surface) return;
    {
        plat::RasterDC dc(surface);
        painter(&dc, width(), height());
    }
    image_ = surface->image().copy();
    update();
}

void PictureBox::SetTip(const QString& text) {
    if (text != toolTip()) setToolTip(text);
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

void PictureBox::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    emit mouseMoved(pos.x(), pos.y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    emit mouseReleased(pos.x(), pos.y(), e->button());
}
