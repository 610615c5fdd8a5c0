#include "cli/OutputSpool.h"

namespace tormel::cli {

void OutputSpool::Append(std::string_view text)
{
    m_buffer.append(text);
    if (m_buffer.size() >= m_memoryLimit)
        spill();
}

void OutputSpool::CopyTo(const std::function<bool(std::string_view)> &consume)
{
    if (m_spilled) {
        spill();
        if (const FileResult read = m_file.ReadBack(consume); !read.Ok)
            throw Failure(read.Reason);
    } else if (!m_buffer.empty()) {
        consume(m_buffer);
    }
}

void OutputSpool::spill()
{
    if (!m_spilled) {
        if (const FileResult created = m_file.Create(); !created.Ok)
            throw Failure(created.Reason);
        m_spilled = true;
    }
    if (const FileResult put = m_file.Append(m_buffer); !put.Ok)
        throw Failure(put.Reason);
    m_buffer.clear();
}

} // namespace tormel::cli
