#include "JetDatabase.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <array>
#include <cerrno>

#include "ExchangeError.h"
#include "JetDatabaseHandle.h"
#include "JetRowScanner.h"

namespace {

// The catalogue of a Jet file is the table on this page; it must be a table definition.
constexpr unsigned long kCatalogPage = 2;
constexpr unsigned char kTableDefinitionPage = 0x02;
// A catalogue entry's type (a local table is 1, a linked one 6), its flags for the engine's own
// and hidden objects, and the page of a table's definition in the low bytes of its id.
constexpr qint64 kObjectTypeMask = 0x7f;
constexpr qint64 kLocalTable = 1;
constexpr qint64 kSystemObjectFlags = 0x80000002;
constexpr qint64 kObjectPageMask = 0x00ffffff;

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// A file descriptor that closes itself.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

[[noreturn]] void ThrowUnreadable(const QString& path, const QString& reason) {
    throw ExchangeError(
        QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2").arg(Native(path), reason));
}

// Opened without blocking and checked on the open descriptor, so that a pipe or device named as
// the file cannot hang the program and nothing can take the file's place in between.
int OpenRegularFile(const QString& path, struct stat& info) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        ThrowUnreadable(path, qt_error_string(errno));
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        ThrowUnreadable(path, QStringLiteral("Der Name bezeichnet keine gewöhnliche Datei."));
    }
    return fd;
}

QByteArray ReadStart(int fd, qsizetype size) {
    QByteArray start(size, '\0');
    const ssize_t got = ::pread(fd, start.data(), static_cast<size_t>(size), 0);
    start.resize(got > 0 ? got : 0);
    return start;
}

// Names arrive from libmdb in the character set it was told to use; the environment may have
// told it another than UTF-8 (MDB_ICONV, MDB_JET3_CHARSET), so it is told again.
void DecodeNamesAsUtf8(MdbHandle* mdb, bool unicode) {
    mdb_iconv_close(mdb);
    mdb->iconv_out = reinterpret_cast<iconv_t>(-1);
    mdb->iconv_in = iconv_open("UTF-8", unicode ? "UCS-2LE" : "CP1252");
}

bool IsSystemName(const QString& name) {
    return name.startsWith(QLatin1String("MSys"), Qt::CaseInsensitive);
}

}  // namespace

std::optional<JetHeader> JetDatabase::Identify(const QString& path) {
    QFile file(path);
    struct stat info {};
    // Only regular files: a pipe must not be read to decide what it is.
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode) ||
        !file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray start = file.read(JetHeader::kSize);
    return JetHeader::Matches(start) ? std::optional<JetHeader>(JetHeader::Parse(start))
                                     : std::nullopt;
}

JetDatabase::JetDatabase(const QString& path) : m_strPath(path), m_handle(new Handle) {
    struct stat info {};
    const FileDescriptor fd(OpenRegularFile(path, info));
    const QByteArray start = ReadStart(fd.Get(), JetHeader::kSize);
    if (!JetHeader::Matches(start)) {
        throw ExchangeError(
            QStringLiteral("„%1“ ist keine Datenbank des Windows-Programms (Jet oder ACE).")
                .arg(Native(path)));
    }
    if (start.size() < JetHeader::kSize) {
        ThrowDamaged(QStringLiteral("die Datei endet schon in ihrem Kopf"));
    }
    m_header = JetHeader::Parse(start);
    if (m_header.IsProtected()) {
        throw ExchangeError(
            QStringLiteral("„%1“ ist eine geschützte %2: Sie hat ein Kennwort oder ist "
                           "verschlüsselt, und Periolex kann geschützte Datenbanken nicht lesen. "
                           "Bitte entfernen Sie den Schutz in dem Programm, mit dem sie angelegt "
                           "wurde, und öffnen Sie sie dann erneut.")
                .arg(Native(path), m_header.FormatName()));
    }
    const auto pageSize = static_cast<unsigned long>(m_header.PageSize());
    if (info.st_size % pageSize != 0 ||
        static_cast<unsigned long>(info.st_size) <= kCatalogPage * pageSize) {
        ThrowDamaged(
            QStringLiteral("die Datei ist unvollständig, sie endet mitten in einer "
                           "Seite (abgeschnitten, etwa beim Kopieren)"));
    }
    m_handle->pages = static_cast<unsigned long>(info.st_size) / pageSize;
    QByteArray catalog(2, '\0');
    if (::pread(fd.Get(), catalog.data(), 2, static_cast<off_t>(kCatalogPage * pageSize)) != 2 ||
        catalog[0] != kTableDefinitionPage || catalog[1] != 1) {
        ThrowDamaged(
            QStringLiteral("nur ihr Kopf ist der einer Datenbank, das Verzeichnis ihrer "
                           "Tabellen fehlt"));
    }

    // libmdb opens the very file checked here, read-only, whatever happens to the name.
    const QString self = QStringLiteral("/proc/self/fd/%1").arg(fd.Get());
    m_handle->mdb =
        mdb_open(QFile::encodeName(QFile::exists(self) ? self : path).constData(), MDB_NOFLAGS);
    if (!m_handle->mdb) {
        ThrowDamaged(QStringLiteral("ihre erste Seite ist unlesbar"));
    }
    DecodeNamesAsUtf8(m_handle->mdb, m_header.HasUnicodeTexts());
    ReadTables();
}

JetDatabase::~JetDatabase() = default;

void JetDatabase::ThrowDamaged(const QString& cause) const {
    throw ExchangeError(QStringLiteral("„%1“ ist beschädigt: %2.").arg(Native(m_strPath), cause));
}

void JetDatabase::ReadTables() {
    // The catalogue is read here rather than by libmdb, which would also parse every object's
    // properties: a damaged property list can keep it busy for hours.
    JetRowScanner catalog(*this, QStringLiteral("MSysObjects"), kCatalogPage);
    std::array<int, 4> columns{};
    const std::array<QString, 4> names{QStringLiteral("Id"), QStringLiteral("Name"),
                                       QStringLiteral("Type"), QStringLiteral("Flags")};
    for (std::size_t i = 0; i < names.size(); ++i) {
        columns[i] = catalog.Column(names[i]);
        if (columns[i] < 0) {
            ThrowDamaged(QStringLiteral("das Verzeichnis ihrer Tabellen ist unlesbar"));
        }
    }
    while (catalog.Next()) {
        const auto id = catalog.WholeNumber(columns[0]);
        const std::optional<QString> name = catalog.Text(columns[1]);
        const auto type = catalog.WholeNumber(columns[2]);
        const auto flags = catalog.WholeNumber(columns[3]);
        if (!id || !name || !type || (*type & kObjectTypeMask) != kLocalTable ||
            (flags.value_or(0) & kSystemObjectFlags) != 0 || IsSystemName(*name)) {
            continue;
        }
        JetTableInfo& info = m_tables.emplace_back();
        info.name = *name;
        info.definitionPage = static_cast<unsigned long>(*id & kObjectPageMask);
    }
    // Only now, since each definition read takes the page buffer the catalogue was read from.
    for (JetTableInfo& info : m_tables) {
        JetRowScanner table(*this, info.name, info.definitionPage);
        info.columns = table.Columns();
        info.primaryKey = table.PrimaryKey();
    }
}
