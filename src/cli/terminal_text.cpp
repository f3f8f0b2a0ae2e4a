#include "terminal_text.h"

namespace quorvane::cli {
namespace {

constexpr char kReplacement = '?';

// The length of the UTF-8 character a lead byte opens; 0 for a byte that cannot open one.
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// The second byte has a narrower range after some lead bytes (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool validSecond(unsigned char lead, unsigned char b) {
    switch (lead) {
    case 0xE0:
        return b >= 0xA0 && b <= 0xBF;
    case 0xED:
        return b >= 0x80 && b <= 0x9F;
    case 0xF0:
        return b >= 0x90 && b <= 0xBF;
    case 0xF4:
        return b >= 0x80 && b <= 0x8F;
    default:
        return b >= 0x80 && b <= 0xBF;
    }
}

bool isContinuation(unsigned char b) {
    return b >= 0x80 && b <= 0xBF;
}

} // namespace

TerminalTextFilter::~TerminalTextFilter() {
    dropPending();
    target_->pubsync();
}

void TerminalTextFilter::emit(char c) {
    target_->sputc(c);
}

void TerminalTextFilter::dropPending() {
    for (std::size_t i = 0; i < pendingSize_; ++i)
        emit(kReplacement);
    pendingSize_ = 0;
    expected_ = 0;
}

void TerminalTextFilter::put(unsigned char b) {
    if (pendingSize_ > 0) {
        bool fits = pendingSize_ == 1 ? validSecond(pending_[0], b) : isContinuation(b);
        if (!fits) {
            dropPending();
            put(b);
            return;
        }
        pending_[pendingSize_++] = b;
        if (pendingSize_ < expected_)
            return;
        bool c1Control = pending_[0] == 0xC2 && pending_[1] <= 0x9F;
        if (c1Control) {
            emit(kReplacement);
        } else {
            for (std::size_t i = 0; i < pendingSize_; ++i)
                emit(static_cast<char>(pending_[i]));
        }
        pendingSize_ = 0;
        expected_ = 0;
        return;
    }
    if (b < 0x80) {
        bool control = (b < 0x20 && b != '\t' && b != '\n') || b == 0x7F;
        emit(control ? kReplacement : static_cast<char>(b));
        return;
    }
    expected_ = sequenceLength(b);
    if (expected_ == 0) {
        emit(kReplacement);
        return;
    }
    pending_[0] = b;
    pendingSize_ = 1;
}

TerminalTextFilter::int_type TerminalTextFilter::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    put(static_cast<unsigned char>(traits_type::to_char_type(c)));
    return c;
}

std::streamsize TerminalTextFilter::xsputn(const char* s, std::streamsize n) {
    for (std::streamsize i = 0; i < n; ++i)
        put(static_cast<unsigned char>(s[i]));
    return n;
}

int TerminalTextFilter::sync() {
    return target_->pubsync();
}

} // namespace quorvane::cli
