#include "RuntimeDirectory.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cerrno>

void ProvideRuntimeDirectory() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        return;
    }
    const uid_t uid = geteuid();
    const passwd* account = getpwuid(uid);
    const QByteArray user = account ? QByteArray(account->pw_name) : QByteArray::number(uid);
    const QByteArray dir = QFile::encodeName(QDir::tempPath()) + "/runtime-" + user;
    if (mkdir(dir.constData(), 0700) != 0 && errno != EEXIST) {
        return;
    }
    // Only a real folder of the user's own is private: a link or another user's folder planted
    // in the shared temporary folder is left for Qt to refuse.
    struct stat info {};
    if (lstat(dir.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != uid) {
        return;
    }
    if ((info.st_mode & 0777) != 0700 && chmod(dir.constData(), 0700) != 0) {
        return;
    }
    qputenv("XDG_RUNTIME_DIR", dir);
}
