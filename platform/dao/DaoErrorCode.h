#pragma once

// The result codes that every record-store failure carries, whichever engine raised it. They
// are SQLite's primary result codes, so that the SQLite engine passes its own codes through
// and the other engines map theirs onto the nearest one; the framework turns the low byte into
// a user message.
namespace DaoErrorCode {
constexpr int kError = 1;  // a statement the engine could not run, e.g. a missing table
constexpr int kBusy = 5;
constexpr int kInterrupt = 9;
constexpr int kReadOnly = 8;
constexpr int kIoError = 10;
constexpr int kNotFound = 12;
constexpr int kCantOpen = 14;
constexpr int kProtocol = 15;
constexpr int kTooBig = 18;
constexpr int kMismatch = 20;
constexpr int kMisuse = 21;
constexpr int kAuth = 23;
constexpr int kRange = 25;
constexpr int kNotADatabase = 26;

// The record store's own extended codes, above SQLite's, with the nearest primary code in the
// low byte as SQLite's extended codes have.
// The catalogue file to open does not exist.
constexpr int kFileMissing = kCantOpen | (64 << 8);

// The server engine's own extended codes, above SQLite's, with the nearest primary code in the
// low byte as SQLite's extended codes have.
// Why a server could not be reached, as far as libpq tells it apart: nothing listens there, the
// host's name is unknown, its certificate was refused, or it did not answer in time.
constexpr int kRefused = kCantOpen | (64 << 8);
constexpr int kUnknownHost = kCantOpen | (65 << 8);
constexpr int kCertificate = kCantOpen | (66 << 8);
constexpr int kTimeout = kCantOpen | (67 << 8);
// The server asks for a password and none was given.
constexpr int kPasswordNeeded = kAuth | (64 << 8);
// The connection to the server broke, and could not be made again; nothing was written.
constexpr int kConnectionLost = kIoError | (64 << 8);
// The connection broke while a commit was under way and could not be made again to ask whether
// the commit took effect.
constexpr int kCommitUnknown = kIoError | (65 << 8);
// Another session holds a lock that a write needs, longer than the session waits for one.
constexpr int kLocked = kBusy | (64 << 8);
// The server ended a statement at its deadline.
constexpr int kServerTooSlow = kInterrupt | (64 << 8);
// The user cancelled a statement while it waited for the server.
constexpr int kCancelled = kInterrupt | (65 << 8);
}  // namespace DaoErrorCode
