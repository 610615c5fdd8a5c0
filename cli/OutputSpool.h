#pragma once

#include "core/FileAccess.h"

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tormel::cli {

// The results of a run, held back until the whole run succeeded, so that an input
// error found late leaves nothing printed: in memory up to a limit, beyond it in an
// unnamed temporary file.
class OutputSpool
{
public:
    // The temporary file could not be made, written or read back; the reason.
    class Failure : public std::runtime_error
    {
    public:
        using std::runtime_error::runtime_error;
    };

    explicit OutputSpool(std::size_t memoryLimit = std::size_t(8) << 20)
        : m_memoryLimit(memoryLimit)
    {}

    void Append(std::string_view text);
    // Everything collected, in order; the consumer returns false to stop.
    void CopyTo(const std::function<bool(std::string_view)> &consume);
    // Whether the text went past the memory limit into the file.
    bool Spilled() const { return m_spilled; }

private:
    void spill();

    std::size_t m_memoryLimit;
    std::string m_buffer;
    ScratchFile m_file;
    bool m_spilled = false;
};

} // namespace tormel::cli
