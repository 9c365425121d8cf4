#include "server/ServerProxy.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace {

// libpq finds a server's socket in the host folder under a name with the port, which the test
// server hands to every connection in PGPORT.
std::string SocketName() {
    const char* port = std::getenv("PGPORT");
    return std::string("/.s.PGSQL.") + (port != nullptr && *port != '\0' ? port : "5432");
}

sockaddr_un AddressOf(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        throw std::runtime_error("socket path too long: " + path);
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

int ConnectTo(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un address = AddressOf(path);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// One connection passed on: what the program sends goes to the server and back.
struct Link {
    int program;
    int server;
    bool dropAnswer = false;  // the next answer from the server ends the link unread
};

}  // namespace

ServerProxy::ServerProxy(const std::string& serverHost)
    : m_serverSocket(serverHost + SocketName()) {
    char folder[] = "/tmp/periolex-net.XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_folder = folder;
    m_listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un address = AddressOf(m_folder + SocketName());
    if (bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(m_listener, 16) != 0 || pipe2(m_wake, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot listen in " + m_folder);
    }
    m_thread = std::thread([this] { Run(); });
}

ServerProxy::~ServerProxy() {
    m_stop = true;
    const char byte = 0;
    (void)!write(m_wake[1], &byte, 1);
    m_thread.join();
    close(m_listener);
    close(m_wake[0]);
    close(m_wake[1]);
    std::filesystem::remove_all(m_folder);
}

void ServerProxy::Cut(bool down) {
    {
        const std::lock_guard lock(m_mutex);
        m_down = down;
        m_cutAll = true;
    }
    const char byte = 0;
    (void)!write(m_wake[1], &byte, 1);
    // Returns once the links are gone, so that the test goes on from a cut network.
    for (int waited = 0; waited < 5000; ++waited) {
        {
            const std::lock_guard lock(m_mutex);
            if (!m_cutAll) {
                return;
            }
        }
        usleep(1000);
    }
    throw std::runtime_error("the network stand-in did not cut its connections");
}

void ServerProxy::Freeze(bool frozen) {
    m_frozen = frozen;
    const char byte = 0;
    (void)!write(m_wake[1], &byte, 1);
}

void ServerProxy::Restore() {
    m_down = false;
}

void ServerProxy::CutAt(const std::string& text, bool deliver, bool down, bool halfOpen) {
    const std::lock_guard lock(m_mutex);
    m_cutText = text;
    m_cutDeliver = deliver;
    m_cutDown = down;
    m_cutHalfOpen = halfOpen;
}

void ServerProxy::Rewrite(const std::string& text, const std::string& replacement) {
    if (text.size() != replacement.size()) {
        throw std::invalid_argument("a rewrite keeps the length of the protocol's messages");
    }
    const std::lock_guard lock(m_mutex);
    m_rewriteText = text;
    m_rewriteReplacement = replacement;
}

void ServerProxy::Run() {
    std::vector<Link> links;
    std::vector<int> silent;  // server sides of connections cut without a word
    const auto drop = [](Link& link) {
        close(link.program);
        if (link.server >= 0) {
            close(link.server);
        }
        link.program = -1;
    };
    while (!m_stop) {
        std::vector<pollfd> fds{{m_wake[0], POLLIN, 0}, {m_listener, POLLIN, 0}};
        for (const Link& link : links) {
            fds.push_back({link.program, POLLIN, 0});
            fds.push_back({link.server, POLLIN, 0});
        }
        const std::size_t polled = m_frozen ? 0 : links.size();
        // Frozen, only a wake-up is heard; connections wait in the listener's backlog.
        poll(fds.data(), m_frozen ? 1 : fds.size(), -1);
        if (fds[0].revents & POLLIN) {
            char bytes[16];
            (void)!read(m_wake[0], bytes, sizeof(bytes));
            const std::lock_guard lock(m_mutex);
            if (m_cutAll) {
                for (Link& link : links) {
                    drop(link);
                }
                links.clear();
                m_cutAll = false;
                continue;
            }
        }
        if (fds[1].revents & POLLIN) {
            const int program = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            const int server = m_down || program < 0 ? -1 : ConnectTo(m_serverSocket);
            if (server < 0) {
                close(program);  // as a stopped server: the connection is refused
            } else {
                links.push_back({program, server});
            }
        }
        for (std::size_t i = 0; i < polled; ++i) {
            Link& link = links[i];
            char buffer[65536];
            if (fds[2 + 2 * i].revents & (POLLIN | POLLHUP | POLLERR)) {
                const ssize_t n = read(link.program, buffer, sizeof(buffer));
                if (n <= 0) {
                    drop(link);
                    continue;
                }
                // The program's statements are short: one read holds a whole one.
                std::string chunk(buffer, static_cast<std::size_t>(n));
                const std::lock_guard lock(m_mutex);
                if (const std::size_t at =
                        m_rewriteText.empty() ? std::string::npos : chunk.find(m_rewriteText);
                    at != std::string::npos) {
                    chunk.replace(at, m_rewriteText.size(), m_rewriteReplacement);
                }
                const bool cut = !m_cutText.empty() && chunk.find(m_cutText) != std::string::npos;
                if (cut) {
                    m_cutText.clear();
                    m_down = m_down || m_cutDown;
                    if (!m_cutDeliver) {
                        if (m_cutHalfOpen) {
                            silent.push_back(link.server);
                            link.server = -1;
                        }
                        drop(link);
                        continue;
                    }
                    link.dropAnswer = true;
                }
                ++m_sends;
                (void)!send(link.server, chunk.data(), chunk.size(), MSG_NOSIGNAL);
            }
            if (link.program >= 0 && (fds[3 + 2 * i].revents & (POLLIN | POLLHUP | POLLERR))) {
                const ssize_t n = read(link.server, buffer, sizeof(buffer));
                if (n <= 0 || link.dropAnswer) {
                    drop(link);
                    continue;
                }
                // A side that has gone is noticed at its next read, never by a SIGPIPE that ends
                // the tests.
                (void)!send(link.program, buffer, static_cast<std::size_t>(n), MSG_NOSIGNAL);
            }
        }
        std::erase_if(links, [](const Link& link) { return link.program < 0; });
    }
    for (Link& link : links) {
        drop(link);
    }
    for (const int server : silent) {
        close(server);
    }
}
