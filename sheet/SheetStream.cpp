#include "sheet/SheetStream.h"

#include "core/Version.h"

#include <QIODevice>
#include <QPdfWriter>

#include <new>

namespace tormel {

// The prepared file as the PDF writer's device: the bytes are collected in pieces of a
// megabyte and appended, and the first failure is kept with the system's reason.
class PreparedFileDevice : public QIODevice
{
public:
    explicit PreparedFileDevice(PreparedFile &file)
        : m_file(file)
    {
        open(QIODevice::WriteOnly);
    }

    bool isSequential() const override { return true; }

    // Appends what is left; the outcome of every write so far.
    FileResult Flush()
    {
        if (m_status.Ok && !m_pending.empty())
            m_status = m_file.Append(m_pending);
        m_pending.clear();
        return m_status;
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (!m_status.Ok)
            return -1;
        m_pending.append(data, std::size_t(size));
        if (m_pending.size() >= PieceSize && !Flush().Ok)
            return -1;
        return size;
    }

private:
    static constexpr std::size_t PieceSize = std::size_t(1) << 20;
    PreparedFile &m_file;
    std::string m_pending;
    FileResult m_status;
};

SheetPdfStream::SheetPdfStream() = default;

SheetPdfStream::~SheetPdfStream()
{
    // The painting ends before the writer and the file it writes to. A document given up
    // because memory ran out may fail to end: then the painter and its writer are left
    // as they are rather than ended again from their destructors.
    try {
        if (m_pages)
            m_pages->End();
    } catch (const std::bad_alloc &) {
        (void)m_pages.release();
        (void)m_writer.release();
    }
    m_pages.reset();
    m_writer.reset();
    m_device.reset();
}

FileResult SheetPdfStream::Create(const std::string &path)
{
    return m_file.Create(path);
}

void SheetPdfStream::start(const std::string &title)
{
    if (m_pages)
        return;
    m_device = std::make_unique<PreparedFileDevice>(m_file);
    m_writer = std::make_unique<QPdfWriter>(m_device.get());
    m_writer->setResolution(300);
    m_writer->setCreator(QStringLiteral("Тормел ") + QString::fromUtf8(ProgramVersion));
    m_writer->setTitle(QString::fromStdString(title));
    m_pages = std::make_unique<SheetPages>(*m_writer);
}

void SheetPdfStream::Add(const CalculationSheet &sheet)
{
    start(sheet.Title);
    m_pages->Add(sheet);
}

void SheetPdfStream::Add(const ReportSheet &sheet)
{
    start(sheet.Title);
    m_pages->Add(sheet);
}

FileResult SheetPdfStream::Finish()
{
    start(std::string());
    m_pages->Finish();
    m_writer.reset();
    const FileResult written = m_device->Flush();
    m_device.reset();
    return written;
}

} // namespace tormel
