#pragma once
// "设备日志查看器": a controller's records page by page from its raw log memory, with the
// identity data stored for each card number and the holder's photo. The viewer itself lives
// in the core (LogViewer); this dialog shows its rows and passes the buttons on. Page reads
// wait with the window's events pumped, the dialog busy meanwhile; "下载到本地" shows its
// progress with Cancel.
#include <memory>
#include <optional>

#include <QDialog>

#include "idcard/photo_decode.h"
#include "records/log_viewer.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace quorvane {
class ToolSession;
}

namespace quorvane::gui {

class PhotoFrame;

class CDlgLogViewer : public QDialog {
    Q_OBJECT
  public:
    // Opens on the last page. Ends with Accepted after "最后一页/刷新总数", so that the main
    // window reads the device again and opens a new viewer.
    CDlgLogViewer(ToolSession& session, MemoryImages& images, const DeviceUIInfo& device,
                  PhotoDecoder& photos, QWidget* parent = nullptr);
    ~CDlgLogViewer() override;

    LogViewer& viewer() { return *viewer_; }
    QTableWidget* list() const { return list_; }
    QLabel* status() const { return status_; }
    QPlainTextEdit* detail() const { return detail_; }
    PhotoFrame* photo() const { return photo_; }
    QCheckBox* cardOnly() const { return cardOnly_; }
    QLineEdit* pageEdit() const { return pageEdit_; }

  public slots:
    void OnBnClickedFirst();
    void OnBnClickedPrev();
    void OnBnClickedNext();
    void OnBnClickedLast();
    void OnBnClickedJump();
    void OnBnClickedCardOnly(bool checked);
    void OnBnClickedDownload();
    void OnBnClickedClearCache();
    void OnBnClickedExport();
    void OnLvnItemchanged();
    // Not while pages are being read: the read ends first (or its Cancel ends it).
    void reject() override;

  private:
    void buildList();
    void showPage();

    ToolSession& session_;
    PhotoDecoder& photos_;
    std::unique_ptr<LogViewer> viewer_;
    std::vector<ViewerRow> rows_;
    // A page read pumps the window's events while it waits: the buttons do not run twice.
    bool running_ = false;
    QTableWidget* list_;
    QLabel* status_;
    QLineEdit* pageEdit_;
    QCheckBox* cardOnly_;
    QPlainTextEdit* detail_;
    PhotoFrame* photo_;
};

} // namespace quorvane::gui
