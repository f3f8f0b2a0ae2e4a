#pragma once
// "权限配置": the numbers to work on, the fields a right is made of, and the operation to run.
// Every operation button stores its command index and closes the dialog with OK; the main
// window's rights area runs the operation after it closed. The plain "确定" closes it with OK
// and no command. While "启动身份证阅读器读取号码" is ticked, every second a number read by the
// PC's own identity-card reader is appended to the number field.
#include <utility>
#include <vector>

#include <QDialog>
#include <QTimer>

#include "rights/right_fields.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTimeEdit;

namespace quorvane {
class Settings;
}

namespace quorvane::gui {

class LocalCardReads;

// The command index an operation button stores.
enum RightCommand : int {
    kRightCmdNone = -1, // the plain "确定"
    kRightCmdAdd = 0,
    kRightCmdRemove = 1,
    kRightCmdCheck = 2,
    kRightCmdClear = 3,
    kRightCmdFill1 = 4,
    kRightCmdFill10 = 5,
    kRightCmdVerify1 = 6,
    kRightCmdVerify10 = 7,
    kRightCmdGetRight = 8,
    kRightCmdUploadImage = 10, // the full upload of a card-number file as a memory image
    kRightCmdDownload = 11,
    kRightCmdUpload = 12,
    kRightCmdFromDataFile = 13,
    kRightCmdVirtualScan = 14,
};

class CDlgRightMan : public QDialog {
    Q_OBJECT
  public:
    // initial: the values the fields show (the INI defaults and the remembered numbers).
    // reads: the local card reader's reads, or nullptr (the box then does nothing).
    CDlgRightMan(const Settings& settings, const RightFields& initial, LocalCardReads* reads,
                 QWidget* parent = nullptr);

    // The command index of the button that closed the dialog; kRightCmdNone otherwise.
    int command() const { return command_; }
    // The fields as they are now (the number text with CR LF line ends).
    RightFields fields() const;
    void setFields(const RightFields& fields);
    // The operation button of a command index, or nullptr.
    QPushButton* commandButton(int index) const;
    QPlainTextEdit* numbersEdit() const { return numbers_; }

    void done(int result) override;

  public slots:
    void OnBnClickedReaders();
    void OnBnClickedTimeZones();
    void OnBnClickedUnlimited();
    void OnBnClickedGenerate();
    void OnBnClickedConvertId();
    void OnBnClickedConvertLong();
    void OnBnClickedSaveDefault();
    void OnBnClickedSearchForward();
    void OnBnClickedLocalReader();
    void OnTimer();

  private:
    QLayout* buildFields();
    QLayout* buildOperations();
    void addCommand(QLayout* row, const char* caption, int index);
    void appendNumbers(const QString& text);
    void convert(bool reverse);
    void readDone(const QString& number);

    const Settings& settings_;
    LocalCardReads* reads_;
    int command_ = kRightCmdNone;
    QTimer poll_;

    QPlainTextEdit* numbers_ = nullptr;
    QLineEdit* name_ = nullptr;
    QSpinBox* times_ = nullptr;
    QSpinBox* readers_ = nullptr;
    QSpinBox* timeZones_ = nullptr;
    QDateEdit* fromDate_ = nullptr;
    QTimeEdit* fromTime_ = nullptr;
    QDateEdit* toDate_ = nullptr;
    QTimeEdit* toTime_ = nullptr;
    QCheckBox* antiPassback_ = nullptr;
    QCheckBox* parcel_ = nullptr;
    QCheckBox* arrears_ = nullptr;
    QCheckBox* flag1_ = nullptr;
    QCheckBox* flag2_ = nullptr;
    QCheckBox* flag3_ = nullptr;
    QComboBox* type_ = nullptr;
    QComboBox* group_ = nullptr;
    QSpinBox* reserved_ = nullptr;
    QSpinBox* startPosition_ = nullptr;
    QSpinBox* count_ = nullptr;
    QCheckBox* searchForward_ = nullptr;
    QCheckBox* localReader_ = nullptr;
    QLineEdit* generatorStart_ = nullptr;
    QSpinBox* generatorCount_ = nullptr;
    std::vector<std::pair<int, QPushButton*>> commands_;
};

} // namespace quorvane::gui
