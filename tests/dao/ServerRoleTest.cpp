#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>

#include <memory>
#include <string>

#include "CDaoDatabase.h"
#include "CDaoRecordset.h"
#include "CDaoTransaction.h"
#include "DaoErrorCode.h"
#include "ScratchDatabase.h"
#include "server/ServerCatalogue.h"
#include "server/TestServer.h"

namespace {

// A role that may only read the catalogue sees it and is refused every write, with nothing
// changed.
TEST(ServerRole, ReadOnlyRoleReadsAndEveryWriteIsRefused) {
    REQUIRE_TEST_SERVER();
    std::unique_ptr<ServerCatalogue> catalogue = ServerCatalogue::Make();
    catalogue->Exec("INSERT INTO Zeitschriften (ID, Artikelname) VALUES (1, 'a'), (2, 'b')");
    const std::string role = "leser_" + std::to_string(getpid());
    TestServer::Scalar("DROP ROLE IF EXISTS " + role);
    TestServer::Scalar("CREATE ROLE " + role + " LOGIN");
    const std::string schema = catalogue->Scalar("SELECT current_schema()");
    TestServer::Scalar("GRANT USAGE ON SCHEMA " + schema + " TO " + role);
    TestServer::Scalar("GRANT SELECT ON " + schema + ".zeitschriften TO " + role);

    std::string target = catalogue->Target();
    target.replace(target.find("user=periolex"), 13, "user=" + role);
    {
        CDaoDatabase db;
        db.Open(target);
        CDaoRecordset rs(&db);
        rs.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften");
        EXPECT_EQ(rs.GetRecordCount(), 2);
        EXPECT_EQ(rs.GetFieldValue(3).GetString(), "a");

        rs.Edit();
        rs.SetFieldValue(3, "geändert");
        EXPECT_EQ(ErrorCode([&] { rs.Update(); }) & 0xFF, DaoErrorCode::kReadOnly);
        rs.AddNew();
        rs.SetFieldValue(3, "neu");
        EXPECT_EQ(ErrorCode([&] { rs.Update(); }) & 0xFF, DaoErrorCode::kReadOnly);
        EXPECT_EQ(ErrorCode([&] {
                      CDaoTransaction transaction(db, true);
                      rs.Delete();
                      transaction.Commit();
                  }) & 0xFF,
                  DaoErrorCode::kReadOnly);
        EXPECT_EQ(rs.GetRecordCount(), 2);
        // The connection goes on working after the refusals.
        rs.MoveLast();
        EXPECT_EQ(rs.GetFieldValue(3).GetString(), "b");
    }
    EXPECT_EQ(catalogue->Scalar("SELECT string_agg(Artikelname, ',' ORDER BY ID) FROM "
                                "Zeitschriften"),
              "a,b");
    TestServer::Scalar("DROP OWNED BY " + role);
    TestServer::Scalar("DROP ROLE " + role);
}

// A role that owns a schema named like itself finds that schema first on the default search
// path, though the catalogue it opens lies further on: it still follows another connection's
// insert within a second.
TEST(ServerRole, ARoleWithASchemaOfItsOwnFollowsOthersChanges) {
    REQUIRE_TEST_SERVER();
    std::unique_ptr<ServerCatalogue> catalogue = ServerCatalogue::Make();
    catalogue->Exec("INSERT INTO Zeitschriften (ID, Artikelname) VALUES (1, 'a')");
    const std::string role = "eigen_" + std::to_string(getpid());
    TestServer::Scalar("DROP SCHEMA IF EXISTS " + role + " CASCADE");
    TestServer::Scalar("DROP ROLE IF EXISTS " + role);
    TestServer::Scalar("CREATE ROLE " + role + " LOGIN");
    TestServer::Scalar("CREATE SCHEMA " + role + " AUTHORIZATION " + role);
    const std::string schema = catalogue->Scalar("SELECT current_schema()");
    TestServer::Scalar("GRANT USAGE ON SCHEMA " + schema + " TO " + role);
    TestServer::Scalar("GRANT SELECT ON " + schema + ".zeitschriften TO " + role);

    // The default path, "$user" first, with the catalogue's schema in the place of public.
    std::string target = catalogue->Target();
    target.replace(target.find("user=periolex"), 13, "user=" + role);
    const std::size_t path = target.find("search_path%3D") + 14;
    target.insert(path, "%22%24user%22%2C");
    {
        CDaoDatabase db;
        db.Open(target);
        CDaoRecordset rs(&db);
        rs.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften");
        ASSERT_EQ(rs.GetRecordCount(), 1);
        EXPECT_EQ(db.CheckForChanges(), DaoChange::Unchanged);

        catalogue->Exec("INSERT INTO Zeitschriften (Artikelname) VALUES ('von nebenan')");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        DaoChange change = DaoChange::Unchanged;
        while (change == DaoChange::Unchanged && std::chrono::steady_clock::now() < deadline) {
            pollfd watched{db.ChangeDescriptor(), POLLIN, 0};
            poll(&watched, 1, 50);
            change = db.CheckForChanges();
        }
        EXPECT_EQ(change, DaoChange::Changed);
    }
    TestServer::Scalar("DROP SCHEMA " + role + " CASCADE");
    TestServer::Scalar("DROP OWNED BY " + role);
    TestServer::Scalar("DROP ROLE " + role);
}

}  // namespace
