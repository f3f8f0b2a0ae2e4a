#pragma once
// The memory and firmware area of the main window: EEPROM, FLASH and sound read and written
// with files, the right area and the right-storage image, the image buttons of the debug row,
// firmware upgrade, read-back and erase, and playing a sound. Each transfer runs with the
// window disabled and a progress dialog whose Cancel stops it between pages or during a wait.
#include <functional>
#include <optional>
#include <string>

#include "app/window_group.h"
#include "transfer/memory_images.h"

namespace quorvane::gui {

class MemoryHandlers : public WindowGroup {
    Q_OBJECT
  public:
    explicit MemoryHandlers(WindowContext& ctx);

    // The program's images, which the rights dialog's full upload also builds and sends.
    MemoryImages& images() { return images_; }

  public slots:
    void OnBnClickedMem();
    void OnBnClickedMem2();
    void OnBnClickedMem3();
    void OnBnClickedMem4();
    void OnBnClickedMem7();
    void OnBnClickedMem8();
    void OnBnClickedMem7and8();
    void OnBnClickedMem9();
    void OnBnClickedMem10();
    void OnBnClickedMem11();
    void OnBnClickedMem12();
    void OnBnClickedMem5();
    void OnBnClickedMem6();
    void OnBnClickedUploadSound();
    void OnBnClickedDownloadSound();
    void OnBnClickedUpdateFirmware();
    void OnBnClickedDownloadFirmware();
    void OnBnClickedUpgradeAll(bool checked);
    void OnBnClickedClearCode();
    void OnBnClickedPlaySound();
    void OnBnClickedScanPrompt();
    void OnBnClickedBrowse();

  private:
    // Runs work for the selected controller ("请选择要操作的设备！" without one), once at a time.
    void withDevice(const std::function<void(const DeviceUIInfo&)>& work);
    // The file-name field, or the file the person picks (open or save with a proposed name).
    std::optional<std::string> openFile();
    std::optional<std::string> saveFile(const std::string& proposed);
    std::string fieldFile() const;

    MemoryImages images_;
    bool running_ = false;
};

} // namespace quorvane::gui
