#include "metrics/MetricsServer.h"

#include "metrics/ListenAddress.h"
#include "metrics/MetricsCollector.h"
#include "metrics/MetricsHost.h"
#include "metrics/MetricsLog.h"
#include "metrics/MetricsReader.h"
#include "metrics/RequestFilter.h"

#include <civetweb.h>
#include <prometheus/exposer.h>

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

std::vector<std::string> MetricsServer::serverOptions(const ListenAddress& address)
{
    return {"listening_ports",        address.serverOption(), "num_threads",
            std::to_string(kThreads), "request_timeout_ms",   std::to_string(kRequestTimeoutMs)};
}

bool MetricsServer::ipv6Served()
{
    return mg_check_feature(8) != 0; // 8: IPv6 in civetweb's feature bits
}

std::string MetricsServer::bindError(const ListenAddress& address)
{
    const int family = address.ipv6 ? AF_INET6 : AF_INET;
    const int fd = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return std::strerror(errno);
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_storage storage{};
    socklen_t length = 0;
    if (address.ipv6) {
        auto* in6 = reinterpret_cast<sockaddr_in6*>(&storage);
        in6->sin6_family = AF_INET6;
        in6->sin6_port = htons(address.port);
        inet_pton(AF_INET6, address.host.c_str(), &in6->sin6_addr);
        length = sizeof *in6;
    } else {
        auto* in = reinterpret_cast<sockaddr_in*>(&storage);
        in->sin_family = AF_INET;
        in->sin_port = htons(address.port);
        inet_pton(AF_INET, address.host.c_str(), &in->sin_addr);
        length = sizeof *in;
    }
    std::string why;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&storage), length) != 0)
        why = std::strerror(errno);
    ::close(fd);
    return why.empty() ? "the HTTP server could not start" : why;
}

int MetricsServer::run(const std::string& listen, bool withIdentity)
{
    std::string why;
    const auto address = ListenAddress::parse(listen, &why);
    if (!address) {
        std::fprintf(stderr, "welvane: --serve-metrics %s: %s\n", listen.c_str(), why.c_str());
        return 2;
    }
    if (address->ipv6 && !ipv6Served()) {
        std::fprintf(stderr,
                     "welvane: cannot listen on %s: this system's HTTP server library "
                     "(civetweb) is built without IPv6; use an IPv4 address\n",
                     address->serverOption().c_str());
        return 1;
    }
    // The server's threads inherit this mask, so only sigwait below sees
    // the stop signals; a client that hangs up must not kill us.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    auto reader = std::make_shared<MetricsReader>(MetricsHost::linuxHost());
    auto collector =
        std::make_shared<MetricsCollector>([reader] { return reader->read(); }, withIdentity);
    std::unique_ptr<prometheus::Exposer> exposer;
    try {
        exposer = std::make_unique<prometheus::Exposer>(serverOptions(*address),
                                                        &RequestFilter::callbacks());
    } catch (const std::exception& e) {
        qCDebug(lcMetrics) << "HTTP server:" << e.what();
        std::fprintf(stderr, "welvane: cannot listen on %s: %s\n", address->serverOption().c_str(),
                     bindError(*address).c_str());
        return 1;
    }
    exposer->RegisterCollectable(collector);
    const std::vector<int> ports = exposer->GetListeningPorts();
    const auto port = static_cast<std::uint16_t>(ports.empty() ? address->port : ports.front());
    std::printf("welvane: serving metrics on %s\n", address->url(port).c_str());
    std::fflush(stdout);

    int signal = 0;
    while (sigwait(&stop, &signal) != 0) {
    }
    qCDebug(lcMetrics) << "stopping on signal" << signal;
    // The HTTP server's orderly stop takes seconds (its accept loop notices
    // late). A scrape cut short fails as it would against a stopped device,
    // and nothing is left to write: leave at once.
    std::fflush(nullptr);
    std::_Exit(0);
}
