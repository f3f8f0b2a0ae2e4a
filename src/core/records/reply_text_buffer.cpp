#include "records/reply_text_buffer.h"

namespace quorvane {

void ReplyTextBuffer::clear() {
    std::lock_guard l(m_);
    text_.clear();
    arrived_.store(false);
    replies_.store(0);
}

void ReplyTextBuffer::append(const std::string& line) {
    {
        std::lock_guard l(m_);
        text_ += line;
        text_ += '\n';
    }
    arrived_.store(true);
    replies_.fetch_add(1);
}

std::string ReplyTextBuffer::text() const {
    std::lock_guard l(m_);
    return text_;
}

} // namespace quorvane
