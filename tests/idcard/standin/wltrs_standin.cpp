// The photo decoder that the tests place in a program directory as libWltRS.so: it "decodes" a
// photo into a BMP beside it that holds "BM" and the photo's bytes.
#include <type_traits>

#include "idcard/sdt_api.h"
#include "standin_control.h"

namespace {
const standin::LifeLog lifeLog("libWltRS");
}

extern "C" int GetBmp(const char* wltPath, int kind) {
    const std::string path = wltPath;
    standin::log("GetBmp " + path + " " + std::to_string(kind));
    const auto dot = path.rfind(".wlt");
    if (dot == std::string::npos)
        return 0;
    std::ifstream in(path, std::ios::binary);
    std::ofstream(path.substr(0, dot) + ".bmp", std::ios::binary) << "BM" << in.rdbuf();
    return 1;
}

static_assert(std::is_same_v<decltype(&GetBmp), WltGetBmpFn>);
