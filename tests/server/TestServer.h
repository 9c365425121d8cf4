#pragma once

#include <optional>
#include <string>
#include <vector>

struct pg_conn;

// The throwaway PostgreSQL server that tools/with-test-server (and so ./dev test) starts: its
// socket folder comes in PERIOLEX_TEST_PGHOST. Without it the tests that need the server skip,
// saying why, unless REQUIRE_TEST_SERVER is set in the environment: then a missing server fails
// them, so that a run meant to cover the server cannot pass without one.
class TestServer {
public:
    // The server's socket folder, or nullopt without a server.
    static std::optional<std::string> Host();
    // The libpq connection string of the server's database, or nullopt without a server.
    static std::optional<std::string> Conninfo();
    // One connection per test program, opened on first use; null without a server. Fails the
    // test when the server is there but refuses the connection.
    static pg_conn* Connection();
    // Runs a statement with its values bound; the first column of the first row as text,
    // "<null>" for NULL, "<none>" without a row. Fails the test when the statement fails.
    static std::string Scalar(const std::string& sql, const std::vector<std::string>& values = {});
    // Whether the environment asks for the server (REQUIRE_TEST_SERVER set and not empty).
    static bool Required();
};

// Skips the running test when no server was started for it, or fails it when one was required.
#define REQUIRE_TEST_SERVER()                                                                 \
    if (TestServer::Connection() == nullptr) {                                                \
        if (TestServer::Required()) {                                                         \
            GTEST_FAIL() << "no PostgreSQL test server, though REQUIRE_TEST_SERVER is set";   \
        }                                                                                     \
        GTEST_SKIP() << "needs the PostgreSQL test server: run under tools/with-test-server"; \
    }
