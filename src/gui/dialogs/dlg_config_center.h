#pragma once
// "门禁配置": one controller's door-access block. The caller hands in a working copy of the
// block; the dialog and its sub-dialogs edit a copy of their own, and OK writes it back into the
// working copy (Cancel leaves the working copy as it was). The counters are shown, never
// written back.
//
// The right-format buttons change the software's right format (`right-mode` of section common)
// at once; OK stores the software's right format into the block.
#include <array>
#include <cstdint>

#include <QDialog>

#include "dialogs/field_bindings.h"

class QButtonGroup;
class QVBoxLayout;

namespace quorvane {
class Settings;
}

namespace quorvane::gui {

class CDlgConfigCenter : public QDialog {
    Q_OBJECT
  public:
    CDlgConfigCenter(std::array<std::uint8_t, 424>& workingBlock, quorvane::Settings& settings,
                     QWidget* parent = nullptr);

    // The software's right format as it stands now (a right-format button changes it).
    int softwareRightFormat() const { return rightFormat_; }

  signals:
    // A right-format button changed the software's right format (already written to the
    // settings); the program holds the new value for the rest of the run.
    void rightFormatChanged(int format);
    // A message box of this dialog was shown and closed.
    void messageShown(const QString& text);

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildCounters(QVBoxLayout* layout);
    void buildOptions(QVBoxLayout* layout);
    void buildRightFormat(QVBoxLayout* layout);
    void buildSettings(QVBoxLayout* layout);
    void buildButtons(QVBoxLayout* layout);
    void showMessage(const QString& text);
    // Stores the controls into the dialog's copy; false (and the reason shown) on a bad entry.
    bool storeControls();
    void checkRightFormat();

    void OnBnClickedRightFormat(int format);
    void OnBnClickedTimerTask();
    void OnBnClickedExplain();
    void OnBnClickedStateDetail();
    void OnBnClickedBackup();
    void OnBnClickedRestore();
    template <typename D> void openPart();

    std::array<std::uint8_t, 424>& working_;
    std::array<std::uint8_t, 424> copy_;
    Settings& settings_;
    int rightFormat_;
    FieldBindings bindings_;
    QButtonGroup* rightFormats_ = nullptr;
    bool shown_ = false;
};

} // namespace quorvane::gui
