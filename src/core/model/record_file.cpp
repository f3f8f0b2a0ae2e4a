#include "model/record_file.h"

#include <algorithm>
#include <vector>

#include "infra/codepage.h"
#include "platform/files.h"

namespace quorvane {

namespace {
std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (true) {
        auto pos = s.find(sep, start);
        out.push_back(s.substr(start, pos - start));
        if (pos == std::string::npos) break;
        start = pos + 1;
    }
    return out;
}
} // namespace

std::string recordFilePath(const DeviceUIInfo& record, const std::string& programDir) {
    std::string name = record.getUniqueName();
    // A controller names itself; its name must not lead the file out of the config folder.
    for (auto& c : name)
        if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
            c == '>' || c == '|' || static_cast<unsigned char>(c) < 0x20)
            c = '_';
    if (name == "." || name == "..") name = "_";
    return programDir + "/config/" + name + ".cfg";
}

std::string encodeRecordFile(const DeviceUIInfo& r) {
    std::string out(kRecordFileSize, '\0');
    auto img = r.toImage();
    std::copy(img.begin(), img.end(), out.begin());
    std::string text = r.serverAddress + "|" + r.name + "|" + r.mac + "|" + r.ip + "|" + r.mask +
                       "|" + r.gateway + "|" + r.hostAddress + "|" + r.sourceAddress + "|" +
                       r.firmwareVersion + "|" + std::to_string(r.serverPort);
    std::string gbk = gbkCutBytes(toGbk(text), 1023);
    std::copy(gbk.begin(), gbk.end(), out.begin() + 1024);
    return out;
}

DeviceUIInfo decodeRecordFile(std::string_view bytes) {
    DeviceUIInfo r;
    r.fromImage(asBytes(bytes.substr(0, std::min<std::size_t>(bytes.size(), kRecordImageSize))));
    std::string text;
    if (bytes.size() > 1024) text = fieldText(asBytes(bytes.substr(1024, 1024)));
    auto f = split(fromGbk(text), '|');
    f.resize(10);
    r.serverAddress = f[0];
    r.name = f[1];
    r.mac = f[2];
    r.ip = f[3];
    r.mask = f[4];
    r.gateway = f[5];
    r.hostAddress = f[6];
    r.sourceAddress = f[7];
    r.firmwareVersion = f[8];
    r.serverPort = static_cast<std::uint16_t>(std::strtoul(f[9].c_str(), nullptr, 10));
    return r;
}

bool saveRecordFile(const DeviceUIInfo& record, const std::string& programDir) {
    platform::makeDirectories(programDir + "/config");
    return platform::replaceFile(recordFilePath(record, programDir), encodeRecordFile(record));
}

int loadRecordFile(const std::string& path, DeviceUIInfo& record) {
    auto bytes = platform::readWholeFile(path);
    if (!bytes) return -1;
    record = decodeRecordFile(*bytes);
    return 0;
}

bool DeviceUIInfo::save(const std::string& programDir) const {
    return saveRecordFile(*this, programDir);
}

int DeviceUIInfo::load(const std::string& path) { return loadRecordFile(path, *this); }

std::string saveDoorBackup(const std::string& path,
                           const std::array<std::uint8_t, kDoorBlockSize>& block) {
    std::string bytes(block.begin() + kDoorBackupOffset, block.end());
    return platform::replaceFile(path, bytes) ? "保存成功！" : "保存失败！";
}

std::string loadDoorBackup(const std::string& path, std::array<std::uint8_t, kDoorBlockSize>& block,
                           bool& ok) {
    auto bytes = platform::readWholeFile(path);
    ok = bytes && bytes->size() == kDoorBackupSize;
    if (!ok) return "读取失败或者文件大小不匹配！";
    std::copy(bytes->begin(), bytes->end(), block.begin() + kDoorBackupOffset);
    return "从文件加载配置成功，请检查配置并点击确定按钮保存！";
}

} // namespace quorvane
