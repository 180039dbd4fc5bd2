#pragma once

#include <stdexcept>
#include <string>

// Every failure of the component store carries a number and a description. The two numbers the
// opening logic tests (3024, 3044) are fixed; the others are ours, one per kind of failure, so a
// caller can tell them apart without knowing SQLite. The description is SQLite's message where
// SQLite failed, otherwise our own text.

namespace store {

struct StoreError {
    int number = 0;
    std::string description;
    friend bool operator==(const StoreError&, const StoreError&) = default;
};

inline constexpr int kErrFileNotFound = 3024; // the database file does not exist
inline constexpr int kErrPathNotValid = 3044; // the file's folder does not exist, or empty path
inline constexpr int kErrNotADatabase = 3500; // not an SQLite file, or damaged (NOTADB, CORRUPT)
inline constexpr int kErrCannotOpen = 3501;   // exists but cannot be opened (a folder, no access)
inline constexpr int kErrBusy = 3502;         // locked by another connection past the timeout
inline constexpr int kErrReadOnly = 3503;     // the file or its folder cannot be written
inline constexpr int kErrIo = 3504;           // disk I/O failure or disk full
inline constexpr int kErrRefused = 3505;      // a value the table refuses (duplicate name...)
inline constexpr int kErrSql = 3506;          // no such table, view or column; bad SQL text
inline constexpr int kErrNoCurrentRecord = 3510; // at BOF/EOF, empty recordset, or deleted row
inline constexpr int kErrNoPendingUpdate =
    3511; // Update/CancelUpdate/field write without AddNew/Edit
inline constexpr int kErrPendingUpdate = 3512; // a move, Delete or Requery while one is pending
inline constexpr int kErrFieldNotFound = 3513; // the recordset has no field of that name
inline constexpr int kErrNotUpdatable = 3514;  // the field is not a column of tblComps
inline constexpr int kErrRecordGone = 3515;    // the record was deleted through another connection
inline constexpr int kErrBadBookmark = 3516;   // the bookmark names no row of this recordset
inline constexpr int kErrClosed = 3517;        // the database or recordset is closed or unset
inline constexpr int kErrCreate = 3518;        // the shipped database could not be created
inline constexpr int kErrPermissionDenied = 3519; // the file or its folder may not be read
inline constexpr int kErrReadLimit = 3520; // a query read too many rows or bytes, or for too long
inline constexpr int kErrSettingsUnreadable = 3521; // the settings file exists but cannot be read
inline constexpr int kErrSettingsUnsaved = 3522;    // the settings could not be written
inline constexpr int kErrOther = 3599;              // any other SQLite failure (its message kept)

/// Thrown by every store operation that fails; what() is "number: description".
class StoreException : public std::runtime_error {
public:
    explicit StoreException(StoreError error);
    StoreException(int number, std::string description);
    const StoreError& error() const noexcept { return m_error; }
    int number() const noexcept { return m_error.number; }
    const std::string& description() const noexcept { return m_error.description; }

private:
    StoreError m_error;
};

/// Our number for an SQLite result code (primary or extended); kErrOther when unlisted.
int numberForSqliteCode(int sqliteCode);

} // namespace store
