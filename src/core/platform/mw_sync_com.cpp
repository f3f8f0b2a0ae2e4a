#include "platform/mw_sync_com.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace quorvane::platform {

namespace {

using SteadyClock = std::chrono::steady_clock;

speed_t speedOf(int baud) {
    switch (baud) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B0;
    }
}

int remainingMs(SteadyClock::time_point deadline) {
    auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

// Waits until fd is ready for events or the deadline passes; false on timeout or error.
bool waitFor(int fd, short events, SteadyClock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        int n = ::poll(&p, 1, remainingMs(deadline));
        if (n > 0)
            return (p.revents & events) != 0;
        if (n == 0)
            return false;
        if (errno != EINTR)
            return false;
    }
}

} // namespace

std::optional<std::string> serialDevicePath(std::string_view pattern, int number) {
    const auto at = pattern.find("%d");
    if (number < 1 || at == std::string_view::npos)
        return std::nullopt;
    std::string path(pattern.substr(0, at));
    path += std::to_string(number - 1);
    path += pattern.substr(at + 2);
    return path;
}

MWSyncCom::~MWSyncCom() {
    close();
}

bool MWSyncCom::open(const std::string& path, const SerialSettings& settings) {
    close();
    const speed_t speed = speedOf(settings.baud);
    if (speed == B0) {
        errno_ = EINVAL;
        return false;
    }
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        errno_ = errno;
        return false;
    }
    termios t{};
    if (::tcgetattr(fd, &t) != 0) {
        errno_ = errno;
        ::close(fd);
        return false;
    }
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    termios withoutParity = t;
    if (settings.parity != SerialSettings::Parity::None)
        t.c_cflag |= PARENB | (settings.parity == SerialSettings::Parity::Odd ? PARODD : 0);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    withoutParity.c_cc[VMIN] = 0;
    withoutParity.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &t) != 0 &&
        (errno != EINVAL || ::tcsetattr(fd, TCSANOW, &withoutParity) != 0)) {
        errno_ = errno;
        ::close(fd);
        return false;
    }
    ::tcflush(fd, TCIOFLUSH);
    fd_ = fd;
    errno_ = 0;
    return true;
}

void MWSyncCom::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool MWSyncCom::write(Bytes data, std::chrono::milliseconds limit) {
    if (fd_ < 0) {
        errno_ = EBADF;
        return false;
    }
    const auto deadline = SteadyClock::now() + limit;
    std::size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd_, data.data() + done, data.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            errno_ = errno;
            return false;
        }
        if (n < 0 && errno == EAGAIN && !waitFor(fd_, POLLOUT, deadline)) {
            errno_ = ETIMEDOUT;
            return false;
        }
    }
    return true;
}

std::size_t MWSyncCom::read(MutableBytes buffer, std::chrono::milliseconds firstByte,
                            std::chrono::milliseconds gap) {
    if (fd_ < 0) {
        errno_ = EBADF;
        return 0;
    }
    std::size_t got = 0;
    auto deadline = SteadyClock::now() + firstByte;
    while (got < buffer.size() && waitFor(fd_, POLLIN, deadline)) {
        ssize_t n = ::read(fd_, buffer.data() + got, buffer.size() - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            deadline = SteadyClock::now() + gap;
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            // The other end is gone (a pseudo terminal whose peer closed reports EIO).
            errno_ = n == 0 ? 0 : errno;
            break;
        }
    }
    return got;
}

} // namespace quorvane::platform
