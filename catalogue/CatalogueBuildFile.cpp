#include "CatalogueBuildFile.h"

#include <signal.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <array>
#include <atomic>
#include <cstring>

namespace {

constexpr const char* kPattern = ".periolex-XXXXXX.plx";
constexpr const char* kJournal = "-journal";
// The name under which the catalogue's template is copied in before it takes the file's place.
constexpr const char* kPartial = ".part";
constexpr qint64 kStaleSeconds = 24 * 60 * 60;

// What the signal handler removes: plain byte arrays, filled before a slot is marked in use,
// since a handler may neither allocate nor take a lock.
struct Slot {
    std::atomic<bool> used{false};
    char file[4096];
    char journal[4096];
    char partial[4096];
};
std::array<Slot, 4> s_slots;
int s_nInstalled = 0;
struct sigaction s_previousTerm {};
struct sigaction s_previousInt {};

void RemoveBuildFiles(int signalNumber) {
    for (Slot& slot : s_slots) {
        if (slot.used.load()) {
            ::unlink(slot.file);
            ::unlink(slot.journal);
            ::unlink(slot.partial);
        }
    }
    // Then the signal does what it would have done.
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

void InstallHandlers() {
    if (s_nInstalled++ > 0) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = RemoveBuildFiles;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, &s_previousTerm);
    ::sigaction(SIGINT, &action, &s_previousInt);
}

void RestoreHandlers() {
    if (--s_nInstalled > 0) {
        return;
    }
    ::sigaction(SIGTERM, &s_previousTerm, nullptr);
    ::sigaction(SIGINT, &s_previousInt, nullptr);
}

bool CopyName(const QByteArray& name, char* into) {
    if (name.size() >= 4096) {
        return false;
    }
    std::memcpy(into, name.constData(), static_cast<std::size_t>(name.size()) + 1);
    return true;
}

// Build files of a program that was killed outright; younger ones may belong to one at work.
void SweepStaleBuildFiles(const QDir& folder) {
    static const QRegularExpression own(
        QStringLiteral("^\\.periolex-.{6}\\.plx(-journal|\\.part)?$"));
    const QDateTime dayAgo = QDateTime::currentDateTime().addSecs(-kStaleSeconds);
    const QFileInfoList entries = folder.entryInfoList(
        {QStringLiteral(".periolex-*")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo& entry : entries) {
        if (own.match(entry.fileName()).hasMatch() && entry.lastModified() < dayAgo) {
            QFile::remove(entry.filePath());
        }
    }
}

// Holds SIGTERM and SIGINT back from this thread while it lives: one that came between the file's
// creation and its slot would leave the file behind. It is delivered, and handled, at the end.
class EndingSignalsHeld {
public:
    EndingSignalsHeld() {
        sigset_t ending;
        sigemptyset(&ending);
        sigaddset(&ending, SIGTERM);
        sigaddset(&ending, SIGINT);
        ::pthread_sigmask(SIG_BLOCK, &ending, &m_previous);
    }
    ~EndingSignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

private:
    sigset_t m_previous{};
};

}  // namespace

CatalogueBuildFile::CatalogueBuildFile(const QString& target) : m_strTarget(target) {}

CatalogueBuildFile::~CatalogueBuildFile() {
    if (!m_strPath.isEmpty()) {
        QFile::remove(m_strPath);
        QFile::remove(m_strPath + QLatin1String(kJournal));
    }
    Release();
}

bool CatalogueBuildFile::Create(QString& error) {
    const QDir folder = QFileInfo(m_strTarget).absoluteDir();
    SweepStaleBuildFiles(folder);
    const EndingSignalsHeld held;
    QTemporaryFile file(folder.filePath(QLatin1String(kPattern)));
    file.setAutoRemove(false);
    if (!file.open()) {
        error = file.errorString();
        return false;
    }
    m_strPath = file.fileName();
    file.close();
    for (std::size_t i = 0; i < s_slots.size(); ++i) {
        Slot& slot = s_slots[i];
        if (slot.used.load()) {
            continue;
        }
        const QByteArray name = QFile::encodeName(m_strPath);
        if (CopyName(name, slot.file) && CopyName(name + kJournal, slot.journal) &&
            CopyName(name + kPartial, slot.partial)) {
            InstallHandlers();
            slot.used.store(true);
            m_nSlot = static_cast<int>(i);
        }
        break;
    }
    return true;
}

void CatalogueBuildFile::Release() {
    if (m_nSlot >= 0) {
        s_slots[static_cast<std::size_t>(m_nSlot)].used.store(false);
        RestoreHandlers();
        m_nSlot = -1;
    }
    m_strPath.clear();
}
