// Reply 33 (a memory page): any payload reads only what arrived, and its data is stored only
// inside the image it names; a page stored is found there byte for byte.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "transfer/memory_images.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvane;
    static MemoryImages images;
    // A copy of exactly the received size, so that any overrun is caught.
    std::vector<std::uint8_t> payload(data, data + size);
    auto page = readPageReply(payload);
    if (!page) {
        if (size >= 8)
            std::abort();
        return 0;
    }
    if (page->data.size() != size - 8)
        std::abort();
    PagePlace place = placeOfPage(images, *page);
    if (storePage(images, *page) != place.refusal.empty())
        std::abort();
    if (place.refusal.empty()) {
        const auto& image = images.image(static_cast<MemoryType>(page->type));
        if (!std::equal(page->data.begin(), page->data.end(),
                        image.begin() + static_cast<std::ptrdiff_t>(place.offset)))
            std::abort();
    }
    return 0;
}
