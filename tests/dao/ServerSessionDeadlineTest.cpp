#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <memory>
#include <string>

#include "PgConnection.h"
#include "server/ServerCatalogue.h"
#include "server/TestServer.h"

namespace {

// A session waits for locks and statements as long as its address says, and where it says
// nothing as long as the program's deadlines; the address's other server options stay.
TEST(ServerSessionDeadline, TheAddressesOwnDeadlinesStandAndTheProgramsFillTheRest) {
    REQUIRE_TEST_SERVER();
    const std::unique_ptr<ServerCatalogue> catalogue = ServerCatalogue::Make();
    const std::string path = catalogue->Scalar("SELECT current_setting('search_path')");
    const auto settings = [&](const std::string& setting) {
        PgConnection connection(catalogue->TargetVia(*TestServer::Host(), "deadline", setting));
        const PgResult result = connection.Run(
            "SELECT current_setting('lock_timeout') || ' ' ||"
            " current_setting('statement_timeout') || ' ' || current_setting('search_path')");
        return std::string(PQgetvalue(result.get(), 0, 0));
    };
    EXPECT_EQ(settings(""), "5s 15s " + path);
    EXPECT_EQ(settings("statement_timeout=60000"), "5s 1min " + path);
    EXPECT_EQ(settings("lock-timeout=0"), "0 15s " + path);
}

}  // namespace
