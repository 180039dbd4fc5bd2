#include "cli/output_stream.h"

#include <cerrno>
#include <system_error>
#include <unistd.h>

namespace cli {

FdStreamBuf::FdStreamBuf(int fd) : m_fd(fd)
{
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
}

FdStreamBuf::~FdStreamBuf() { drain(); }

bool FdStreamBuf::writeAll(const char* s, std::size_t n)
{
    if (m_error != 0)
        return false;
    while (n > 0) {
        const ssize_t w = ::write(m_fd, s, n);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            // A write that takes nothing without an error cannot make progress either.
            m_error = w < 0 ? errno : EIO;
            return false;
        }
        s += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

bool FdStreamBuf::drain()
{
    const bool ok = writeAll(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    return ok;
}

FdStreamBuf::int_type FdStreamBuf::overflow(int_type ch)
{
    if (!drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(ch, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(ch);
        pbump(1);
    }
    return traits_type::not_eof(ch);
}

std::streamsize FdStreamBuf::xsputn(const char* s, std::streamsize n)
{
    const auto size = static_cast<std::size_t>(n);
    if (size <= static_cast<std::size_t>(epptr() - pptr())) {
        traits_type::copy(pptr(), s, size);
        pbump(static_cast<int>(n));
        return n;
    }
    // A block larger than the room left goes out directly after what is buffered.
    if (!drain() || !writeAll(s, size))
        return 0;
    return n;
}

int FdStreamBuf::sync() { return drain() ? 0 : -1; }

void checkWritten(std::ostream& out)
{
    if (out)
        return;
    const auto* fd = dynamic_cast<const FdStreamBuf*>(out.rdbuf());
    throw WriteFailed{fd && fd->error() != 0 ? std::generic_category().message(fd->error())
                                             : std::string("the output stream failed")};
}

void flushChecked(std::ostream& out)
{
    out.flush();
    checkWritten(out);
}

} // namespace cli
