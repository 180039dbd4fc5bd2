#include "store/store_errors.h"

#include <sqlite3.h>

namespace store {

StoreException::StoreException(StoreError error)
    : std::runtime_error(std::to_string(error.number) + ": " + error.description),
      m_error(std::move(error))
{
}

StoreException::StoreException(int number, std::string description)
    : StoreException(StoreError{number, std::move(description)})
{
}

int numberForSqliteCode(int sqliteCode)
{
    switch (sqliteCode & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return kErrNotADatabase;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return kErrCannotOpen;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return kErrBusy;
    case SQLITE_READONLY:
        return kErrReadOnly;
    case SQLITE_IOERR:
    case SQLITE_FULL:
        return kErrIo;
    case SQLITE_CONSTRAINT:
    case SQLITE_MISMATCH:
    case SQLITE_TOOBIG:
        return kErrRefused;
    case SQLITE_ERROR:
        return kErrSql;
    default:
        return kErrOther;
    }
}

} // namespace store
