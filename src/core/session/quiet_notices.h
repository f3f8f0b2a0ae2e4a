#pragma once
// Reply notices off for a scope (a batch of many requests would show one box per reply), and
// as they were afterwards.
#include "protocol/reply_dispatch.h"

namespace quorvane {

class QuietNotices {
  public:
    QuietNotices(ReplyDispatcher& d, bool quiet) : d_(d), was_(d.noticesEnabled()), quiet_(quiet) {
        if (quiet_)
            d_.setNoticesEnabled(false);
    }
    ~QuietNotices() {
        if (quiet_)
            d_.setNoticesEnabled(was_);
    }
    QuietNotices(const QuietNotices&) = delete;
    QuietNotices& operator=(const QuietNotices&) = delete;

  private:
    ReplyDispatcher& d_;
    bool was_;
    bool quiet_;
};

} // namespace quorvane
