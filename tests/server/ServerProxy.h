#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

// The network between the program and the test server, in the program's own process: a Unix
// socket in a folder of its own that passes every connection on to the server, until a test
// cuts it. Connect through it by giving Host() as the host.
class ServerProxy {
public:
    // Passes connections on to the server whose socket folder is `serverHost`.
    explicit ServerProxy(const std::string& serverHost);
    ~ServerProxy();
    ServerProxy(const ServerProxy&) = delete;
    ServerProxy& operator=(const ServerProxy&) = delete;

    const std::string& Host() const { return m_folder; }
    // How many times the program has sent the server something: its round trips.
    long Sends() const { return m_sends; }

    // Drops every connection at once, and refuses new ones while `down` is set: a server that
    // stopped, or a network that went away.
    void Cut(bool down);
    // Lets connections through again after Cut(true).
    void Restore();
    // Drops the connection on which the program next sends `text`. When `deliver`, the text
    // reaches the server first and only the server's answer is lost; otherwise the text is
    // lost with the connection. With `down`, new connections are refused from then on, until
    // Restore. With `halfOpen` the server is not told: its side stays open, as when a network
    // goes away without a word, until the proxy ends.
    void CutAt(const std::string& text, bool deliver, bool down = false, bool halfOpen = false);
    // From now on replaces `text` with `replacement`, of the same length, in whatever the
    // program sends: a server that answers a question differently.
    void Rewrite(const std::string& text, const std::string& replacement);

    // While `frozen`, nothing passes either way and new connections wait unanswered, though
    // every connection stays open: a server or a path that still acknowledges but never answers.
    void Freeze(bool frozen);

private:
    void Run();

    std::string m_folder;
    std::string m_serverSocket;
    int m_listener = -1;
    int m_wake[2] = {-1, -1};
    std::mutex m_mutex;
    std::string m_cutText;
    bool m_cutDeliver = false;
    bool m_cutDown = false;
    bool m_cutHalfOpen = false;
    bool m_cutAll = false;
    std::string m_rewriteText;
    std::string m_rewriteReplacement;
    std::atomic<bool> m_down{false};
    std::atomic<bool> m_frozen{false};
    std::atomic<bool> m_stop{false};
    std::atomic<long> m_sends{0};
    std::thread m_thread;
};
