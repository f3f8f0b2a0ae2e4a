#pragma once
// The holder's photo in the log viewer: the file drawn stretched over the frame on every paint,
// or "none.bmp" of the program directory when the file is not there.
#include <QString>
#include <QWidget>

namespace quorvane::gui {

class PhotoFrame : public QWidget {
  public:
    PhotoFrame(QString programDir, QWidget* parent = nullptr);
    void setPhoto(const QString& path);
    const QString& photo() const { return path_; }
    // The file the next paint draws.
    QString drawnFile() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString dir_;
    QString path_;
};

} // namespace quorvane::gui
