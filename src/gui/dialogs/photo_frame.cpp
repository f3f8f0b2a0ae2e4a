#include "dialogs/photo_frame.h"

#include <QFileInfo>
#include <QPainter>
#include <QPixmap>

namespace quorvane::gui {

PhotoFrame::PhotoFrame(QString programDir, QWidget* parent)
    : QWidget(parent), dir_(std::move(programDir)) {
    setObjectName("photo");
    setFixedSize(102, 126);
}

void PhotoFrame::setPhoto(const QString& path) {
    path_ = path;
    update();
}

QString PhotoFrame::drawnFile() const {
    return !path_.isEmpty() && QFileInfo::exists(path_) ? path_ : dir_ + "/none.bmp";
}

void PhotoFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPixmap picture(drawnFile());
    if (!picture.isNull())
        painter.drawPixmap(rect(), picture);
}

} // namespace quorvane::gui
