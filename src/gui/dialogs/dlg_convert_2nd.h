#pragma once
// "文本转身份证号工具": typed texts, one a line, turned into identity-number form, or in its
// long-string mode into 20-digit card numbers. OK converts, shows the counts and closes; the
// rights dialog then takes the output.
#include <QDialog>

class QCheckBox;
class QPlainTextEdit;

namespace quorvane::gui {

class Cconvert2ndDlg : public QDialog {
    Q_OBJECT
  public:
    // reverse: the long-string-to-card-number mode (the force box is disabled there).
    explicit Cconvert2ndDlg(bool reverse, QWidget* parent = nullptr);

    // The results, one a line, each ended by CR LF.
    QString output() const { return output_; }

    QPlainTextEdit* inputEdit() const { return input_; }
    QPlainTextEdit* outputEdit() const { return outputEdit_; }
    QCheckBox* forceBox() const { return force_; }

  public slots:
    // Converts; an empty input says "没有数据！" and the dialog stays open.
    void accept() override;

  private:
    bool reverse_;
    QPlainTextEdit* input_;
    QPlainTextEdit* outputEdit_;
    QCheckBox* force_;
    QString output_;
};

} // namespace quorvane::gui
