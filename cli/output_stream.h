#pragma once

#include <array>
#include <ostream>
#include <streambuf>
#include <string>

namespace cli {

/// A buffered stream buffer over a file descriptor that keeps the reason of the first failed
/// write (errno: ENOSPC on a full disk, EPIPE when the reader has gone and SIGPIPE is
/// ignored). After a failure every later write fails too, so nothing is written out of order.
class FdStreamBuf final : public std::streambuf {
public:
    explicit FdStreamBuf(int fd);
    ~FdStreamBuf() override;
    FdStreamBuf(const FdStreamBuf&) = delete;
    FdStreamBuf& operator=(const FdStreamBuf&) = delete;

    /// errno of the first failed write, 0 while every write succeeded.
    int error() const { return m_error; }

protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    bool writeAll(const char* s, std::size_t n);
    bool drain();

    int m_fd;
    int m_error = 0;
    std::array<char, 64 * 1024> m_buffer{};
};

/// Thrown when the output could not be written; the run stops there.
struct WriteFailed {
    std::string reason;
};

/// Throws WriteFailed, with the reason the stream's buffer knows, when out has failed.
void checkWritten(std::ostream& out);
/// Flushes out, then checkWritten.
void flushChecked(std::ostream& out);

} // namespace cli
