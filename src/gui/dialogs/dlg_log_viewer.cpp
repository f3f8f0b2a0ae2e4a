#include "dialogs/dlg_log_viewer.h"

#include <QBuffer>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/running_scope.h"
#include "dialogs/photo_frame.h"
#include "idcard/stored_identity.h"
#include "platform/files.h"
#include "session/tool_session.h"

namespace quorvane::gui {

namespace {
QString u(const std::string& s) {
    return QString::fromStdString(s);
}

// The viewer's JPEG copy of a photo, written whole.
bool writeJpeg(const std::string& bmpPath, const std::string& jpgPath) {
    QImage image(u(bmpPath));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "JPG"))
        return false;
    return platform::replaceFile(jpgPath, std::string_view(bytes.constData(), bytes.size()));
}

QPushButton* button(const char* caption, const char* name, QLayout* into) {
    auto* b = new QPushButton(QString::fromUtf8(caption));
    b->setObjectName(name);
    b->setAutoDefault(false);
    into->addWidget(b);
    return b;
}
} // namespace

CDlgLogViewer::CDlgLogViewer(ToolSession& session, MemoryImages& images, const DeviceUIInfo& device,
                             PhotoDecoder& photos, QWidget* parent)
    : QDialog(parent), session_(session), photos_(photos),
      viewer_(std::make_unique<LogViewer>(session, images, device,
                                          viewerIdentities(session.programDir()))) {
    setObjectName("CDlgLogViewer");
    viewer_->open();
    setWindowTitle(u(viewer_->title()));

    list_ = new QTableWidget;
    list_->setObjectName("list");
    buildList();
    status_ = new QLabel;
    status_->setObjectName("status");

    auto* pages = new QHBoxLayout;
    const std::pair<const char*, void (CDlgLogViewer::*)()> pageButtons[] = {
        {"第一页(&1)", &CDlgLogViewer::OnBnClickedFirst},
        {"上一页(&2)", &CDlgLogViewer::OnBnClickedPrev},
        {"下一页(&3)", &CDlgLogViewer::OnBnClickedNext},
        {"最后一页/刷新总数(&4)", &CDlgLogViewer::OnBnClickedLast}};
    const char* names[] = {"first", "prev", "next", "last"};
    int n = 0;
    for (const auto& [caption, handler] : pageButtons)
        connect(button(caption, names[n++], pages), &QPushButton::clicked, this, handler);
    pageEdit_ = new QLineEdit;
    pageEdit_->setObjectName("page");
    pageEdit_->setValidator(new QIntValidator(1, 2147483647, pageEdit_));
    pageEdit_->setMaximumWidth(80);
    pages->addWidget(pageEdit_);
    connect(button("跳转", "jump", pages), &QPushButton::clicked, this,
            &CDlgLogViewer::OnBnClickedJump);
    cardOnly_ = new QCheckBox(QString::fromUtf8("只显示刷卡日志和远程开门"));
    cardOnly_->setObjectName("cardOnly");
    cardOnly_->setChecked(viewer_->cardOnly());
    connect(cardOnly_, &QCheckBox::toggled, this, &CDlgLogViewer::OnBnClickedCardOnly);
    pages->addWidget(cardOnly_);
    pages->addStretch();

    detail_ = new QPlainTextEdit;
    detail_->setObjectName("detail");
    detail_->setReadOnly(true);
    detail_->setMaximumHeight(140);
    photo_ = new PhotoFrame(u(session.programDir()));
    auto* actions = new QVBoxLayout;
    connect(button("下载到本地(&D)", "download", actions), &QPushButton::clicked, this,
            &CDlgLogViewer::OnBnClickedDownload);
    connect(button("清除本地缓存(&C)", "clearCache", actions), &QPushButton::clicked, this,
            &CDlgLogViewer::OnBnClickedClearCache);
    connect(button("导出记录(&E)", "export", actions), &QPushButton::clicked, this,
            &CDlgLogViewer::OnBnClickedExport);
    actions->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(detail_, 1);
    bottom->addWidget(photo_);
    bottom->addLayout(actions);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addWidget(status_);
    layout->addLayout(pages);
    layout->addLayout(bottom);
    resize(1100, 640);
    connect(list_, &QTableWidget::itemSelectionChanged, this, &CDlgLogViewer::OnLvnItemchanged);
    showPage();
}

CDlgLogViewer::~CDlgLogViewer() = default;

void CDlgLogViewer::buildList() {
    list_->setColumnCount(int(kViewerColumnCount));
    QStringList captions;
    for (const ViewerColumn& c : kViewerColumns)
        captions << QString::fromUtf8(c.caption);
    list_->setHorizontalHeaderLabels(captions);
    for (int c = 0; c < int(kViewerColumnCount); ++c)
        list_->setColumnWidth(c, kViewerColumns[std::size_t(c)].width * 3 / 2);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->verticalHeader()->hide();
    // Rows one text line high: most of a page shows without scrolling.
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 4);
}

void CDlgLogViewer::showPage() {
    Running running(running_);
    if (!running.entered())
        return;
    list_->clearContents();
    list_->setRowCount(0);
    rows_ = viewer_->showPage();
    status_->setText(u(viewer_->statusLine()));
    list_->setRowCount(int(rows_.size()));
    for (int r = 0; r < int(rows_.size()); ++r)
        for (int c = 0; c < int(kViewerColumnCount); ++c)
            list_->setItem(r, c,
                           new QTableWidgetItem(u(rows_[std::size_t(r)].columns[std::size_t(c)])));
    pageEdit_->setText(QString::number(viewer_->page()));
}

void CDlgLogViewer::OnBnClickedFirst() {
    viewer_->firstPage();
    showPage();
}

void CDlgLogViewer::OnBnClickedPrev() {
    viewer_->previousPage();
    showPage();
}

void CDlgLogViewer::OnBnClickedNext() {
    viewer_->nextPage();
    showPage();
}

void CDlgLogViewer::OnBnClickedJump() {
    viewer_->jumpTo(std::max(1, pageEdit_->text().toInt()));
    showPage();
}

void CDlgLogViewer::OnBnClickedLast() {
    if (running_)
        return;
    viewer_->refreshTotal();
    accept();
}

void CDlgLogViewer::OnBnClickedCardOnly(bool checked) {
    viewer_->setCardOnly(checked);
    showPage();
}

void CDlgLogViewer::OnBnClickedDownload() {
    {
        Running running(running_);
        if (!running.entered())
            return;
        viewer_->download();
    }
    showPage();
}

void CDlgLogViewer::OnBnClickedClearCache() {
    Running running(running_);
    if (running.entered())
        viewer_->clearCache();
}

void CDlgLogViewer::OnBnClickedExport() {
    Running running(running_);
    if (running.entered())
        viewer_->exportRecords();
}

void CDlgLogViewer::reject() {
    if (!running_)
        QDialog::reject();
}

void CDlgLogViewer::OnLvnItemchanged() {
    const int r = list_->currentRow();
    if (r < 0 || r >= int(rows_.size())) {
        detail_->clear();
        photo_->setPhoto({});
        return;
    }
    const LogRecord& record = rows_[std::size_t(r)].record;
    detail_->setPlainText(u(viewer_->detailText(record)));
    photo_->setPhoto(u(photos_.photoPathFor(viewer_->cardText(record), writeJpeg)));
}

} // namespace quorvane::gui
