#pragma once
// What quorvane-cli writes reaches a terminal. Names, texts and notices come from controllers
// and files, so a byte that a terminal would act on must not pass: every control character
// other than tab and line feed, DEL, the C1 controls U+0080..U+009F (the 8-bit CSI among them)
// and each byte that is not part of valid UTF-8 is written as one "?".
#include <array>
#include <cstddef>
#include <streambuf>

namespace quorvane::cli {

class TerminalTextFilter : public std::streambuf {
  public:
    explicit TerminalTextFilter(std::streambuf* target) : target_(target) {}
    // A character still incomplete at the end is written as "?" per byte.
    ~TerminalTextFilter() override;
    TerminalTextFilter(const TerminalTextFilter&) = delete;
    TerminalTextFilter& operator=(const TerminalTextFilter&) = delete;

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    // Passes the flush on; a character cut by the flush waits for its remaining bytes.
    int sync() override;

  private:
    void put(unsigned char byte);
    void emit(char c);
    void dropPending();

    std::streambuf* target_;
    std::array<unsigned char, 4> pending_{};
    std::size_t pendingSize_ = 0;
    std::size_t expected_ = 0;
};

} // namespace quorvane::cli
