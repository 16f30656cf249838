#pragma once
// A listener on the loopback address that tells whether anything connected
// to it: proof that opening a file reached no network.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace mirelo::test {

// A local listener that records whether anything connected to it.
class LocalListener {
public:
    LocalListener()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd_, 4) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("no listener");
        port_ = ntohs(address.sin_port);
    }
    ~LocalListener() { ::close(fd_); }
    std::string url(const std::string& file) const { return "http://127.0.0.1:" + std::to_string(port_) + "/" + file; }
    bool reached() const
    {
        const int connection = ::accept(fd_, nullptr, nullptr);
        if (connection >= 0) ::close(connection);
        return connection >= 0;
    }

private:
    int fd_ = -1;
    int port_ = 0;
};

} // namespace mirelo::test
