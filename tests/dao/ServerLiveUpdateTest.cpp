// A program showing a server catalogue follows another program's commits as they happen: its
// connection's socket wakes it within a second, and a requery shows what the other stored.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "CDaoDatabase.h"
#include "CDaoRecordset.h"
#include "ScratchCatalogue.h"
#include "server/TestServer.h"

namespace {

using Clock = std::chrono::steady_clock;
using Titles = std::vector<std::string>;
constexpr const char* kWholeTable = "SELECT * FROM Zeitschriften";
constexpr char kReady = 'r';
constexpr char kAdd = 'a';
constexpr char kEdit = 'e';
constexpr char kDelete = 'd';

// The other program, in the forked child with a connection of its own: says it is ready, then
// takes one step per byte it reads and answers with the byte once the step is committed. Ends
// when the pipe closes.
[[noreturn]] void OtherProgram(const std::string& target, int in, int out) {
    try {
        CDaoDatabase db;
        db.Open(target);
        CDaoRecordset rs(&db);
        rs.Open(dbOpenDynaset, kWholeTable);
        char step = kReady;
        while (write(out, &step, 1) == 1 && read(in, &step, 1) == 1) {
            if (step == kAdd) {
                rs.AddNew();
                rs.SetFieldValue(3, "Neu von nebenan");
                rs.Update();
            } else if (step == kEdit) {
                rs.MoveFirst();
                rs.Edit();
                rs.SetFieldValue(3, "Geändert von nebenan");
                rs.Update();
            } else if (step == kDelete) {
                rs.MoveFirst();
                rs.MoveNext();
                rs.Delete();
            }
        }
    } catch (...) {
        _exit(2);
    }
    _exit(0);
}

class ServerLiveUpdate : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TEST_SERVER();
        m_catalogue = MakeServerCatalogue(2);
        ASSERT_TRUE(m_catalogue);
        int toChild[2];
        int toParent[2];
        ASSERT_EQ(pipe(toChild), 0);
        ASSERT_EQ(pipe(toParent), 0);
        m_child = fork();
        ASSERT_NE(m_child, -1);
        if (m_child == 0) {
            close(toChild[1]);
            close(toParent[0]);
            OtherProgram(m_catalogue->Target(), toChild[0], toParent[1]);
        }
        close(toChild[0]);
        close(toParent[1]);
        m_toChild = toChild[1];
        m_fromChild = toParent[0];
        m_db.Open(m_catalogue->Target());
        m_rs.Open(dbOpenDynaset, kWholeTable);
    }

    void TearDown() override {
        // A closed pipe ends the other program wherever it waits.
        if (m_toChild != -1) {
            close(m_toChild);
            close(m_fromChild);
        }
        if (m_child > 0) {
            int status = 0;
            waitpid(m_child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                << "the other program failed";
        }
    }

    // The other program's answer, or 0 when it has none within a few seconds.
    char Answer() {
        pollfd fd{m_fromChild, POLLIN, 0};
        char answer = 0;
        if (poll(&fd, 1, 5000) == 1 && read(m_fromChild, &answer, 1) == 1) {
            return answer;
        }
        return 0;
    }

    // Waits on the connection's descriptor, as the program's event loop does, until news of a
    // change elsewhere arrives or `deadline` passes.
    bool NewsBy(Clock::time_point deadline) {
        for (;;) {
            if (m_db.CheckForChanges() == DaoChange::Changed) {
                return Clock::now() <= deadline;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                return false;
            }
            pollfd fd{m_db.ChangeDescriptor(), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(left.count()));
        }
    }

    Titles AllTitles() {
        Titles titles;
        for (m_rs.MoveFirst(); !m_rs.IsEOF(); m_rs.MoveNext()) {
            titles.push_back(m_rs.GetFieldValue(3).GetString());
        }
        return titles;
    }

    std::unique_ptr<ScratchCatalogue> m_catalogue;
    pid_t m_child = -1;
    int m_toChild = -1;
    int m_fromChild = -1;
    CDaoDatabase m_db;
    CDaoRecordset m_rs{&m_db};
};

struct OtherStep {
    char step;
    Titles titles;  // what a requery shows after it
};

TEST_F(ServerLiveUpdate, EachCommitOfAnotherProgramArrivesWithinASecondAndARequeryShowsIt) {
    ASSERT_EQ(Answer(), kReady);
    EXPECT_EQ(m_db.CheckForChanges(), DaoChange::Unchanged)
        << "news before anyone changed anything";
    const OtherStep steps[] = {
        {kAdd, {"Artikel 1", "Artikel 2", "Neu von nebenan"}},
        {kEdit, {"Geändert von nebenan", "Artikel 2", "Neu von nebenan"}},
        {kDelete, {"Geändert von nebenan", "Neu von nebenan"}},
    };
    Clock::duration slowest{};
    for (const OtherStep& s : steps) {
        SCOPED_TRACE(std::string("step ") + s.step);
        const Clock::time_point sent = Clock::now();
        ASSERT_EQ(write(m_toChild, &s.step, 1), 1);
        ASSERT_EQ(Answer(), s.step) << "the other program did not commit";
        ASSERT_TRUE(NewsBy(sent + std::chrono::seconds(1))) << "no news within a second";
        slowest = std::max(slowest, Clock::now() - sent);
        m_rs.Requery();
        EXPECT_EQ(m_rs.GetRecordCount(), static_cast<long>(s.titles.size()));
        EXPECT_EQ(AllTitles(), s.titles);
    }
    std::printf("slowest news %.1f ms after the step was asked for\n",
                std::chrono::duration<double, std::milli>(slowest).count());
}

}  // namespace

namespace {

// Keys committed out of order: a key below the last one shown arrives together with a deletion,
// which keeps the count; the set must still take the one and drop the other.
TEST(ServerCatchUp, AKeyCommittedBelowTheLastAndADeletionAreBothFollowed) {
    REQUIRE_TEST_SERVER();
    const std::unique_ptr<ScratchCatalogue> catalogue = MakeServerCatalogue(3);
    ASSERT_TRUE(catalogue);
    CDaoDatabase db;
    db.Open(catalogue->Target());
    CDaoRecordset rs(&db);
    rs.Open(dbOpenDynaset, kWholeTable);
    const auto keys = [&] {
        std::string listed;
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            listed += std::to_string(*rs.GetBookmark().GetInteger()) + " ";
        }
        return listed;
    };
    // One session takes key 4 and commits only after key 5 is committed and shown.
    catalogue->Exec("BEGIN");
    catalogue->Exec("INSERT INTO Zeitschriften (Artikelname) VALUES ('spät')");
    CDaoDatabase other;
    other.Open(catalogue->Target());
    CDaoRecordset writer(&other);
    writer.Open(dbOpenDynaset, kWholeTable);
    writer.AddNew();
    writer.SetFieldValue(3, "früh");
    writer.Update();
    rs.Requery();
    ASSERT_EQ(keys(), "1 2 3 5 ");
    catalogue->Exec("COMMIT");
    writer.SetBookmark(COleVariant(std::int64_t{2}));
    writer.Delete();
    rs.Requery();
    EXPECT_EQ(keys(), "1 3 4 5 ");
}

}  // namespace
