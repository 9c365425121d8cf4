#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "CDaoDatabase.h"
#include "CDaoException.h"
#include "CDaoRecordset.h"
#include "CDaoTransaction.h"
#include "DaoErrorCode.h"
#include "ScratchCatalogue.h"
#include "server/TestServer.h"

namespace {

using Clock = std::chrono::steady_clock;

// Two programs edit, add and delete at random on one small catalogue, so that they often meet
// on one field. Each writes a line to its log for every change the record store acknowledged:
//   E key field old new   a field stored (it held `old` when written)
//   A key v1 v2 v3 v4     a record added
//   D key                 a record deleted
//   C key                 a conflict, reported to the user (nothing of theirs written)
//   S key                 a record to edit found deleted by the other program, though the
//                         command had no news of it (reported to the user)
//   N                     news of the other program's changes, taken in by a command
//   X message             a failure that would have reached the user
// Texts are unique per program and change, without blanks, so that the logs tell every write
// apart.
class Worker {
public:
    Worker(const std::string& target, int id, const std::filesystem::path& log)
        : m_id(id), m_log(log), m_random(static_cast<unsigned>(id) * 7919u) {
        m_db.Open(target);
        m_rs.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften");
    }

    void RunFor(std::chrono::milliseconds duration) {
        const auto end = Clock::now() + duration;
        while (Clock::now() < end) {
            try {
                // Few records, so that the programs keep meeting on the same fields.
                const int dice = Pick(10);
                if (dice < 2) {
                    Command(true, [&] {
                        const long records = m_rs.GetRecordCount();
                        if (records < 3 || (dice == 0 && records < 6)) {
                            Add();
                        } else {
                            Delete();
                        }
                    });
                } else {
                    Edit();
                }
            } catch (CDaoException* e) {
                m_log << "X " << e->GetErrorCode() << ' ' << e->GetErrorMessage() << std::endl;
                e->Delete();
            }
        }
    }

private:
    // As the program runs a command: in one transaction that first takes in what the other
    // program committed, as its news tell or as the last command found.
    void Command(bool write, const std::function<void()>& work) {
        CDaoTransaction transaction(m_db, write);
        const bool news = m_db.CheckForChanges() == DaoChange::Changed;
        if (news) {
            m_log << "N" << std::endl;
        }
        if (news || std::exchange(m_bBehind, false)) {
            m_rs.Requery();
        }
        work();
        transaction.Commit();
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    std::string NewText() { return "P" + std::to_string(m_id) + "-" + std::to_string(++m_count); }
    void MoveToRandomRecord() {
        m_rs.MoveFirst();
        m_rs.Move(Pick(static_cast<int>(m_rs.GetRecordCount())));
    }

    void Add() {
        std::string texts[4];
        m_rs.AddNew();
        for (int field = 1; field <= 4; ++field) {
            texts[field - 1] = NewText();
            m_rs.SetFieldValue(field, texts[field - 1]);
        }
        m_rs.Update();
        m_rs.MoveLast();
        m_log << "A " << m_rs.GetBookmark().GetString();
        for (const std::string& text : texts) {
            m_log << ' ' << text;
        }
        m_log << std::endl;
    }

    void Delete() {
        MoveToRandomRecord();
        const std::string key = m_rs.GetBookmark().GetString();
        m_rs.Delete();
        m_log << "D " << key << std::endl;
    }

    // A user loads a record, types for a moment and stores one or two fields; on a conflict
    // they keep their own text or take the stored one.
    void Edit() {
        COleVariant key;
        std::vector<FieldChange> changes;
        try {
            Command(false, [&] {
                if (m_rs.GetRecordCount() < 1) {
                    return;
                }
                MoveToRandomRecord();
                key = m_rs.GetBookmark();
                const int first = 1 + Pick(4);
                const int count = 1 + Pick(2);
                for (int field = first; field < first + count && field <= 4; ++field) {
                    changes.push_back({field, m_rs.GetFieldValue(field).GetString(), NewText()});
                }
            });
        } catch (CDaoException* e) {
            if (e->GetErrorCode() != DaoErrorCode::kNotFound) {
                throw;
            }
            m_log << "S " << key.GetString() << std::endl;
            e->Delete();
            m_bBehind = true;
            return;
        }
        if (changes.empty()) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(Pick(5000)));
        std::vector<COleVariant> current;
        for (int attempt = 0; attempt < 5; ++attempt) {
            const MergeOutcome outcome = m_rs.StoreChanges(key, changes, current);
            if (outcome == MergeOutcome::Stored) {
                for (const FieldChange& c : changes) {
                    m_log << "E " << key.GetString() << ' ' << c.field << ' ' << *c.loaded << ' '
                          << *c.value << std::endl;
                }
                return;
            }
            if (outcome == MergeOutcome::Conflict) {
                m_log << "C " << key.GetString() << std::endl;  // reported to the user
            }
            if (outcome == MergeOutcome::Deleted || Pick(2) == 0) {
                return;  // deleted, or the user took the stored texts: nothing of theirs written
            }
            for (std::size_t i = 0; i < changes.size(); ++i) {
                changes[i].loaded = current[i].GetString();  // "keep mine"
            }
        }
    }

    CDaoDatabase m_db;
    CDaoRecordset m_rs{&m_db};
    int m_id;
    std::ofstream m_log;
    std::mt19937 m_random;
    long m_count = 0;
    bool m_bBehind = false;  // a command met a deletion that no news had told of
};

std::chrono::milliseconds Duration() {
    // The full run of a minute is for a release check: PERIOLEX_STRESS_SECONDS=60.
    const char* seconds = std::getenv("PERIOLEX_STRESS_SECONDS");
    return std::chrono::seconds(seconds != nullptr ? std::atoi(seconds) : 3);
}

// The programs' logs, in a folder of their own that goes with the object.
class LogFolder {
public:
    LogFolder() {
        std::string name =
            (std::filesystem::temp_directory_path() / "periolex-stress-XXXXXX").string();
        if (mkdtemp(name.data()) != nullptr) {
            m_folder = name;
        }
    }
    ~LogFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    LogFolder(const LogFolder&) = delete;
    LogFolder& operator=(const LogFolder&) = delete;

    bool Made() const { return !m_folder.empty(); }
    std::filesystem::path Log(int program) const {
        return m_folder / ("log" + std::to_string(program));
    }

private:
    std::filesystem::path m_folder;
};

class TwoProgramStress : public testing::TestWithParam<ScratchEngine> {
protected:
    void SetUp() override {
        if (GetParam().make == MakeServerCatalogue) {
            REQUIRE_TEST_SERVER();
        }
    }
};

TEST_P(TwoProgramStress, EveryAcknowledgedChangeIsStoredAndNoLockErrorReachesAUser) {
    constexpr int kRecords = 4;
    const std::unique_ptr<ScratchCatalogue> catalogue = GetParam().make(kRecords);
    ASSERT_TRUE(catalogue);
    catalogue->Exec(
        "UPDATE Zeitschriften SET Zeitschriftennummer = 'n' || ID, "
        "Zeitschriftenname = 'h' || ID, Artikelname = 'a' || ID, Seite = 's' || ID");
    const LogFolder logs;
    ASSERT_TRUE(logs.Made());
    // Each program opens its own connection after the fork, as two started programs would.
    catalogue->PrepareForFork();
    std::vector<pid_t> children;
    for (int id = 1; id <= 2; ++id) {
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            try {
                Worker(catalogue->Target(), id, logs.Log(id)).RunFor(Duration());
            } catch (...) {
                _exit(2);
            }
            _exit(0);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    // Fields of every record as first stored, the chain of acknowledged writes per field, and
    // the deleted keys.
    std::map<std::pair<std::string, int>, std::string> start;
    std::map<std::pair<std::string, int>, std::map<std::string, std::string>> chain;
    std::map<std::pair<std::string, int>, int> writes;
    std::set<std::string> deleted;
    std::set<std::string> existing;
    for (int key = 1; key <= kRecords; ++key) {
        existing.insert(std::to_string(key));
        for (int field = 1; field <= 4; ++field) {
            start[{std::to_string(key), field}] =
                std::string("nhas")[field - 1] + std::to_string(key);
        }
    }
    int acknowledged = 0;
    int conflicts = 0;
    std::vector<std::string> stale;
    int news[3] = {0, 0, 0};
    for (int id = 1; id <= 2; ++id) {
        std::ifstream log(logs.Log(id));
        std::string line;
        while (std::getline(log, line)) {
            std::istringstream in(line);
            std::string kind, key;
            in >> kind;
            ASSERT_NE(kind, "X") << "program " << id << ": " << line;
            in >> key;
            if (kind == "C") {
                ++conflicts;
                continue;
            }
            if (kind == "N") {
                ++news[id];
                continue;
            }
            if (kind == "S") {
                stale.push_back(key);
                continue;
            }
            ++acknowledged;
            if (kind == "A") {
                // Keys are compared as the programs were given them, not as the table holds
                // them: the table's key cannot hold one twice, but two programs could be
                // handed one key, or one a key of the first records.
                EXPECT_TRUE(existing.insert(key).second) << "a key handed out twice: " << line;
                for (int field = 1; field <= 4; ++field) {
                    in >> start[{key, field}];
                }
            } else if (kind == "D") {
                deleted.insert(key);
            } else {
                int field = 0;
                std::string before, after;
                in >> field >> before >> after;
                const std::pair<std::string, int> where{key, field};
                ASSERT_TRUE(chain[where].emplace(before, after).second)
                    << "two writes over one text: " << line;
                ++writes[where];
            }
        }
    }
    EXPECT_GT(acknowledged, 50);
    EXPECT_GT(conflicts, 0) << "the programs never met on a field";
    // A record typed once and stored twice shows as a key that a program edited or deleted
    // though neither program was given it.
    for (const auto& [where, count] : writes) {
        EXPECT_EQ(existing.count(where.first), 1u) << "record " << where.first << " nobody added";
    }
    for (const std::string& key : deleted) {
        EXPECT_EQ(existing.count(key), 1u) << "record " << key << " nobody added";
    }
    std::printf("%d changes acknowledged, %d conflicts and %zu unannounced deletions reported\n",
                acknowledged, conflicts, stale.size());
    // A server makes a commit visible a moment before it notifies the listeners, and a
    // listener inside a transaction hears nothing until it ends, so a command that begins in
    // that moment can read a deletion unannounced; how often depends on the machine's load,
    // so only a file, which never lets that happen, is held to a number. That news arrive at
    // all shows in every program hearing of the other's changes.
    if (GetParam().make == MakeFileCatalogue) {
        EXPECT_TRUE(stale.empty());
    }
    for (const std::string& key : stale) {
        EXPECT_EQ(deleted.count(key), 1u) << "record " << key << " reported deleted but was not";
    }
    EXPECT_GT(news[1], 0) << "program 1 never heard of the other's changes";
    EXPECT_GT(news[2], 0) << "program 2 never heard of the other's changes";

    if (GetParam().make == MakeFileCatalogue) {
        EXPECT_EQ(catalogue->Scalar("PRAGMA integrity_check"), "ok");
    }
    for (const std::string& key : existing) {
        const std::string stored = catalogue->Scalar(
            "SELECT Zeitschriftennummer || ' ' || Zeitschriftenname || ' ' || Artikelname || ' ' "
            "|| Seite FROM Zeitschriften WHERE ID = " +
            key);
        if (deleted.count(key) != 0) {
            EXPECT_EQ(stored, "<none>") << "deleted record " << key;
            continue;
        }
        ASSERT_NE(stored, "<none>") << "record " << key << " lost";
        std::istringstream in(stored);
        for (int field = 1; field <= 4; ++field) {
            std::string text = start[{key, field}];
            int steps = 0;
            const std::map<std::string, std::string>& links = chain[{key, field}];
            for (auto next = links.find(text); next != links.end(); next = links.find(text)) {
                text = next->second;
                ++steps;
            }
            std::string actual;
            in >> actual;
            EXPECT_EQ(actual, text) << "record " << key << " field " << field;
            const int expectedSteps = writes[{key, field}];
            EXPECT_EQ(steps, expectedSteps) << "record " << key << " field " << field;
            // Every text is unique, so a record the table holds twice under two keys (an insert
            // repeated after a lost answer, say) shows as a page held twice.
            if (field == 4) {
                EXPECT_EQ(catalogue->Scalar("SELECT count(*) FROM Zeitschriften WHERE Seite = '" +
                                            text + "'"),
                          "1")
                    << "record " << key << " held under other keys too";
            }
        }
    }
    EXPECT_EQ(
        catalogue->Scalar("SELECT count(*) FROM Zeitschriften"),
        std::to_string(static_cast<long>(existing.size()) - static_cast<long>(deleted.size())));
}

INSTANTIATE_TEST_SUITE_P(Engines, TwoProgramStress,
                         testing::Values(ScratchEngine{"File", MakeFileCatalogue},
                                         ScratchEngine{"Server", MakeServerCatalogue}),
                         [](const testing::TestParamInfo<ScratchEngine>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
