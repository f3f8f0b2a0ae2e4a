#pragma once
// An operation of the window that waits pumps the window's events, so its button can be
// pressed again meanwhile: a handler opens a Running scope on its area's flag and returns at
// once when the scope was not entered.
namespace quorvane::gui {

class Running {
  public:
    explicit Running(bool& flag) : flag_(flag), entered_(!flag) { flag_ = true; }
    ~Running() {
        if (entered_)
            flag_ = false;
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
    bool entered() const { return entered_; }

  private:
    bool& flag_;
    bool entered_;
};

} // namespace quorvane::gui
