#include "SystemDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

QString GetSystemDirectory() {
    const QString fromEnvironment = qEnvironmentVariable("PERIOLEX_SYSTEM_DIR");
    if (!fromEnvironment.isEmpty()) {
        return fromEnvironment;
    }
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString installed = programDir.filePath(QStringLiteral("../share/") +
                                                  QCoreApplication::applicationName().toLower());
    if (QFileInfo::exists(installed)) {
        return QDir::cleanPath(installed);
    }
    return programDir.filePath(QStringLiteral("res"));
}

bool CopyFileTo(const QString& from, const QString& to, int& errnoValue) {
    namespace fs = std::filesystem;
    const fs::path target(to.toStdString());
    const fs::path partial = target.string() + ".part";
    std::error_code ec;
    fs::copy_file(fs::path(from.toStdString()), partial, fs::copy_options::overwrite_existing, ec);
    if (!ec) {
        fs::rename(partial, target, ec);
    }
    if (ec) {
        errnoValue = ec.value();
        fs::remove(partial, ec);
        return false;
    }
    return true;
}
